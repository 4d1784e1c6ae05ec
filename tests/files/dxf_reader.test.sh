#!/usr/bin/env bash
# The DXF drawings of the export, read back with a real DXF reader (ezdxf): the header,
# its 40 line types, one LINE per segment on layer 1, colour 7, CONTINUOUS, with its ends.
set -u
. "$(dirname "$0")/../shell/print_road_lib.sh"
work=$(pwd)
timeout "$(scaled 60)" "$WINE" "$VELMORA_BINARY_DIR/tests/dxf_sample_writer.exe" "$(winpath "$work")" \
  >"$work/samples.log" 2>&1 </dev/null || { cat "$work/samples.log"; exit 1; }
/usr/bin/python3 - "$work" <<'PY'
import sys, ezdxf
work = sys.argv[1]
failed = []
def check(name, want):
    doc = ezdxf.readfile(f"{work}/{name}")
    if len(doc.linetypes) < 40:
        failed.append(f"{name}: {len(doc.linetypes)} line types")
    if doc.header.get('$LUNITS') != 2:
        failed.append(f"{name}: $LUNITS {doc.header.get('$LUNITS')}")
    lines = [e for e in doc.modelspace() if e.dxftype() == 'LINE']
    got = [(tuple(round(v, 4) for v in e.dxf.start), tuple(round(v, 4) for v in e.dxf.end)) for e in lines]
    if got != want:
        failed.append(f"{name}: lines {got}")
    for e in lines:
        if (e.dxf.layer, e.dxf.color, e.dxf.linetype) != ('1', 7, 'CONTINUOUS'):
            failed.append(f"{name}: {e.dxf.layer} {e.dxf.color} {e.dxf.linetype}")
flat = [((10, -20, 0), (30.5, -40, 0)), ((0, 0, 0), (50, 0, 0)), ((50, 0, 0), (50, -25, 0))]
check("lines.dxf", flat)
# In 3D the height 12 above the datum is the depth of the top view.
check("lines3d.dxf", [((10, -20, 0), (30.5, -40, 0)), ((0, 0, 12), (50, 0, 12)), ((50, 0, 12), (50, -25, 12))])
check("empty.dxf", [])
print("\n".join(failed) if failed else "dxf: all read back")
sys.exit(1 if failed else 0)
PY
