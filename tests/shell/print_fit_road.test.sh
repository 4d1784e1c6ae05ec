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

# velmora.exe in a folder whose path holds a blank, as under "Program Files": its own name
# comes quoted at the head of its command line.
mkdir -p "$work/Program Files" && cp "$exe" "$work/Program Files/" || exit 1
exe="$work/Program Files/velmora.exe" print_one_job blank fit.ZRO 2
case $? in 1) failed=1 ;; 2) exit 1 ;; esac
python3 "$here/printed_pages.py" fit "$pdf" "$work/fit.segments" "$work/printer.caps" || failed=1

# Names that would reach another file are refused with a message that names them, and
# nothing is printed: two plans whose short forms are one ("____~02O.ZRO"), a plan beside
# a file named with its short form, a trailing dot that the system drops (beside "h.ZRO").
mkdir -p "$work/lit" && cp "$work/labels.ZRO" "$work/lit/____~02O.ZRO" && cp "$work/fit.ZRO" "$work/lit/ΩΩΩΩзефйб.ZRO" &&
  cp "$work/fit.ZRO" "$work/ΩΩΩΩзефйб.ZRO" && cp "$work/labels.ZRO" "$work/ΩΩΩΩсвалз.ZRO" &&
  cp "$work/fit.ZRO" "$work/h.ZRO." && cp "$work/labels.ZRO" "$work/h.ZRO" || exit 1
for row in "ΩΩΩΩзефйб.ZRO|il nome breve" "ΩΩΩΩсвалз.ZRO|il nome breve" "lit\ΩΩΩΩзефйб.ZRO|il nome breve" "h.ZRO.|un punto o uno spazio"; do
  IFS='|' read -r plan why <<<"$row"
  before=$(last_job)
  run_print_road "$plan" 2 "$work/refused.log"
  [ "$(last_job)" -eq "$before" ] && [ "$(cat "$work/refused.log.windows")" = "Fandril Print Manager" ] &&
    grep "^velmora box: Fandril Print Manager: " "$work/refused.log" | grep -F -- "$why" | grep -qF -- ": $plan  " ||
    { echo "FAIL $plan: $(cat "$work/refused.log")"; failed=1; }
done

# A program folder whose symbol files' paths pass the 259 characters the program opens
# (250 here): it says so and prints nothing, rather than pages without the fixtures'
# symbols. The test's folder is drive Y: meanwhile, so that the folder's name has that
# length however the clone's path is named (its long form must stay within what Wine
# starts a program in, its short forms count for the program).
drive=$WINEPREFIX/dosdevices/y:
# (one a killed run of this test left is taken again)
[ "$(readlink "$drive")" = "$work" ] || { [ ! -e "$drive" ] && [ ! -L "$drive" ] && ln -s "$work" "$drive"; } ||
  { echo "FAIL drive Y: is another's"; exit 1; }
long="$work/$(printf 'd%.0s' {1..247})"
mkdir -p "$long" && cp "$work/fit.ZRO" "$long/" || exit 1
before=$(last_job)
(cd "$long" && run_print_road fit.ZRO 2 "$work/long.log")
rm -f "$drive"
[ "$(last_job)" -eq "$before" ] && grep -q "^velmora box: Errore file - Percorso troppo lungo: I simboli" "$work/long.log" ||
  { echo "FAIL a folder too long for its symbols: $(cat "$work/long.log")"; failed=1; }

# The program directory is left as it was: printing writes no file.
extra=$(ls -A "$work" | grep -v -E '\.(ZRO\.?|segments|caps|log|windows)$|^(tc|lit|Program Files|ddd*)$' || true)
[ -z "$extra" ] || { echo "FAIL files left behind: $extra"; failed=1; }
exit $failed
