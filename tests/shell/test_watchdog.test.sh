#!/usr/bin/env bash
# velmora-test: timeout 180
# Test programs under CTest: one that stops making progress (a message box nobody
# answers) fails within its watchdog's limit, naming the test and the box's caption, in an
# environment whose desktop process has been up since its start and stays up after; one
# that leaves a Wine process behind it holding its standard error (as the first window of
# a session leaves the desktop process) ends for CTest as soon as it ends itself. A test
# that CTest kills at its time limit leaves no environment of its own, no process of it and
# nothing mounted in its folder; an environment's stop that finds a file system left mounted,
# and in use, in an environment made from it still ends every server and removes the rest.
set -u
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
run=$VELMORA_SOURCE_DIR/scripts/wine-run.sh
failed=0

# In an environment of its own, whose desktop process must be up from its start: Wine gives a
# program's first window 10 s to wait for it, which a busy machine can take.
deskenv=$work/desk
bash "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" own "$deskenv" "${VELMORA_WINE_ENV%/*}" >/dev/null || exit 1
desktop() { for p in $(pgrep -f 'explorer\.exe /desktop'); do grep -qzxF "WINEPREFIX=$deskenv/prefix" "/proc/$p/environ" && echo "$p"; done 2>/dev/null; }
desk=$(desktop)
start=$SECONDS
(. "$deskenv/env.sh" && VELMORA_WINE_ENV=$deskenv/env.sh VELMORA_TEST_STALL_SECONDS=3 bash "$run" \
  "$VELMORA_BINARY_DIR/tests/shell_message_box.exe" --gtest_also_run_disabled_tests --gtest_filter='*BoxNobodyAnswers') >"$work/stall.out" 2>&1
rc=$?
sleep 2  # Wine ends an unused desktop a second after its last program
echo "the desktop process of an environment: $desk once it started, $(desktop) after a program"
[ -n "$desk" ] && [ "$(desktop)" = "$desk" ] || { echo "FAIL the desktop did not stay up from the environment's start"; failed=1; }
bash "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" stop "$deskenv" && rm -rf "$deskenv"
echo "stalled test: exit $rc after $((SECONDS - start)) s: $(grep '^watchdog:' "$work/stall.out")"
[ "$rc" -ne 0 ] && [ $((SECONDS - start)) -lt "$(scaled 60)" ] && grep -q \
  '^watchdog: no progress for 3 s after MessageRoutine.DISABLED_BoxNobodyAnswers; visible windows:.*"Una finestra in attesa"' \
  "$work/stall.out" || { echo "FAIL the stalled test: $(cat "$work/stall.out")"; failed=1; }

# The stand-in of a companion keeps a hidden window for a minute; it is read through a
# pipe, as CTest reads, and ended by its process id afterwards.
lingering=$work/lingering.exe
cp "$VELMORA_BINARY_DIR/tests/companion_standin.exe" "$lingering" || exit 1
start=$SECONDS
bash "$run" cmd /c start "$(winpath "$lingering")" 2>&1 | cat >"$work/lingering.out"
echo "a program leaving a process behind: its output closed after $((SECONDS - start)) s"
[ $((SECONDS - start)) -lt "$(scaled 30)" ] || { echo "FAIL its output stayed open while the process it left lived"; failed=1; }
for p in /proc/[0-9]*; do
  [ "$( { tr '\0' '\n' <"$p/cmdline" | head -n 1; } 2>/dev/null)" = "$(winpath "$lingering")" ] && kill "${p#/proc/}"
done

