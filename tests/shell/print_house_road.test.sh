#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# The README's sample house (samples/house.ZRO) printed fitted to one page: its walls are
# built when the plan is loaded and print as black bands, each where its centre line and
# thickness put it and with its edges in place, beside the drawing shapes; the doors cut
# their walls white and show their centre lines, leaves and swing arcs, the window its
# frame and the bath its outline from the symbol library; the walls' automatic
# dimensions, the openings' size labels and the shapes' lengths print as texts (each
# expected text is on the page) and lines near them; nothing else on the page is black. The expected page comes from the generator's own house plan, which the sample
# test keeps equal to the committed file.
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
# The symbol library the program reads at start-up from its directory (the bath).
rm -rf "$work/OBJECTS" && cp -r "$VELMORA_SOURCE_DIR/OBJECTS" "$work/OBJECTS" || exit 1

print_one_job house "$work/sample.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" fit "$pdf" "$work/house.segments" "$work/printer.caps" || failed=1

# Printed from a program directory named outside the code page, the page is the same,
# bath and all. Wine reads the Unix names as UTF-8 under this locale.
folder="$work/Проект"
rm -rf "$folder" && mkdir "$folder" && cp -r "$work/OBJECTS" "$work/sample.ZRO" "$folder/" && cd "$folder" || exit 1
LC_ALL=C.UTF-8 print_one_job house-folder sample.ZRO 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
cd "$work" && python3 "$here/printed_pages.py" fit "$pdf" "$work/house.segments" "$work/printer.caps" || failed=1
exit $failed
