#!/usr/bin/env bash
# Builds and runs the speed benchmarks under the private Wine environment and prints their
# figures, one a line (name, value, and for times the number of runs the median is of),
# with the machine's load before and after.
#
#   scripts/benchmark.sh [--build-dir DIR] [plan_speed arguments...]
#     the plan road (plan_speed), the start and the print road inside one process
#     (road_speed), the plant list, the live 3D view, the select drag, a mixed plan
#     printed to scale over a grid of pages against the same plan fitted
#     (print_pages_speed), and the user's actions with the live view shown on a mixed
#     plan of 10,000 objects against the floor of a bare drawing of its polygons
#     (view_actions_speed), and the plan pane's repaint of 2,000 texts against 2,000
#     labelled lines, unchanged and after a scroll (text_repaint_speed), and the live view's
#     repaints (view_actions_speed --repaints, below) and the texts at new zooms
#     (text_zoom_speed, below);
#   scripts/benchmark.sh [--build-dir DIR] --view [BUILD_DIR]
#     the live view's repaints alone, with the view maximised in the frame: the small plan
#     of every kind of object (tests/shell/data/view-mixed-tile.ZRO) and the mixed plan of
#     10,000 objects, each drawn anew and its kept frame shown again; and its navigation
#     frames (live_view_speed --navigation) at 800 x 600 and at the largest size the display
#     holds; six rounds of the repaints, then twenty short ones of the navigation;
#   scripts/benchmark.sh [--build-dir DIR] --texts [BUILD_DIR...]
#     the plan pane's texts (text_zoom_speed): a plan of 900 texts among walls and labelled
#     lines and one of 2,000 texts in 8 faces and styles and sizes from 6 to 60 pixels, each
#     opened, and repainted first at zooms it was never shown at and back at 100 %; twelve
#     short rounds, each opening each plan once;
#   scripts/benchmark.sh [--build-dir DIR] --pictures [BUILD_DIR]
#     pictures converted into RGB rows (picture_speed): 3000 x 2000 at 24 and at 8 bits, as
#     written long before and as just written; six rounds (VELMORA_BENCHMARK_RUNS sets the runs
#     of each round's figures, as few as the tests of the script's own form want);
#   scripts/benchmark.sh [--build-dir DIR] --loads [BUILD_DIR]
#     plans opened (plan_load_speed): lines-10000 (4 MB), lines-100000 (42 MB) and
#     walls-10000, each loaded run after run, also with its last write just made, and the
#     peak working set of one load in a process of its own; thirty short rounds of the
#     loads' times, then six of the peaks;
#   scripts/benchmark.sh [--build-dir DIR] --kept [BUILD_DIR]
#     saves through paths kept by a short form (kept_path_speed): a plan of 100,000 lines in
#     a folder named outside the code page among 2,000 such neighbours, and the preferences
#     in a program folder of that kind; six rounds;
#     these five compare builds: given other build folders (the build before a change),
#     their benchmarks are built alike against each build's library and sources, and the
#     builds run in turns, each first in as many rounds as any other, so that all meet the
#     same load and the same order. They end with each figure's median of the rounds for
#     this build, and against each other build its median, their ratio and each round's
#     ratio (alone, this build's median and each round's figure). A build against itself
#     (BUILD_DIR this build's own folder) reads each ratio near 1.00x: how much a ratio
#     strays from it there, the order and the machine's load make, not a change;
#   scripts/benchmark.sh [--build-dir DIR] --road
#     the start and the print road: road_speed, the loads of walls-10000 and
#     lines-100000 against ReadFile, then whole processes from start to end (medians of
#     several runs): velmora.exe without arguments against a bare program that makes one
#     window and against one that makes the frame's windows bare (bare_windows.exe), and
#     velmora.exe printing generated plans from its command line, its print dialog
#     answered with Return through xdotool.
set -euo pipefail
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"
road=0 view=0 texts=0 pictures=0 loads=0
if [ "${1:-}" = --road ]; then road=1; shift; fi
if [ "${1:-}" = --view ]; then view=1; shift; fi
if [ "${1:-}" = --texts ]; then texts=1; shift; fi
if [ "${1:-}" = --pictures ]; then pictures=1; shift; fi
if [ "${1:-}" = --loads ]; then loads=1; shift; fi
kept=0
if [ "${1:-}" = --kept ]; then kept=1; shift; fi
WINE=/usr/lib/wine/wine64

