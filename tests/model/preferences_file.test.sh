#!/usr/bin/env bash
# The plan colours saved into a preferences file that holds other sections too. On a full
# file system and in a read-only folder the file stays as it was and one message says so;
# two programs saving the colours 100 times each at once keep every key of the other
# sections, and the colours of the one that saved last (of a key twice, the first), and remove stopped saves' files
# (a link among them, never what it points to); one stopped half-way is read and put back whole. Under two Wine
# servers, a save held once it has read the file keeps the other's, which waits for it. Another user saves them at
# once with this one, after this user at umask 077, in a folder where it can make no file, and past lock files that
# earlier versions left (600, or another user's in a sticky folder); what anyone writes in such a lock file is never
# read. A file the program makes takes its maker's umask.
set -u
# The program's messages are in its code page (an "é" of the folder is one byte, 0xE9): read as bytes.
grep() { LC_ALL=C command grep "$@"; }
wine=/usr/lib/wine/wine64 saver="$VELMORA_BINARY_DIR/tests/colour_saver.exe"
fail() { echo "FAIL: $*"; cat run.log; exit 1; }
prefs() { # 4096 bytes, a page of the file system: a longer value needs another page
  body=$(printf '[ForegroundColor]\r\nRed=1\r\n[BackgroundColor]\r\nRed=4\r\nGreen=5\r\nBlue=6\r\nGreen=8\r\n[Extra]\r\n'
    seq 100 299 | sed 's/.*/Key&=&\r/' && printf '[InactiveColor]\r\nRed=7\r\n[Last]\r\nEnd=1\r')
  printf '[Paths]\r\nVideos=C:\\Video\r\nPad=%s\r\n%s\n' "$(head -c $((4063 - ${#body})) /dev/zero | tr '\0' x)" \
    "$body" >original.INI && cp original.INI "$1/Z!PREFS.INI"
}
save() { ${as:-} timeout ${limit:-300} $wine "$saver" "Z:$(cd "$1" && pwd | tr / '\\')" "$2" "$3" "${@:5}" >"$4" 2>>run.log </dev/null; }
refused() { # the file as it was, nothing beside it, one message naming it
  save "$1" 3 60000 said.log
  cmp -s original.INI "$1/Z!PREFS.INI" && [ "$(ls -A "$1" | grep -vcE '^(fill|Z!PREFS.INI.lock)$')" = 1 ] || fail "$2: the file changed"
  [ "$(grep -c '^Impossibile salvare le preferenze in Z:.*\\Z!PREFS.INI' said.log)" = 1 ] || fail "$2: $(cat said.log)"
}
chmod -R u+w full 2>/dev/null; rm -rf full two users private closed aside stop forged short.INI forged.INI run.log && mkdir full two && : >run.log
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=64k tmpfs full; then
  trap 'umount full' EXIT
  prefs full && cat /dev/zero >full/fill 2>/dev/null
  refused full "full file system"
  rm full/fill && mount -o remount,ro full && refused full "read-only folder"
else
  echo "not root: the full file system was not tried"
  prefs full && chmod 444 full/Z!PREFS.INI && chmod 555 full && refused full "read-only folder"
fi

echo "a file of the user" >outside && prefs two && touch two/Z!PREFS.INI.{1-0,77-3}.tmp &&
  ln -s "$PWD/outside" two/Z!PREFS.INI.5-0.tmp && { save two 100 1000 one.log & save two 100 2000 other.log & wait; }
[ "$(ls two | grep -vx 'Z!PREFS.INI.lock')" = Z!PREFS.INI ] && grep -qx "a file of the user" outside || fail "working files left: $(ls two), or outside lost"
said() { until grep -q "$1" "$2" || ! kill -0 $! 2>/dev/null; do sleep 0.1; done; }
others() { awk '/^\[/ { colour = /^\[(Foreground|Background|Inactive)Color\]/ } !colour' "$1"; }
[ "$(others two/Z!PREFS.INI)" = "$(others original.INI)" ] || fail "keys of other sections lost"
colours=$(grep -E '^(Red|Green|Blue)=' two/Z!PREFS.INI | grep -v '^Green=8' | sort -u)
[ "$(grep -c . <<<"$colours")" = 3 ] && grep -Eq '^Red=(1099|2099)' <<<"$colours" || fail "colours $colours"
# A save stopped once it has kept the old content whole, the file then cut as a stop half-way through its write
# leaves it: the colours are read from what was kept, which the next save puts back before its own write.
mkdir stop && prefs stop && save stop 1 600 stop.log -stop; printf %100s | dd of=stop/Z!PREFS.INI conv=notrunc 2>/dev/null
save stop 1 700 read.log -read
grep -Eq '^read 1[[:space:]]*$' read.log && [ "$(others stop/Z!PREFS.INI)" = "$(others original.INI)" ] &&
  grep -q '^Red=700' stop/Z!PREFS.INI || fail "a save stopped half-way: $(cat read.log)"
# A lock file that anyone may write, holding what an earlier version kept there while it wrote: never read, never put
# back. A save that shortens the file leaves nothing of the longer one.
mkdir forged && prefs forged && printf '[ForegroundColor]\r\nRed=99\r\n' >forged.INI &&
  { cat forged.INI; printf '\r\n;%s byte\r\n' "$(stat -c %s forged.INI)"; } >forged/Z!PREFS.INI.lock && chmod 666 forged/Z!PREFS.INI.lock
