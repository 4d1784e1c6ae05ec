#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# velmora.exe <plan><byte 2> on plans whose texts open lines with any byte of
# Windows-1252: the small tilde (0x98) before a letter, and a text for every byte, before
# a letter and before a high byte. Each prints one page and ends by itself; the second
# page carries every line as stored.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
cp "$here/data/text-tilde-letter.ZRO" "$work/"
failed=0

# Its text lies in the foundation layer, which the plan opens without: the page shows
# the plan's wall.
print_one_job tilde "$work/text-tilde-letter.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac

generate_plans "$work" || exit 1
print_one_job texts "$work/texts.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" bytes "$pdf" || failed=1
exit $failed
