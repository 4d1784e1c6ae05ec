#!/usr/bin/env bash
# velmora-test: timeout 600
# scripts/benchmark.sh --pictures given no other build, as the README shows it, ends with
# this build's medians: one summary line for each of its figures, with a number, and
# nothing of another build.
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
