#!/usr/bin/env bash
# velmora-test: printer
# velmora-test: timeout 180
# velmora.exe <plan><byte 2>: the plan is loaded, the print dialog is shown and answered,
# one page comes out of the test printer with every line of the plan where the
# fit-to-page arithmetic puts it, and the program ends by itself asking nothing else.
# A plan of every kind of text prints the kept page, pixel for pixel. A label covers the
# lines drawn before it and is crossed by those drawn after it.
set -u
exe=${1:?velmora.exe}
. "$(dirname "$0")/print_road_lib.sh"
work=$(pwd)
generate_plans "$work" || exit 1
failed=0

print_one_job fit "$work/fit.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" fit "$pdf" "$work/fit.segments" "$work/printer.caps" || failed=1
print_one_job labels "$work/labels.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" same "$pdf" "$here/data/labels-page.png" || failed=1
print_one_job crossed "$work/crossed.ZRO" 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" crossed "$pdf" "$work/crossed.segments" "$work/printer.caps" "16'-8\"" "13'-4\"" || failed=1

# "Ω1.ZRO" named on the command line (UTF-8 under this locale, UTF-16 to the program)
# beside "O1.ZRO": the page is Ω1's, never its look-alike's.
cp "$work/fit.ZRO" "$work/Ω1.ZRO" && cp "$work/labels.ZRO" "$work/O1.ZRO" || exit 1
LC_ALL=C.UTF-8 print_one_job omega Ω1.ZRO 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" fit "$pdf" "$work/fit.segments" "$work/printer.caps" || failed=1

# The program directory is left as it was: printing writes no file.
extra=$(ls -A "$work" | grep -v -E '\.(ZRO|segments|caps|log|windows)$|^tc$' || true)
[ -z "$extra" ] || { echo "FAIL files left behind: $extra"; failed=1; }
exit $failed
