#!/usr/bin/env bash
# velmora-test: timeout 600
# Plans opened, changed and saved by the frame's commands, seen from the file system: through
# a link the named file is saved, owner-only permissions stay, a read-only plan is refused;
# links under a copy's or a working file's names are replaced or left, never followed, beside
# the plan, in the temporary folder and where no working file fits; what lies under a copy's name
# is never put back over a plan or drawing, whether the save is stopped or the disk full.
# Plans named alike but for case keep copies of their own, beside them or in the temporary folder (a folder too
# long): a save of P.ZRO leaves the copy of p.zro, cut by a stop, for p.zro's Open to offer; a plan opened by another
# spelling leaves the copy its own finds. A save goes on while another program reads an old copy or the plan; a copy
# held unshared is no save; "z:" finds the copy of "Z:"; "~appunti.salva.tmp" stays. A save in one Wine server, held
# after its copy or half-way, refuses the other's save and Open; a copy on 1-second dates is dated after an old one.
# A private plan of 100,000 lines is saved while its folder is watched: no file there can
# ever be read by others. Its next save is killed part-way: the plan, or a copy that the
# Open offers, is whole, and the save after that leaves nothing behind. Another user saves
# a plan, and a link to one, in a folder where that user can add no file.
set -u
. "$(dirname "$0")/../support/waits.sh"
# The program's messages are in its code page (an "é" of the folder is one byte, 0xE9): read as bytes.
grep() { LC_ALL=C command grep "$@"; }
sed() { LC_ALL=C command sed "$@"; }
sample="$VELMORA_SOURCE_DIR/samples/house.ZRO"
wine=/usr/lib/wine/wine64 resaver="$VELMORA_BINARY_DIR/tests/plan_resaver.exe"
umount plans/full plans/prefix2/drive_c/users/*/Temp 2>/dev/null; WINEPREFIX=$PWD/plans/prefix2 /usr/lib/wine/wineserver -k 2>/dev/null
rm -rf plans && mkdir plans && cd plans && prefix2=$PWD/prefix2 && temp2=$prefix2/drive_c/users/$(id -un)/Temp || exit 1
trap 'WINEPREFIX="$prefix2" /usr/lib/wine/wineserver -k; for m in full "$temp2"; do ! mountpoint -q "$m" || umount "$m"; done' EXIT
cp "$sample" real.ZRO && ln -s real.ZRO link.ZRO
cp "$sample" private.ZRO && chmod 600 private.ZRO
cp "$sample" locked.ZRO && chmod 444 locked.ZRO
dir="Z:$(pwd | tr / '\\')"
resave() { timeout "$(scaled 300)" $wine "$resaver" "$@" >>run.log 2>&1 </dev/null; }
resave "$dir\\link.ZRO" "$dir\\private.ZRO" "$dir\\locked.ZRO"
fail() { echo "FAIL: $*"; cat run.log; ls -lR; exit 1; }
grown() { [ "$(stat -c %s "$1")" -gt "$(stat -c %s "$sample")" ]; }
[ "$(readlink link.ZRO)" = real.ZRO ] && grown real.ZRO || fail "the linked plan was not saved"
grown private.ZRO && [ "$(stat -c %a private.ZRO)" = 600 ] || fail "owner-only plan not saved as 600"
cmp -s locked.ZRO "$sample" && [ "$(stat -c %a locked.ZRO)" = 444 ] || fail "the read-only plan changed"
grep -q "locked.ZRO: .*Errore di salvataggio" run.log || fail "no save error for the read-only plan"
[ "$(ls -A | wc -l)" = 5 ] || fail "a copy of a plan stayed behind"

# Beside the plan, in the temporary folder, and in a folder where no working file fits.
echo "a file of the user" >far.txt && long=$(head -c $((240 - ${#dir})) /dev/zero | tr '\0' l)
temp=$WINEPREFIX/drive_c/users/$(id -un)/Temp
for link in {links/~linked.ZRO.salva,links/~1-2.salva}.tmp {links,$long}/~linked.ZRO.salva "$temp/~3-4.salva.tmp"; do
  folder=links && [ "${link%/*}" = "$long" ] && folder=$long
  for target in "$PWD/far.txt" "$PWD/$folder/linked.ZRO"; do
    rm -rf "$folder" && mkdir "$folder" && cp "$sample" "$folder/linked.ZRO" && ln -s "$target" "$link" && resave "$dir\\$folder\\linked.ZRO"
    tail -1 run.log | grep -q "objects; saved" && grown "$folder/linked.ZRO" && grep -qx "a file of the user" far.txt ||
      fail "$link linked to $target"
    rm -f "$link"
done; done

cp "$sample" v1.ZRO && : >empty && echo "Lista della spesa: pane, latte, uova." >foreign && mkdir cut full
cp "$sample" cut/P.ZRO && resave "$dir\\cut\\P.ZRO" && mv cut/P.ZRO v2.ZRO && resave -add 0 -dxf "$dir\\v2.DXF" "$dir\\v2.ZRO"
# Root mounts a small file system, which the saves of 20,000 lines fill.
ways=cut; [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=1m tmpfs full && ways="cut full" ||
  echo "not root: no save on a full file system tried"
for way in $ways; do for file in ZRO DXF; do for left in v1.ZRO empty foreign; do
  cp v2.$file $way/P.$file && cp $left "$way/~P.$file.salva" && args=("$dir\\$way\\P.ZRO")
  [ $file = DXF ] && args=(-dxf "$dir\\$way\\P.DXF" "$dir\\v2.ZRO")
  if [ $way = cut ]; then resave -stop write "${args[@]}"; kept="cut/~P.$file.salva"
  else resave -add 20000 "${args[@]}"; kept=full/P.$file; fi
  cmp -s $kept v2.$file || fail "$left under the copy's name, and $kept is not as it was"
  # A plan that reads whole opens without a question; a failed save leaves nothing beside it.
  [ $way = cut ] || { [ "$(ls -A full)" = P.$file ] && ! tail -1 run.log | grep -q interrotto; } || fail "$left: $file"
  rm -f $way/*
done; done; done

# CasaRossi.ZRO is stopped through another spelling, and its copy found through its own.
for folder in CaseProgetti "$(head -c $((241 - ${#dir})) /dev/zero | tr '\0' O)"; do
  mkdir "$folder" && for plan in p.zro P.ZRO CasaRossi.ZRO; do cp v1.ZRO "$folder/$plan"; done
  resave -stop write "$dir\\$folder\\p.zro"; resave -stop write "$dir\\${folder,,}\\casarossi.zro"
  resave "$dir\\$folder\\P.ZRO" "$dir\\$folder\\p.zro" "$dir\\$folder\\CasaRossi.ZRO" &&
    [ "$(tail -3 run.log | grep -Ec '(p.zro|CasaRossi.ZRO): 8 objects; Salvataggio interrotto; saved')" = 2 ] &&
    [ "$(ls -A "$folder" | wc -l)" = 3 ] || fail "the copies in $folder"
done
# An older copy that another program reads (its clock ahead) stays, and goes at a later save.
mkdir held && cp v1.ZRO held/H.ZRO && cp v2.ZRO "held/~H.ZRO.salva" && touch -d tomorrow "held/~H.ZRO.salva"
resave -read "$dir\\held\\~H.ZRO.salva" -stop write "$dir\\held\\H.ZRO"; resave "$dir\\held\\H.ZRO"
tail -1 run.log | grep -q "H.ZRO: 8 objects; Salvataggio interrotto; saved" && [ "$(ls -A held)" = H.ZRO ] &&
  [ -z "$(find "$temp" -name '~H.ZRO*')" ] || fail "the old copy that another program reads"
mkdir own && cp v1.ZRO own/U.ZRO && cp v1.ZRO own/L.ZRO && cp v2.ZRO "own/~U.ZRO.salva" && echo appunti >"own/~appunti.salva.tmp"
resave -read0 "$dir\\own\\~U.ZRO.salva" "$dir\\own\\U.ZRO" && resave -read7 "$dir\\own\\L.ZRO" "$dir\\own\\L.ZRO"
resave -stop write "z${dir:1}\\own\\L.ZRO"; resave "$dir\\own\\L.ZRO"
[ "$(grep -Ec "own.(U.ZRO: 8 objects;|L.ZRO: 8 objects;|L.ZRO: 9 objects; Salvataggio interrotto;) saved" run.log)" = 3 ] &&
  [ "$(ls -A own | tr '\n' ' ')" = "L.ZRO U.ZRO ~U.ZRO.salva ~appunti.salva.tmp " ] || fail "held unshared, viewed, z:"

# A whole plan of another user's planted under the copy's name in a folder open to all is named beside the cut plan,
# never opened in its place nor saved over it.
mkdir -m 1777 open && head -c 3000 v1.ZRO >open/S.ZRO && cp v2.ZRO "open/~S.ZRO.salva" && cp open/S.ZRO cut.S.ZRO
if [ "$(id -u)" = 0 ]; then chown 65534 "open/~S.ZRO.salva" && resave "$dir\\open\\S.ZRO"
  tail -1 run.log | grep -q "danneggiato. Accanto .*open.~S.ZRO.salva, che non " && cmp -s cut.S.ZRO open/S.ZRO &&
    cmp -s v2.ZRO "open/~S.ZRO.salva" || fail "the copy planted by another user"
else echo "not root: no copy planted by another user tried"; fi

# Locks that fail for another reason than another's lock (1: a file system that has none) leave plan and drawing
# unmarked: the plan opens, is saved and drawn over, and nothing stays beside them.
mkdir nolocks && cp v1.ZRO nolocks/N.ZRO && for way in ZRO DXF DXF; do [ $way = ZRO ] && args=() || args=(-dxf "$dir\\nolocks\\N.DXF")
  resave -locks 1 "${args[@]}" "$dir\\nolocks\\N.ZRO"; done
[ "$(tail -3 run.log | grep -c "N.ZRO: [89] objects; saved")" = 3 ] && [ "$(ls -A nolocks | tr '\n' ' ')" = "N.DXF N.ZRO " ] ||
  fail "locks that fail: $(ls nolocks | wc -l) files"
cp -al "$WINEPREFIX" "$prefix2" && mkdir two && busy="$dir\\two\\P.ZRO"
other() { WINEPREFIX="$prefix2" timeout "$(scaled 300)" $wine "$resaver" "$@" </dev/null; }
started() { until grep -q "$2" "$1" || ! kill -0 "$3" 2>/dev/null; do sleep 0.1; done; }
for stop in hold pause; do
  cp v1.ZRO two/P.ZRO && rm -f two/go other.log held.log
  other -wait "$dir\\two\\go" "$busy" "$busy" >other.log 2>&1 & opener=$! && started other.log objects $opener
  $wine "$resaver" -stop $stop "$busy" >held.log 2>&1 </dev/null & saver=$! && started held.log held $saver
  touch two/go && wait $opener; kill -9 $saver && wait $saver 2>/dev/null
  head -1 other.log | grep "objects; Errore di salvataggio;" | grep -qv saved && tail -1 other.log | grep -q "in corso di" &&
    cmp -s "two/~P.ZRO.salva" v1.ZRO && rm two/go && resave "$busy" && [ "$(ls -A two)" = P.ZRO ] &&
    tail -1 run.log | grep -Eq "P.ZRO: 8 objects; $([ $stop = pause ] && echo 'Salvataggio interrotto; ')saved" ||
    fail "$stop in the other server: $(cat other.log)"
done
# A plan the other server saves under a new name, held half-way, leaves no copy to tell of it: not read, it is said
# to be being saved (once the readers' patience is spent).
rm -f held.log; $wine "$resaver" -stop pause -as "$dir\\two\\N.ZRO" "$busy" >held.log 2>&1 </dev/null & saver=$! && started held.log held $saver
other "$dir\\two\\N.ZRO" >other.log 2>&1; kill -9 $saver && wait $saver 2>/dev/null; rm -f two/N.ZRO
grep -q "N.ZRO: .*in corso di salvataggio" other.log && ! grep -q Formato other.log ||
  fail "the new plan held half-way was read: $(cat other.log)"
# Both servers save a plan at the same moment, 20 times, each holding its copy made until the other ends: one is
# refused; a kill of either, every other time, leaves a plan or a copy that opens whole.
cp v1.ZRO two/S.ZRO && resave -add 8000 "$dir\\two\\S.ZRO" && mv two/S.ZRO same.ZRO && same="$dir\\two\\S.ZRO"
for round in {1..20}; do
  cp same.ZRO two/S.ZRO; rm -f two/go two/go2 one.log two.log; hold=(-wait "$dir\\two\\go" -hold-copy "$dir\\two\\go2" "$same")
  $wine "$resaver" "${hold[@]}" >one.log 2>&1 </dev/null & one=$!
  WINEPREFIX="$prefix2" $wine "$resaver" "${hold[@]}" >two.log 2>&1 </dev/null & two=$!
  started one.log objects $one && started two.log objects $two && touch two/go
  [ $((round % 2)) = 1 ] || { sleep 0.$((RANDOM % 5)); kill -9 $([ $((round % 4)) = 0 ] && echo $one || echo $two); }
  until [ "$(grep -l copied one.log two.log | wc -l)" = 2 ] || ! kill -0 $one 2>/dev/null || ! kill -0 $two 2>/dev/null; do
    sleep 0.1; done; touch two/go2; wait $one $two 2>/dev/null
  if [ $((round % 2)) = 0 ]; then
    resave "$same" && tail -1 run.log | grep -Eq "S.ZRO: 800[89] objects; (Salvataggio interrotto; )?saved" || fail "kill $round"
  else
    [ "$(grep -l 'objects; copied saved' one.log two.log | wc -l)" = 1 ] &&
      [ "$(grep -l 'objects; Errore di salvataggio;' one.log two.log | wc -l)" = 1 ] || fail "round $round: $(cat one.log two.log)"
  fi
done
# Root mounts a small file system of 1-second dates as the other server's temporary folder.
[ "$(id -u)" = 0 ] && truncate -s 8M coarse.img && mkfs.ext3 -q -I 128 coarse.img 2>/dev/null && mount -o loop coarse.img "$temp2" &&
  coarse="Z:$(tr / '\\' <<<"$temp2")" && cp v1.ZRO "$temp2/C.ZRO" && cp v2.ZRO "$temp2/~C.ZRO.salva" &&
  touch -d tomorrow "$temp2/~C.ZRO.salva" && { other -read "$coarse\\~C.ZRO.salva" -stop write "$coarse\\C.ZRO"
  other "$coarse\\C.ZRO"; } >>run.log 2>&1 && { tail -1 run.log | grep -q "C.ZRO: 8 objects; Salvataggio interrotto; saved" ||
  fail "the copy dated to the second"; } || echo "not root: no file system of 1-second dates tried"

# A plan the system rewrites in place while it is read (held after its first megabyte) is read again, on dates to the
# second too, where the date is put back; a plan cut after its Open found no copy offers the copy the cut left.
mkdir mix && cp v1.ZRO mix/A.ZRO && resave -add 3000 "$dir\\mix\\A.ZRO" && cp mix/A.ZRO mix/B.ZRO && folders=("$PWD/mix")
python3 -c 'import sys; f = open(sys.argv[1], "r+b"); d = f.read(); f.seek(0); f.write(d.replace(b"B\x8c\0\0", b"B\x8e\0\0"))' mix/B.ZRO
cp mix/B.ZRO mix/ref.ZRO && resave "$dir\\mix\\ref.ZRO"; ! mountpoint -q "$temp2" || folders+=("$temp2")
reader() { rm -f go mix.log; $wine "$resaver" -pause-read "$dir\\go" "$1" >mix.log 2>&1 </dev/null & reader=$!; }
paused() { until [ "$(grep -c paused mix.log)" -ge "$1" ] || ! kill -0 $reader 2>/dev/null; do sleep 0.1; done; }
for folder in "${folders[@]}"; do
  cp mix/A.ZRO "$folder/P.ZRO" && reader "Z:$(tr / '\\' <<<"$folder")\\P.ZRO" && paused 1 && touch "$folder/P.ZRO" go
  stamp=$(stat -c %Y "$folder/P.ZRO") && paused 2 && cat mix/B.ZRO >"$folder/P.ZRO"
  [ "$folder" != "$temp2" ] || touch -d "@$stamp" "$folder/P.ZRO"; touch go
  wait $reader; cmp -s "$folder/P.ZRO" mix/ref.ZRO || fail "changed while read in $folder: $(cat mix.log)"
done
cp v1.ZRO mix/C.ZRO && reader "$dir\\mix\\C.ZRO" && paused 1 && resave -stop write "$dir\\mix\\C.ZRO"; touch go && paused 2
touch go && wait $reader; grep -q "C.ZRO: 8 objects; Errore file - Formato sconosciuto; Salvataggio interrotto; saved" mix.log &&
  [ "$(ls mix | grep -c C.ZRO)" = 1 ] || fail "the copy after a cut plan's Open: $(cat mix.log)"
# A plan another program empties (dated ahead, which may hide a write) is read again, and whole once it is filled; one
# that changes at every read for three seconds is refused as being saved, and no plan is opened.
cp v1.ZRO mix/E.ZRO && reader "$dir\\mix\\E.ZRO" && paused 1 && : >mix/E.ZRO && touch -d tomorrow mix/E.ZRO go && paused 2
cat v1.ZRO >mix/E.ZRO && touch go && wait $reader; grep -q "E.ZRO: 8 objects; saved" mix.log || fail "an emptied plan: $(cat mix.log)"
resave -moving-read "$dir\\mix\\E.ZRO" "$dir\\mix\\E.ZRO"
tail -1 run.log | grep -q "E.ZRO: 0 objects; Il disegno [^;]* in corso di salvataggio [^;]*; saved" || fail "a plan changing at every read"

mkdir big && cp "$sample" big/big.ZRO && chmod 600 big/big.ZRO && big="$dir\\big\\big.ZRO"
resave -add 100000 "$big"
resave "$big" &
while kill -0 $! 2>/dev/null; do find big -type f -perm /o=r; done >readable.log
[ ! -s readable.log ] && [ "$(stat -c %a big/big.ZRO)" = 600 ] || fail "others could read $(sort -u readable.log)"
cp big/big.ZRO old.ZRO && size=$(stat -c %s old.ZRO) && copy="big/~big.ZRO.salva"
$wine "$resaver" "$big" >/dev/null 2>&1 </dev/null &
while kill -0 $! 2>/dev/null && [ "$(stat -c %s big/big.ZRO)" = "$size" ]; do :; done
kill -9 $! && wait $! 2>/dev/null
[ ! -e "$copy" ] || cmp -s "$copy" old.ZRO || fail "the copy of the killed save is not the plan"
# The copy is offered when the kill cut the plan; a plan it left whole opens as it is.
saved=$(sed -n 's/.*big.ZRO: \([0-9]*\) objects;.*/\1/p' run.log | tail -1) && resave "$big"
tail -1 run.log | grep -Eq ": ($((saved + 1)) objects; Salvataggio interrotto;|$((saved + 2)) objects;) saved" ||
  fail "cut by the kill"