# The program directory of every run: the benchmarks' files and the symbol libraries.
work=$build/benchmark
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/OBJECTS" "$work/"
caller=$PWD   # where other build folders are named from
cd "$work"

machine_load() {
  printf '%-64s %s (1, 5, 15 min; %s cores)\n' "machine load $1" "$(cut -d' ' -f1-3 /proc/loadavg)" "$(nproc)"
}

# Runs a benchmark program; its figures follow.
bench() {
  local name=$1
  shift
  "$WINE" "$build/benchmarks/$name.exe" "$@" >"$work/$name.log" 2>&1 </dev/null || echo "$name ended with an error"
  cat "$work/$name.log"
}

# Print jobs the benchmarks leave in the test printer's folder are removed.
last_job() {
  local n=0 f k
  for f in "$VELMORA_PRINT_DIR"/job-*.ps; do
    [ -e "$f" ] || continue
    k=${f##*/job-}; k=${k%.ps}
    [ "$k" -gt "$n" ] && n=$k
  done
  echo "$n"
}
forget_jobs_after() {
  local n
  for n in $(seq $(($1 + 1)) "$(last_job)"); do rm -f "$VELMORA_PRINT_DIR/job-$n".*; done
  rm -f "$VELMORA_PRINT_DIR/last.pdf"
}
jobs_before=$(last_job)
# The environment is ended only where this run started it (start-run's end_env): run from
# inside a running one (a test), stopping it would take it from every test still running.
trap 'forget_jobs_after "$jobs_before"; ! declare -F end_env >/dev/null || end_env' EXIT

us_since() { echo $(( ($(date +%s%N) - $1) / 1000 )); }   # microseconds since a date +%s%N
# figure NAME MICROSECONDS...: the median of the runs, in ms.
figure() {
  local name=$1
  shift
  printf '%s\n' "$@" | sort -n | awk -v name="$name" '{ t[NR] = $1 }
    END { printf "%-64s %10.1f ms   median of %d\n", name, t[int(NR / 2) + 1] / 1000, NR }'
}

# Microseconds from the start of a Windows program to its end.
time_process() {
  local start
  start=$(date +%s%N)
  "$WINE" "$@" >>"$work/process.log" 2>&1 </dev/null || true
  us_since "$start"
}

# velmora.exe <plan><mode byte 2>: microseconds to its end (road_time), to the print
# dialog shown (print_shown) and gone (print_answered). The dialog is answered with
# Return as soon as it shows (again if it is still there 0.5 s later: the focus was
# taken); then the script only waits, so that its polling costs the program nothing.
time_print_road() {
  local plan=$1 start pid id pressed=0 arg
  arg="$plan$(printf '\002')"
  start=$(date +%s%N)
  "$WINE" "$build/velmora.exe" "$arg" >>"$work/road.log" 2>&1 </dev/null &
  pid=$!
  print_shown=0 print_answered=0
  while kill -0 "$pid" 2>/dev/null; do
    id=$(timeout 5 xdotool search --onlyvisible --pid "$pid" --name '^Print$' 2>/dev/null | head -1 || true)
    if [ -z "$id" ]; then
      if [ "$pressed" != 0 ]; then print_answered=$(us_since "$start"); break; fi
    elif [ "$pressed" = 0 ] || [ $(( $(date +%s%N) - pressed )) -ge 500000000 ]; then
      [ "$print_shown" = 0 ] && print_shown=$(us_since "$start")
      timeout 5 xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1 || true
      pressed=$(date +%s%N)
    fi
    sleep 0.01
  done
  wait "$pid" || true
  road_time=$(us_since "$start")
}

tile_plan="Z:$(printf '%s' "$root/tests/shell/data/view-mixed-tile.ZRO" | tr / '\\')"

# The comparisons (--view, --texts, --pictures, --loads) run their benchmarks for this
# build and for the other build folders given, in turns: builds[0] is this build,
# builds[K] "other build K".
builds=("$build")
label() { if [ "$1" = 0 ]; then echo "this build"; else echo "other build $1"; fi; }
against() {  # against BUILD_DIR...: the other builds
  local dir
  for dir in "$@"; do
    dir=$(cd -- "$caller" && cd -- "$dir" 2>/dev/null && pwd) ||
      { printf 'benchmark: no build folder %s\n' "$dir" >&2; exit 1; }
    builds+=("$dir")
    printf '%s\n' "$(label $((${#builds[@]} - 1))): the build in $dir"
  done
}

# A benchmark built against one build folder's library and sources, as OUTPUT: the
# program as it was, measured by this benchmark (which uses only what every build has).
build_against() {  # build_against NAME BUILD_DIR OUTPUT
  local name=$1 other=$2 src res
  src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$other/CMakeCache.txt" 2>/dev/null || true)
  res=$(find "$other/CMakeFiles" -name 'velmora.rc.res' -o -name 'velmora.rc.obj' 2>/dev/null | head -1)
  if [ ! -f "$other/libvelmora_core.a" ] || [ -z "$src" ] || [ -z "$res" ]; then
    echo "benchmark: $other holds no built program (libvelmora_core.a, its resources, CMakeCache.txt)" >&2
    return 1
  fi
  x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -DNDEBUG -fexec-charset=CP1252 -DNOMINMAX -DWIN32_LEAN_AND_MEAN \
    -DWINVER=0x0601 -D_WIN32_WINNT=0x0601 -D_USE_MATH_DEFINES -I"$src" "$root/benchmarks/$name.cpp" \
    "$root/benchmarks/bench_support.cpp" "$res" "$other/libvelmora_core.a" -lcomctl32 -lcomdlg32 -lgdi32 -luser32 \
    -lkernel32 -lwinspool -lshell32 -ladvapi32 -lopengl32 -lglu32 -lmsimg32 -static -static-libgcc \
    -static-libstdc++ -o "$3"
}

# prepare NAME...: each benchmark built alike for every build, this one's too, so that
# only the builds differ ($work/NAME-K.exe), without the debugging sections, which Wine
# reads into memory in part, by as much as 8 MB more for one build than another.
prepare() {
  local name k jobs=()
  for name in "$@"; do
    for k in "${!builds[@]}"; do
      { build_against "$name" "${builds[$k]}" "$work/$name-$k.exe" &&
          x86_64-w64-mingw32-strip -g "$work/$name-$k.exe"; } &
      jobs+=($!)
    done
  done
  for k in "${jobs[@]}"; do wait "$k" || exit 1; done
}

# run NAME K ARGUMENTS...: benchmark NAME of build K; its figures follow. One that fails
# ends the comparison with an error: a failed run has no figure to set beside another's.
run() {
  local name=$1 k=$2
  shift 2
  if ! "$WINE" "$work/$name-$k.exe" "$@" >"$work/run.log" 2>&1 </dev/null; then
    cat "$work/run.log" >&2
    echo "benchmark: $name${*:+ $*} of $(label "$k") ended with an error" >&2
    exit 1
  fi
  cat "$work/run.log"
}

# in_turns ROUNDS STEP...: each STEP (a function given a build's number that prints its
# figures) run for every build in turn, round after round. A round begins with the build
# after the last round's first, so that every build is first, and in each place, in as
# many rounds as any other (ROUNDS is rounded up to a multiple of the builds): whatever
# the order costs falls alike on each. Every figure goes to $work/turns.log under its
# build's label, and the summary follows.
in_turns() {
  local rounds=$1 n=${#builds[@]} r k step
  shift
  rounds=$(((rounds + n - 1) / n * n))
  : >"$work/turns.log"
  for ((r = 0; r < rounds; r++)); do
    echo "round $((r + 1)) of $rounds, $(label $((r % n))) first (machine load $(cut -d' ' -f1 /proc/loadavg))"
    for step in "$@"; do
      for ((k = r % n; k < r % n + n; k++)); do
        "$step" $((k % n)) >"$work/step.log"
        sed "s/^/$(label $((k % n))): /" "$work/step.log" | tee -a "$work/turns.log"
      done
    done
  done
  summary "$rounds"
}

# compare NAME ROUNDS BUILD_DIR...: benchmark NAME, without arguments, of this build and of
# each other build in turns, then the summary; the script ends there.
compare() {
  local name=$1 rounds=$2
  shift 2
  against "$@"
  prepare "$name"
  compare_round() { run "$name" "$1" ${VELMORA_BENCHMARK_RUNS:+--runs "$VELMORA_BENCHMARK_RUNS"}; }
  in_turns "$rounds" compare_round
  machine_load "at the end"
  exit 0
}

# summary ROUNDS: for each figure of $work/turns.log (lines "LABEL: NAME VALUE ms|MB ..."),
# this build's median of the rounds, and against each other build that build's median,
# their ratio and each round's ratio, so that a round's spread stands beside the figure;
# with no other build, each round's figure.
summary() {
  local k n=${#builds[@]}
  if [ "$n" = 1 ]; then
    echo "median of the $1 rounds (this build; each round's figure):"
    summary_table ""
  fi
  for ((k = 1; k < n; k++)); do
    printf '%s\n' "median of the $1 rounds, each build first in $(($1 / n)) (this build; the build in ${builds[k]}; their ratio; each round's ratio):"
    summary_table "$k"
  done
}
summary_table() {  # summary_table K: against other build K, or this build alone for ""
  awk -v other="$1" '
    function median(key,   i, j, k, t, a) {
      k = count[key]
      for (i = 1; i <= k; i++) a[i] = value[key, i] + 0
      for (i = 2; i <= k; i++)
        for (j = i; j > 1 && a[j - 1] > a[j]; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
    }
    { sub(/\r$/, "") }   # the programs end their lines as Windows does
    /^(this build|other build [0-9]+): / {
      who = $1 == "this" ? "this" : $3 + 0; line = $0; sub(/^[^:]*: /, "", line)
      if (!match(line, / +[0-9.]+ (ms|MB)( |$)/)) next
      name = substr(line, 1, RSTART - 1); split(substr(line, RSTART), field, " ")
      key = who SUBSEP name; value[key, ++count[key]] = field[1]; unit[name] = field[2]
      if (who == "this" && !(name in seen)) { seen[name] = 1; order[++names] = name }
    }
    END {
      for (n = 1; n <= names; n++) {
        name = order[n]; mine = "this" SUBSEP name; theirs = other SUBSEP name
        printf "%-64s %10.2f %s", name, median(mine), unit[name]
        if (other == "") {
          printf "  ("
          for (r = 1; r <= count[mine]; r++) printf "%s%s", (r > 1 ? " " : ""), value[mine, r]
          printf ")"
        } else if (count[theirs] && median(theirs) > 0) {
          printf " %10.2f %s %6.2fx  (", median(theirs), unit[name], median(mine) / median(theirs)
          for (r = 1; r <= count[mine] && r <= count[theirs]; r++)
            printf "%s%s", (r > 1 ? " " : ""), (value[theirs, r] > 0 ? sprintf("%.2f", value[mine, r] / value[theirs, r]) : "-")
          printf ")"
        } else {
          printf "  (none of the other build)"
        }
        printf "\n"
      }
    }' "$work/turns.log"
}

machine_load "at the start"
if [ "$view" = 1 ]; then
  against ${1:+"$1"}
  prepare view_actions_speed live_view_speed
  view_repaints() { run view_actions_speed "$1" --repaints "$tile_plan"; }
  in_turns 6 view_repaints
  # Navigation in many short rounds: its scene build and first frame are one run each, so
  # a figure is the median of as many runs as there are rounds.
  view_navigation() { run live_view_speed "$1" --navigation --size 800x600 60; }
  view_navigation_screen() { run live_view_speed "$1" --navigation --size screen 40; }
  in_turns 20 view_navigation view_navigation_screen
  machine_load "at the end"
  exit 0
fi
if [ "$texts" = 1 ]; then
  against "$@"
  prepare text_zoom_speed
  # The plans written once, by this build, for every build's rounds; each round opens each
  # plan once (its figures one run each), so that many short rounds meet the machine alike.
  run text_zoom_speed 0 --write
  texts_round() { run text_zoom_speed "$1" --runs 1 --written; }
  in_turns 12 texts_round
  machine_load "at the end"
  exit 0
fi
[ "$pictures" = 0 ] || compare picture_speed 6 ${1:+"$1"}
if [ "$loads" = 1 ]; then
  against ${1:+"$1"}
  prepare plan_load_speed
  plans=(lines-10000 lines-100000 walls-10000)
  run plan_load_speed 0 --write "${plans[@]}"
  # One build's figures: the loads' times, then each load's memory in a process of its own.
  # The loads' times in many short rounds rather than a few long ones: a long round's loads
  # all meet whatever the machine's state (its page cache, Wine's server) was at the time,
  # and one build's round then reads 0.6x or 1.6x the other's.
  loads_round() { run plan_load_speed "$1" --runs 3 "${plans[@]}"; }
  in_turns 30 loads_round
  peaks_round() { for plan in "${plans[@]}"; do run plan_load_speed "$1" --peak "$plan"; done; }
  in_turns 6 peaks_round
  machine_load "at the end"
  exit 0
fi
[ "$kept" = 0 ] || compare kept_path_speed 6 ${1:+"$1"}
if [ "$road" = 0 ]; then
  bench plan_speed "$@"
  bench road_speed
  forget_jobs_after "$jobs_before"
  bench plant_list_speed
  bench live_view_speed
  bench drag_speed
  bench selection_speed
  bench load_speed
  bench print_pages_speed
  bench view_actions_speed
  bench view_actions_speed --repaints "$tile_plan"
  forget_jobs_after "$jobs_before"
  bench text_repaint_speed
  bench text_zoom_speed
  bench picture_speed
  machine_load "at the end"
  exit 0
fi

bench road_speed
forget_jobs_after "$jobs_before"
bench plan_speed --no-print --only walls-10000 --only lines-100000

# Start-up to quit, whole processes, run by run in turn.
"$WINE" "$build/benchmarks/road_speed.exe" --describe frame-windows.txt >"$work/describe.log" 2>&1 </dev/null \
  || { cat "$work/describe.log"; exit 1; }
runs=7
program=() one=() bare=()
time_process "$build/benchmarks/bare_windows.exe" >/dev/null   # warm up
for _ in $(seq "$runs"); do
  program+=("$(time_process "$build/velmora.exe")")
  one+=("$(time_process "$build/benchmarks/bare_windows.exe")")
  bare+=("$(time_process "$build/benchmarks/bare_windows.exe" frame-windows.txt)")
done
figure "process velmora.exe, no arguments" "${program[@]}"
figure "process bare program, one window" "${one[@]}"
figure "process bare program, the frame's $(grep -c '^W' frame-windows.txt) windows" "${bare[@]}"

# The print road of velmora.exe, WinMain to its end.
"$WINE" "$build/benchmarks/road_speed.exe" --write-plans dimlines-10000 dimlines-100000 walls-10000 \
  >"$work/plans.log" 2>&1 </dev/null || { cat "$work/plans.log"; exit 1; }
for plan in dimlines-10000:3 walls-10000:3 dimlines-100000:3; do
  name=${plan%:*}
  total=() shown=() answered=()
  for _ in $(seq "${plan#*:}"); do
    time_print_road "$name.ZRO"
    total+=("$road_time")
    shown+=("$print_shown")
    answered+=("$print_answered")
  done
  figure "process velmora.exe print road $name" "${total[@]}"
  figure "process velmora.exe print road $name, dialog shown" "${shown[@]}"
  figure "process velmora.exe print road $name, dialog answered" "${answered[@]}"
  forget_jobs_after "$jobs_before"
done
machine_load "at the end"
