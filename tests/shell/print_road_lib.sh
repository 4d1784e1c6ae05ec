# Shared steps of the print-road script tests (sourced, not a test of its own).
# Needs the test environment's WINEPREFIX, DISPLAY, VELMORA_PRINT_DIR and
# VELMORA_BINARY_DIR / VELMORA_SOURCE_DIR.
WINE=/usr/lib/wine/wine64
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# Found through the folder itself: a copy of the scripts may link this one alone.
. "$(cd -P "$here/../support" && pwd)/waits.sh"

# Windows path (drive Z:) of a Unix path.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Writes the generated plans, their segment lists and printer.caps into DIR.
generate_plans() {
  local dir=$1
  timeout "$(scaled 60)" "$WINE" "$VELMORA_BINARY_DIR/tests/print_plan_writer.exe" plans "$(winpath "$dir")" \
    >"$dir/generate.log" 2>&1 </dev/null || { cat "$dir/generate.log"; return 1; }
}

last_job() {
  local n=0 f k
  for f in "$VELMORA_PRINT_DIR"/job-*.pdf; do
    [ -e "$f" ] || continue
    k=${f##*/job-}; k=${k%.pdf}
    [ "$k" -gt "$n" ] && n=$k
  done
  echo "$n"
}

# The processes a process started, and theirs, after it (their ids).
process_tree() {
  local child
  echo "$1"
  for child in $(ps -o pid= --ppid "$1" 2>/dev/null); do process_tree "$child"; done
}

# What a print has done so far, as one number: the processor time (clock ticks) of the
# program and the processes it started (the printer's port among them), and the bytes in
# the spool folder and in the printer's folder. A process that waits for a processor (or a
# disk) is at work too, counted as a twentieth of a second: on a busy machine a print may
# wait longer than a short idle limit for its turn.
print_work() {
  local ticks=0 p bytes
  for p in $(process_tree "$1"); do
    ticks=$((ticks + $(awk '{ sub(/.*\) /, ""); print $12 + $13 + ($1 ~ /^[RD]$/ ? 5 : 0) }' "/proc/$p/stat" 2>/dev/null || echo 0)))
  done
  bytes=$(du -sb "$spool_dir" "$VELMORA_PRINT_DIR" 2>/dev/null | awk '{ s += $1 } END { print s + 0 }')
  echo "$ticks $bytes"
}

# The spool folder of the test prefix, where Wine keeps a job until its port has it.
spool_dir=$WINEPREFIX/drive_c/windows/system32/spool/printers

# run_print_road PLAN MODE LOG: runs $exe (velmora.exe) on the plan with the mode byte
# (2 or 3) and answers every window the program shows with Return (the print dialog's
# default is OK). Only the program's own windows are touched (other tests may show
# windows on the same display). The titles of the windows met go to LOG.windows, one a
# line. A program at work is never stopped, however long its print: only one that has
# done nothing (no processor time to speak of, nothing spooled or written, no new window
# to answer) for VELMORA_PRINT_IDLE_LIMIT seconds (120 unless set) is stopped, with the
# processes it started. Whatever the end, no spool file of the run is left behind. Returns the exit
# code (124: the program was stopped).
run_print_road() {
  local plan=$1 mode=$2 log=$3
  local limit=${VELMORA_PRINT_IDLE_LIMIT:-$(scaled 120)}
  : >"$log.windows"
  local arg
  # A bare name is taken from the current directory (the program directory). Wine quotes
  # an argument that holds a blank, and the closing quote would take the mode byte's
  # place: a plan of the current directory is then given by its name alone.
  case $plan in
    */*) arg=$(winpath "$plan")
      [[ $arg != *[[:space:]]* ]] || ! [ "${plan%/*}" -ef . ] || arg=${plan##*/} ;;
    *) arg=$plan ;;
  esac
  arg="$arg$(printf "\\$(printf '%03o' "$mode")")"
  print_road_spooled=$(ls -A "$spool_dir" 2>/dev/null)
  # Started directly, so that $! is the Windows process that owns the windows.
  "$WINE" "$exe" "$arg" >"$log" 2>&1 </dev/null &
  # Known to the caller while it runs, which stops it when it is itself stopped.
  print_road_pid=$!
  local pid=$! id name rc ticks bytes
  local -A pressed=()
  read -r ticks bytes <<<"$(print_work "$pid")"
  # The idle time is measured in microseconds: whole seconds would stop a print idle for
  # a moment across the turn of a second.
  local last_ticks=$ticks last_bytes=$bytes busy=${EPOCHREALTIME/[^0-9]/}
  while kill -0 "$pid" 2>/dev/null; do
    read -r ticks bytes <<<"$(print_work "$pid")"
    # A twentieth of a second of processor time is work; answering a window is less.
    if [ "$ticks" -ge $((last_ticks + 5)) ] || [ "$bytes" != "$last_bytes" ]; then
      last_ticks=$ticks last_bytes=$bytes busy=${EPOCHREALTIME/[^0-9]/}
    elif [ $((${EPOCHREALTIME/[^0-9]/} - busy)) -ge $((limit * 1000000)) ]; then
      stop_print_road "$pid"
      rc=124
      break
    fi
    for id in $(timeout "$(scaled 5)" xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if [ -z "${pressed[$id]:-}" ]; then
        name=$(timeout "$(scaled 5)" xdotool getwindowname "$id" 2>/dev/null)
        echo "$name" >>"$log.windows"
        # A program waiting for an answer it is about to get is not idle.
        busy=${EPOCHREALTIME/[^0-9]/}
      elif [ $((SECONDS - pressed[$id])) -lt "$(scaled 3)" ]; then
        continue
      fi
      # Another test on the display can take the focus between the two steps: a window
      # still there a few seconds later is answered again.
      pressed[$id]=$SECONDS
      timeout "$(scaled 5)" xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1
    done
    sleep 0.2
  done
  if [ -z "${rc:-}" ]; then
    wait "$pid"
    rc=$?
  fi
  print_road_pid=
  clear_spool
  return "$rc"
}

