#!/usr/bin/env bash
# Installs what the build and the tests need, only where it is missing.
# Safe to run again: it does nothing when everything is there.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
# The faces are part of the set-up: the test environment (wine-env.sh) shows Wine these
# and no others, so every machine prints and lays out dialogs alike.
faces="fonts-dejavu-core fonts-dejavu-extra fonts-wine"
for p in g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev \
         wine64 xvfb xauth cmake make googletest ghostscript poppler-utils xdotool \
         python3 python3-ezdxf python3-fusepy imagemagick $faces; do
  have_pkg "$p" || need+=("$p")
done

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: missing packages (${need[*]}); run as root to install them" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# The posix thread model is the one the build expects.
if command -v update-alternatives >/dev/null; then
  for t in gcc g++; do
    alt=/usr/bin/x86_64-w64-mingw32-$t-posix
    [ -x "$alt" ] && update-alternatives --set x86_64-w64-mingw32-$t "$alt" >/dev/null 2>&1 || true
  done
fi
echo "setup: ready"
