#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# velmora.exe <plan><byte 2> on a plan of every kind of text (the automatic dimensions of
# walls and of lines at several angles, door and window size labels, a dimension with a
# label font of its own, a text of two lines): the page is the kept one, pixel for pixel.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
generate_plans "$work" || exit 1
failed=0

print_one_job labels "$work/labels.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" same "$pdf" "$here/data/labels-page.png" || failed=1
exit $failed
