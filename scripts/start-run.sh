# Sourced, with its own arguments, by the scripts that build the program and run it
# under the private Wine environment (test.sh, print-sample.sh):
#   . "$(dirname "$0")/start-run.sh" "$@"; shift "$start_run_args"
# An optional leading --build-dir DIR chooses the build folder (default: build/ of the
# repository); start_run_args tells how many arguments it took. Sets root, build and
# envdir, sets the machine up, builds, starts the environment (stopped when the script
# exits) and takes its variables into the script. Runs with one build folder take turns.
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

# One run at a time builds in a build folder and runs its environment: a run started
# while another uses the folder waits for it to end (starting the environment would stop
# the other's). The lock is let go when the script ends.
mkdir -p "$build"
exec {run_lock}>>"$build/.run.lock"
if ! flock -n "$run_lock"; then
  echo "$(basename "$0" .sh): waiting for $(cat "$build/.run.lock") to end: it uses the build folder $build" >&2
  flock "$run_lock"
fi
echo "$(basename "$0") (process $$)" >"$build/.run.lock"

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"

envdir=$build/wine-env
trap 'bash "$root/scripts/wine-env.sh" stop "$envdir"' EXIT
# The environment's lasting processes (the display, the wineserver) must not hold the lock.
bash "$root/scripts/wine-env.sh" start "$envdir" {run_lock}>&-
. "$envdir/env.sh"
