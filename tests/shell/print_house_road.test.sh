#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# The README's sample house (samples/house.ZRO) printed fitted to one page: its walls are
# built when the plan is loaded and print as black bands, each where its centre line and
# thickness put it and with its edges in place, beside the drawing shapes; nothing else
# on the page is black. The expected page comes from the generator's own house plan,
# which the sample test keeps equal to the committed file.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
generate_plans "$work" || exit 1
failed=0

if ! grep -q '^wall ' "$work/house.segments"; then
  echo "FAIL the house plan lists no walls"
  exit 1
fi
cp "$VELMORA_SOURCE_DIR/samples/house.ZRO" "$work/sample.ZRO" || exit 1

before=$(last_job)
run_print_road "$work/sample.ZRO" 2 "$work/sample.log"
rc=$?
[ "$rc" -eq 0 ] || { echo "FAIL house: exit code $rc (124: it did not end)"; failed=1; }
if [ "$(cat "$work/sample.log.windows")" != "Print" ]; then
  echo "FAIL house: the windows shown were: $(tr '\n' '|' <"$work/sample.log.windows")"
  failed=1
fi
after=$(last_job)
if [ "$after" -ne $((before + 1)) ]; then
  echo "FAIL house: $((after - before)) print jobs instead of 1"
  exit 1
fi
pdf="$VELMORA_PRINT_DIR/job-$after.pdf"
echo "house: $pdf"
python3 "$here/printed_pages.py" fit "$pdf" "$work/house.segments" "$work/printer.caps" || failed=1
exit $failed
