#!/usr/bin/env bash
# The main command: on a fresh Debian 12 machine it installs what is missing, builds the picture
# host (native) and the Windows program, starts lumatrel-host with its pictures under the home
# folder, and runs Lumatrel.exe under Wine on this display. Picked pictures get links that open
# in a browser. When the program exits, the host is stopped (by its PID).
#
# Settings (environment, all optional):
#   LUMATREL_BUILD_DIR  build trees (default: <repo>/build, shared with scripts/test.sh)
#   LUMATREL_JOBS       parallel build jobs (default: 2)
#   LUMATREL_HOST_DATA  the host's data folder (default: ~/.local/share/lumatrel-host)
#   LUMATREL_LOCALE     locale the program runs in under Wine (default: zh_CN.UTF-8)
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${LUMATREL_BUILD_DIR:-$ROOT/build}
JOBS=${LUMATREL_JOBS:-2}
DATA=${LUMATREL_HOST_DATA:-${XDG_DATA_HOME:-$HOME/.local/share}/lumatrel-host}
LOCALE=${LUMATREL_LOCALE:-zh_CN.UTF-8}

say() { echo "run.sh: $*" >&2; }

# Lumatrel is a window program: without a display there is nothing to run it on, and finding that
# out after a long build helps nobody.
if [ -z "${DISPLAY:-}" ]; then
  say "no display: DISPLAY is empty. Lumatrel is a Windows window program run under Wine, so it"
  say "needs a graphical session. Run this command in a terminal of your desktop, or over"
  say "'ssh -X', or give it a display yourself (for example DISPLAY=:0)."
  exit 1
fi

source "$ROOT/scripts/machine.sh"

HOST_PID=""
cleanup() {
  lumatrel_wine_down
  if [ -n "$HOST_PID" ]; then
    kill -TERM "$HOST_PID" 2>/dev/null || true
    wait "$HOST_PID" 2>/dev/null || true
    HOST_PID=""
  fi
}
trap cleanup EXIT

if [ "$(id -u)" -eq 0 ]; then
  lumatrel_install_packages
else
  # Installing packages and generating the Chinese locale need root.
  sudo bash -c 'source "$1" && lumatrel_install_packages' _ "$ROOT/scripts/machine.sh"
fi

echo "== building the picture host (native)"
cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMATREL_WERROR=ON >/dev/null
cmake --build "$BUILD/native" -j"$JOBS" --target lumatrel-host

echo "== building the program (Windows)"
cmake -S "$ROOT" -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLUMATREL_WERROR=ON -DLUMATREL_NATIVE_BUILD_DIR="$BUILD/native" >/dev/null
cmake --build "$BUILD/win" -j"$JOBS" --target Lumatrel

EXE="$BUILD/win/app/win/Lumatrel.exe"
[ -f "$EXE" ] || EXE=$(find "$BUILD/win" -name Lumatrel.exe -type f -print -quit)
if [ -z "$EXE" ] || [ ! -f "$EXE" ]; then
  say "the build made no Lumatrel.exe"
  exit 1
fi

# The program uploads to the host it was built for; a local one is started only when that is
# this machine.
UPLOAD_HOST=$(sed -n 's/^LUMATREL_UPLOAD_HOST:[A-Z]*=//p' "$BUILD/win/CMakeCache.txt")
UPLOAD_HOST=${UPLOAD_HOST:-127.0.0.1:8960}
case "$UPLOAD_HOST" in
  127.0.0.1:*|localhost:*)
    PORT=${UPLOAD_HOST##*:}
    mkdir -p "$DATA"
    LOG="$DATA/host.log"
    "$BUILD/native/host/lumatrel-host" --data "$DATA" --listen "127.0.0.1:$PORT" >"$LOG" 2>&1 &
    HOST_PID=$!
    for _ in $(seq 1 100); do
      grep -q 'listening on' "$LOG" 2>/dev/null && break
      kill -0 "$HOST_PID" 2>/dev/null || break
      sleep 0.1
    done
    if ! grep -q 'listening on' "$LOG" 2>/dev/null; then
      say "the picture host did not start (is port $PORT taken, by an earlier lumatrel-host perhaps?):"
      tail -n 5 "$LOG" >&2 || true
      exit 1
    fi
    echo "== picture host running (PID $HOST_PID): pictures in $DATA, log in $LOG"
    ;;
  *)
    echo "== the program uploads to $UPLOAD_HOST (set when it was built); no local host started"
    ;;
esac

echo "== starting Lumatrel under Wine on display $DISPLAY"
lumatrel_wine_up
( cd "$(dirname "$EXE")" && LC_ALL="$LOCALE" wine "$(basename "$EXE")" ) || say "Lumatrel ended with status $?"
echo "== Lumatrel has exited; stopping the picture host"
