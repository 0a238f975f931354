# Sourced by the test and run commands: what a fresh Debian 12 machine needs, and the Wine
# environment of the project (its own prefix, a persistent wineserver, Xvfb), all stopped by PID.

LUMATREL_PACKAGES=(cmake g++ make googletest libgtest-dev libgmock-dev libbenchmark-dev
  mingw-w64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix wine wine64 xvfb x11-utils
  imagemagick locales fonts-wqy-microhei libcpp-httplib-dev libvips-dev libvips-tools libssl-dev pkg-config python3 curl e2fsprogs
  clang-14 libclang-rt-14-dev libfuzzer-14-dev llvm-14)

lumatrel_install_packages() {
  local missing=() p
  for p in "${LUMATREL_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
    sed -i 's/^# *\(zh_CN.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
    locale-gen >/dev/null
  fi
}

# CI may start us with a bare environment; Wine and the prefix need a home folder.
if [ -z "${HOME:-}" ]; then
  HOME=$(getent passwd "$(id -u)" | cut -d: -f6)
  export HOME
fi
: "${LUMATREL_WINEPREFIX:=$HOME/.cache/lumatrel/wineprefix}"
export WINEPREFIX="$LUMATREL_WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
LUMATREL_WINESERVER_PID=""
LUMATREL_XVFB_PID=""

# SimSun (宋体) stands for an installed CJK font that also has Latin letters; otherwise Wine
# picks a CJK-only fallback in a non-Chinese locale and Latin text shows as boxes. Written with
# regedit from a UTF-16 file, since "reg add" mangles the Chinese name.
lumatrel_wine_fonts() {
  local reg
  reg=$(mktemp --suffix=.reg)
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"宋体"="WenQuanYi Micro Hei"' \
    '"SimSun"="WenQuanYi Micro Hei"' '' | iconv -f UTF-8 -t UTF-16 >"$reg"
  wine regedit /s "$(winepath -w "$reg")" </dev/null >/dev/null 2>&1
  rm -f "$reg"
}

# Creates the prefix on first use (crash dialog off, fonts for the window), then starts a
# persistent wineserver and Wine's services outside any test runner's pipes.
lumatrel_wine_up() {
  if [ ! -f "$WINEPREFIX/.lumatrel-ready-2" ]; then
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    if ! wineboot -i >/dev/null 2>&1 </dev/null; then
      echo "wineboot failed: is the 64-bit wine (wine64) installed and the 32-bit one absent?" >&2
      return 1
    fi
    wineserver -w
    [ -f "$WINEPREFIX/system.reg" ] || { echo "the Wine prefix was not created" >&2; return 1; }
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
    local fonts="$WINEPREFIX/drive_c/windows/Fonts"
    mkdir -p "$fonts"
    [ -f /usr/share/wine/fonts/marlett.ttf ] && cp /usr/share/wine/fonts/marlett.ttf "$fonts/"
    lumatrel_wine_fonts
    wineserver -w
    touch "$WINEPREFIX/.lumatrel-ready-2"
  fi
  wineserver -f -p </dev/null >/dev/null 2>&1 &
  LUMATREL_WINESERVER_PID=$!
  sleep 0.3
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

lumatrel_wine_down() {
  if [ -n "$LUMATREL_WINESERVER_PID" ]; then
    wineserver -k >/dev/null 2>&1 || true
    kill "$LUMATREL_WINESERVER_PID" 2>/dev/null || true
    wait "$LUMATREL_WINESERVER_PID" 2>/dev/null || true
    LUMATREL_WINESERVER_PID=""
  fi
}

# Starts Xvfb on a free display number and exports DISPLAY.
lumatrel_xvfb_up() {
  local n
  for n in $(seq 91 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    LUMATREL_XVFB_PID=$!
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display" >&2
  return 1
}

lumatrel_xvfb_down() {
  if [ -n "$LUMATREL_XVFB_PID" ]; then
    kill "$LUMATREL_XVFB_PID" 2>/dev/null || true
    wait "$LUMATREL_XVFB_PID" 2>/dev/null || true
    LUMATREL_XVFB_PID=""
  fi
}
