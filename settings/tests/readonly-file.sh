#!/bin/sh
# Prepares (setup) or removes (cleanup) a settings file that no one may write, for the Windows
# tests under Wine: Wine keeps a read-only attribute as the Unix mode, which root ignores, so the
# file is also made immutable when this system allows it.
set -u
dir=$2
file="$dir/Lumatrel.ini"
chattr -i "$file" 2>/dev/null
rm -rf "$dir"
if [ "$1" = setup ]; then
  mkdir -p "$dir" && printf '[S]\r\nK=1' > "$file" && chmod 444 "$file" || exit 1
  chattr +i "$file" 2>/dev/null || true
fi
exit 0
