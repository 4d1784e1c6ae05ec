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
#     holds. Given another build folder (the build before a change), the same benchmarks are
#     built against that build's library and sources too, and the two builds run in turns,
#     three rounds, so that both meet the same load;
#   scripts/benchmark.sh [--build-dir DIR] --texts [BUILD_DIR...]
#     the plan pane's texts (text_zoom_speed): a plan of 900 texts among walls and labelled
#     lines and one of 2,000 texts in 8 faces and styles and sizes from 6 to 60 pixels, each
#     opened, and repainted first at zooms it was never shown at and back at 100 %; given
#     other build folders, against those builds too, all in turns as --view runs them;
#   scripts/benchmark.sh [--build-dir DIR] --pictures [BUILD_DIR]
#     pictures converted into RGB rows (picture_speed): 3000 x 2000 at 24 and at 8 bits,
#     against another build in turns as --view does, five rounds, with the median of the
#     rounds' figures for each build and their ratio (without another build, this build's);
#   scripts/benchmark.sh [--build-dir DIR] --loads [BUILD_DIR]
#     plans opened (plan_load_speed): lines-10000 (4 MB), lines-100000 (42 MB) and
#     walls-10000, each loaded run after run, also with its last write just made, and the
#     peak working set of one load in a process of its own; against another build in turns
#     as --pictures does, five rounds, with the medians, their ratio and each round's;
#   scripts/benchmark.sh [--build-dir DIR] --kept [BUILD_DIR]
#     saves through paths kept by a short form (kept_path_speed): a plan of 100,000 lines in
#     a folder named outside the code page among 2,000 such neighbours, and the preferences
#     in a program folder of that kind; against another build in turns as --pictures does;
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

# summary LOG ROUNDS: for each of this build's figures in LOG (lines "this build: NAME
# VALUE ms|MB ...", and "other build: ..." for the build in $other), the median of the
# rounds, the other build's and their ratio, with each round's ratio; this build's alone
# where there is no other.
summary() {
  local title="this build"
  ! grep -q '^other build: ' "$1" || title="this build; the build in $other; ratio; each round's ratio"
  echo "median of the $2 rounds ($title):"
  awk '
    function median(key,   i, j, k, t, a) {
      k = count[key]
      for (i = 1; i <= k; i++) a[i] = value[key, i]
      for (i = 2; i <= k; i++)
        for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; j--) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
      return k ? a[int((k + 1) / 2)] : ""
    }
    { sub(/\r$/, "") }   # the programs end their lines as Windows does
    /^(this|other) build: / {
      who = $1; line = $0; sub(/^[a-z]+ build: /, "", line)
      if (!match(line, / +[0-9.]+ (ms|MB)( |$)/)) next
      name = substr(line, 1, RSTART - 1); split(substr(line, RSTART), field, " ")
      key = who SUBSEP name; value[key, ++count[key]] = field[1]; unit[name] = field[2]
      if (who == "this" && !(name in seen)) { seen[name] = 1; order[++names] = name }
    }
    END {
      for (n = 1; n <= names; n++) {
        name = order[n]; mine = median("this" SUBSEP name); theirs = median("other" SUBSEP name)
        printf "%-64s %10s %s", name, mine, unit[name]
        if (theirs != "" && theirs + 0 > 0) {
          printf " %10s %s %6.2fx  (", theirs, unit[name], mine / theirs
          for (r = 1; r <= count["this" SUBSEP name] && r <= count["other" SUBSEP name]; r++)
            printf "%s%.2f", (r > 1 ? " " : ""), value["this" SUBSEP name, r] / value["other" SUBSEP name, r]
          printf ")"
        }
        printf "\n"
      }
    }' "$1"
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

# A benchmark built against another build folder's library and sources, as
# $work/NAME_other.exe: the program as it was, measured by this benchmark (which uses only
# what both have).
build_against() {  # build_against NAME OTHER_BUILD
  local name=$1 other=$2 src res
  other=$(cd -- "$other" && pwd)
  src=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$other/CMakeCache.txt" 2>/dev/null || true)
  res=$(find "$other/CMakeFiles" -name 'velmora.rc.res' -o -name 'velmora.rc.obj' 2>/dev/null | head -1)
  if [ ! -f "$other/libvelmora_core.a" ] || [ -z "$src" ] || [ -z "$res" ]; then
    echo "benchmark: $other holds no built program (libvelmora_core.a, its resources, CMakeCache.txt)" >&2
    return 1
  fi
  x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -g -DNDEBUG -fexec-charset=CP1252 -DNOMINMAX -DWIN32_LEAN_AND_MEAN \
    -DWINVER=0x0601 -D_WIN32_WINNT=0x0601 -D_USE_MATH_DEFINES -I"$src" "$root/benchmarks/$name.cpp" \
    "$root/benchmarks/bench_support.cpp" "$res" "$other/libvelmora_core.a" -lcomctl32 -lcomdlg32 -lgdi32 -luser32 \
    -lkernel32 -lwinspool -lshell32 -ladvapi32 -lopengl32 -lglu32 -lmsimg32 -static -static-libgcc \
    -static-libstdc++ -o "$work/${name}_other.exe"
}

