#!/bin/sh
# Stops the process whose PID is in the file DIR/pid (a test fixture's service) and waits until it
# is gone, or a zombie waiting for whoever adopted it to reap it; then removes the file.
set -u
dir=$1
[ -f "$dir/pid" ] || exit 0
pid=$(cat "$dir/pid")
kill "$pid" 2>/dev/null || true
i=0
while kill -0 "$pid" 2>/dev/null && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$pid/stat" 2>/dev/null && [ $i -lt 100 ]; do
  i=$((i + 1))
  sleep 0.05
done
rm -f "$dir/pid"
