#!/usr/bin/env bash
# Sets up the machine, builds, and prints a plan through the test printer of the private
# Wine environment: velmora.exe is run with the plan's path and the mode byte (2 fitted
# to one page, 3 to scale with --to-scale), its print dialog is answered with OK, and the
# path of the PDF it made is printed. Without PLAN it prints the sample house
# (samples/house.ZRO) fitted to one page.
#   scripts/print-sample.sh [--build-dir DIR] [PLAN] [--to-scale]
# A print takes as long as it needs: the program is stopped only when it has done nothing
# for VELMORA_PRINT_IDLE_LIMIT seconds (a whole number from 1 to 86400, 120 unless set). A
# print that did not complete (the program stopped or telling that its job failed, the
# printer's port unable to keep the PDF, a disk full) leaves no PDF under the plan's name:
# the script says why (with what the program's boxes said) and exits non-zero. Runs with
# one build folder take turns: a run says what it waits for.
set -euo pipefail
unset CDPATH
# The whole path, whatever it holds ("$( )" would drop a trailing newline).
root=$(cd -- "$(dirname -- "$0")/.." && pwd && echo .) && root=${root%?.}

# Stopped (Ctrl-C) at any moment before it tells the PDF's path, the script stops the
# program with the processes it started and leaves none of the print's files: the copy, a
# part of the PDF, its job in the spool folder, the printer's port's PostScript, log and
# part of a PDF.
print_road_pid= made_copy= made_pdf= jobs=
leave_nothing() {
  [ -z "$jobs" ] || rm -rf "$jobs"
  [ -z "$made_pdf" ] || rm -f "$made_pdf" "$made_pdf.part"
  [ -z "$made_copy" ] || rm -f "$made_copy"
}
stopped() {
  trap '' INT TERM
  if [ -n "$print_road_pid" ]; then stop_print_road "$print_road_pid"; clear_spool; fi
  leave_nothing
  echo "print-sample: stopped; nothing was printed" >&2
  exit 130
}
trap stopped INT TERM

# A limit the idle check cannot use would stop every print at once or none ever.
if [[ ! ${VELMORA_PRINT_IDLE_LIMIT:-120} =~ ^0*([1-9][0-9]{0,4})$ ]] || [ "${BASH_REMATCH[1]}" -gt 86400 ]; then
  echo "print-sample: VELMORA_PRINT_IDLE_LIMIT takes a whole number of seconds from 1 to 86400," \
    "not \"$VELMORA_PRINT_IDLE_LIMIT\"" >&2
  exit 1
fi
export VELMORA_PRINT_IDLE_LIMIT=${BASH_REMATCH[1]}

usage() {
  echo "usage: scripts/print-sample.sh [--build-dir DIR] [PLAN] [--to-scale]" >&2
  exit 2
}
run_args=()
plan=
mode=2
while [ $# -gt 0 ]; do
  case $1 in
    --build-dir) [ $# -ge 2 ] || usage; run_args=(--build-dir "$2"); shift 2 ;;
    --to-scale) mode=3; shift ;;
    *)
      # A plan's name may start with "-": only a name no file has is taken for an option.
      if [[ $1 == -* ]] && [ ! -e "$1" ]; then
        echo "print-sample: $1 is neither an option nor a plan file" >&2
        usage
      fi
      [ -z "$plan" ] || usage; plan=$1; shift ;;
  esac
done
# The plan is checked here, before anything is installed or built: a plan the program
# cannot open would only end in its own message box.
if [ -z "$plan" ]; then
  plan=$root/samples/house.ZRO
elif [ ! -e "$plan" ]; then
  echo "print-sample: no plan file $plan" >&2
  exit 1
elif [ ! -f "$plan" ] || ! { : <"$plan"; } 2>/dev/null; then
  echo "print-sample: cannot read the plan file $plan" >&2
  exit 1
