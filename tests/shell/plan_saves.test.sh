#!/usr/bin/env bash
# velmora-test: timeout 120
# Plans opened, changed and saved by the frame's commands, seen from the file system: through
# a link the named file is saved, owner-only permissions stay, a read-only plan is refused.
set -u
sample="$VELMORA_SOURCE_DIR/samples/house.ZRO"
rm -rf plans && mkdir plans && cd plans || exit 1
cp "$sample" real.ZRO && ln -s real.ZRO link.ZRO
cp "$sample" private.ZRO && chmod 600 private.ZRO
cp "$sample" locked.ZRO && chmod 444 locked.ZRO
dir="Z:$(pwd | tr / '\\')"
timeout 90 /usr/lib/wine/wine64 "$VELMORA_BINARY_DIR/tests/plan_resaver.exe" \
  "$dir\\link.ZRO" "$dir\\private.ZRO" "$dir\\locked.ZRO" >run.log 2>&1 </dev/null
fail() { echo "FAIL: $*"; cat run.log; ls -l; exit 1; }
grown() { [ "$(stat -c %s "$1")" -gt "$(stat -c %s "$sample")" ]; }
[ "$(readlink link.ZRO)" = real.ZRO ] && grown real.ZRO || fail "the linked plan was not saved"
grown private.ZRO && [ "$(stat -c %a private.ZRO)" = 600 ] || fail "owner-only plan not saved as 600"
cmp -s locked.ZRO "$sample" && [ "$(stat -c %a locked.ZRO)" = 444 ] || fail "the read-only plan changed"
grep -q "locked.ZRO: Errore di salvataggio" run.log || fail "no save error for the read-only plan"
! ls ./*.tmp 2>/dev/null || fail "a copy of a plan stayed behind"
