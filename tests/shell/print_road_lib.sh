# Shared steps of the print-road script tests (sourced, not a test of its own).
# Needs the test environment's WINEPREFIX, DISPLAY, VELMORA_PRINT_DIR and
# VELMORA_BINARY_DIR / VELMORA_SOURCE_DIR.
WINE=/usr/lib/wine/wine64
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Windows path (drive Z:) of a Unix path.
winpath() { printf 'Z:%s' "${1//\//\\}"; }

# Writes the generated plans, their segment lists and printer.caps into DIR.
generate_plans() {
  local dir=$1
  timeout 60 "$WINE" "$VELMORA_BINARY_DIR/tests/print_plan_writer.exe" plans "$(winpath "$dir")" \
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

# run_print_road PLAN MODE LOG: runs $exe (velmora.exe) on the plan with the mode byte
# (2 or 3) and answers every window the program shows with Return (the print dialog's
# default is OK). Only the program's own windows are touched (other tests may show
# windows on the same display). The titles of the windows met go to LOG.windows, one a
# line. Returns the exit code (124: the program did not end by itself within 90 s).
run_print_road() {
  local plan=$1 mode=$2 log=$3
  : >"$log.windows"
  local arg
  # A bare name is taken from the current directory (the program directory).
  case $plan in */*) arg=$(winpath "$plan") ;; *) arg=$plan ;; esac
  arg="$arg$(printf "\\$(printf '%03o' "$mode")")"
  # Started directly, so that $! is the Windows process that owns the windows.
  "$WINE" "$exe" "$arg" >"$log" 2>&1 </dev/null &
  local pid=$! id name deadline=$((SECONDS + 90))
  local -A pressed=()
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      kill "$pid" 2>/dev/null
      wait "$pid" 2>/dev/null
      return 124
    fi
    for id in $(timeout 5 xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
      if [ -z "${pressed[$id]:-}" ]; then
        name=$(timeout 5 xdotool getwindowname "$id" 2>/dev/null)
        echo "$name" >>"$log.windows"
      elif [ $((SECONDS - pressed[$id])) -lt 3 ]; then
        continue
      fi
      # Another test on the display can take the focus between the two steps: a window
      # still there a few seconds later is answered again.
      pressed[$id]=$SECONDS
      timeout 5 xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1
    done
    sleep 0.2
  done
  wait "$pid"
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
