#!/usr/bin/env bash
# Sets up the machine, builds, and prints the sample house (samples/house.ZRO) fitted to
# one page through the test printer of the private Wine environment: velmora.exe is run
# with the plan's path and the mode byte 2, its print dialog is answered with OK, and
# the path of the PDF it made is printed.
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

# The program directory of the run holds the sample plan.
work=$build/print-sample
rm -rf "$work"
mkdir -p "$work"
cp "$root/samples/house.ZRO" "$work/"
cd "$work"

# The plan's path followed by the mode byte. Wine quotes an argument with a space, and
# the quote would become the mode byte: a path with a space is given by its name alone
# (the program directory is the current directory).
if [[ "$work" == *" "* ]]; then
  plan=house.ZRO
else
  plan="Z:${work//\//\\}\\house.ZRO"
fi
# The printer's jobs are numbered; the newest has the highest number.
last_job() {
  local n=0 f k
  for f in "$VELMORA_PRINT_DIR"/job-*.pdf; do
    [ -e "$f" ] || continue
    k=${f##*/job-}; k=${k%.pdf}
    [ "$k" -gt "$n" ] && n=$k
  done
  echo "$n"
}
before=$(last_job)

set +e
# Started directly, so that $! is the Windows process that owns the dialog.
/usr/lib/wine/wine64 "$build/velmora.exe" "$plan$(printf '\002')" >velmora.log 2>&1 </dev/null &
pid=$!
# The print dialog ("Print") is answered with OK; any message box on the way with its
# default button, so the run always comes to its end.
seen=" "
deadline=$((SECONDS + 300))
while kill -0 "$pid" 2>/dev/null; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    echo "print-sample: velmora.exe did not end; stopping it" >&2
    kill "$pid" 2>/dev/null
    break
  fi
  for id in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
    case "$seen" in *" $id "*) continue ;; esac
    seen="$seen$id "
    echo "print-sample: answering \"$(xdotool getwindowname "$id" 2>/dev/null)\""
    xdotool windowfocus --sync "$id" key Return >/dev/null 2>&1
  done
  sleep 0.2
done
wait "$pid"
rc=$?
set -e
if [ "$rc" -ne 0 ]; then
  echo "print-sample: velmora.exe ended with exit code $rc" >&2
  exit "$rc"
fi

# The job's PDF is complete once the program has ended (EndDoc returns after the port).
after=$(last_job)
if [ "$after" -le "$before" ]; then
  echo "print-sample: no page was printed (see $work/velmora.log)" >&2
  exit 1
fi
cp "$VELMORA_PRINT_DIR/job-$after.pdf" "$work/house.pdf"
echo "$work/house.pdf"
