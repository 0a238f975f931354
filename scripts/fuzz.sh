#!/usr/bin/env bash
# The fuzz targets: built with clang's libFuzzer (with AddressSanitizer and UBSan) from a copy
# of the tree whose literals hold their GBK bytes, and run over the seed corpora in fuzz/corpus.
#
#   scripts/fuzz.sh build                 build every target
#   scripts/fuzz.sh smoke [SECONDS]       run every target briefly (30 s each), two at a time
#   scripts/fuzz.sh keep TARGET           add to fuzz/corpus/TARGET the inputs of the long runs that
#                                         reach new coverage (a minimal set; the seeds stay)
#   scripts/fuzz.sh run TARGET SECONDS [RUNS] [libFuzzer options...]
#                                         one long run, ending at whichever limit comes first;
#                                         new inputs go to build/fuzz-work/TARGET/corpus
#
# A run fails on any crash, sanitizer report, broken invariant, time-out or leak; the input that
# shows it is written as build/fuzz-work/[smoke/]TARGET/crash-* (or timeout-*, leak-*).
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${LUMATREL_BUILD_DIR:-$ROOT/build}
JOBS=${LUMATREL_JOBS:-2}
MIRROR="$BUILD/fuzz-src"
OUT="$BUILD/fuzz"
WORK="$BUILD/fuzz-work"
TARGETS=(text_ops unescape_text decode_reply_text upload_reply config_store host_request)

# Per target: libFuzzer options beyond the common ones.
target_options() {
  case "$1" in
    # Long inputs, so that a reading that is not linear in its input shows as a time-out.
    unescape_text) echo "-max_len=65536 -timeout=2" ;;
    config_store) echo "-max_len=4096 -timeout=10" ;;
    *) echo "-max_len=8192 -timeout=10" ;;
  esac
}

build() {
  python3 "$ROOT/fuzz/tools/encode_literals.py" "$ROOT" "$MIRROR"
  cmake -S "$MIRROR" -B "$OUT" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMATREL_FUZZ=ON -DLUMATREL_BENCHMARKS=OFF >/dev/null
  cmake --build "$OUT" -j"$JOBS" --target lumatrel_fuzzers
}

# run_target WORK TARGET SECONDS RUNS [options]: the seed corpus is read, new inputs are kept in
# WORK, outside the tree.
run_target() {
  local work=$1 target=$2 seconds=$3 runs=$4
  shift 4
  mkdir -p "$work/corpus" "$work/tmp"
  # Scratch files of the targets stay in the work folder.
  # shellcheck disable=SC2046
  (cd "$work" && TMPDIR="$work/tmp" ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    "$OUT/fuzz/fuzz_$target" -max_total_time="$seconds" -runs="$runs" -print_final_stats=1 \
    -artifact_prefix="$work/" $(target_options "$target") "$@" "$work/corpus" "$ROOT/fuzz/corpus/$target")
}

smoke() {
  local seconds=${1:-30} pids=() names=() failed=0 target
  rm -rf "$WORK/smoke"
  mkdir -p "$WORK/smoke"
  for target in "${TARGETS[@]}"; do
    run_target "$WORK/smoke/$target" "$target" "$seconds" -1 >"$WORK/smoke/$target.log" 2>&1 &
    pids+=($!)
    names+=("$target")
    if [ ${#pids[@]} -ge "$JOBS" ]; then
      wait_one || failed=1
    fi
  done
  while [ ${#pids[@]} -gt 0 ]; do wait_one || failed=1; done
  return $failed
}

# Waits for the oldest run and reports it.
wait_one() {
  local pid=${pids[0]} name=${names[0]} rc=0
  pids=("${pids[@]:1}")
  names=("${names[@]:1}")
  wait "$pid" || rc=$?
  local stats
  stats=$(grep -E '^(#[0-9]+[[:space:]]+DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$WORK/smoke/$name.log" | tr '\n' ' ')
  if [ $rc -ne 0 ]; then
    echo "fuzz $name: FAILED (exit $rc); the log ends:"
    tail -n 40 "$WORK/smoke/$name.log"
    return 1
  fi
  echo "fuzz $name: ok  $stats"
}

keep() {
  local target=$1
  mkdir -p "$WORK/$target/tmp"
  # shellcheck disable=SC2046
  TMPDIR="$WORK/$target/tmp" "$OUT/fuzz/fuzz_$target" -merge=1 $(target_options "$target") \
    "$ROOT/fuzz/corpus/$target" "$WORK/$target/corpus"
}

case "${1:-}" in
  build) build ;;
  smoke) build && smoke "${2:-30}" ;;
  run)
    [ $# -ge 3 ] || { echo "usage: $0 run TARGET SECONDS [RUNS] [options]" >&2; exit 2; }
    target=$2 seconds=$3 runs=${4:--1}
    shift $(( $# >= 4 ? 4 : 3 ))
    run_target "$WORK/$target" "$target" "$seconds" "$runs" "$@"
    ;;
  keep) [ $# -eq 2 ] || { echo "usage: $0 keep TARGET" >&2; exit 2; }; keep "$2" ;;
  *) echo "usage: $0 build | smoke [SECONDS] | keep TARGET | run TARGET SECONDS [RUNS] [options]" >&2; exit 2 ;;
esac
