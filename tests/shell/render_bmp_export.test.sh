#!/usr/bin/env bash
# velmora-test: timeout 120
# The render saved as BMP, read back by a reader of its own (Python): headers, row
# padding and order, and every pixel equal to the pixels the render left in the window.
set -u
. "$(dirname "$0")/../support/waits.sh"
WINE=/usr/lib/wine/wine64
here=$(cd "$(dirname "$0")" && pwd)
work=$(pwd)
timeout "$(scaled 90)" "$WINE" "$VELMORA_BINARY_DIR/tests/render_bmp_writer.exe" "Z:${work//\//\\}" \
  >"$work/write.log" 2>&1 </dev/null || { cat "$work/write.log"; exit 1; }
python3 "$here/read_render_bmp.py" "$work/render.bmp" "$work/render.rgb" 101 50
