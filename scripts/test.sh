#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine and Xvfb.
#   scripts/test.sh [--build-dir DIR] [ctest arguments...]
set -euo pipefail
# The tests' time limits are those of a quiet machine of 8 processors, scaled by one factor
# of this one: the load that other work puts on it as the run starts (before its build), the
# highest of its averages of runnable processes over the last 1, 5 and 15 minutes, since work
# that paused a minute ago comes back during a run (measured: a run that began at a load of
# 0.8 ended at 16). Each of the run's tests has a processor of its own (one test a processor)
# beside its share of that load, spread over the processors the run has, which may be fewer
# than the machine's (taskset, a container's limit): work that the same limit puts beside
# the run shares those alone, and the load cannot tell where its work runs.
# 1 + load / the run's processors (3.5 on 8 processors at a load of 20, 11 on 2).
read -r load1 load5 load15 _ </proc/loadavg
load=$(printf '%s\n' "$load1" "$load5" "$load15" | sort -g | tail -n 1)
[ -n "${VELMORA_TEST_TIME_SCALE:-}" ] ||
  VELMORA_TEST_TIME_SCALE=$(awk -v load="$load" -v n="$(nproc)" 'BEGIN { printf "%d", 100 + int(100 * load / n + 0.999) }')
export VELMORA_TEST_TIME_SCALE
start_run_tests=1
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"
export VELMORA_WINE_ENV="$envdir/env.sh"

echo "test: the time limits scaled by $VELMORA_TEST_TIME_SCALE% (load $load on $(nproc --all) processors, $(nproc) for the run)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@" </dev/null
