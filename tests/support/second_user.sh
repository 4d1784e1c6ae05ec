# A second Unix user for the tests of folders two users share: an unused uid and gid (no
# account made) with a home and a Wine prefix of its own, so a Wine server of its own, in
# a group this user's files can be given. Root only: second_user fails otherwise, or where
# that user cannot reach HOME (a parent folder closed to others).
#   second_user HOME && as_second COMMAND...   (the group: $second_gid)
second_user() {
  local n
  [ "$(id -u)" = 0 ] && command -v setpriv >/dev/null || return 1
  for n in $(seq 4200 4299); do
    getent passwd "$n" >/dev/null || getent group "$n" >/dev/null || { second_gid=$n; break; }
  done
  [ -n "${second_gid:-}" ] && mkdir -p "$1" && chown "$second_gid:$second_gid" "$1" && second_home=$(cd "$1" && pwd) &&
    as_second test -w "$second_home" -a -r "$VELMORA_BINARY_DIR/tests/plan_resaver.exe"
}
as_second() {
  setpriv --reuid="$second_gid" --regid="$second_gid" --groups="$second_gid" \
    env HOME="$second_home" WINEPREFIX="$second_home/prefix" "$@"
}
