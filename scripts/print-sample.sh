#!/usr/bin/env bash
# Sets up the machine, builds, and prints the sample house (samples/house.ZRO) fitted to
# one page through the test printer of the private Wine environment: velmora.exe is run
# with the plan's path and the mode byte 2, its print dialog is answered with OK, and
# the path of the PDF it made is printed.
#   scripts/print-sample.sh [--build-dir DIR]
set -euo pipefail
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"

# The program directory of the run holds the sample plan and the symbol library the
# program reads at start-up (the bath's symbol).
work=$build/print-sample
rm -rf "$work"
mkdir -p "$work"
cp "$root/samples/house.ZRO" "$work/"
cp -r "$root/OBJECTS" "$work/"
cd "$work"

# The plan's path followed by the mode byte. Wine quotes an argument with a space, and
# the quote would become the mode byte: a path with a space is given by its name alone
# (the program directory is the current directory).
plan=$work/house.ZRO
if [[ "$work" == *" "* ]]; then plan=house.ZRO; fi
# The print road's runner: starts velmora.exe with the plan and the mode byte and
# answers the print dialog with OK (and any message box with its default button).
. "$root/tests/shell/print_road_lib.sh"
exe=$build/velmora.exe
before=$(last_job)
set +e
run_print_road "$plan" 2 "$work/velmora.log"
rc=$?
set -e
while read -r title; do echo "print-sample: answered \"$title\""; done <"$work/velmora.log.windows"
if [ "$rc" -ne 0 ]; then
  echo "print-sample: velmora.exe ended with exit code $rc" >&2
  exit "$rc"
fi

# The job's PDF is complete once the program has ended (EndDoc returns after the port).
after=$(last_job)
if [ "$after" -le "$before" ]; then
  echo "print-sample: no page was printed (see $work/velmora.log)" >&2
  exit 1
fi
cp "$VELMORA_PRINT_DIR/job-$after.pdf" "$work/house.pdf"
echo "$work/house.pdf"
