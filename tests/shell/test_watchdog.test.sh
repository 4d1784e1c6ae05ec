#!/usr/bin/env bash
# velmora-test: timeout 180
# The test programs' road under CTest: a test program that stops making progress (here
# a message box nobody answers) fails within its watchdog's limit, naming the test and
# the box's caption; and a test program ends for CTest as soon as it ends itself, even
# when a Wine process it started (as the desktop process is started by the first window)
# lives on with its standard error.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
run=$VELMORA_SOURCE_DIR/scripts/wine-run.sh
failed=0

start=$SECONDS
VELMORA_TEST_STALL_SECONDS=3 bash "$run" "$VELMORA_BINARY_DIR/tests/shell_message_box.exe" \
  --gtest_also_run_disabled_tests --gtest_filter='*BoxNobodyAnswers' >"$work/stall.out" 2>&1
rc=$?
echo "stalled test: exit $rc after $((SECONDS - start)) s"
grep '^watchdog:' "$work/stall.out"
[ "$rc" -ne 0 ] && [ $((SECONDS - start)) -lt 60 ] &&
  grep -q '^watchdog: no progress for 3 s after MessageRoutine.DISABLED_BoxNobodyAnswers; visible windows:.*"Una finestra in attesa"' \
    "$work/stall.out" || { echo "FAIL the stalled test: $(cat "$work/stall.out")"; failed=1; }

# A Windows program that leaves a process behind it (a companion stand-in, which keeps
# a hidden window for a minute), its output read through a pipe as CTest reads it.
cp "$VELMORA_BINARY_DIR/tests/companion_standin.exe" "$work/lingering.exe" || exit 1
start=$SECONDS
bash "$run" cmd /c start "$(winpath "$work/lingering.exe")" 2>&1 | cat >"$work/lingering.out"
echo "program leaving a process behind: its output closed after $((SECONDS - start)) s"
[ $((SECONDS - start)) -lt 30 ] || { echo "FAIL its output stayed open while the process it left lived"; failed=1; }
# The stand-in is ended by its process id.
for p in /proc/[0-9]*; do
  [ "$( { tr '\0' '\n' <"$p/cmdline" | head -n 1; } 2>/dev/null)" = "$(winpath "$work/lingering.exe")" ] &&
    kill "${p#/proc/}"
done
exit $failed
