#!/usr/bin/env bash
# Builds and runs the speed benchmarks (plan road, select drag, live 3D view, plant
# list) under the private Wine environment and prints their figures; with --road it also
# times velmora.exe printing the largest plan from its command line (process start to
# end, the print dialog answered by xdotool).
#   scripts/benchmark.sh [--build-dir DIR] [--road] [plan_speed arguments...]
set -euo pipefail
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"
road=0
if [ "${1:-}" = --road ]; then road=1; shift; fi

work=$build/benchmark
rm -rf "$work"
mkdir -p "$work"
cd "$work"
/usr/lib/wine/wine64 "$build/benchmarks/plan_speed.exe" "$@" >"$work/plan_speed.log" 2>&1 </dev/null || true
cat "$work/plan_speed.log"
/usr/lib/wine/wine64 "$build/benchmarks/plant_list_speed.exe" >"$work/plant_list_speed.log" 2>&1 </dev/null || true
cat "$work/plant_list_speed.log"
/usr/lib/wine/wine64 "$build/benchmarks/live_view_speed.exe" >"$work/live_view_speed.log" 2>&1 </dev/null || true
cat "$work/live_view_speed.log"
/usr/lib/wine/wine64 "$build/benchmarks/drag_speed.exe" >"$work/drag_speed.log" 2>&1 </dev/null || true
cat "$work/drag_speed.log"

if [ "$road" = 1 ]; then
  plan=lines-100000.ZRO
  [ -f "$plan" ] || /usr/lib/wine/wine64 "$build/benchmarks/plan_speed.exe" --only lines-100000 --no-print \
    >/dev/null 2>&1 </dev/null
  arg="$plan$(printf '\002')"
  start=$(date +%s.%N)
  /usr/lib/wine/wine64 "$build/velmora.exe" "$arg" >"$work/road.log" 2>&1 </dev/null &
  pid=$!
  id=$(timeout 300 xdotool search --sync --onlyvisible --pid "$pid" --name '^Print$' 2>/dev/null | head -1)
  shown=$(date +%s.%N)
  [ -n "$id" ] && xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1
  wait "$pid" || true
  end=$(date +%s.%N)
  python3 -c "import sys; s,d,e=map(float,sys.argv[1:]); print('velmora.exe print road of %s: %.0f ms (dialog shown after %.0f ms)' % ('$plan', (e-s)*1000, (d-s)*1000))" \
    "$start" "$shown" "$end"
fi
