# Sourced, with its own arguments, by the scripts that build the program and run it
# under the private Wine environment (test.sh, print-sample.sh):
#   . "$(dirname "$0")/start-run.sh" "$@"; shift "$start_run_args"
# An optional leading --build-dir DIR chooses the build folder (default: build/ of the
# repository); start_run_args tells how many arguments it took. Sets root, build and
# envdir, sets the machine up, builds, starts the environment (stopped when the script
# exits) and takes its variables into the script. Runs with one build folder take turns.
# Whole paths, whatever they hold ("$( )" would drop a trailing newline).
unset CDPATH
root=$(cd -- "$(dirname -- "${BASH_SOURCE[0]}")/.." && pwd && echo .) && root=${root%?.}
build=$root/build
start_run_args=0
[ "${1:-}" != --build-dir ] || build=$2 start_run_args=2
# A repository or build folder whose path the build's tools cannot take is refused at
# once, before anything is installed or made (for the tests, test.sh sets start_run_tests,
# also one too long for their files).
bash "$root/scripts/build.sh" --check ${start_run_tests:+--tests} "$build" || exit 1
[ "$start_run_args" = 0 ] || { build=$(mkdir -p -- "$build" && cd -- "$build" && pwd && echo .) && build=${build%?.}; }

# Run from inside a running environment (the tests of these scripts), the machine, the
# build and that environment are used as they are, and left running.
if [ -n "${VELMORA_WINE_ENV:-}" ] && [ -f "$VELMORA_WINE_ENV" ]; then
  envdir=$(dirname "$VELMORA_WINE_ENV")
  . "$VELMORA_WINE_ENV"
  return 0
fi

# One run at a time builds in a build folder and runs its environment: a run started
# while another uses the folder waits for it to end (starting the environment would stop
# the other's). The lock is held by a keeper that ends with the script, however the script
# ends: the script and what it starts do not keep the lock's file open, so a process it
# left running (a program of the environment) cannot keep the next run waiting. The keeper
# also stops the run's environment once the script has ended: in a session of its own, out
# of reach of a Ctrl-C or of a SIGKILL to the run's process group (a CI runner's time-out),
# which no trap of the script outlives.
envdir=$build/wine-env
mkdir -p "$build"
exec {run_lock}>>"$build/.run.lock"
# The keeper of a run that has just ended lets go within a second or two.
if ! flock -w 2 "$run_lock"; then
  echo "$(basename "$0" .sh): waiting for $(cat "$build/.run.lock") to end: it uses the build folder $build" >&2
  flock "$run_lock"
fi
echo "$(basename "$0") (process $$)" >"$build/.run.lock"
read -r run_stat <"/proc/$$/stat" && run_stat=(${run_stat##*) })
setsid -f bash "$root/scripts/wine-env.sh" keep "$envdir" $$ "${run_stat[19]}" </dev/null >/dev/null 2>&1
exec {run_lock}>&-

bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" "$build"
# What a killed run's tests left mounted in their folders (the environment's start takes
# down what they left in it).
bash "$root/scripts/wine-env.sh" unmount "$build/testwd"

# The environment is stopped when the script ends, however it ends, even while it starts
# (its start is held first, so that it starts nothing more). It starts in the background,
# so that the script takes a signal (Ctrl-C) at once rather than when Wine's steps end.
# A Ctrl-C while it ends does not cut the end short: the stop runs out of the signal's
# reach, and the run then says that it was stopped and exits 130. A script sets run_stopped
# when a Ctrl-C that it takes leaves the end to say so.
env_start= run_stopped=
end_env() {
  trap 'run_stopped=1' INT TERM
  [ -z "$env_start" ] || kill -STOP "$env_start" 2>/dev/null || true
  # The shell's own word that the start was killed is not passed on.
  {
    (trap '' INT TERM; exec bash "$root/scripts/wine-env.sh" stop "$envdir") 2>&3
    [ -z "$env_start" ] || { kill -KILL "$env_start"; wait "$env_start"; }
  } 3>&2 2>/dev/null || true
  if [ -n "$run_stopped" ]; then
    echo "$(basename "$0" .sh): stopped; what the run made stays, and its environment has ended" >&2
    exit 130
  fi
}
trap end_env EXIT
export VELMORA_DESKTOP_KEEPER=$build/desktop_keeper.exe
bash "$root/scripts/wine-env.sh" start "$envdir" &
env_start=$!
env_rc=0
wait "$env_start" || env_rc=$?
env_start=
[ "$env_rc" -eq 0 ] || exit "$env_rc"
. "$envdir/env.sh"
