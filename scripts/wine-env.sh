#!/usr/bin/env bash
# Starts (or stops) the private test environment: Xvfb, a Wine prefix with a PDF
# printer and the faces of the set-up only, and one wineserver kept alive for the
# whole run. A started environment keeps a copy of its prefix as prepared (DIR/prepared),
# from which "own" makes an environment of its own for one test program: its own display,
# its own prefix, wineserver and printer's folder, so that programs that show windows,
# send real input or print run side by side without meeting.
#   wine-env.sh start DIR        -> writes DIR/env.sh to be sourced
#   wine-env.sh own DIR STARTED  -> the same, made from the environment started in STARTED
#   wine-env.sh stop DIR         (the environments made from it too)
#   wine-env.sh unmount DIR      -> takes down what is mounted in DIR (as root)
#   wine-env.sh copy FROM TO [UID:GID]  -> a copy of the prefix FROM, for a test's own use
# Every process's output goes to files in DIR: a persistent Wine process must never
# hold a pipe that someone waits on.
set -euo pipefail
unset CDPATH
cmd=${1:?start or stop}
# Whole paths, whatever they hold (a path's trailing newline would be lost to "$( )").
dir=$(mkdir -p -- "${2:?directory}" && cd -- "$2" && pwd && echo .) && dir=${dir%?.}
here=$(cd -- "$(dirname -- "$0")" && pwd && echo .) && here=${here%?.}
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

export WINEPREFIX="$dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Wine takes the programs' ANSI code page and its own dialogs' language from the Unix
# locale: under C.UTF-8 code page 1252, the program's own, and English, whatever the
# user's locale (a Russian one gives 1251, a Greek one 1253), so that the program's
# messages and the tests' verdicts are the same on every machine.
export LC_ALL=C.UTF-8

# The faces: every program of the environment sees those of the set-up only, whatever
# fonts the machine has, so a printed page or a dialog's size is the same everywhere.
# Wine finds faces in three places:
# - through fontconfig: the environment's own configuration lists only the files linked
#   into its faces folder: the DejaVu ones (fonts-dejavu-core and -extra), made the
#   generic families Wine falls back on, and Marlett (fonts-wine), the symbols of every
#   window's caption buttons;
# - beside its data folder: nothing. Debian's Wine 8 looks for its own faces in "..\fonts"
#   of its data folder, the Windows path Z:\usr\share\wine\../fonts, which its file
#   lookup does not find (measured with WINEDEBUG=+file): it loads none of the faces
#   fonts-wine puts in /usr/share/wine/fonts, in this environment as in any prefix, and
#   without Marlett the caption buttons show the letters "0", "2" and "r";
# - in the prefix's Fonts folder, kept empty.
# A name is looked up before its substitute, so substitutes pin only names no face
# carries: the dialog font is DejaVu Sans, where Wine's own substitutes name Tahoma.
faces_of_setup=/usr/share/fonts/truetype/dejavu
symbol_face=/usr/share/wine/fonts/marlett.ttf
prefix_stamp="velmora prefix 3: PDF printer whose port names no path, faces of the set-up"