fi
# Its whole path, its name kept as given to the last byte.
folder=.
[[ $plan != */* ]] || folder=${plan%/*}/
folder=$(cd -- "$folder" && pwd && echo .) || { echo "print-sample: cannot reach the folder of the plan $plan" >&2; exit 1; }
folder=${folder%?.}
plan=${folder%/}/${plan##*/}

. "$root/scripts/start-run.sh" "${run_args[@]}"

# One print at a time in an environment: two would share its spool folder, its display
# and the program's logs, and answer or clear each other's print.
exec {print_lock}>>"$envdir/print.lock"
if ! flock -n "$print_lock"; then
  echo "print-sample: waiting for the print of $(cat "$envdir/print.lock") to end: it uses the environment $envdir" >&2
  flock "$print_lock"
fi
echo "$plan (process $$)" >"$envdir/print.lock"

# The program directory of the run holds a copy of the plan and the symbol library the
# program reads at start-up (the bath's symbol). It keeps the prints of other plans: a
# run replaces only its own plan's copy and PDF.
work=$build/print-sample
mkdir -p "$work"
# The PDF is named after the plan, its extension aside. Where the name has to change
# (blanks turned into _, or cut between characters where the file system needs it: a
# name takes 255 bytes, and the PDF is first written under its name and ".part", which
# the script says), a digest of the plan's name follows it, so that two plans named
# otherwise never share a PDF. The program is given the plan under a short name of plain
# ASCII (its code page may lack the plan's letters, Wine quotes a name with a blank,
# whose quote would become the mode byte, Windows drops a name's trailing dots, and the
# whole path must stay within what the program opens): at most 32 characters of the
# plan's name and 8 of its extension, made the plan's own by a digest of its path; a
# plan in this folder under such a name is its own copy.
name=${plan##*/}
own=$name
[[ $name != ?*.* ]] || own=${name%.*}
label=${own//[[:space:]\"]/_}
digest() { printf '%s' "$1" | sha1sum | cut -c1-10; }
bytes() { local LC_ALL=C; echo "${#1}"; }
if [ "$label" != "$own" ] || [ "$(bytes "$label")" -gt 246 ]; then
  cut=0
  while [ "$(bytes "$label")" -gt 235 ]; do label=$(LC_ALL=C.UTF-8; printf '%s' "${label%?}") cut=1; done
  label=$label-$(digest "$name")
  [ $cut = 0 ] || echo "print-sample: the plan's name is too long for a file name: its PDF is named $label.pdf" >&2
fi
pdf=$work/$label.pdf
plain() { printf '%s' "$1" | LC_ALL=C tr -cs 'A-Za-z0-9_.-' '_'; }
copy=$name
kept=$name
while [[ $kept == *. ]]; do kept=${kept%.}; done
stem=$kept ext=
if [[ $kept == ?*.* ]]; then stem=${kept%.*} ext=.$(plain "${kept##*.}") ext=${ext:0:9}; fi
if [ "$(plain "$name")" != "$name" ] || [ "$kept" != "$name" ] || ! [ "${plan%/*}" -ef "$work" ] || [ ${#name} -gt 52 ]; then
  stem=$(plain "$stem")
  copy=${stem:0:32}-$(digest "$plan")$ext
fi
# The print road's runner: starts velmora.exe with the plan and the mode byte and
# answers the print dialog with OK (and any message box with its default button).
. "$root/tests/shell/print_road_lib.sh"
failed() {
  echo "print-sample: $*" >&2
  # What the program's boxes and the printer's port said of the job.
  if [ -e "$work/velmora.log" ]; then
    sed -n 's/^velmora box: \(.*\)/print-sample: velmora.exe said: \1/p' "$work/velmora.log" >&2
    grep -h '^print-to-pdf:' "$work/velmora.log" >&2 || true
  fi
  leave_nothing
  exit 1
}
rm -f "$work/velmora.log"
if ! [ "$plan" -ef "$work/$copy" ]; then
  made_copy=$work/$copy
  cp -- "$plan" "$made_copy" || failed "the plan could not be copied to $made_copy (is the disk full?)"
fi
# An earlier print of this plan must not pass for this run's when this one fails.
made_pdf=$pdf
rm -f "$pdf"
cp -r "$root/OBJECTS" "$work/" || failed "the symbol library could not be copied to $work (is the disk full?)"
cd "$work"
# The run's own printer folder, where the port of its program, and of no other, writes
# (a run killed earlier may leave a port that still writes into the printer's folder).
jobs=$(mktemp -d "$VELMORA_PRINT_DIR/print-sample.XXXXXX") || failed "no folder could be made in $VELMORA_PRINT_DIR"
export VELMORA_PRINT_DIR=$jobs
# Given by its name alone when the program directory (the current directory) has a
# character it cannot take.
arg=$work/$copy
[ -z "$(printf '%s' "$work" | LC_ALL=C tr -d 'A-Za-z0-9_./-')" ] || arg=$copy
exe=$build/velmora.exe
set +e
run_print_road "$arg" "$mode" "$work/velmora.log" {print_lock}>&-
rc=$?
set -e
while read -r title; do echo "print-sample: answered \"$title\""; done <"$work/velmora.log.windows"
# The program's own word that its job did not go through.
if grep -qxF "Stampa non riuscita" "$work/velmora.log.windows"; then
  failed "velmora.exe reports that the print did not complete (see $work/velmora.log)"
fi

# The job's PDF is complete once the program has ended (EndDoc returns after the port).
job=$jobs/job-$(last_job)
if [ -e "$job.failed" ] || [ ! -s "$job.pdf" ]; then
  if [ "$rc" -eq 124 ]; then
    failed "velmora.exe did nothing for ${VELMORA_PRINT_IDLE_LIMIT:-120} s and was stopped; nothing was printed"
  fi
  [ "$rc" -eq 0 ] || failed "velmora.exe ended with exit code $rc; nothing was printed"
  failed "no page was printed (see $work/velmora.log)"
fi
if [ "$rc" -ne 0 ]; then
  # The job came out whole: it is the print, whatever became of the program after it.
  if [ "$rc" -eq 124 ]; then
    echo "print-sample: velmora.exe printed, then did nothing for ${VELMORA_PRINT_IDLE_LIMIT:-120} s and was stopped" >&2
  else
    echo "print-sample: velmora.exe printed, then ended with exit code $rc" >&2
  fi
fi
# Copied whole or not at all: a disk that fills under the copy leaves no cut PDF behind.
cp "$job.pdf" "$pdf.part" && mv -f "$pdf.part" "$pdf" ||
  failed "the PDF could not be written to $pdf (is the disk full?)"
rm -rf "$jobs"
# Once its path is told, the PDF and the copy are the user's: a Ctrl-C then only ends the
# environment, as the script's end does anyway, and that end says so.
jobs= made_pdf= made_copy=
trap 'run_stopped=1; exit 130' INT TERM
echo "$pdf"
