#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine and Xvfb.
#   scripts/test.sh [--build-dir DIR] [ctest arguments...]
set -euo pipefail
start_run_tests=1
. "$(dirname "$0")/start-run.sh" "$@"
shift "$start_run_args"
export VELMORA_WINE_ENV="$envdir/env.sh"

cd "$build"
# A test that fails is run once more, and its first failure stays in the output: one screen
# row of the live view (a plan switched, the view read back blank) fails about one run in
# four on a busy display, and is being looked into.
ctest --output-on-failure --repeat until-pass:2 -j"$(nproc)" "$@" </dev/null
