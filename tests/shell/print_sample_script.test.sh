#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 300
# scripts/print-sample.sh on one's own plan: a missing or unreadable plan is refused by
# the script itself (its message, a non-zero exit, nothing printed); a plan whose folder
# and name have blanks, with --to-scale, is printed at its print scale (1:100 metric: one
# page) through a build folder of the test's own whose path has a blank, and the PDF's
# path comes last; a second plan printed after it leaves its PDF and the folder's other
# files as they were. A print that takes longer than a short idle limit completes, while
# a program that does nothing is stopped after it; with the printer's folder or the spool
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
for plan in "$work/none.ZRO" "$work"; do
  out=$(timeout 60 bash "$script" --build-dir "$work/unused" "$plan" 2>&1)
  rc=$?
  case $plan in */none.ZRO) want="no plan file $plan" ;; *) want="cannot read the plan file $plan" ;; esac
  [ "$rc" -ne 0 ] && [ "$out" = "print-sample: $want" ] || { echo "FAIL $plan: exit $rc, said: $out"; failed=1; }
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
print "$work/scale.out" "$work/my plans/small plan.ZRO" --to-scale
rc=$?
pdf=$(tail -n 1 "$work/scale.out")
if [ "$rc" -ne 0 ] || [ "$pdf" != "$build/print-sample/small_plan.pdf" ] || [ ! -f "$pdf" ]; then
  echo "FAIL --to-scale: exit $rc, said: $(cat "$work/scale.out")"
  exit 1
fi
python3 "$here/printed_pages.py" scale "$pdf" "$work/small.segments" "$work/printer.caps" || failed=1
cp "$pdf" "$work/small_plan.kept.pdf"

print "$work/fit.out" "$work/fit.ZRO"
rc=$?
[ "$rc" -eq 0 ] && [ "$(tail -n 1 "$work/fit.out")" = "$build/print-sample/fit.pdf" ] &&
  [ -f "$build/print-sample/fit.pdf" ] || { echo "FAIL second plan: exit $rc, said: $(cat "$work/fit.out")"; failed=1; }
cmp -s "$pdf" "$work/small_plan.kept.pdf" || { echo "FAIL the first plan's PDF did not stay"; failed=1; }
[ "$(cat "$build/print-sample/mine.pdf" 2>/dev/null)" = "a print of the user's" ] ||
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
echo "idle limit 2 s: a long print took $took s (exit $rc), a program doing nothing was stopped after $stopped s (exit $idle)"
[ "$rc" -eq 0 ] && [ -s "$build/print-sample/long.pdf" ] && [ "$took" -gt 2 ] ||
  { echo "FAIL long print: $(cat "$work/long.out")"; failed=1; }
[ "$idle" -eq 124 ] && [ "$stopped" -lt 40 ] || { echo "FAIL the idle program was not stopped"; failed=1; }

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
