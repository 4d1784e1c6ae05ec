#!/usr/bin/env bash
# velmora.exe as a process: with no command line, with a lone mode byte (an empty plan
# name) and with a name ending in the digit 2 (0x32, not mode 2) it builds its hidden
# frame, loads and prints nothing, and ends by itself with the quit code 0.
set -u
. "$(dirname "$0")/../support/waits.sh"
exe=${1:?velmora.exe}
WINE=/usr/lib/wine/wine64
failed=0

run_case() {
  local label=$1
  shift
  timeout "$(scaled 60)" "$WINE" "$exe" "$@" >"run-$label.log" 2>&1 </dev/null
  local rc=$?
  if [ "$rc" -ne 0 ]; then
    echo "FAIL $label: exit code $rc (124 means it did not end by itself)"
    failed=1
  else
    echo "ok   $label"
  fi
}

run_case no-command-line
run_case lone-mode-byte "$(printf '\002')"
run_case digit-two "plan2"
run_case digit-two-path "$(printf 'Z:\\nowhere\\house.ZR2')"

# None of these runs may have left a file behind in the program directory.
if [ -n "$(ls -A | grep -v '^run-.*\.log$')" ]; then
  echo "FAIL unexpected files: $(ls -A)"
  failed=1
fi
exit $failed
