#!/usr/bin/env bash
# Runs a test command in an environment of its own (wine-env.sh own), made from the running
# test environment (VELMORA_WINE_ENV) and ended and removed when the command ends, however
# it ends: a test program that shows windows, sends real input or prints meets no other's.
#   own-env.sh NAME COMMAND [ARGS...]
# NAME names the environment's folder (DIR/own/NAME.XXXXXX of the running environment).
set -u
unset CDPATH
here=$(cd -- "$(dirname -- "$0")" && pwd && echo .) && here=${here%?.}
started=${VELMORA_WINE_ENV:?own-env: no test environment is running}
started=${started%/*}
name=$1
shift
mkdir -p -- "$started/own" && dir=$(mktemp -d -- "$started/own/$name.XXXXXX") || exit 1
command=
end() {
  trap '' INT TERM
  if [ -n "$command" ]; then
    kill -TERM "$command" 2>/dev/null
    wait "$command"
  fi
  bash "$here/wine-env.sh" stop "$dir" >/dev/null 2>&1
  rm -rf -- "$dir"
}
trap end EXIT
# Stopped (CTest's timeout, Ctrl-C), the command is stopped too, which passes on what it said.
trap 'exit 124' INT TERM
bash "$here/wine-env.sh" own "$dir" "$started" >"$dir/start.log" 2>&1 || { cat "$dir/start.log" >&2; exit 1; }
. "$dir/env.sh"
export VELMORA_WINE_ENV=$dir/env.sh
# A command started in the background ignores Ctrl-C unless told otherwise, and so would
# every process it starts: the tests that send it to the print script need it as it was.
(trap - INT QUIT; exec "$@") &
command=$!
wait "$command"
rc=$?
command=
exit "$rc"
