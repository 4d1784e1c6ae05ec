#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# velmora.exe <plan><byte 3>: the plan is printed at its print scale over the grid of
# pages the page arithmetic gives for the test printer (1:48 imperial: 2 x 2 pages, a
# wall's band across both joins; 1:100 metric: 1 page), each page showing its part of
# the plan where it belongs and nothing beyond its printable area, so that the pages
# laid side by side show every line once. A page carries only what lies on it (2 x 2 pages
# with a text and a wall in each quarter: each page's PostScript shows its own text and
# fills its own wall), and prints as the page drawn with the whole plan on it and each
# line sent when drawn does, pixel for pixel; so does a dimensioned plan with lines on the
# pages' joins, labels crossing lines and a half inch rounded on one page that decides a
# rounding on another; and so does a plan of every kind of object with its labels, crossed
# by lines (the symbols read from the program directory). A plan whose grid would take about
# 100,000 pages is refused with a message box, after which the program ends without
# printing.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
generate_plans "$work" || exit 1
failed=0

for name in scale small; do
  print_one_job "$name" "$work/$name.ZRO" 3
  case $? in 1) failed=1 ;; 2) failed=1; continue ;; esac
  python3 "$here/printed_pages.py" scale "$pdf" "$work/$name.segments" "$work/printer.caps" || failed=1
done
# "Ω1.ZRO" beside "O1.ZRO": the pages are Ω1's, never its look-alike's.
cp "$work/scale.ZRO" "$work/Ω1.ZRO" && cp "$work/small.ZRO" "$work/O1.ZRO" || exit 1
print_one_job omega Ω1.ZRO 3
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" scale "$pdf" "$work/scale.segments" "$work/printer.caps" || failed=1
rm -rf "$work/OBJECTS" && cp -r "$VELMORA_SOURCE_DIR/OBJECTS" "$work/OBJECTS" || exit 1
for name in quarters joins kinds; do
  print_one_job $name "$work/$name.ZRO" 3
  case $? in 1) failed=1 ;; 2) exit 1 ;; esac
  own=${pdf%.pdf}.ps
  timeout "$(scaled 120)" "$WINE" "$VELMORA_BINARY_DIR/tests/print_plan_writer.exe" whole "$(winpath "$work/$name.ZRO")" \
    >"$work/whole.log" 2>&1 </dev/null || { cat "$work/whole.log"; exit 1; }
  [ $name != quarters ] && set -- || set -- Uno Due Tre Quattro
  python3 "$here/printed_pages.py" own "$own" "$VELMORA_PRINT_DIR/job-$(last_job).ps" "$@" || failed=1
done

before=$(last_job)
run_print_road "$work/huge.ZRO" 3 "$work/huge.log"
rc=$?
[ "$rc" -eq 0 ] || { echo "FAIL huge: exit code $rc (124: it did not end)"; failed=1; }
windows=$(tr '\n' '|' <"$work/huge.log.windows")
if [ "$windows" != "Print|Fandril Print Manager|" ]; then
  echo "FAIL huge: the windows shown were: $windows"
  failed=1
fi
[ "$(last_job)" -eq "$before" ] || { echo "FAIL huge: something was printed"; failed=1; }
exit $failed
