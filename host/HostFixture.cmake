# Included by a folder whose tests talk to a real lumatrel-host, in the native build or in the
# Windows build (which runs the native host of LUMATREL_NATIVE_BUILD_DIR; Wine sees it through
# loopback). Defines the fixture's start and stop tests once, and gives:
#   LUMATREL_HOST_FIXTURE  the CTest fixture name to require (FIXTURES_REQUIRED)
#   LUMATREL_HOST_ENV      the ENVIRONMENT entry LUMATREL_HOST_DIR=<dir>; <dir>/port holds the
#                          port of the host on 127.0.0.1 (a fresh data folder every run)
include_guard(GLOBAL)
set(LUMATREL_HOST_FIXTURE lumatrel_host)
set(LUMATREL_HOST_RUN_DIR ${CMAKE_BINARY_DIR}/host-run)
if(WIN32)
  set(LUMATREL_HOST_ENV "LUMATREL_HOST_DIR=Z:${LUMATREL_HOST_RUN_DIR}")
  set(lumatrel_host_binary ${LUMATREL_NATIVE_BUILD_DIR}/host/lumatrel-host)
else()
  set(LUMATREL_HOST_ENV "LUMATREL_HOST_DIR=${LUMATREL_HOST_RUN_DIR}")
  set(lumatrel_host_binary $<TARGET_FILE:lumatrel-host>)
endif()
if(NOT WIN32 OR LUMATREL_NATIVE_BUILD_DIR)
  add_test(NAME lumatrel_host_start
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/host-fixture.sh start ${lumatrel_host_binary} ${LUMATREL_HOST_RUN_DIR})
  add_test(NAME lumatrel_host_stop
    COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/host-fixture.sh stop ${LUMATREL_HOST_RUN_DIR})
  set_tests_properties(lumatrel_host_start PROPERTIES FIXTURES_SETUP ${LUMATREL_HOST_FIXTURE})
  set_tests_properties(lumatrel_host_stop PROPERTIES FIXTURES_CLEANUP ${LUMATREL_HOST_FIXTURE})
endif()
