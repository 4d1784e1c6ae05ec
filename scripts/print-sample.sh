#!/usr/bin/env bash
# Sets up the machine, builds, and runs velmora.exe on the sample plan with mode byte 2
# (print fitted to one page) inside the private Wine environment, then prints the
# program's exit code.
#   scripts/print-sample.sh [--build-dir DIR]
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

# The program directory of the run: the sample house of the repository is copied in as
# sample.ZRO, and the program is given that name followed by the mode byte 2.
work=$build/print-sample
rm -rf "$work"
mkdir -p "$work"
if [ -f "$root/samples/house.ZRO" ]; then
  cp "$root/samples/house.ZRO" "$work/sample.ZRO"
fi
cd "$work"

set +e
timeout 300 /usr/lib/wine/wine64 "$build/velmora.exe" "$(printf 'sample.ZRO\002')" >velmora.log 2>&1 </dev/null &
pid=$!
# Any message box the program shows on the way is answered with its default button, so
# the run always comes to its end.
while kill -0 "$pid" 2>/dev/null; do
  for id in $(xdotool search --onlyvisible --name '.' 2>/dev/null); do
    echo "print-sample: answering \"$(xdotool getwindowname "$id" 2>/dev/null)\""
    xdotool windowfocus --sync "$id" key Return 2>/dev/null
  done
  sleep 0.5
done
wait "$pid"
rc=$?
set -e
echo "print-sample: velmora.exe ended with exit code $rc"
exit "$rc"