[ "$(ls -A big)" = big.ZRO ] && [ -z "$(find "$WINEPREFIX/drive_c/users" -name '~big*')" ] || fail "a copy stayed"

# A second user, of a group this user shares, under a server of its own: the copy of this user's save, held once
# made, is one that user may not open (a folder without setgid gives it this user's group). Its Open names the copy
# and opens the plan, which reads whole; its save is refused, and the copy stays.
. "$VELMORA_SOURCE_DIR/tests/support/second_user.sh"
if second_user user2; then
  mkdir shared && cp v1.ZRO shared/S.ZRO && chgrp -R "$second_gid" shared && chmod 775 shared && chmod 664 shared/S.ZRO
  $wine "$resaver" -stop hold "$dir\\shared\\S.ZRO" >held.log 2>&1 </dev/null & saver=$! && started held.log held $saver
  as_second timeout "$(scaled 300)" $wine "$resaver" "$dir\\shared\\S.ZRO" >other.log 2>&1 </dev/null; kill -9 $saver
  as_second /usr/lib/wine/wineserver -k; grep -q "S.ZRO: 8 objects; [^;]*~S.ZRO.salva[^;]*altro utente[^;]*; Errore di" other.log &&
    cmp -s shared/~S.ZRO.salva v1.ZRO && cmp -s shared/S.ZRO v1.ZRO ||
    fail "another user's copy: $(cat other.log; ls -l shared)"
  # A save by a user who may read the plan but not write it changes nothing: the copy of the owner's save stopped
  # half-way is named to that user, never offered (another user's), stays the owner's, and the owner opens it and saves.
  mkdir owned && cp v1.ZRO owned/S.ZRO && chgrp -R "$second_gid" owned && chmod 2775 owned && chmod 644 owned/S.ZRO
  resave -stop write "$dir\\owned\\S.ZRO"; ls -lnA --time-style=+%s owned >before.txt
  as_second timeout "$(scaled 300)" $wine "$resaver" "$dir\\owned\\S.ZRO" >other.log 2>&1 </dev/null
  grep -q "S.ZRO: 0 objects; Il disegno [^;]* danneggiato. Accanto [^;]*owned.~S.ZRO.salva, che non " other.log &&
    cmp -s owned/~S.ZRO.salva v1.ZRO &&
    [ "$(ls -lnA --time-style=+%s owned)" = "$(cat before.txt)" ] && resave "$dir\\owned\\S.ZRO" &&
    tail -1 run.log | grep -q "S.ZRO: 8 objects; Salvataggio interrotto; saved" && [ "$(ls -A owned)" = S.ZRO ] ||
    fail "a save its user may not make: $(cat other.log; ls -lA owned)"
  # This user, its files private (umask 077, in a server of its own), leaves a copy (600) of a save stopped once
  # written: the other user's Open names it and opens the plan, and its save goes through, the copy left as it is.
  mkdir private && cp v1.ZRO private/S.ZRO && chgrp -R "$second_gid" private && chmod 2775 private && chmod 664 private/S.ZRO
  WINEPREFIX="$prefix2" /usr/lib/wine/wineserver -k; (umask 077 && other -stop written "$dir\\private\\S.ZRO" >/dev/null 2>&1)
  WINEPREFIX="$prefix2" /usr/lib/wine/wineserver -k; as_second timeout "$(scaled 300)" $wine "$resaver" "$dir\\private\\S.ZRO" >other.log 2>&1 </dev/null
  grep -q "S.ZRO: 9 objects; [^;]*~S.ZRO.salva[^;]*altro utente[^;]*; saved" other.log && cmp -s private/~S.ZRO.salva v1.ZRO &&
    [ "$(stat -c '%U %a' private/S.ZRO private/~S.ZRO.salva | tr '\n' ' ')" = "root 664 root 600 " ] && grown private/S.ZRO ||
    fail "another user's stale copy: $(cat other.log; ls -lA private)"
  # In a folder open to all, another user leaves a file dated 2446 under the copy's name of the second user's plan,
  # which no save can date after and the sticky bit keeps: that user's save goes through, the file as it was.
  mkdir -m 1777 far && cp v1.ZRO far/S.ZRO && chown "$second_gid:$second_gid" far/S.ZRO && cp v2.ZRO "far/~S.ZRO.salva" &&
    chown 65534 "far/~S.ZRO.salva" && touch -d '2446-05-10 22:38:55' "far/~S.ZRO.salva" &&
    ls -ln --time-style=+%s "far/~S.ZRO.salva" >before.txt
  as_second timeout "$(scaled 300)" $wine "$resaver" "$dir\\far\\S.ZRO" >other.log 2>&1 </dev/null
  grep -q "S.ZRO: 8 objects; saved" other.log && ! cmp -s v1.ZRO far/S.ZRO && [ "$(ls -A far | tr '\n' ' ')" = "S.ZRO ~S.ZRO.salva " ] &&
    [ "$(ls -ln --time-style=+%s "far/~S.ZRO.salva")" = "$(cat before.txt)" ] && cmp -s v2.ZRO "far/~S.ZRO.salva" ||
    fail "a file dated 2446 under the copy's name: $(cat other.log; ls -lA far)"
