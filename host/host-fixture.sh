#!/bin/sh
# Starts or stops a lumatrel-host for a test run (CTest fixture).
#   host-fixture.sh start BINARY DIR   fresh DIR, host on a free loopback port, DIR/port written
#   host-fixture.sh stop DIR           stops the host by the PID in DIR/pid
set -u
case "${1:-}" in
start)
  bin=$2 dir=$3
  if [ -f "$dir/pid" ]; then
    kill "$(cat "$dir/pid")" 2>/dev/null || true
  fi
  rm -rf "$dir"
  mkdir -p "$dir"
  "$bin" --data "$dir/data" --listen 127.0.0.1:0 </dev/null >"$dir/host.log" 2>&1 &
  echo $! >"$dir/pid"
  i=0
  # The first line names the port actually bound: "lumatrel-host listening on 127.0.0.1:PORT, ...".
  until port=$(sed -n 's/^lumatrel-host listening on 127\.0\.0\.1:\([0-9]*\),.*/\1/p' "$dir/host.log") && [ -n "$port" ]; do
    i=$((i + 1))
    if [ $i -gt 200 ] || ! kill -0 "$(cat "$dir/pid")" 2>/dev/null; then
      echo "lumatrel-host did not start" >&2
      cat "$dir/host.log" >&2
      exit 1
    fi
    sleep 0.05
  done
  echo "$port" >"$dir/port.tmp" && mv "$dir/port.tmp" "$dir/port"
  echo "lumatrel-host on 127.0.0.1:$port, pid $(cat "$dir/pid")"
  ;;
stop)
  exec sh "$(dirname "$0")/../scripts/stop-by-pid.sh" "$2"
  ;;
*)
  echo "usage: $0 start BINARY DIR | stop DIR" >&2
  exit 2
  ;;
esac
