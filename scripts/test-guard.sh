#!/usr/bin/env bash
# Runs one test's command, in the running test environment (VELMORA_WINE_ENV) or, with --own,
# in an environment of its own made from it (wine-env.sh own): its own display, prefix,
# wineserver and printer's folder, so that a test program that shows windows, sends real input
# or prints meets no other's. However the test ends, what it leaves ends with it: its
# processes, its own environment (removed) and every file system mounted in its folder or in
# that environment's (a full disk's tmpfs, a loop mount), as are those that a killed run of
# the same test left there when it starts.
#   test-guard.sh [--own NAME] COMMAND [ARGS...]
# NAME names the environment's folder (DIR/own/NAME.XXXXXX of the running environment).
#
# CTest (3.25) ends a test past its time limit with SIGKILL, to this script and every process
# under it, so no trap of theirs runs, while the display, the wineserver and Wine's services
# of an own environment run outside that tree. The end is therefore also kept by a keeper
# outside the tree, in a session of its own (no Ctrl-C reaches it), which waits on a pipe
# that only this script holds: once the script has ended, however, it does what the script's
# own end would have done, and finds nothing left where that end ran.
set -u
unset CDPATH
here=$(cd -- "$(dirname -- "$0")" && pwd && echo .) && here=${here%?.}

start_of() {  # the start time of a process (its number may later name another), empty once it has gone
  local stat
  read -r stat 2>/dev/null <"/proc/$1/stat" || return 0
  stat=${stat##*) }
  set -- $stat
  echo "${20}"
}
ends_tree() {  # the process and those it started, each stopped first so that it starts no more
  local child
  kill -STOP "$1" 2>/dev/null || return 0
  for child in $(ps -o pid= --ppid "$1"); do ends_tree "$child"; done
  kill -KILL "$1" 2>/dev/null
  kill -CONT "$1" 2>/dev/null
}
# finish WORK TOKEN DIR [PID START]: the command's processes (PID, if it is still that
# process), the environment in DIR and the file systems mounted in WORK or DIR, ended and
# removed. So is every process that the command started, wherever it went: a job that
# ignores Ctrl-C, or one in a process group or session of its own, outlives the command and
# CTest's kill. Each carries TOKEN in VELMORA_TEST_GUARDS, which the command's environment
# names it by; the keepers of runs the test started (test.sh, print-sample.sh) and of their
# tests are left to end what they keep, and so are Wine's processes, a shared environment's
# desktop among them: their environments end them. Then the environments that the test
# started in its folder (wine-env.sh start or own there): their servers, displays and
# prefixes (700 MB each).
finish() {
  local env pid pids=
  [ -z "${4:-}" ] || [ "$(start_of "$4")" != "${5:-}" ] || ends_tree "$4"
  for pid in $(grep -lzE "^VELMORA_TEST_GUARDS=.* $2( |$)" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    [[ $(readlink "/proc/$pid/exe") != /usr/lib/wine/* ]] || continue
    tr '\0' ' ' 2>/dev/null <"/proc/$pid/cmdline" | grep -qE "wine-env.sh keep|test-guard.sh --keeper" ||
      { kill -STOP "$pid" 2>/dev/null && pids+=" $pid"; }
  done
  [ -z "$pids" ] || { kill -KILL $pids; kill -CONT $pids; } 2>/dev/null
  if [ -n "$3" ] && [ -d "$3" ]; then
    bash "$here/wine-env.sh" stop "$3" >/dev/null 2>&1
    rm -rf -- "$3" 2>/dev/null
  fi
  # An environment's folder is known by its display's log, or by the pid of a start at work.
  while IFS= read -r -d '' env; do
    env=${env%/*}
    bash "$here/wine-env.sh" stop "$env" >/dev/null 2>&1
    rm -rf -- "$env/prefix" "$env/prepared" 2>/dev/null
  done < <(find "$1" \( -name prefix -o -name prepared \) -prune -o \( -name xvfb.log -o -name start.pid \) -print0 2>/dev/null)
  # And every Wine process or display of a prefix in the folder that no environment names
  # (a copied prefix's server, a start killed before it wrote its pid).
  for pid in $(grep -lzF "WINEPREFIX=$1/" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    [[ $(readlink "/proc/$pid/exe") != @(/usr/lib/wine/*|*/Xvfb) ]] || kill -KILL "$pid" 2>/dev/null
  done
  bash "$here/wine-env.sh" unmount "$1" >/dev/null 2>&1
}

if [ "${1:-}" = --keeper ]; then  # --keeper WORK TOKEN DIR: reads the command's process and start, then the pipe's end
  trap '' INT HUP
  last=
  while IFS= read -r line; do last=$line; done
  finish "$2" "$3" "$4" $last
  exit 0
fi
token=$$-$(start_of $$)

dir= started=
if [ "${1:-}" = --own ]; then
  started=${VELMORA_WINE_ENV:?test-guard: no test environment is running}
  started=${started%/*}
  mkdir -p -- "$started/own" && dir=$(mktemp -d -- "$started/own/${2:?the name of its environment}.XXXXXX") || exit 1
  shift 2
fi
work=$(pwd -P && echo .) && work=${work%?.}
# What a killed run of this test left mounted in its folder.
bash "$here/wine-env.sh" unmount "$work" >/dev/null 2>&1
# The keeper is not this script's child (setsid -f forks it away), so CTest's kill does not reach it.
exec {keep}> >(exec setsid -f bash "$here/test-guard.sh" --keeper "$work" "$token" "$dir" >/dev/null 2>&1)
command= start=
end() {
  trap '' INT TERM
  if [ -n "$command" ]; then
    kill -TERM "$command" 2>/dev/null
    wait "$command"
  fi
  finish "$work" "$token" "$dir" "$command" "$start"
  exec {keep}>&-
}
trap end EXIT
# Stopped (Ctrl-C), the command is stopped too, which passes on what it said.
trap 'exit 124' INT TERM
if [ -n "$dir" ]; then
  bash "$here/wine-env.sh" own "$dir" "$started" >"$dir/start.log" 2>&1 {keep}>&- || { cat "$dir/start.log" >&2; exit 1; }
  . "$dir/env.sh"
  export VELMORA_WINE_ENV=$dir/env.sh
fi
# A command started in the background ignores Ctrl-C unless told otherwise, and so would
# every process it starts: the tests that send it to the print script need it as it was.
(trap - INT QUIT; export VELMORA_TEST_GUARDS="${VELMORA_TEST_GUARDS:-} $token"; exec "$@") {keep}>&- &
command=$!
start=$(start_of "$command")
echo "$command $start" >&"$keep"
wait "$command"
rc=$?
command=
exit "$rc"
