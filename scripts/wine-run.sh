#!/usr/bin/env bash
# Runs a Windows program under the test environment's Wine (CTest's emulator).
#
# The program's output goes to files, passed on when the program ends: the Wine processes
# it starts inherit its standard error, and some outlive it (above all the desktop
# process, explorer.exe, which the first program of a session to use the desktop starts
# and which stays while any program uses the desktop). CTest waits until nobody holds a
# test's output, so a test program that had ended would wait for them, for minutes when
# other tests keep the desktop busy.
if [ -z "${WINEPREFIX:-}" ] && [ -n "${VELMORA_WINE_ENV:-}" ] && [ -f "$VELMORA_WINE_ENV" ]; then
  . "$VELMORA_WINE_ENV"
fi
# Kept in the environment's folder, inside the build folder, where the environment is known.
outputs=${TMPDIR:-/tmp}
[ -z "${VELMORA_WINE_ENV:-}" ] || outputs=${VELMORA_WINE_ENV%/*}
output=$(mktemp -d "$outputs/wine-run.XXXXXX") || exit 1
pass_on() {
  cat "$output/out"
  cat "$output/err" >&2
  rm -rf "$output"
}
/usr/lib/wine/wine64 "$@" >"$output/out" 2>"$output/err" &
program=$!
# Stopped (Ctrl-C, or the end of test-guard.sh), the program is stopped too, and what it
# said is passed on. CTest's time limit kills this script with the program at once.
trap 'kill "$program" 2>/dev/null; pass_on; exit 124' TERM INT
wait "$program"
rc=$?
pass_on
exit "$rc"
