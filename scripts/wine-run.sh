#!/usr/bin/env bash
# Runs a Windows program under the test environment's Wine (CTest's emulator).
if [ -z "${WINEPREFIX:-}" ] && [ -n "${VELMORA_WINE_ENV:-}" ] && [ -f "$VELMORA_WINE_ENV" ]; then
  . "$VELMORA_WINE_ENV"
fi
exec /usr/lib/wine/wine64 "$@"