else echo "not root: no second user tried"; fi

# Root runs the suite: the other user is nobody, with a Wine environment of its own.
[ "$(id -u)" = 0 ] && runuser -u nobody -- test -r "$resaver" -a -x "$PWD" 2>/dev/null ||
  { echo "no other user: the closed folder was not tried"; exit 0; }
mkdir -p other/closed other/open && cp "$sample" other/closed/own.ZRO && cp "$sample" other/open/far.ZRO
ln -s ../open/far.ZRO other/closed/link.ZRO && chown -R nobody other && chmod 555 other/closed &&
  . "$VELMORA_SOURCE_DIR/tests/support/second_user.sh" && user_prefix other/prefix "$(id -u nobody):$(id -g nobody)" || exit 1
as() { runuser -u nobody -- env HOME="$PWD/other" WINEPREFIX="$PWD/other/prefix" "$@"; }
as timeout "$(scaled 300)" $wine "$resaver" "$dir\\other\\closed\\own.ZRO" "$dir\\other\\closed\\link.ZRO" \
  >>run.log 2>&1 </dev/null
as /usr/lib/wine/wineserver -k
grep -q "own.ZRO: .*objects; saved" run.log && grown other/closed/own.ZRO || fail "not saved in a closed folder"
grep -q "link.ZRO: .*objects; saved" run.log && grown other/open/far.ZRO || fail "not saved through a link there"
[ "$(find other/closed other/open -mindepth 1 | wc -l)" = 3 ] && [ -z "$(find other/prefix -name '~*')" ] ||
  fail "a copy stayed"
