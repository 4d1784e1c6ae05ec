#!/usr/bin/env bash
# A command line longer than the 511 bytes the program keeps is refused with a message
# box (nothing is cut, so the mode byte is never taken from the middle of the name); once
# the box is answered the program ends with its failure code.
# The box is found by its title, as the print tests find theirs, so this test takes their
# lock: two such tests at once could answer each other's boxes.
# velmora-test: printer
set -u
. "$(dirname "$0")/../support/waits.sh"
exe=${1:?velmora.exe}
WINE=/usr/lib/wine/wine64

name=$(printf 'x%.0s' $(seq 1 600))
timeout "$(scaled 60)" "$WINE" "$exe" "${name}$(printf '\002')" >run.log 2>&1 </dev/null &
pid=$!

# Other tests make and destroy windows meanwhile: a search can fail on a window that has
# just gone, and a key can land while the box is not yet taking input, so both are
# repeated until the program has ended.
answered=0
for _ in $(tries 200); do
  kill -0 "$pid" 2>/dev/null || break
  for id in $(xdotool search --onlyvisible --name '^Fandril Print Manager$' 2>/dev/null); do
    xdotool windowfocus --sync "$id" key Return 2>/dev/null && answered=1
  done
  sleep 0.25
done

wait "$pid"
rc=$?
if [ "$answered" -ne 1 ]; then
  echo "FAIL no message box was answered (exit code $rc)"
  exit 1
fi
if [ "$rc" -ne 1 ]; then
  echo "FAIL exit code $rc (expected 1; 124 means it did not end)"
  exit 1
fi
echo "ok   refused with a message and ended"
