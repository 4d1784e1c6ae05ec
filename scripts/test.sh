#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine and Xvfb.
#   scripts/test.sh [--build-dir DIR] [ctest arguments...]
set -euo pipefail
start_run_tests=1
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"
export VELMORA_WINE_ENV="$envdir/env.sh"

cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@" </dev/null
