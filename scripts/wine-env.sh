#!/usr/bin/env bash
# Starts (or stops) the private test environment: Xvfb, a Wine prefix with a PDF
# printer, and one wineserver kept alive for the whole run.
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

stop_env() {
  if [ -f "$dir/env.sh" ]; then
    WINEPREFIX="$dir/prefix" "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  if [ -f "$dir/xvfb.pid" ]; then
    kill "$(cat "$dir/xvfb.pid")" >/dev/null 2>&1 || true
    rm -f "$dir/xvfb.pid"
  fi
  rm -f "$dir/env.sh"
}

if [ "$cmd" = stop ]; then
  stop_env
  exit 0
fi

stop_env

# A free display number: no lock file and no socket.
n=90
while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp >"$dir/xvfb.log" 2>&1 &
echo $! >"$dir/xvfb.pid"
export DISPLAY=:$n
for _ in $(seq 1 100); do
  [ -e /tmp/.X11-unix/X$n ] && break
  sleep 0.1
done

mkdir -p "$dir/print"
if [ ! -f "$WINEPREFIX/.velmora-ready" ]; then
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
  touch "$WINEPREFIX/.velmora-ready"
fi

# One wineserver for the whole run, so each program starts in a fraction of a second.
"$WINESERVER" -p >"$dir/wineserver.log" 2>&1 </dev/null || true
# Start Wine's own services now, with their output in files, so that no test's pipe
# is inherited by a process that outlives it.
DISPLAY=:$n "$WINE" cmd /c exit >"$dir/warmup.log" 2>&1 </dev/null || true

cat >"$dir/env.sh" <<ENV
export WINEPREFIX="$WINEPREFIX"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
export DISPLAY=:$n
export VELMORA_PRINT_DIR="$dir/print"
ENV
echo "wine-env: display :$n, prefix $WINEPREFIX"
