#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test under Wine and Xvfb.
#   scripts/test.sh [--build-dir DIR] [ctest arguments...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
if [ "${1:-}" = --build-dir ]; then build=$(mkdir -p "$2" && cd "$2" && pwd); shift 2; fi

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"

envdir=$build/wine-env
trap 'bash "$root/scripts/wine-env.sh" stop "$envdir"' EXIT
bash "$root/scripts/wine-env.sh" start "$envdir"
. "$envdir/env.sh"
export VELMORA_WINE_ENV="$envdir/env.sh"

cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@" </dev/null
