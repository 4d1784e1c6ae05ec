#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 300
# scripts/print-sample.sh on one's own plan: a missing or unreadable plan, or an idle limit
# other than 1 to 86400 whole seconds, is refused by the script itself (its message, a
# non-zero exit, nothing printed); a plan whose folder and name have blanks, with
# --to-scale, is printed at its print scale (1:100 metric: one page) through a build folder
# of the test's own whose path has a blank, and the PDF's path comes last; a second plan
# printed at once waits for it. Plans named in Greek or with a blank print; a plan the
# program refuses is told with its box's text; no run disturbs another's PDF or the
# folder's other files. A print that takes longer than a short idle limit completes, and
# so does one that pauses, while a program that does nothing is stopped after it; with
# the printer's folder or the spool
# folder on a full disk (small file systems mounted by the test, as root only), the
# script says so, exits non-zero and leaves no PDF under the plan's name, nor a job in
# the spool folder.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
script=$VELMORA_SOURCE_DIR/scripts/print-sample.sh
generate_plans "$work" || exit 1
failed=0

before=$(last_job)
for row in "|$work/none.ZRO|no plan file $work/none.ZRO" "|$work|cannot read the plan file $work" \
  {0,-1,abc,1e9,86401}"|$work/small.ZRO|VELMORA_PRINT_IDLE_LIMIT takes a whole number of seconds from 1 to 86400, not"; do
  IFS='|' read -r limit plan want <<<"$row"
  [ -z "$limit" ] || want="$want \"$limit\""
  out=$(VELMORA_PRINT_IDLE_LIMIT=$limit timeout 60 bash "$script" --build-dir "$work/unused" "$plan" 2>&1)
  rc=$?
  [ "$rc" -ne 0 ] && [ "$out" = "print-sample: $want" ] || { echo "FAIL $limit $plan: exit $rc, said: $out"; failed=1; }
done
[ "$(last_job)" -eq "$before" ] || { echo "FAIL a refused plan was printed"; failed=1; }

mkdir -p "$work/my plans" && cp "$work/small.ZRO" "$work/my plans/small plan.ZRO" || exit 1
# The prints go to a build folder of the test's own (the program copied into it), never
# into the user's build folder.
build="$work/own build"
rm -rf "$build" && mkdir -p "$build/print-sample" && cp "$VELMORA_BINARY_DIR/velmora.exe" "$build/" || exit 1
echo "a print of the user's" >"$build/print-sample/mine.pdf"
print() {  # print OUT PLAN [--to-scale]: the script's exit code; its output in OUT
  local out=$1; shift
  bash "$script" --build-dir "$build" "$@" >"$out" 2>&1
}
print "$work/scale.out" "$work/my plans/small plan.ZRO" --to-scale &
scale=$!
print "$work/fit.out" "$work/fit.ZRO"
rc=$?
wait $scale || { echo "FAIL --to-scale: exit $?, said: $(cat "$work/scale.out")"; exit 1; }
pdf=$(tail -n 1 "$work/scale.out")
[ "$pdf" = "$build/print-sample/small_plan.pdf" ] || { echo "FAIL --to-scale: said $(cat "$work/scale.out")"; exit 1; }
python3 "$here/printed_pages.py" scale "$pdf" "$work/small.segments" "$work/printer.caps" || failed=1
[ "$rc" -eq 0 ] && [ "$(tail -n 1 "$work/fit.out")" = "$build/print-sample/fit.pdf" ] &&
  python3 "$here/printed_pages.py" fit "$build/print-sample/fit.pdf" "$work/fit.segments" "$work/printer.caps" ||
  { echo "FAIL second plan: exit $rc, said: $(cat "$work/fit.out")"; failed=1; }
grep -q "^print-sample: waiting for the print of " "$work/scale.out" "$work/fit.out" || { echo "FAIL no run waited"; failed=1; }
# A plan of the folder's own under the name the copy of "a b.ZRO" once had; plans that
# print, and plans the program refuses.
echo "a plan of the user's" >"$build/print-sample/a_b.ZRO" && cp "$work/small.ZRO" "$work/my plans/σπίτι.ZRO" &&
  cp "$work/fit.ZRO" "$work/my plans/a b.ZRO" && printf garbage >"$work/my plans/σπίτι 2.ZRO" &&
  printf garbage >"$build/print-sample/x.ZRO" || exit 1
