#!/bin/sh
# Starts Lumatrel.exe from a folder of its own, closes its window, and checks the settings file
# it leaves beside itself: a first run without a pick writes the empty folder.
#   exe-start-and-close.sh LUMATREL_EXE CLOSE_MAIN_WINDOW_EXE WORK_DIR
set -u
exe=$1 closer=$2 work=$3
rm -rf "$work"
mkdir -p "$work"
cp "$exe" "$work/Lumatrel.exe"
wine "$work/Lumatrel.exe" </dev/null >"$work/lumatrel.log" 2>&1 &
pid=$!
wine "$closer" </dev/null
closed=$?
if ! wait "$pid"; then
  echo "Lumatrel.exe failed; its output:" >&2
  cat "$work/lumatrel.log" >&2
  exit 1
fi
[ "$closed" -eq 0 ] || { echo "closing the window failed ($closed)" >&2; exit 1; }
# "[主界面]" CR LF "上次目录=" in GBK, no final line break.
expected=$(printf '[\326\367\275\347\303\346]\r\n\311\317\264\316\304\277\302\274=' | od -An -tx1)
actual=$(od -An -tx1 "$work/Lumatrel.ini" 2>/dev/null)
if [ "$actual" != "$expected" ]; then
  echo "Lumatrel.ini beside the program holds:$actual" >&2
  echo "expected:$expected" >&2
  exit 1
fi
echo "Lumatrel.exe started at its place, closed, and wrote Lumatrel.ini beside itself"
