#!/bin/sh
# Prepares the Wine prefix of the test run for the window test (CTest fixture setup):
# - the test program gets a virtual desktop of its own, where Wine draws window frames (the X
#   server of the tests has no window manager);
# - SimSun (宋体) is replaced by an installed CJK font that also has Latin letters: otherwise, in
#   a non-Chinese locale, Wine picks a CJK-only fallback font and Latin text shows as boxes.
set -eu
reg=$(mktemp --suffix=.reg)
trap 'rm -f "$reg"' EXIT
printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
  '[HKEY_CURRENT_USER\Software\Wine\AppDefaults\app_window_tests.exe\Explorer]' \
  '"Desktop"="lumatrel-window"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' \
  '"lumatrel-window"="1024x700"' '' \
  '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
  '"宋体"="WenQuanYi Micro Hei"' \
  '"SimSun"="WenQuanYi Micro Hei"' '' | iconv -f UTF-8 -t UTF-16 >"$reg"
wine regedit /s "$(winepath -w "$reg")" </dev/null
