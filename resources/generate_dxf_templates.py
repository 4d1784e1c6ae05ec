#!/usr/bin/env python3
"""Writes the DXF export's templates: dxf_header.dxf (resource HDRS) and dxf_trailer.dxf
(resource TLRS). Group codes are right-aligned in four characters, lines end in CR LF."""
import os

here = os.path.dirname(os.path.abspath(__file__))

def pairs_to_text(pairs):
    return ''.join('%4d\r\n%s\r\n' % (code, value) for code, value in pairs)

def header():
    p = [(0, 'SECTION'), (2, 'HEADER')]
    def var(name, *values):
        p.append((9, name))
        p.extend(values)
    var('$LUNITS', (70, '2'))
    var('$LUPREC', (70, '2'))
    var('$AUNITS', (70, '0'))
    var('$AUPREC', (70, '2'))
    var('$ANGBASE', (50, '0'))
    var('$ANGDIR', (70, '0'))
    var('$EXTMIN', (10, '3.5705279050042'), (20, '2.5791448685327'), (30, '0'))
    var('$EXTMAX', (10, '3.5705279050042'), (20, '9.7931326547922'), (30, '0'))
    var('$LIMMIN', (10, '0'), (20, '0'))
    var('$LIMMAX', (10, '8.5066666666667'), (20, '11.006666666667'))
    var('$ATTMODE', (70, '0'))
    var('$CHAMFERA', (40, '0.25'))
    var('$CHAMFERB', (40, '0.25'))
    var('$FILLETRAD', (40, '0.5'))
    var('$GRIDUNIT', (10, '0.25'), (20, '0.25'))
    var('$ORTHOMODE', (70, '0'))
    var('$OSMODE', (70, '0'))
    var('$SNAPUNIT', (10, '0.25'), (20, '0.25'))
    var('$SNAPBASE', (10, '0'), (20, '0'))
    var('$TEXTSIZE', (40, '0.25'))
    var('$UCSORG', (10, '0'), (20, '0'), (30, '0'))
    p += [(0, 'ENDSEC')]
    # Line types: name, description, dash pattern (positive dash, negative gap, 0 dot).
    base = [('HIDDEN', [0.25, -0.125]), ('DASHED', [0.5, -0.25]), ('CENTER', [1.25, -0.25, 0.25, -0.25]),
            ('PHANTOM', [1.25, -0.25, 0.25, -0.25, 0.25, -0.25]), ('DOT', [0.0, -0.25]),
            ('DASHDOT', [0.5, -0.25, 0.0, -0.25]), ('DIVIDE', [0.5, -0.25, 0.0, -0.25, 0.0, -0.25]),
            ('BORDER', [0.5, -0.25, 0.5, -0.25, 0.0, -0.25])]
    types = [('CONTINUOUS', 'Solid line', [])]
    for name, pattern in base:
        types.append((name, name.capitalize(), pattern))
        types.append((name + '2', name.capitalize() + ' (.5x)', [v / 2 for v in pattern]))
        types.append((name + 'X2', name.capitalize() + ' (2x)', [v * 2 for v in pattern]))
    types.append(('DOTS', 'Dots', [0.0, -0.1]))
    for i in range(2, 16):
        types.append(('ACAD_ISO%02dW100' % i, 'ISO line type %02d' % i, [1.2, -0.3]))
    types = types[:40]
    assert len(types) == 40, len(types)
    p += [(0, 'SECTION'), (2, 'TABLES'), (0, 'TABLE'), (2, 'LTYPE'), (70, str(len(types)))]
    for name, description, pattern in types:
        p += [(0, 'LTYPE'), (2, name), (70, '0'), (3, description), (72, '65'), (73, str(len(pattern))),
              (40, '%g' % sum(abs(v) for v in pattern))]
        p += [(49, '%g' % v) for v in pattern]
    p += [(0, 'ENDTAB'), (0, 'TABLE'), (2, 'STYLE'), (70, '4')]
    for name, font in (('STANDARD', 'txt'), ('ITALIC', 'italic'), ('SIMPLEX', 'simplex'), ('COMPLEX', 'complex')):
        p += [(0, 'STYLE'), (2, name), (70, '0'), (40, '0'), (41, '1'), (50, '0'), (71, '0'), (42, '0.2'),
              (3, font), (4, '')]
    p += [(0, 'ENDTAB'), (0, 'ENDSEC'), (0, 'SECTION'), (2, 'BLOCKS'), (0, 'ENDSEC'),
          (0, 'SECTION'), (2, 'ENTITIES')]
    return pairs_to_text(p)

with open(os.path.join(here, 'dxf_header.dxf'), 'wb') as f:
    f.write(header().encode('ascii'))
with open(os.path.join(here, 'dxf_trailer.dxf'), 'wb') as f:
    f.write(b'0\r\nENDSEC\r\n0\r\nEOF\r\n')
