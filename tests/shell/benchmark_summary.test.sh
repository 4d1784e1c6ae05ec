#!/usr/bin/env bash
# velmora-test: timeout 600
# scripts/benchmark.sh --pictures given no other build, as the README shows it, ends with
# this build's medians: one summary line for each of its figures, with a number, and
# nothing of another build. Run from inside the tests' environment, it leaves that
# environment running for the tests after it.
set -u
exe=${1:?velmora.exe}
build=$(cd "$(dirname "$exe")" && pwd)
out=$(bash "$VELMORA_SOURCE_DIR/scripts/benchmark.sh" --build-dir "$build" --pictures 2>&1) || {
  echo "FAIL: the benchmark ended with an error: $out"
  exit 1
}
figures=$(sed -n 's/^this build: \(.*[^ ]\)  *[0-9.]* ms .*/\1/p' <<<"$out" | sort -u)
summary=$(sed -n '/^median of the five rounds (this build):$/,/^machine load/p' <<<"$out" | sed '1d;$d')
[ -n "$figures" ] && [ "$(sed -n 's/  *[0-9][0-9.]* ms$//p' <<<"$summary" | sort)" = "$figures" ] || {
  echo "FAIL: the summary of one build: $out"
  exit 1
}
[ -f "$VELMORA_WINE_ENV" ] && kill -0 "$(cat "$(dirname "$VELMORA_WINE_ENV")/xvfb.pid" 2>/dev/null)" 2>/dev/null ||
  { echo "FAIL: the benchmark stopped the tests' environment"; exit 1; }
