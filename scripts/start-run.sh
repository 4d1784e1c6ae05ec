# Sourced, with its own arguments, by the scripts that build the program and run it
# under the private Wine environment (test.sh, print-sample.sh):
#   . "$(dirname "$0")/start-run.sh" "$@"; shift "$start_run_args"
# An optional leading --build-dir DIR chooses the build folder (default: build/ of the
# repository); start_run_args tells how many arguments it took. Sets root, build and
# envdir, sets the machine up, builds, starts the environment (stopped when the script
# exits) and takes its variables into the script.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$root/build
start_run_args=0
if [ "${1:-}" = --build-dir ]; then build=$(mkdir -p "$2" && cd "$2" && pwd); start_run_args=2; fi

# Run from inside a running environment (the tests of these scripts), the machine, the
# build and that environment are used as they are, and left running.
if [ -n "${VELMORA_WINE_ENV:-}" ] && [ -f "$VELMORA_WINE_ENV" ]; then
  envdir=$(dirname "$VELMORA_WINE_ENV")
  . "$VELMORA_WINE_ENV"
  return 0
fi

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"

envdir=$build/wine-env
trap 'bash "$root/scripts/wine-env.sh" stop "$envdir"' EXIT
bash "$root/scripts/wine-env.sh" start "$envdir"
. "$envdir/env.sh"