machine_load "at the start"
if [ "$view" = 1 ]; then
  other=${1:-}
  if [ -n "$other" ]; then
    build_against view_actions_speed "$other"
    build_against live_view_speed "$other"
  fi
  # Each benchmark of a round, this build's then the other's, before the next.
  view_bench() {  # view_bench NAME ARGUMENTS...
    local name=$1
    shift
    echo "this build: $name $*"
    bench "$name" "$@"
    if [ -n "$other" ]; then
      echo "the build in $other: $name $*"
      "$WINE" "$work/${name}_other.exe" "$@" >"$work/other.log" 2>&1 </dev/null \
        || echo "the other build's benchmark ended with an error"
      cat "$work/other.log"
    fi
  }
  for round in 1 2 3; do
    echo "round $round"
    view_bench view_actions_speed --repaints "$tile_plan"
    view_bench live_view_speed --navigation --size 800x600 300
    view_bench live_view_speed --navigation --size screen 200
  done
  machine_load "at the end"
  exit 0
fi
if [ "$texts" = 1 ]; then
  others=("$@")
  for i in "${!others[@]}"; do
    build_against text_zoom_speed "${others[$i]}"
    mv "$work/text_zoom_speed_other.exe" "$work/text_zoom_speed_other$i.exe"
  done
  for round in 1 2 3; do
    echo "this build, $build, round $round"
    bench text_zoom_speed
    for i in "${!others[@]}"; do
      echo "the build in ${others[$i]}, round $round"
      "$WINE" "$work/text_zoom_speed_other$i.exe" >"$work/other.log" 2>&1 </dev/null \
        || echo "the other build's benchmark ended with an error"
      cat "$work/other.log"
    done
  done
  machine_load "at the end"
  exit 0
fi
if [ "$pictures" = 1 ]; then
  other=${1:-}
  [ -z "$other" ] || build_against picture_speed "$other"
  for round in 1 2 3 4 5; do
    bench picture_speed | sed 's/^/this build: /' | tee -a "$work/pictures.log"
    if [ -n "$other" ]; then
      "$WINE" "$work/picture_speed_other.exe" >"$work/other.log" 2>&1 </dev/null \
        || echo "the other build's benchmark ended with an error"
      sed 's/^/other build: /' "$work/other.log" | tee -a "$work/pictures.log"
    fi
  done
  summary "$work/pictures.log" five
  machine_load "at the end"
  exit 0
fi
if [ "$loads" = 1 ]; then
  other=${1:-}
  [ -z "$other" ] || build_against plan_load_speed "$other"
  plans=(lines-10000 lines-100000 walls-10000)
  bench plan_load_speed --write "${plans[@]}"
  # Both programs without their debugging sections, which Wine reads into memory in part,
  # by as much as 8 MB more for one build than another.
  x86_64-w64-mingw32-strip -g -o "$work/plan_load_speed_this.exe" "$build/benchmarks/plan_load_speed.exe"
  [ -z "$other" ] || x86_64-w64-mingw32-strip -g "$work/plan_load_speed_other.exe"
  # One build's figures of a round: the loads' times, then each load's memory in a process of its own.
  loads_round() {
    "$WINE" "$1" --runs 15 "${plans[@]}" </dev/null || echo "$1 ended with an error"
    for plan in "${plans[@]}"; do "$WINE" "$1" --peak "$plan" </dev/null || echo "$1 ended with an error"; done
  }
  for round in 1 2 3 4 5; do
    loads_round "$work/plan_load_speed_this.exe" >"$work/this.log" 2>&1
    sed 's/^/this build: /' "$work/this.log" | tee -a "$work/loads.log"
    if [ -n "$other" ]; then
      loads_round "$work/plan_load_speed_other.exe" >"$work/other.log" 2>&1
      sed 's/^/other build: /' "$work/other.log" | tee -a "$work/loads.log"
    fi
  done
  summary "$work/loads.log" five
  machine_load "at the end"
  exit 0
fi
if [ "$kept" = 1 ]; then
  other=${1:-}
  [ -z "$other" ] || build_against kept_path_speed "$other"
  for round in 1 2 3 4 5; do
    bench kept_path_speed | sed 's/^/this build: /' | tee -a "$work/kept.log"
    if [ -n "$other" ]; then
      "$WINE" "$work/kept_path_speed_other.exe" >"$work/other.log" 2>&1 </dev/null \
        || echo "the other build's benchmark ended with an error"
      sed 's/^/other build: /' "$work/other.log" | tee -a "$work/kept.log"
    fi
  done
  summary "$work/kept.log" five
  machine_load "at the end"
  exit 0
fi
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
