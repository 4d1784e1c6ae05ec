#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 600
# velmora-test: parts refusals prints idle environments disks
# scripts/print-sample.sh on one's own plan: a missing or unreadable plan, or an idle limit
# other than 1 to 86400 whole seconds, is refused by the script itself (its message, a
# non-zero exit, nothing printed); a plan whose folder and name have blanks, with
# --to-scale, is printed at its print scale (1:100 metric: one page) through a build folder
# of the test's own whose path has a blank, and the PDF's path comes last; a second plan
# printed at once waits for it. Plans named in Greek, with a blank, or ending in a dot or a
# line's end print, each to a PDF of its own; a plan the program refuses is told with its
# box's text, whatever job another run leaves; no run disturbs another's PDF or the
# folder's other files. A print that takes longer than a short idle limit completes, and
# so does one that pauses, while a program that does nothing is stopped after it (1 s).
# Names of 229 and 250 characters print; Ctrl-C, to the script or its port, leaves no file.
# With the printer's, the spool or the build folder on a full disk (small file systems mounted by the
# test, as root only), the script says so, exits non-zero and leaves no PDF under the plan's name, nor a job in
# the spool folder, nor a copy. What a killed run's tests left mounted goes as the next run starts.
set -u
exe=${1:?velmora.exe}
# The part of the rows to run, where the test is split: every part without one.
only=${2:-}
part() { [ -z "$only" ] || [ "$only" = "$1" ]; }
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
script=$VELMORA_SOURCE_DIR/scripts/print-sample.sh
generate_plans "$work" || exit 1
failed=0

# The prints go to a build folder of the test's own (the program copied into it), never
# into the user's build folder.
build="$work/own build"
rm -rf "$build" && mkdir -p "$build/print-sample" && cp "$VELMORA_BINARY_DIR/velmora.exe" "$build/" || exit 1
echo "a print of the user's" >"$build/print-sample/mine.pdf"
d() { printf '%s' "$1" | sha1sum | cut -c1-10; }  # the digest a changed name gets
print() {  # print OUT PLAN [--to-scale]: the script's exit code; its output in OUT
  local out=$1; shift
  bash "$script" --build-dir "${into:-$build}" "$@" >"$out" 2>&1
}
long_plan() {  # the plan that takes long to print, written once
  [ -e "$work/long.ZRO" ] || timeout "$(scaled 120)" "$WINE" "$VELMORA_BINARY_DIR/tests/print_plan_writer.exe" long "$(winpath "$work/long.ZRO")" \
    >"$work/long-writer.log" 2>&1 </dev/null || { cat "$work/long-writer.log"; exit 1; }
}
cp "$VELMORA_BINARY_DIR/tests/companion_standin.exe" "$work/idle.exe" || exit 1

