#!/usr/bin/env bash
# velmora-test: timeout 180
# Test programs under CTest: one that stops making progress (a message box nobody
# answers) fails within its watchdog's limit, naming the test and the box's caption; one
# that leaves a Wine process behind it holding its standard error (as the first window of
# a session leaves the desktop process) ends for CTest as soon as it ends itself.
set -u
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
run=$VELMORA_SOURCE_DIR/scripts/wine-run.sh
failed=0

start=$SECONDS
VELMORA_TEST_STALL_SECONDS=3 bash "$run" "$VELMORA_BINARY_DIR/tests/shell_message_box.exe" \
  --gtest_also_run_disabled_tests --gtest_filter='*BoxNobodyAnswers' >"$work/stall.out" 2>&1
rc=$?
echo "stalled test: exit $rc after $((SECONDS - start)) s: $(grep '^watchdog:' "$work/stall.out")"
[ "$rc" -ne 0 ] && [ $((SECONDS - start)) -lt 60 ] && grep -q \
  '^watchdog: no progress for 3 s after MessageRoutine.DISABLED_BoxNobodyAnswers; visible windows:.*"Una finestra in attesa"' \
  "$work/stall.out" || { echo "FAIL the stalled test: $(cat "$work/stall.out")"; failed=1; }

# The stand-in of a companion keeps a hidden window for a minute; it is read through a
# pipe, as CTest reads, and ended by its process id afterwards.
lingering=$work/lingering.exe
cp "$VELMORA_BINARY_DIR/tests/companion_standin.exe" "$lingering" || exit 1
start=$SECONDS
bash "$run" cmd /c start "$(winpath "$lingering")" 2>&1 | cat >"$work/lingering.out"
echo "a program leaving a process behind: its output closed after $((SECONDS - start)) s"
[ $((SECONDS - start)) -lt 30 ] || { echo "FAIL its output stayed open while the process it left lived"; failed=1; }
for p in /proc/[0-9]*; do
  [ "$( { tr '\0' '\n' <"$p/cmdline" | head -n 1; } 2>/dev/null)" = "$(winpath "$lingering")" ] && kill "${p#/proc/}"
done
exit $failed