# of ENV: the processes of the environments whose folders' paths start ENV (their prefix's).
of() { grep -lzF "WINEPREFIX=$1" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3; }
gone() { [ -z "$(ls -d "$own".* 2>/dev/null)$(of "$own.")" ] && ! mountpoint -q "$work/killed/wd/full"; }
# A stand-in test in an environment of its own, past its limit of 10 s (of a quiet machine): it
# has mounted a file system in its folder, run Wine there, and runs a Wine program and a sleep.
guard=$VELMORA_SOURCE_DIR/scripts/test-guard.sh own=${VELMORA_WINE_ENV%/*}/own/sleeper$$
standin=$(printf %q "$VELMORA_BINARY_DIR/tests/companion_standin.exe")
rm -rf "$work/killed" && mkdir -p "$work/killed/wd" && cat >"$work/killed/CTestTestfile.cmake" <<EOF || exit 1
add_test(sleeper bash [==[$guard]==] --own sleeper$$ bash -c [==[
  [ "\$(id -u)" != 0 ] || { mkdir full && mount -t tmpfs -o size=16k tmpfs full; }
  /usr/lib/wine/wine64 cmd /c exit && : >started; /usr/lib/wine/wine64 $standin & sleep 600]==])
set_tests_properties(sleeper PROPERTIES TIMEOUT $(scaled 10) WORKING_DIRECTORY [==[$work/killed/wd]==])
EOF
start=$SECONDS
(cd "$work/killed" && ctest) >"$work/killed.out" 2>&1
ended=$SECONDS
for _ in $(tries 300); do gone && break; sleep 0.1; done
echo "a test killed at its limit of $(scaled 10) s: CTest returned after $((ended - start)) s, its environment gone $((SECONDS - ended)) s later"
grep -q 'sleeper .*Timeout' "$work/killed.out" && [ -e "$work/killed/wd/started" ] && gone ||
  { echo "FAIL a killed test (it made: $(ls "$work/killed/wd")) left $(ls -d "$own".* 2>/dev/null) $(of "$own.") $(mountpoint "$work/killed/wd/full"): $(cat "$work/killed.out")"; failed=1; }

# The test command stopped by Ctrl-C, then killed by SIGKILL, each sent to its process group
# while a test runs Wine in the run's environment and another in one it started in its folder:
# within 10 s (of a quiet machine) no process of any of them runs, and none of their folders
# stays. The command runs from a copy of the scripts with no set-up or build, on two of this
# test's processors, with its time factor taken for those two; its prefix is copied from this one's.
root=$work/run/root fb=$work/run/b && rm -rf "$work/run" && mkdir -p "$root/scripts" "$fb/testwd/in folder" "$fb/wine-env" || exit 1
printf ':\n' | tee "$root/scripts/setup.sh" >"$root/scripts/build.sh" &&
  ln -s "$VELMORA_SOURCE_DIR/scripts/"{test,start-run,wine-env,wine-run,test-guard}.sh "$root/scripts/" &&
  bash "$root/scripts/wine-env.sh" copy "${VELMORA_WINE_ENV%/*}/prepared" "$fb/wine-env/prefix" || exit 1
cat >"$fb/CTestTestfile.cmake" <<EOF
add_test(run bash [==[$root/scripts/test-guard.sh]==] bash [==[$root/scripts/wine-run.sh]==] $standin)
set_tests_properties(run PROPERTIES WORKING_DIRECTORY [==[$fb/testwd]==])
add_test(folder bash [==[$root/scripts/test-guard.sh]==] bash -c [==[
  bash $(printf %q "$root/scripts/wine-env.sh") own env "\${VELMORA_WINE_ENV%/*}" >/dev/null & wait \$!
  (. env/env.sh && /usr/lib/wine/wine64 cmd /c exit) && : >started; sleep 600]==])
set_tests_properties(folder PROPERTIES WORKING_DIRECTORY [==[$fb/testwd/in folder]==])
EOF
two=$(python3 -c 'import os; print(*sorted(os.sched_getaffinity(0))[:2], sep=",")')
# What is left of the run: its environments' processes, its keeper and the keeper's stop (whose
# own processes come and go while it ends them), and their folders.
left() {
  of "$fb/"; grep -lzxFf <(printf '%s\n' "$fb/wine-env") /proc/[0-9]*/cmdline 2>/dev/null | cut -d/ -f3
  ls -d "$fb/wine-env/own/"* "$fb/wine-env/"wine-run.* "$fb/testwd/in folder/env/prefix" 2>/dev/null
}
set -m
for signal in INT KILL; do
  env -u VELMORA_WINE_ENV -u VELMORA_TEST_TIME_SCALE taskset -c "$two" bash "$root/scripts/test.sh" --build-dir "$fb" >"$work/run.out" 2>&1 </dev/null &
  for _ in $(tries 1200); do
    [ -e "$fb/testwd/in folder/started" ] && ls "$fb/wine-env/"wine-run.* >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 1; ran=$(of "$fb/" | wc -l); kill -"$signal" -- -$!; wait $!; rm -f "$fb/testwd/in folder/started"
  for _ in $(tries 100); do [ -z "$(left)" ] && break; sleep 0.1; done
  echo "the test command stopped by SIG$signal with $ran processes of its environments running: left $(left | wc -l)"
  [ "$ran" -gt 4 ] && [ -z "$(left)" ] || { echo "FAIL SIG$signal left: $(left) $(cat "$work/run.out")"; kill -KILL $(of "$fb/") 2>/dev/null; failed=1; }
  sed -n 's/^test: the time limits scaled by \([0-9]*\)% (load \([0-9.]*\) on [0-9]* processors, 2 for the run)$/\1 \2/p' "$work/run.out" |
    awk '{ ok = $1 == 100 + int(100 * $2 / 2 + 0.999) } END { exit !ok }' || { echo "FAIL the factor on two processors: $(head -n 3 "$work/run.out")"; failed=1; }
done
set +m
rm -rf "$work/run"

# A stop past a busy file system in an environment made from the one it stops, both running Wine.
env=$work/stopped && rm -rf "$env" && mkdir -p "$env/own/inner" || exit 1
for dir in "$env" "$env/own/inner"; do
  bash "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" own "$dir" "${VELMORA_WINE_ENV%/*}" >/dev/null || exit 1
  (. "$dir/env.sh" && /usr/lib/wine/wine64 cmd /c exit) >/dev/null 2>&1
done
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=16k tmpfs "$env/own/inner/print"; then
  sleep 60 >"$env/own/inner/print/busy" & busy=$!
fi
bash "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" stop "$env" >"$work/stop.out" 2>&1
rc=$?; kill ${busy:-} 2>/dev/null
echo "a stop past a busy file system: exit $rc, left: $(ls -A "$env/own") $(of "$env/")"
[ $rc = 0 ] && [ -z "$(ls -A "$env/own")$(of "$env/")" ] && ! grep -qF " $env/" /proc/mounts ||
  { echo "FAIL a stop past a busy file system: $(cat "$work/stop.out")"; failed=1; }
exit $failed
