# A second Unix user, for folders two users share: an unused uid and gid (no account made), a home and so a Wine
# prefix and server of its own. Root only; fails where that user cannot reach HOME or the test programs.
#   second_user HOME && as_second COMMAND...   (the user's group: $second_gid)
second_user() {
  [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null || return 1
  for second_gid in {4200..4299} ''; do ! getent passwd $second_gid && ! getent group $second_gid && break; done >/dev/null
  [ -n "$second_gid" ] && mkdir -p "$1" && chown "$second_gid:$second_gid" "$1" && second_home=$(cd "$1" && pwd) &&
    as_second test -w "$second_home" -a -r "$VELMORA_BINARY_DIR/tests/plan_resaver.exe" &&
    user_prefix "$second_home/prefix" "$second_gid:$second_gid"
}
# user_prefix DIR UID:GID: a prefix for another user, copied from this test's own.
user_prefix() { bash "$VELMORA_SOURCE_DIR/scripts/wine-env.sh" copy "$WINEPREFIX" "$@"; }
as_second() {
  setpriv --reuid="$second_gid" --regid="$second_gid" --groups="$second_gid" env HOME="$second_home" WINEPREFIX="$second_home/prefix" "$@"
}
