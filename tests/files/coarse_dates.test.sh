#!/usr/bin/env bash
# velmora-test: timeout 400
# A plan of 4,900 lines that another program rewrites in place, its first 64 KB and then the
# rest 0.2 s later, while the frame's Open opens it again and again, on a mount that reports
# dates as file systems that keep them coarsely do (FUSE): to the whole second, the writer
# putting the write date back after each block; to two seconds with the change the write
# (FAT), the writer leaving the dates alone, and putting them back. Each open takes one plan
# whole, as its drawing exported at once shows, never half old and half new.
set -u
[ "$(id -u)" = 0 ] && [ -e /dev/fuse ] || { echo "not root, or no /dev/fuse: no mount of coarse dates tried"; exit 0; }
wine=/usr/lib/wine/wine64 resaver="$VELMORA_BINARY_DIR/tests/plan_resaver.exe" here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/waits.sh"
for m in coarse/*/; do ! mountpoint -q "$m" || umount -l "$m"; done
rm -rf coarse plans && mkdir -p coarse plans/dxf || exit 1
dir="Z:$(pwd | tr / '\\')"
fail() { echo "FAIL: $*"; cat run.log; exit 1; }
resave() { timeout "$(scaled 300)" $wine "$resaver" "$@" >>run.log 2>&1 </dev/null; }
# Two plans of one size that differ in every line's end, and their drawings.
cp "$VELMORA_SOURCE_DIR/samples/house.ZRO" plans/house.ZRO
resave -add 4900 -as "$dir\\plans\\A.ZRO" "$dir\\plans\\house.ZRO" || fail "plan A not made"
/usr/bin/python3 - plans/A.ZRO plans/B.ZRO <<'PY' || fail "plan B not made"
import struct, sys
a = open(sys.argv[1], "rb").read()
end = struct.pack(">f", 60.0)   # the x of every added line's end, as the plan keeps it (big-endian)
assert a.count(end) >= 4900, a.count(end)
open(sys.argv[2], "wb").write(a.replace(end, struct.pack(">f", 61.0)))
PY
resave -add 0 -dxf "$dir\\plans\\A.DXF" "$dir\\plans\\A.ZRO" && resave -add 0 -dxf "$dir\\plans\\B.DXF" "$dir\\plans\\B.ZRO" &&
  ! cmp -s plans/A.DXF plans/B.DXF || fail "the two plans' drawings"

failed=()
for row in "second back" "fat alone" "fat back"; do
  read -r dates writer <<<"$row"
  [ ! -d "plans/$dates" ] || { rm -rf "coarse/$dates" "plans/$dates"; }
  mkdir "coarse/$dates" "plans/$dates" && cp plans/A.ZRO "plans/$dates/P.ZRO" || exit 1
  # Before other work: on a busy machine the writer would pause far longer than its 0.2 s
  # between blocks, beyond any reader's wait for the file to settle.
  nice -n -10 /usr/bin/python3 "$here/coarse_dates_fs.py" "$dates" "plans/$dates" "coarse/$dates" >"fs-$dates.log" 2>&1 &
  for _ in $(tries 100); do mountpoint -q "coarse/$dates" && break; sleep 0.1; done
  mountpoint -q "coarse/$dates" || fail "no mount of $dates dates: $(cat "fs-$dates.log")"
  # The writer: through the mount, as another program on that file system would.
  rm -f stop && nice -n -10 /usr/bin/python3 - "coarse/$dates/P.ZRO" "$writer" plans/A.ZRO plans/B.ZRO <<'PY' &
import os, sys, time
plan, back, versions = sys.argv[1], sys.argv[2] == "back", [open(name, "rb").read() for name in sys.argv[3:]]
def put_back():   # 2020-01-01, as a copy keeping its date
    if back:
        os.utime(plan, (1577836800, 1577836800))
first, rewrite, longest = 65536, 0, 0
while not os.path.exists("stop"):
    rewrite += 1
    new = versions[rewrite % 2]
    with open(plan, "r+b", buffering=0) as f:
        f.write(new[:first])
        put_back()
        begun = time.monotonic()
        time.sleep(0.2)
        f.write(new[first:])
        longest = max(longest, time.monotonic() - begun)
    put_back()
    time.sleep(0.1 if rewrite % 2 else 0.9)   # now and then a pause a reader can take
open("longest", "w").write("%d" % (longest * 1000))
PY
  writing=$!
  plans=() && for _ in {1..30}; do plans+=("$dir\\coarse\\$dates\\P.ZRO"); done
  rm -f plans/dxf/* && resave -add 0 -dxf "$dir\\plans\\dxf\\$dates-#.DXF" "${plans[@]}"
  : >stop && wait "$writing"
  umount "coarse/$dates"; wait
  # An open refused as being written exports nothing; one taken exports one of the two drawings.
  mixed=0 taken=0 && for n in {1..30}; do
    [ -f "plans/dxf/$dates-$n.DXF" ] || continue
    taken=$((taken + 1))
    cmp -s "plans/dxf/$dates-$n.DXF" plans/A.DXF || cmp -s "plans/dxf/$dates-$n.DXF" plans/B.DXF || mixed=$((mixed + 1))
  done
  echo "dates $dates, writer $writer: $taken of 30 opens taken, $mixed of them half old and half new (longest pause between blocks $(cat longest) ms)"
  [ "$mixed" = 0 ] && [ "$taken" -gt 0 ] || failed+=("dates $dates, writer $writer")
done
[ ${#failed[@]} = 0 ] || fail "${failed[*]}"
echo "every open took one plan whole"