# A job the program could not finish stays in the spool folder: the files spooled since
# run_print_road began are removed.
clear_spool() {
  local file
  for file in "$spool_dir"/*; do
    [ -e "$file" ] || continue
    grep -qxF "${file##*/}" <<<"$print_road_spooled" || rm -f "$file"
  done
}

# Stops the program and the processes it started, by their ids: asked first, then made.
stop_print_road() {
  local pids p
  pids=$(process_tree "$1")
  kill $pids 2>/dev/null
  for _ in $(tries 25); do
    kill -0 "$1" 2>/dev/null || break
    sleep 0.2
  done
  for p in $pids; do kill -0 "$p" 2>/dev/null && kill -9 "$p" 2>/dev/null; done
  wait "$1" 2>/dev/null
}

# print_one_job LABEL PLAN MODE: runs the print road on the plan (log $work/LABEL.log),
# which must show only the print dialog, end by itself and make exactly one print job;
# sets pdf to that job's PDF. Returns 0, 1 when the run went wrong but a job came out,
# 2 when there is no single job to look at.
print_one_job() {
  local label=$1 plan=$2 mode=$3 log="$work/$1.log" rc before after status=0
  before=$(last_job)
  run_print_road "$plan" "$mode" "$log"
  rc=$?
  [ "$rc" -eq 0 ] || { echo "FAIL $label: exit code $rc (124: it did not end)"; status=1; }
  if [ "$(cat "$log.windows")" != "Print" ]; then
    echo "FAIL $label: the windows shown were: $(tr '\n' '|' <"$log.windows")"
    status=1
  fi
  after=$(last_job)
  if [ "$after" -ne $((before + 1)) ]; then
    echo "FAIL $label: $((after - before)) print jobs instead of 1"
    return 2
  fi
  pdf="$VELMORA_PRINT_DIR/job-$after.pdf"
  echo "$label: $pdf"
  return $status
}