save forged 1 2000 read.log -read
grep -Eq '^read 1[[:space:]]*$' read.log && [ "$(others forged/Z!PREFS.INI)" = "$(others original.INI)" ] || fail "a forged lock file: $(cat read.log)"
save forged 1 5 one.log && cp forged/Z!PREFS.INI short.INI && prefs forged && save forged 1 5 one.log &&
  cmp -s short.INI forged/Z!PREFS.INI || fail "a save that shortens the file: $(ls -l forged)"

# A file the program makes takes its maker's umask (the files are made by the server: one of that umask).
rm -rf umask022 umask077 made022 made077 && mkdir made022 made077
trap 'for mask in 022 077; do WINEPREFIX=$PWD/umask$mask /usr/lib/wine/wineserver -k; done; mountpoint -q full && umount full' EXIT
for mask in 022 077; do cp -al "$WINEPREFIX" umask$mask && (umask $mask && WINEPREFIX=$PWD/umask$mask save made$mask 1 5 one.log); done
[ "$(stat -c %a made022/Z!PREFS.INI made077/Z!PREFS.INI | paste -sd' ')" = "644 600" ] && [ "$(ls made022 made077 | grep -c .)" = 4 ] ||
  fail "modes of the files made: $(ls -l made022 made077)"

# A second user, of a group this user shares, under a server of its own, saves them 100 times at once with this user,
# past a lock file that an earlier version left at 600: every save goes through and the file stays whole.
. "$VELMORA_SOURCE_DIR/tests/support/second_user.sh"
if second_user user2; then
  trap 'as_second /usr/lib/wine/wineserver -k; for mask in 022 077; do WINEPREFIX=$PWD/umask$mask /usr/lib/wine/wineserver -k; done
    mountpoint -q full && umount full' EXIT
  mkdir users && prefs users && chgrp -R "$second_gid" users && chmod 775 users && chmod 664 users/Z!PREFS.INI &&
    : >users/Z!PREFS.INI.lock && chmod 600 users/Z!PREFS.INI.lock &&
    save users 1 500 one.log &&
    { save users 100 1000 one.log & as=as_second save users 100 2000 second.log & wait; }
  [ "$(others users/Z!PREFS.INI)" = "$(others original.INI)" ] && [ "$(ls users | grep -vx 'Z!PREFS.INI.lock')" = Z!PREFS.INI ] &&
    grep -Eq '^Red=(1099|2099)' users/Z!PREFS.INI && ! grep -q Impossibile one.log second.log ||
    fail "two users: $(cat second.log; ls -l users)"
  # Saved by this user at umask 077 (a server of its own), then by the other: both go through, the file keeping its
  # owner and mode. The other saves where it may write the file but make none beside it, and in a sticky folder
  # past this user's lock file of an earlier version.
  mkdir private closed aside && prefs private && chgrp -R "$second_gid" private && chmod 775 private && chmod 664 private/Z!PREFS.INI
  (umask 077 && WINEPREFIX=$PWD/umask077 save private 1 700 one.log)
  WINEPREFIX=$PWD/umask077 /usr/lib/wine/wineserver -k; as=as_second save private 1 800 second.log
  [ "$(stat -c '%U %a' private/Z!PREFS.INI)" = "root 664" ] && grep -q '^Red=800' private/Z!PREFS.INI && ! grep -q Impossibile one.log second.log ||
    fail "after a user at umask 077: $(cat one.log second.log; ls -l private)"
  prefs closed && chmod 666 closed/Z!PREFS.INI && prefs aside && chmod 1777 aside && chmod 666 aside/Z!PREFS.INI &&
    : >aside/Z!PREFS.INI.lock && for folder in closed aside; do limit=60 as=as_second save $folder 1 800 $folder.log; done
  grep -q '^Red=800' closed/Z!PREFS.INI && grep -q '^Red=800' aside/Z!PREFS.INI && [ "$(ls closed)" = Z!PREFS.INI ] &&
    ! grep -q Impossibile closed.log aside.log || fail "a closed folder, a sticky one: $(cat closed.log aside.log; ls -l closed aside)"
else echo "not root: no second user tried"; fi

prefix2=$PWD/prefix2 && rm -rf go held.log other.log "$prefix2" && cp -al "$WINEPREFIX" "$prefix2" && prefs two
trap 'WINEPREFIX="$prefix2" /usr/lib/wine/wineserver -k; [ -z "${second_gid:-}" ] || as_second /usr/lib/wine/wineserver -k
  for mask in 022 077; do WINEPREFIX=$PWD/umask$mask /usr/lib/wine/wineserver -k; done; mountpoint -q full && umount full' EXIT
save two 1 3000 held.log "Z:$(pwd | tr / '\\')\\go" & said held held.log
WINEPREFIX=$prefix2 save two 1 4000 other.log & said waiting other.log; touch go; wait
grep -q waiting other.log && [ "$(grep -c '^Red=4000' two/Z!PREFS.INI)" = 3 ] && [ "$(others two/Z!PREFS.INI)" = "$(others original.INI)" ] ||
  fail "the change of the other server lost: $(grep -E '^(Red|Green|Blue)=' two/Z!PREFS.INI | sort | uniq -c)"

