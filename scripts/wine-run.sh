#!/usr/bin/env bash
# Runs a Windows program under Wine and passes its exit code on. Wine returns 0 for many
# crashes, so a run whose stderr reports an unhandled exception fails as well.
set -u
errlog=$(mktemp)
trap 'rm -f "$errlog"' EXIT
wine "$@" 2> >(tee "$errlog" >&2)
rc=$?
wait
if grep -q -E 'Unhandled exception|Unhandled page fault|unhandled exception' "$errlog"; then
  echo "wine-run: the program crashed (unhandled exception)" >&2
  [ "$rc" -eq 0 ] && rc=134
fi
exit "$rc"