for name in σπίτι "a b"; do
  print "$work/name.out" "$work/my plans/$name.ZRO" &&
    [ "$(tail -n 1 "$work/name.out")" = "$build/print-sample/${name/ /_}.pdf" ] || { echo "FAIL $name: $(cat "$work/name.out")"; failed=1; }
done
for plan in "$work/my plans/σπίτι 2.ZRO" "$build/print-sample/x.ZRO"; do
  kept=$(ls "$build/print-sample")
  ! print "$work/refused.out" "$plan" && [ "$(ls "$build/print-sample")" = "$kept" ] &&
    grep -q "^print-sample: velmora.exe said: Errore file - Formato sconosciuto: " "$work/refused.out" ||
    { echo "FAIL $plan: $(cat "$work/refused.out")"; failed=1; }
done
[ "$(cat "$build/print-sample/mine.pdf" "$build/print-sample/a_b.ZRO")" = "a print of the user's
a plan of the user's" ] ||
  { echo "FAIL the folder's other files did not stay"; failed=1; }

# A long print is never stopped while it works, however short the idle limit; a program
# that does nothing (a companion stand-in keeping a hidden window) is stopped after it.
timeout 120 "$WINE" "$VELMORA_BINARY_DIR/tests/print_plan_writer.exe" long "$(winpath "$work/long.ZRO")" \
  >"$work/long-writer.log" 2>&1 </dev/null || { cat "$work/long-writer.log"; exit 1; }
cp "$VELMORA_BINARY_DIR/tests/companion_standin.exe" "$work/idle.exe" || exit 1
start=$SECONDS
VELMORA_PRINT_IDLE_LIMIT=2 print "$work/long.out" "$work/long.ZRO"
rc=$? took=$((SECONDS - start)) start=$SECONDS
(exe=$work/idle.exe VELMORA_PRINT_IDLE_LIMIT=2 run_print_road "$work/small.ZRO" 2 "$work/idle.log")
idle=$? stopped=$((SECONDS - start))
# The work of a print that pauses (bytes in the printer's folder each second for 6 s).
(for _ in 1 2 3 4 5 6; do sleep 1; echo >>"$VELMORA_PRINT_DIR/burst"; done) &
start=$SECONDS
(exe=$work/idle.exe VELMORA_PRINT_IDLE_LIMIT=2 run_print_road "$work/small.ZRO" 2 "$work/idle.log")
paused=$? worked=$((SECONDS - start))
rm -f "$VELMORA_PRINT_DIR/burst"
echo "idle limit 2 s: a long print took $took s (exit $rc), a program doing nothing was stopped after $stopped s (exit $idle), one working each second for 6 s after $worked s"
[ "$rc" -eq 0 ] && [ -s "$build/print-sample/long.pdf" ] && [ "$took" -gt 2 ] ||
  { echo "FAIL long print: $(cat "$work/long.out")"; failed=1; }
[ "$idle" -eq 124 ] && [ "$stopped" -lt 40 ] || { echo "FAIL the idle program was not stopped"; failed=1; }
[ "$paused" -eq 124 ] && [ "$worked" -ge 7 ] || { echo "FAIL a print at work was stopped"; failed=1; }

# Full disks: the printer's folder, then the spool folder, on a file system of 16 KB.
spool=$WINEPREFIX/drive_c/windows/system32/spool/printers
mounted=
trap '[ -z "$mounted" ] || umount "$mounted"' EXIT
for full in "$VELMORA_PRINT_DIR" "$spool"; do
  if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=16k tmpfs "$full" 2>/dev/null; then
    echo "SKIP a full disk under $full: mounting a small file system needs root"
    continue
  fi
  mounted=$full
  print "$work/full.out" "$work/house.ZRO"
  rc=$?
  echo "full disk under $full: exit $rc, said: $(tr '\n' '|' <"$work/full.out")"
  [ "$rc" -ne 0 ] && grep -q "^print-sample: .*not complete" "$work/full.out" && [ ! -e "$build/print-sample/house.pdf" ] &&
    [ -z "$(ls -A "$spool")" ] || { echo "FAIL full disk under $full: a failure not told, a PDF or a job kept"; failed=1; }
  umount "$full" && mounted=
done
exit $failed
