#!/bin/sh
# Starts or stops the stand-in picture service for a test run (CTest fixture).
#   standin-fixture.sh start BINARY DIR   fresh DIR, service in the background, waits for DIR/port
#   standin-fixture.sh stop DIR           stops the service by the PID in DIR/pid
set -u
case "${1:-}" in
start)
  bin=$2 dir=$3
  if [ -f "$dir/pid" ]; then
    kill "$(cat "$dir/pid")" 2>/dev/null || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  "$bin" --dir "$dir" </dev/null >"$dir/standin.log" 2>&1 &
  echo $! >"$dir/pid"
  i=0
  while [ ! -f "$dir/port" ]; do
    i=$((i + 1))
    if [ $i -gt 200 ] || ! kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
      echo "the stand-in service did not start" >&2
      cat "$dir/standin.log" >&2
      exit 1
    fi
    sleep 0.05
  done
  echo "stand-in service on 127.0.0.1:$(cat "$dir/port"), pid $(cat "$dir/pid")"
  ;;
stop)
  exec sh "$(dirname "$0")/../scripts/stop-by-pid.sh" "$2"
  ;;
*)
  echo "usage: $0 start BINARY DIR | stop DIR" >&2
  exit 2
  ;;
esac