# What ties a process to this environment, never its number alone, which may since have
# gone to another process: a start at work (its run killed or stopped) runs in the folder
# and names itself in start.pid; the display's server writes into the folder's xvfb.log.
ends_tree() {  # the process and those it started, each stopped first so that it starts no more
  local child
  kill -STOP "$1" 2>/dev/null || return 0
  for child in $(ps -o pid= --ppid "$1"); do ends_tree "$child"; done
  kill -KILL "$1" 2>/dev/null || true
}
stop_env() {
  local pid
  if read -r pid 2>/dev/null <"$dir/start.pid" && [ "$pid" != $$ ] && [ "/proc/$pid/cwd" -ef "$dir" ] &&
    grep -qaF wine-env.sh "/proc/$pid/cmdline" 2>/dev/null; then
    ends_tree "$pid"
  fi
  # The server of the prefix, whatever state a start left it in, and the Wine processes of
  # the prefix that no server reaches any more: a start killed while Wine makes the prefix
  # leaves its installer, in a session of its own, whose prefix the next start makes anew.
  [ ! -d "$dir/prefix" ] || WINEPREFIX="$dir/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  for pid in $(grep -lzxF "WINEPREFIX=$dir/prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3); do
    [[ $(readlink "/proc/$pid/exe") != /usr/lib/wine/* ]] || kill -KILL "$pid" 2>/dev/null || true
  done
  if read -r pid 2>/dev/null <"$dir/xvfb.pid" && [ "/proc/$pid/fd/2" -ef "$dir/xvfb.log" ]; then
    kill "$pid" >/dev/null 2>&1 || true
  fi
  # And the folders of wine-run.sh, whose programs have now ended.
  rm -rf "$dir/xvfb.pid" "$dir/start.pid" "$dir/env.sh" "$dir"/wine-run.??????
}
# The environments made from this one (test-guard.sh makes them in DIR/own, one a folder):
# those whose tests were killed are stopped and removed with it. A stop goes on past what it
# cannot remove, so that it never leaves a server running.
stop_own() {
  local own
  for own in "$dir/own"/*/; do
    [ -d "$own" ] || continue
    bash "$here/wine-env.sh" stop "$own" || true
    rm -rf -- "$own" || true
  done
}
# The file systems mounted in a folder (the full disks of tests, as root), the last mounted
# first: one that is still in use is detached and goes once nothing uses it. Left mounted, they
# keep the folder from being removed, and the next run's test from starting afresh.
unmount_in() {
  local top m mounts=()
  [ "$(id -u)" = 0 ] && top=$(cd -- "$1" 2>/dev/null && pwd -P && echo .) || return 0
  top=${top%?.}
  # Blanks, tabs, line ends and backslashes of a mount point are written as octal escapes.
  while read -r _ _ _ _ m _; do
    printf -v m -- "${m//%/%%}"
    [[ $m != "$top" && $m != "$top"/* ]] || mounts+=("$m")
  done </proc/self/mountinfo
  [ ${#mounts[@]} -gt 0 ] || return 0
  for m in $(printf '%s\n' "${!mounts[@]}" | sort -rn); do
    umount -- "${mounts[m]}" 2>/dev/null || umount -l -- "${mounts[m]}" 2>/dev/null || true
  done
}

# The display: Xvfb takes the first number no server listens on and writes it once it
# listens, so two environments started at once never take one display, nor another's.
start_display() {
: >"$dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$dir/display" >"$dir/xvfb.log" 2>&1 </dev/null &
echo $! >"$dir/xvfb.pid"
n=
for _ in $(seq 1 600); do
  read -r n <"$dir/display" && break
  kill -0 "$(cat "$dir/xvfb.pid")" 2>/dev/null || break
  sleep 0.1
done
if [[ ! $n =~ ^[0-9]+$ ]]; then
  echo "wine-env: Xvfb did not start (see $dir/xvfb.log)" >&2
  stop_env
  exit 1
fi
export DISPLAY=:$n
}

# Quoted for the shell that sources it, whatever the paths hold.
write_env() {
  for v in WINEPREFIX WINEDEBUG WINEDLLOVERRIDES WINEARCH LC_ALL DISPLAY VELMORA_PRINT_DIR VELMORA_PRINT_PORT FONTCONFIG_FILE \
    VELMORA_DESKTOP_KEEPER; do
    printf 'export %s=%q\n' "$v" "${!v-}"
  done >"$dir/env.sh"
}

# The desktop, up from the start for the environment's life (desktop_keeper.cpp, built as
# VELMORA_DESKTOP_KEEPER; an environment started without it starts its desktop as Wine does).
# A keeper whose window Wine refused, its desktop's start too slow for it, ends; another is
# started, which finds the desktop that start brought up.
keep_desktop() {
  local try pid
  [ -f "${VELMORA_DESKTOP_KEEPER:-}" ] || return 0
  for try in 1 2 3 4 5 6; do
    "$WINE" "$VELMORA_DESKTOP_KEEPER" >"$dir/desktop.log" 2>&1 </dev/null &
    pid=$!
    while kill -0 "$pid" 2>/dev/null && ! grep -qx ready "$dir/desktop.log"; do sleep 0.1; done
    ! grep -qx ready "$dir/desktop.log" || return 0
    wait "$pid" || true
  done
  echo "wine-env: Wine's desktop did not start (see $dir/desktop.log)" >&2
}

# copy_prefix FROM TO: a prefix of its own. Wine's programs, libraries and tables are linked:
# Wine writes them only when it updates a prefix, which the copied stamp (.update-timestamp)
# tells it not to. Every other file is copied: Wine rewrites the registry and its .ini files,
# the printer's description and its spool, in place or by renaming (a linked file rewritten
# in place would change every copy's). Made in a folder beside TO and renamed, so that TO is
# a whole copy or none.
copy_prefix() {
  local from=$1 to=$2
  rm -rf -- "$to.part" "$to"
  cp -al -- "$from" "$to.part"
  (cd -- "$from" && find . -type f ! \( -name '*.dll' -o -name '*.exe' -o -name '*.drv' -o -name '*.sys' \
    -o -name '*.nls' -o -name '*.ocx' -o -name '*.cpl' -o -name '*.acm' -o -name '*.tlb' -o -name '*.ds' -o -name '*.ax' \
    -o -name '*.com' -o -name '*.msstyles' -o -name '*.icm' -o -name '*.manifest' \) -print0 |
    xargs -0r cp -p --parents --remove-destination -t "$to.part")
  mv -- "$to.part" "$to"
}

# wine-env.sh copy FROM TO [UID:GID]: a prefix made from FROM as an own environment's is, for
# a test's second server or second Unix user. Wine runs only in a prefix its user owns, so
# that user is given every folder and every copied file; the linked ones stay root's, which
# all may read. A prefix Wine made afresh would take 700 MB and half a minute.
if [ "$cmd" = copy ]; then
  to=${3:?the copy} && [[ $to == /* ]] || to=$PWD/$to
  copy_prefix "$dir" "$to"
  # The file "wineserver" names the folder of this user's servers, which another user's may not use.
  [ -z "${4:-}" ] || { rm -f -- "$to/wineserver" && find "$to" \( -type d -o -type f -links 1 \) -exec chown "$4" {} +; }
  exit 0
fi

# wine-env.sh keep DIR PID START: once the process PID that started at START (the field of
# /proc/PID/stat, as its number may later name another) has ended, however it ended, the
# environment in DIR is stopped. The run's lock, which start-run.sh hands to it, is let go
# only then, so the next run never meets this one's environment.
if [ "$cmd" = keep ]; then
  trap '' INT HUP
  while read -r stat 2>/dev/null <"/proc/$3/stat"; do
    stat=(${stat##*) })
    [ "${stat[19]}" = "${4:?its start}" ] || break
    sleep 0.5
  done
  stop_own
  stop_env
  unmount_in "$dir"
  exit 0
fi

if [ "$cmd" = unmount ]; then
  unmount_in "$dir"
  exit 0
fi

if [ "$cmd" = stop ]; then
  stop_own
  stop_env
  unmount_in "$dir"
  exit 0
fi

# Windows names hold neither, and Wine finds no prefix through such a path.
if [[ $dir == *[\"\\]* ]]; then
  echo "wine-env: Wine cannot keep its prefix in a folder whose path holds \" or \\: $dir" >&2
  exit 1
fi
# A start stopped half-way (its run killed) is found and stopped by the next start or stop,
# and so are the environments made from it and what its tests left mounted.
stop_own
stop_env
unmount_in "$dir"
cd -- "$dir"
echo $$ >"$dir/start.pid"
if [ "$cmd" = own ]; then
  started=$(cd -- "${3:?the started environment}" && pwd && echo .) && started=${started%?.}
  if [ ! -f "$started/env.sh" ] || [ ! -d "$started/prepared" ]; then
    echo "wine-env: no environment is started in $started" >&2
    exit 1
  fi
  . "$started/env.sh"
  export WINEPREFIX="$dir/prefix" VELMORA_PRINT_DIR="$dir/print"
  start_display
  mkdir -p "$dir/print"
  copy_prefix "$started/prepared" "$WINEPREFIX"
  "$WINESERVER" -p >"$dir/wineserver.log" 2>&1 </dev/null || true
  keep_desktop
  write_env
  rm -f "$dir/start.pid"
  exit 0
fi

# The printer's port names no path (Wine hands it to a shell unquoted, through a file read
# in the ANSI code page): the programs of the environment find the port's script and its
# folder in these.
export VELMORA_PRINT_DIR="$dir/print"
export VELMORA_PRINT_PORT="$here/print-to-pdf.sh"

faces=$dir/faces
rm -rf "$faces"
mkdir -p "$faces" "$dir/faces-cache"
for f in "$faces_of_setup"/DejaVu*.ttf; do
  [ -e "$f" ] && ln -s "$f" "$faces/"
done
if [ ! -e "$faces/DejaVuSans.ttf" ] || [ ! -e "$faces/DejaVuSansMono-Oblique.ttf" ]; then
  echo "wine-env: the DejaVu faces are missing from $faces_of_setup: run scripts/setup.sh as root" >&2
  exit 1
fi
if [ ! -e "$symbol_face" ]; then
  echo "wine-env: Wine's Marlett face is missing ($symbol_face): run scripts/setup.sh as root" >&2
  exit 1
fi
ln -s "$symbol_face" "$faces/"
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' <<<"$1"; }
cat >"$dir/fonts.conf" <<CONF
<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "urn:fontconfig:fonts.dtd">
<fontconfig>
  <dir>$(xml "$faces")</dir>
  <cachedir>$(xml "$dir/faces-cache")</cachedir>
  <alias binding="same"><family>sans-serif</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>sans</family><prefer><family>DejaVu Sans</family></prefer></alias>
  <alias binding="same"><family>serif</family><prefer><family>DejaVu Serif</family></prefer></alias>
  <alias binding="same"><family>monospace</family><prefer><family>DejaVu Sans Mono</family></prefer></alias>
  <!-- Wine takes its text smoothing from here: grey anti-aliasing, as Debian's own
       configuration gives, whatever the machine's setting. -->
  <match target="pattern">
    <edit name="antialias" mode="assign"><bool>true</bool></edit>
    <edit name="rgba" mode="assign"><const>none</const></edit>
  </match>
</fontconfig>
CONF
export FONTCONFIG_FILE="$dir/fonts.conf"

start_display
mkdir -p "$dir/print"
# A prefix made before the faces were pinned lists the machine's other faces among its
# fonts, and Wine loads the listed ones again: it is made anew.
if [ "$(cat "$WINEPREFIX/.velmora-ready" 2>/dev/null)" != "$prefix_stamp" ]; then
  # The copy of the old one goes too, which would keep its 700 MB of libraries on the disk.
  rm -rf "$WINEPREFIX" "$dir/prepared"
  "$WINE" wineboot -i >"$dir/wineboot.log" 2>&1 || true
  "$WINESERVER" -w || true

  # Wine's generic PostScript description, taken from its own spooler.
  spool="$WINEPREFIX/drive_c/windows/system32/spool/drivers/x64/3"
  mkdir -p "$spool"
  python3 - "$spool/VELMORA.PPD" <<'PY'
import sys
data = open('/usr/lib/x86_64-linux-gnu/wine/x86_64-windows/winspool.drv', 'rb').read()
i = data.find(b'*PPD-Adobe')
j = data.find(b'\0', i)
open(sys.argv[1], 'wb').write(data[i:j])
PY
  port='|bash \"$VELMORA_PRINT_PORT\" \"$VELMORA_PRINT_DIR\"'
  cat >"$dir/setup.reg" <<REG
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]
"Managed"="N"
"Decorated"="N"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Environments\\Windows x64\\Drivers\\Version-3\\Velmora PDF]
"Driver"="wineps.drv"
"Configuration File"="wineps.drv"
"Data File"="VELMORA.PPD"
"Datatype"="RAW"
"Version"=dword:00000003

[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\Print\\Printers\\Velmora PDF]
"Name"="Velmora PDF"
"Port"="$port"
"Printer Driver"="Velmora PDF"
"Print Processor"="WinPrint"
"Datatype"="RAW"
"Attributes"=dword:00000000
"Priority"=dword:00000001

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]
"device"="Velmora PDF,wineps.drv,$port"
REG
  "$WINE" regedit /S "$dir/setup.reg" >"$dir/regedit.log" 2>&1
  "$WINESERVER" -w || true
  echo "$prefix_stamp" >"$WINEPREFIX/.velmora-ready"
fi
find "$WINEPREFIX/drive_c/windows/Fonts" -mindepth 1 -delete 2>/dev/null || true

# The dialog font's substitutes: Wine rewrites them whenever the machine's code page
# changes. Once the server has ended the registry is on disk, and the prefix is kept as
# prepared for the environments made from this one.
cat >"$dir/faces.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="DejaVu Sans"
"MS Shell Dlg 2"="DejaVu Sans"
REG
"$WINE" regedit /S "$dir/faces.reg" >"$dir/faces.log" 2>&1 </dev/null || true
"$WINESERVER" -w || true
copy_prefix "$WINEPREFIX" "$dir/prepared"

# One wineserver for the whole run, so each program starts in a fraction of a second.
"$WINESERVER" -p >"$dir/wineserver.log" 2>&1 </dev/null || true
# Start Wine's own services now, with their output in files, so that no test's pipe
# is inherited by a process that outlives it.
"$WINE" regedit /S "$dir/faces.reg" >"$dir/warmup.log" 2>&1 </dev/null || true
keep_desktop

write_env
rm -f "$dir/start.pid"
echo "wine-env: display :$n, prefix $WINEPREFIX"
