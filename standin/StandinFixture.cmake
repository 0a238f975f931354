# Included by every folder whose tests talk to the stand-in picture service. Gives:
#   LUMATREL_STANDIN_FIXTURE  the CTest fixture name to require (FIXTURES_REQUIRED)
#   LUMATREL_STANDIN_ENV      the ENVIRONMENT entry that tells a test where the service runs
# The Windows tests run under Wine and see the build tree through drive Z:.
set(LUMATREL_STANDIN_FIXTURE lumatrel_standin)
set(LUMATREL_STANDIN_RUN_DIR ${CMAKE_BINARY_DIR}/standin-run)
if(WIN32)
  set(LUMATREL_STANDIN_ENV "LUMATREL_STANDIN_DIR=Z:${LUMATREL_STANDIN_RUN_DIR}")
else()
  set(LUMATREL_STANDIN_ENV "LUMATREL_STANDIN_DIR=${LUMATREL_STANDIN_RUN_DIR}")
endif()
