#!/usr/bin/env bash
# The one test command: installs what a fresh Debian 12 machine lacks, builds the native and the
# Windows build, and runs every test of both (the Windows ones under Wine and Xvfb).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${LUMATREL_BUILD_DIR:-$ROOT/build}
JOBS=${LUMATREL_JOBS:-2}
source "$ROOT/scripts/machine.sh"

cleanup() {
  lumatrel_wine_down
  lumatrel_xvfb_down
}
trap cleanup EXIT

lumatrel_install_packages

echo "== native build"
cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMATREL_WERROR=ON >/dev/null
cmake --build "$BUILD/native" -j"$JOBS"
echo "== native tests"
ctest --test-dir "$BUILD/native" --output-on-failure -j"$JOBS" --timeout 300

echo "== native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$ROOT" -B "$BUILD/sanitize" -DCMAKE_BUILD_TYPE=Debug -DLUMATREL_WERROR=ON -DLUMATREL_SANITIZE=ON \
  -DLUMATREL_BENCHMARKS=OFF >/dev/null
cmake --build "$BUILD/sanitize" -j"$JOBS"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
  ctest --test-dir "$BUILD/sanitize" --output-on-failure -j"$JOBS" --timeout 300

echo "== fuzz targets (libFuzzer with AddressSanitizer and UBSan): a short run of each"
bash "$ROOT/scripts/fuzz.sh" smoke "${LUMATREL_FUZZ_SECONDS:-30}"

echo "== Windows build"
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMATREL_WERROR=ON -DLUMATREL_NATIVE_BUILD_DIR="$BUILD/native" >/dev/null
cmake --build "$BUILD/win" -j"$JOBS"

echo "== Windows tests (Wine)"
# The display first: Wine's services started without one leave windows uncreatable.
lumatrel_xvfb_up
lumatrel_wine_up
LC_ALL=zh_CN.UTF-8 ctest --test-dir "$BUILD/win" --output-on-failure -j"$JOBS" --timeout 300
