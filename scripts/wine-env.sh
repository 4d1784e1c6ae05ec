#!/usr/bin/env bash
# Starts (or stops) the private test environment: Xvfb, a Wine prefix with a PDF
# printer and the faces of the set-up only, and one wineserver kept alive for the
# whole run.
#   wine-env.sh start DIR   -> writes DIR/env.sh to be sourced
#   wine-env.sh stop DIR
# Every process's output goes to files in DIR: a persistent Wine process must never
# hold a pipe that someone waits on.
set -euo pipefail
cmd=${1:?start or stop}
dir=$(mkdir -p "${2:?directory}" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

export WINEPREFIX="$dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

# The faces: every program of the environment sees those of the set-up only, whatever
# fonts the machine has, so a printed page or a dialog's size is the same everywhere.
# Wine finds faces in three places:
# - through fontconfig: the environment's own configuration lists only the DejaVu files
#   (fonts-dejavu-core and -extra) and makes them the generic families Wine falls back on;
# - in its data folder: fonts-wine's faces, installed by setup.sh with the others, since
#   Wine 8 takes that folder from its own location and cannot be told to skip it;
# - in the prefix's Fonts folder, kept empty.
# A name is looked up before its substitute, so substitutes pin only names no face
# carries: the dialog font keeps DejaVu Sans rather than fonts-wine's Tahoma.
faces_of_setup=/usr/share/fonts/truetype/dejavu
prefix_stamp="velmora prefix 2: PDF printer, faces of the set-up"

stop_env() {
  if [ -f "$dir/env.sh" ]; then
    WINEPREFIX="$dir/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  # The display's server only: the number may since have gone to another process.
  if [ -f "$dir/xvfb.pid" ]; then
    local pid
    pid=$(cat "$dir/xvfb.pid")
    [ "$(cat "/proc/$pid/comm" 2>/dev/null)" != Xvfb ] || kill "$pid" >/dev/null 2>&1 || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/env.sh"
}

if [ "$cmd" = stop ]; then
  stop_env
  exit 0
fi

stop_env

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

# The display: Xvfb takes the first number no server listens on and writes it once it
# listens, so two environments started at once never take one display, nor another's.
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

mkdir -p "$dir/print"
# A prefix made before the faces were pinned lists the machine's other faces among its
# fonts, and Wine loads the listed ones again: it is made anew.
if [ "$(cat "$WINEPREFIX/.velmora-ready" 2>/dev/null)" != "$prefix_stamp" ]; then
  rm -rf "$WINEPREFIX"
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
  port="|$here/print-to-pdf.sh $dir/print"
  portreg=${port//\\/\\\\}
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
"Port"="$portreg"
"Printer Driver"="Velmora PDF"
"Print Processor"="WinPrint"
"Datatype"="RAW"
"Attributes"=dword:00000000
"Priority"=dword:00000001

[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows]
"device"="Velmora PDF,wineps.drv,$portreg"
REG
  "$WINE" regedit /S "$dir/setup.reg" >"$dir/regedit.log" 2>&1
  "$WINESERVER" -w || true
  echo "$prefix_stamp" >"$WINEPREFIX/.velmora-ready"
fi
find "$WINEPREFIX/drive_c/windows/Fonts" -mindepth 1 -delete 2>/dev/null || true

# One wineserver for the whole run, so each program starts in a fraction of a second.
"$WINESERVER" -p >"$dir/wineserver.log" 2>&1 </dev/null || true
# Start Wine's own services now, with their output in files, so that no test's pipe
# is inherited by a process that outlives it. The same first program sets the dialog
# font's substitutes: Wine rewrites them whenever the machine's code page changes.
cat >"$dir/faces.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes]
"MS Shell Dlg"="DejaVu Sans"
"MS Shell Dlg 2"="DejaVu Sans"
REG
DISPLAY=:$n "$WINE" regedit /S "$dir/faces.reg" >"$dir/warmup.log" 2>&1 </dev/null || true

cat >"$dir/env.sh" <<ENV
export WINEPREFIX="$WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export DISPLAY=:$n
export VELMORA_PRINT_DIR="$dir/print"
export FONTCONFIG_FILE="$FONTCONFIG_FILE"
ENV
echo "wine-env: display :$n, prefix $WINEPREFIX"