if part refusals; then
before=$(last_job)
# Build folders whose paths the build's tools cannot take (%n: a line's end), that Windows
# names cannot hold (%p: "|") or that are too long for a print's files are refused at once, and not made.
cmake="which CMake and make cannot take; choose a folder whose path has none"
for row in "|$work/none.ZRO|print-sample: no plan file $work/none.ZRO" "|$work|print-sample: cannot read the plan file $work" \
  {0,-1,abc,1e9,86401}"|$work/small.ZRO|print-sample: VELMORA_PRINT_IDLE_LIMIT takes a whole number of seconds from 1 to 86400, not" \
  "|$work/small.ZRO|holds ';', $cmake|$work/a;b" "|$work/small.ZRO|holds a line's end, $cmake|$work/a%nb" \
  "|$work/small.ZRO|holds '%p', which Windows names cannot hold; choose a folder whose path has none|$work/a%pb" \
  "|$work/small.ZRO|is 207 characters long as Windows programs name it, more than the 193 with which the files a print opens stay within the 259 characters that velmora.exe can open; choose a folder with a shorter path|/tmp/$(printf 'l%.0s' {1..200})"; do
  IFS='|' read -r limit plan want unusable <<<"$row"
  [ -z "$limit" ] || want="$want \"$limit\""
  unusable=${unusable//%n/$'\n'} unusable=${unusable//%p/|} want=${want//%p/|}
  [ -z "$unusable" ] || want="build: the path of the build folder $want: $unusable"
  out=$(VELMORA_PRINT_IDLE_LIMIT=$limit timeout "$(scaled 300)" bash "$script" --build-dir "${unusable:-$work/unused}" "$plan" 2>&1)
  rc=$?
  [ "$rc" -ne 0 ] && [ "$out" = "$want" ] && { [ -z "$unusable" ] || [ ! -e "$unusable" ]; } || { echo "FAIL $limit $plan $unusable: exit $rc, said: $out"; failed=1; }
done
# The tests' own command refuses at once a build folder too long for the tests' files, which prints take.
tests_build=/tmp/$(printf 't%.0s' {1..114})
out=$(timeout "$(scaled 300)" bash "$VELMORA_SOURCE_DIR/scripts/test.sh" --build-dir "$tests_build" 2>&1)
[ $? -ne 0 ] && [[ $out == "build: the path of the build folder is 121 characters long as Windows programs name it, more than the 120 "* ]] &&
  [ ! -e "$tests_build" ] || { echo "FAIL test.sh in a folder too long for the tests: said: $out"; failed=1; }
# The check's length of a path against Wine's own: each name outside the code page as a Windows
# program gets it (GetShortPathNameW, through winepath -s), names of every shape in a folder
# long enough that every path is refused with its length.
lengths=/tmp/velmora-lengths-$$ && base=$lengths/$(printf 'w%.0s' {1..170})
for name in ж Ω1 家ж1 .жcache a.b.ж жж.ab a.🏠 ab.🏠x абвгдежзик абвгдежзик.longext Проектκгω é ab .cache; do
  mkdir -p "$base/$name" && named=$(LANG=C.UTF-8 "$WINE" winepath -s "$base/$name" 2>/dev/null) || exit 1
  named=${named##*/} && printf '%s' "$name" | iconv -f UTF-8 -t CP1252 >/dev/null 2>&1 && named=$name
  out=$(bash "$VELMORA_SOURCE_DIR/scripts/build.sh" --check "$base/$name" 2>&1)
  want=$((2 + ${#base} + 1 + $(printf '%s' "$named" | iconv -f UTF-8 -t UTF-16LE | wc -c) / 2))
  [[ $out == "build: the path of the build folder is $want characters long "* ]] || { echo "FAIL the length of $name: $want, said: $out"; failed=1; }
done
rm -rf "$lengths"
[ "$(last_job)" -eq "$before" ] || { echo "FAIL a refused plan was printed"; failed=1; }
fi

if part prints; then
mkdir -p "$work/my plans" && cp "$work/small.ZRO" "$work/my plans/small plan.ZRO" || exit 1
print "$work/scale.out" "$work/my plans/small plan.ZRO" --to-scale &
scale=$!
print "$work/fit.out" "$work/fit.ZRO"
rc=$?
wait $scale || { echo "FAIL --to-scale: exit $?, said: $(cat "$work/scale.out")"; exit 1; }
pdf=$(tail -n 1 "$work/scale.out")
[ "$pdf" = "$build/print-sample/small_plan-$(d "small plan.ZRO").pdf" ] || { echo "FAIL --to-scale: said $(cat "$work/scale.out")"; exit 1; }
python3 "$here/printed_pages.py" scale "$pdf" "$work/small.segments" "$work/printer.caps" || failed=1
[ "$rc" -eq 0 ] && [ "$(tail -n 1 "$work/fit.out")" = "$build/print-sample/fit.pdf" ] &&
  python3 "$here/printed_pages.py" fit "$build/print-sample/fit.pdf" "$work/fit.segments" "$work/printer.caps" ||
  { echo "FAIL second plan: exit $rc, said: $(cat "$work/fit.out")"; failed=1; }
grep -q "^print-sample: waiting for the print of " "$work/scale.out" "$work/fit.out" || { echo "FAIL no run waited"; failed=1; }
# A plan of the folder's own under the name the copy of "a b.ZRO" once had; plans that
# print, and plans the program refuses.
echo "a plan of the user's" >"$build/print-sample/a_b.ZRO" && printf garbage >"$work/my plans/σπίτι 2.ZRO" &&
  printf garbage >"$build/print-sample/x.ZRO" || exit 1
# Names (%n: a line's end; "n.ZRO" is refused) each get a PDF of their own, with a digest where
# changed; names of 229 and 250 characters go through a folder given by its whole path.
long=$(printf 'a%.0s' {1..225}) cut=$long${long:0:20}
mkdir -p "$work/plain" && cp "$build/velmora.exe" "$work/plain/" && cp "$work/my plans/σπίτι 2.ZRO" "$work/my plans/n.ZRO" || exit 1
for row in "σπίτι.ZRO|σπίτι" "a b.ZRO|a_b-$(d "a b.ZRO")" "a_b.ZRO|a_b" "casa.ZRO.|casa.ZRO" "n.ZRO%n|n" "$long.ZRO|$long|$work/plain" \
  "${cut}σ.ZRO|${long}${long:0:10}-$(d "${cut}σ.ZRO")|$work/plain" "${cut}τ.ZRO|${long}${long:0:10}-$(d "${cut}τ.ZRO")|$work/plain"; do
  IFS='|' read -r name want into <<<"$row"
  name=${name//%n/$'\n'}
  cp "$work/small.ZRO" "$work/my plans/$name" && print "$work/name.out" "$work/my plans/$name" &&
    [ "$(tail -n 1 "$work/name.out")" = "${into:-$build}/print-sample/$want.pdf" ] &&
    { [[ ${#want} -lt 200 || $want != *-* ]] || grep -qF "its PDF is named $want.pdf" "$work/name.out"; } ||
    { echo "FAIL the plan $name: $(cat "$work/name.out")"; failed=1; }
done
into=
for plan in "$work/my plans/σπίτι 2.ZRO" "$build/print-sample/x.ZRO"; do
  kept=$(ls "$build/print-sample")
  rm -f "$build/print-sample/velmora.log.windows"  # the port of a run killed earlier leaves a job meanwhile
  (until [ -e "$build/print-sample/velmora.log.windows" ]; do sleep 0.1; done
    cp "$build/print-sample/fit.pdf" "$VELMORA_PRINT_DIR/job-$(($(last_job) + 1)).pdf") &
  ! print "$work/refused.out" "$plan" && [ "$(ls "$build/print-sample")" = "$kept" ] &&
    grep -q "^print-sample: velmora.exe said: Errore file - Formato sconosciuto: " "$work/refused.out" ||
    { echo "FAIL $plan: $(cat "$work/refused.out")"; failed=1; }
  wait $! && rm -f "$VELMORA_PRINT_DIR/job-$(last_job).pdf"
done
[ "$(cat "$build/print-sample/mine.pdf" "$build/print-sample/a_b.ZRO")" = "a print of the user's
a plan of the user's" ] ||
  { echo "FAIL the folder's other files did not stay"; failed=1; }
fi

if part idle; then
# A long print is never stopped while it works, however short the idle limit; a program
# that does nothing (a companion stand-in keeping a hidden window) is stopped after it.
long_plan
start=$SECONDS
VELMORA_PRINT_IDLE_LIMIT=1 print "$work/long.out" "$work/long.ZRO"
rc=$? took=$((SECONDS - start)) start=$SECONDS
(exe=$work/idle.exe VELMORA_PRINT_IDLE_LIMIT=1 run_print_road "$work/small.ZRO" 2 "$work/idle.log")
idle=$? stopped=$((SECONDS - start))
# The work of a print that pauses (bytes in the printer's folder each half second for 6 s).
(for _ in {1..12}; do sleep 0.5; echo >>"$VELMORA_PRINT_DIR/burst"; done) &
start=$SECONDS
(exe=$work/idle.exe VELMORA_PRINT_IDLE_LIMIT=1 run_print_road "$work/small.ZRO" 2 "$work/idle.log")
paused=$? worked=$((SECONDS - start))
rm -f "$VELMORA_PRINT_DIR/burst"
echo "idle limit 1 s: a long print took $took s (exit $rc), a program doing nothing was stopped after $stopped s (exit $idle), one working each half second for 6 s after $worked s"
[ "$rc" -eq 0 ] && [ -s "$build/print-sample/long.pdf" ] && [ "$took" -gt 1 ] ||
  { echo "FAIL long print: $(cat "$work/long.out")"; failed=1; }
[ "$idle" -eq 124 ] && [ "$stopped" -lt "$(scaled 40)" ] || { echo "FAIL the idle program was not stopped"; failed=1; }
[ "$paused" -eq 124 ] && [ "$worked" -ge 6 ] || { echo "FAIL a print at work was stopped"; failed=1; }
# Ctrl-C sent to the script while its program spools: no program of the run goes on, no file stays.
cp "$work/long.ZRO" "$work/stop.ZRO" && kept=$(ls -A "$build/print-sample" "$VELMORA_PRINT_DIR" "$spool_dir") || exit 1
print "$work/stop.out" "$work/stop.ZRO" &
for _ in $(tries 600); do [ -z "$(ls -A "$spool_dir")" ] && sleep 0.1 || break; done
kill -INT "$(sed -n 's/.*(process \([0-9]*\))$/\1/p' "${VELMORA_WINE_ENV%/*}/print.lock")"
wait $!
[ $? = 130 ] && [ "$(tail -n 1 "$work/stop.out")" = "print-sample: stopped; nothing was printed" ] &&
  [ "$(ls -A "$build/print-sample" "$VELMORA_PRINT_DIR" "$spool_dir")" = "$kept" ] && ! pgrep -f "$build/velmora.exe" ||
  { echo "FAIL Ctrl-C: $(cat "$work/stop.out")"; failed=1; }

# The printer's port stopped (Ctrl-C) while it takes the PostScript, then while Ghostscript
# converts a job that never ends: it leaves none of the job's files.
mkdir -p "$work/port" "$work/tmp" && printf '%%!PS\n{} loop\n%%%%EOF\n' >"$work/endless.ps" || exit 1
set -m
for file in ps log; do
  { cat "$work/endless.ps"; [ $file = log ] || sleep 5; } | TMPDIR=$work/tmp python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL); os.execvp("bash", ["bash"] + sys.argv[1:])' "$VELMORA_SOURCE_DIR/scripts/print-to-pdf.sh" "$work/port" 2>/dev/null &
  # Ghostscript at work once it has made its temporary files, which go nowhere else either.
  for _ in $(tries 100); do [ -e "$work/port/job-1.$file" ] && { [ $file = ps ] || [ -n "$(find "$work" -name 'gs_*')" ]; } && break; sleep 0.1; done
  kill -INT -- -"$(ps -o pgid= $! | tr -d ' ')"; wait $!
  left=$(find "$work/port" "$work/tmp" -mindepth 1)
  [ -z "$left" ] || { echo "FAIL the port stopped with job-1.$file left $left"; failed=1; rm -rf "$work/port"/* "$work/tmp"/*; }
done
set +m
fi

if part environments; then
# The scripts' own environments, their set-up and build left out: two started at once take a
# display each; a run waits for the run that uses its build folder (without its lock, it would
# stop the other's display), and not for one killed while a program it started goes on.
# Its build folder's path holds a command between backquotes, which no step may run.
root="$work/x y é/root" fb="$work/x y é/b\`touch\${IFS}ran\`'"
alive() { ps -o stat= -p "$1" | grep -qv '^Z'; }
mkdir -p "$root/scripts" "$root/tests" "$fb" && printf ':\n' | tee "$root/scripts/setup.sh" >"$root/scripts/build.sh" &&
  ln -sfn "$VELMORA_SOURCE_DIR/scripts/"{start-run,wine-env,print-to-pdf,print-sample}.sh "$root/scripts/" &&
  ln -sfn "$VELMORA_SOURCE_DIR/tests/shell" "$root/tests/" && ln -sfn "$VELMORA_SOURCE_DIR/OBJECTS" "$root/" &&
  cp --remove-destination "$work/idle.exe" "$fb/velmora.exe" || exit 1
for round in {1..6}; do
  bash "$root/scripts/wine-env.sh" start "$fb/wine-env" >/dev/null & bash "$root/scripts/wine-env.sh" start "$work/env2" >/dev/null
  wait $!
  shown=$(for env in "$fb/wine-env" "$work/env2"; do
    [ "$(cat "/proc/$(cat "$env/xvfb.pid")/comm")" = Xvfb ] && . "$env/env.sh" && echo "$DISPLAY"; done | sort -u | wc -l)
  [ "$shown" = 2 ] || { echo "FAIL round $round: the two environments do not have a display each"; failed=1; }
  bash "$root/scripts/wine-env.sh" stop "$fb/wine-env" & bash "$root/scripts/wine-env.sh" stop "$work/env2"; wait $!
done
# An xvfb.pid left by a stopped environment that names another process (a server of another
# display): it ends of the signal the test sends, not of one the stop sent before.
cp "$(command -v sleep)" "$work/Xvfb" && { "$work/Xvfb" 600 & echo $! >"$work/env2/xvfb.pid"; } || exit 1
bash "$root/scripts/wine-env.sh" stop "$work/env2"; kill -VTALRM $!; wait $! 2>/dev/null
[ $? = $((128 + $(kill -l VTALRM))) ] || { echo "FAIL stopping an environment ended another process"; failed=1; }
# Each prefix made afresh for these rows goes once they are done: 700 MB.
rm -rf "$work/env2/prefix" "$work/env2/prepared"
run() {  # run LIMIT: a print of the idle program through that build folder (its output in runLIMIT.out)
  env -u VELMORA_WINE_ENV VELMORA_PRINT_IDLE_LIMIT=$1 timeout "$(scaled 50)" bash "$root/scripts/print-sample.sh" --build-dir "$fb" "$work/small.ZRO" >"$work/run$1.out" 2>&1
}
started() {  # started LIMIT: the run in the background, once its program runs; first: its process
  rm -f "$fb/wine-env/print.lock"; run "$1" &
  for _ in $(tries 600); do first=$(sed -n 's/.*(process \([0-9]*\))$/\1/p' "$fb/wine-env/print.lock" 2>/dev/null) && [ -n "$first" ] && break; sleep 0.1; done
}
# A file system that a killed run's test left mounted in its folder is taken down as the next run starts.
left="$fb/testwd/t é/full" && mkdir -p "$left" && { [ "$(id -u)" != 0 ] || mount -t tmpfs -o size=16k tmpfs "$left"; } || exit 1
started 4; run 2; wait
! mountpoint -q "$left" || { echo "FAIL a file system left by a killed run stays mounted"; umount "$left"; failed=1; }
grep -q "did nothing for 4 s" "$work/run4.out" && grep -q "waiting for print-sample.sh (process $first)" "$work/run2.out" &&
  grep -q "did nothing for 2 s" "$work/run2.out" || { echo "FAIL two runs at once: $(cat "$work/run4.out" "$work/run2.out")"; failed=1; }
started 60; kill -9 "$first"; run 3
grep -q "did nothing for 3 s" "$work/run3.out" || { echo "FAIL after a killed run: $(cat "$work/run3.out")"; failed=1; }
# A run killed at its environment's first start keeps none waiting; a print through "x y é".
rm -f "$fb/wine-env/prefix/.velmora-ready" "$fb/wine-env/wineboot.log" && : >"$fb/.run.lock" || exit 1
run 60 &
for _ in $(tries 600); do [ -e "$fb/wine-env/wineboot.log" ] && break; sleep 0.1; done
kill -9 "$(sed -n 's/.*(process \([0-9]*\))$/\1/p' "$fb/.run.lock")"; wait $!
cp --remove-destination "$VELMORA_BINARY_DIR/velmora.exe" "$fb/" || exit 1
env -u VELMORA_WINE_ENV timeout "$(scaled 180)" bash "$root/scripts/print-sample.sh" --build-dir "$fb" "$work/fit.ZRO" >"$work/first.out" 2>&1 &&
  [ "$(tail -n 1 "$work/first.out")" = "$fb/print-sample/fit.pdf" ] ||
  { echo "FAIL a print after a run killed at its environment's first start: $(cat "$work/first.out")"; failed=1; }
# Ctrl-C after the PDF's path is told, while the environment ends (held 2 s for the test): the
# PDF stays, the environment ends all the same, and the run says so.
set -m
rm "$root/scripts/wine-env.sh" && printf '[ "$1" != stop ] || sleep 2; exec bash %q "$@"\n' "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" >"$root/scripts/wine-env.sh"
env -u VELMORA_WINE_ENV bash "$root/scripts/print-sample.sh" --build-dir "$fb" "$work/fit.ZRO" >"$work/late.out" 2>&1 &
for _ in $(tries 1800); do [ "$(tail -n 1 "$work/late.out")" = "$fb/print-sample/fit.pdf" ] && break; sleep 0.1; done
x=$(cat "$fb/wine-env/xvfb.pid"); kill -INT -- -$!; wait $!
rc=$?; ln -sfn "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" "$root/scripts/"; for _ in $(tries 50); do alive "$x" && sleep 0.1; done
[ $rc = 130 ] && [ -s "$fb/print-sample/fit.pdf" ] && ! alive "$x" && [ ! -e "$fb/wine-env/env.sh" ] && [ "$(tail -n 1 "$work/late.out")" = \
  "print-sample: stopped; what the run made stays, and its environment has ended" ] || { echo "FAIL Ctrl-C after the PDF's path: $(cat "$work/late.out")"; failed=1; }
set +m
# The resources compiled in that build folder, as the build does: the same object, nothing run.
(cd "$fb" && bash "$VELMORA_SOURCE_DIR/cmake/windres.sh" -O coff -I "$VELMORA_SOURCE_DIR/resources" -I "$fb/resources" \
  "$VELMORA_SOURCE_DIR/resources/velmora.rc" "$fb/velmora.rc.res") &&
  cmp "$fb/velmora.rc.res" "$VELMORA_BINARY_DIR/CMakeFiles/velmora_resources.dir/resources/velmora.rc.res" &&
  [ -z "$(find "$work" -name ran)" ] || { echo "FAIL a build folder's path ran as a command: $(find "$work" -name ran)"; failed=1; }
# Ctrl-C while the environment starts stops the run at once, and its display.
set -m
env -u VELMORA_WINE_ENV bash "$root/scripts/print-sample.sh" --build-dir "$fb" "$work/fit.ZRO" >"$work/int.out" 2>&1 &
for _ in $(tries 600); do [ -s "$fb/wine-env/xvfb.pid" ] && break; sleep 0.1; done
x=$(cat "$fb/wine-env/xvfb.pid"); kill -INT -- -$!; wait $!
rc=$?; for _ in $(tries 50); do alive "$x" && sleep 0.1; done
[ $rc = 130 ] && [ "$(tail -n 1 "$work/int.out")" = "print-sample: stopped; nothing was printed" ] && ! alive "$x" ||
  { echo "FAIL Ctrl-C at the environment's start: $(cat "$work/int.out")"; failed=1; }
set +m
bash "$root/scripts/wine-env.sh" stop "$fb/wine-env"; rm -rf "$fb/wine-env/prefix" "$fb/wine-env/prepared"
# Once stopped, no process of that environment runs, those of the start killed half-way included.
left=$(grep -lzxF "WINEPREFIX=$fb/wine-env/prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3)
[ -z "$left" ] || { echo "FAIL left running: $(ps -o args= -p "${left//$'\n'/,}")"; kill -KILL $left; failed=1; }
fi

if part disks; then
# Full disks: the printer's folder, the spool folder, then the build folder, on a file system of 16 KB.
long_plan
spool=$WINEPREFIX/drive_c/windows/system32/spool/printers
mounted=
trap '[ -z "$mounted" ] || umount "$mounted"' EXIT
for full in "$VELMORA_PRINT_DIR" "$spool" "$build/print-sample"; do
  if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=16k tmpfs "$full" 2>/dev/null; then
    echo "SKIP a full disk under $full: mounting a small file system needs root"
    continue
  fi
  mounted=$full
  print "$work/full.out" "$work/long.ZRO"
  rc=$?
  echo "full disk under $full: exit $rc, said: $(tr '\n' '|' <"$work/full.out")"
  [ "$rc" -ne 0 ] && grep -q "^print-sample: .*\(not complete\|not be copied\)" "$work/full.out" && [ ! -e "$build/print-sample/long.pdf" ] &&
    [ -z "$(ls -A "$spool")$(ls -A "$full")" ] || { echo "FAIL full disk under $full: a failure not told, a PDF, a copy or a job kept"; failed=1; }
  umount "$full" && mounted=
done
fi
exit $failed
