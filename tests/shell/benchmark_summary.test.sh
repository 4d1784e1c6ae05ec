#!/usr/bin/env bash
# velmora-test: timeout 600
# A plan that does not load ends plan_load_speed with an error, never with a figure.
# scripts/benchmark.sh --pictures held against this build's own folder, named from here as
# the README's self-check names it, two runs a figure: the builds run in turns, each first in half the rounds,
# and the run ends with every figure's median for both, their ratio and each round's ratio.
# Run from inside the tests' environment, it leaves that environment running for the tests
# after it.
set -u
. "$(dirname "$0")/../support/waits.sh"
exe=${1:?velmora.exe}
build=$(cd "$(dirname "$exe")" && pwd)
head -c 1000 "$VELMORA_SOURCE_DIR/samples/house.ZRO" >cut.ZRO
printf 'not a plan' >garbage.ZRO
for run in "--runs 2 cut" "--runs 2 garbage" "--peak cut"; do
  plan=${run##* }
  timeout "$(scaled 120)" /usr/lib/wine/wine64 "$build/benchmarks/plan_load_speed.exe" $run >load.log 2>&1 </dev/null
  rc=$?
  [ "$rc" != 0 ] && [ "$rc" != 124 ] && grep -q "^$plan.ZRO was not loaded" load.log && ! grep -q ' \(ms\|MB\)' load.log ||
    { echo "FAIL: plan_load_speed $run, a plan that does not load, ended with $rc: $(cat load.log)"; exit 1; }
done

out=$(VELMORA_BENCHMARK_RUNS=2 bash "$VELMORA_SOURCE_DIR/scripts/benchmark.sh" --build-dir "$build" --pictures "$(realpath --relative-to=. "$build")" 2>&1) || {
  echo "FAIL: the benchmark ended with an error: $out"
  exit 1
}
firsts=$(grep -A1 '^round ' <<<"$out" | sed -n 's/^\(this build\|other build 1\): .*/\1/p' | tr '\n' ,)
[ "$firsts" = "this build,other build 1,this build,other build 1,this build,other build 1," ] ||
  { echo "FAIL: the builds were not first in turns ($firsts): $out"; exit 1; }
figures=$(sed -n 's/^this build: \(.*[^ ]\)  *[0-9.]* ms .*/\1/p' <<<"$out" | sort -u)
summary=$(sed -n '/^median of the 6 rounds, each build first in 3 (/,/^machine load/p' <<<"$out" | sed '1d;$d')
rows=$(sed -n -E 's/^(.*[^ ]) +[0-9.]+ ms +[0-9.]+ ms +[0-9.]+x  \(([0-9.]+ ){5}[0-9.]+\)$/\1/p' <<<"$summary")
[ -n "$figures" ] && [ "$(sort <<<"$rows")" = "$figures" ] && [ "$(wc -l <<<"$rows")" = "$(wc -l <<<"$summary")" ] ||
  { echo "FAIL: the summary of the two builds: $out"; exit 1; }
[ -f "$VELMORA_WINE_ENV" ] && kill -0 "$(cat "$(dirname "$VELMORA_WINE_ENV")/xvfb.pid" 2>/dev/null)" 2>/dev/null ||
  { echo "FAIL: the benchmark stopped the tests' environment"; exit 1; }
