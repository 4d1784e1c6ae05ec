#!/usr/bin/env python3
"""Checks a PDF printed by velmora.exe against the plan it printed.

    printed_pages.py fit|scale PDF SEGMENTS CAPS [COPIES]
    printed_pages.py same PDF PNG
    printed_pages.py bytes PDF
    printed_pages.py own PS REFERENCE_PS [WORD...]
    printed_pages.py crossed PDF SEGMENTS CAPS TEXT...

The second renders the PDF's page as the kept PNG was made (pdftoppm -r 300 -aa no
-aaVector no -gray -png -singlefile) and compares them pixel for pixel. The third finds
every line of the plan of byte texts (BuildTextBytesPlan) printed, as far as it shows:
blanks and characters without a glyph left out.

The fourth renders each page of the PostScript job PS and of the job REFERENCE_PS, which
drew the whole plan on every page and sent each line when drawn, with Ghostscript (the
printer's own language, before any conversion: 300 dpi, no anti-aliasing) and compares
them pixel for pixel; with WORDs, page n of PS must show the n-th WORD alone and fill one
area. The fifth checks the two lines of BuildCrossedLabelsPlan fitted: without its texts,
the page is white on the first line under the second's label and black on the second line
across the first's; each TEXT is on the page.

SEGMENTS lists the plan's drawn lines ("x1 z1 x2 z2", after a "# choice C units U"
header) and its wall segments ("wall x1 z1 x2 z2 half start end": the centre line, half
the thickness and how far the band runs on past each end); for a plan with automatic
dimensions and symbols also where dimensions may print ("near x1 z1 x2 z2 reach"), the
texts the page must carry ("text ..."), the lines of symbols ("symbol x1 z1 x2 z2",
which do not count in the plan's extents) and dotted ones ("dotted x1 z1 x2 z2": black
at least along much of them) and cuts through walls that must print white ("cut left top
right bottom"); CAPS the printer's device caps ("NAME value"). The expected pages follow the print arithmetic: fit to page scales
the plan, grown by 72 on every side, to the printable page and centres it; to scale uses
k of the print-scale table and prints the grid of pages row by row. Each page is
rendered at the printer's resolution without anti-aliasing (so a device unit is a pixel
and hairlines show); every drawn line must be black where the arithmetic puts it, every
wall a black band with its edges where its centre line and thickness put them (but
white in its cuts, away from the lines drawn there), every expected text on the page,
and nothing may be black anywhere else than on these or within reach of a "near"
segment, nor outside the printable area; the pages of a to-scale grid laid side by side
show each line once.
"""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile
import zlib

MARGIN = 72.0
K_TABLE = {8: (0.375, 0.36), 9: (0.75, 0.72), 10: (1.0, 1.8), 11: (1.5, 3.6)}
METRIC = 4
NEAR = 2          # pixels: a drawn line may be this far from its computed place
STRAY = 3         # pixels: black further than this from every line is a stray mark
HYPHENS = {c: '-' for c in (0x00AD, 0x2010, 0x2011, 0x2212)}  # read back as "-"


def trunc_round(v):
    """+0.5, truncated toward zero: the rounding of the output routines."""
    return int(v + 0.5) if v + 0.5 >= 0 else -int(-(v + 0.5))


def read_caps(path):
    caps = {}
    for line in open(path):
        name, value = line.split()
        caps[name] = int(value)
    return caps


def wall_corners(wall):
    """The four plan corners of a wall segment's band, in order around it."""
    x1, z1, x2, z2, half, start, end = wall
    length = math.hypot(x2 - x1, z2 - z1)
    if length == 0:
        return None
    dx, dz = (x2 - x1) / length, (z2 - z1) / length
    nx, nz = -dz * half, dx * half
    ax, az = x1 - dx * start, z1 - dz * start
    bx, bz = x2 + dx * end, z2 + dz * end
    return [(ax + nx, az + nz), (bx + nx, bz + nz), (bx - nx, bz - nz), (ax - nx, az - nz)]


def read_segments(path):
    """The drawn lines, the walls as bands (their four corners), the zones where
    dimensions may print and the expected texts."""
    choice, units, segments, walls, zones, texts = 0, 0, [], [], [], []
    dotted, cuts, symbols = [], [], []
    for line in open(path, encoding='latin-1'):
        if line.startswith('#'):
            m = re.search(r'choice (\d+) units (\d+)', line)
            if m:
                choice, units = int(m.group(1)), int(m.group(2))
            continue
        if line.startswith('text '):
            texts.append(line[5:].rstrip('\n'))
            continue
        fields = line.split()
        if fields and fields[0] == 'wall':
            corners = wall_corners(tuple(float(v) for v in fields[1:8]))
            if corners:
                walls.append(corners)
        elif fields and fields[0] == 'near':
            zones.append(tuple(float(v) for v in fields[1:6]))
        elif fields and fields[0] == 'dotted':
            dotted.append(tuple(float(v) for v in fields[1:5]))
        elif fields and fields[0] == 'cut':
            cuts.append(tuple(float(v) for v in fields[1:5]))
        elif fields and fields[0] == 'symbol':
            symbols.append(tuple(float(v) for v in fields[1:5]))
        elif fields:
            segments.append(tuple(float(v) for v in fields))
    return choice, units, segments, walls, zones, texts, dotted, cuts, symbols


def grown_extents(segments, walls=()):
    points = [(s[0], s[1]) for s in segments] + [(s[2], s[3]) for s in segments]
    points += [p for corners in walls for p in corners]
    if points:
        left = min(p[0] for p in points)
        right = max(p[0] for p in points)
        top = min(p[1] for p in points)
        bottom = max(p[1] for p in points)
    else:
        top = left = -2400.0
        bottom = right = 2400.0
    return top - MARGIN, left - MARGIN, bottom + MARGIN, right + MARGIN


def read_png(path):
    """Rows of an 8-bit PNG as bytes (filters undone), and the bytes per pixel."""
    data = open(path, 'rb').read()
    pos, idat = 8, []
    while pos < len(data):
        n, = struct.unpack('>I', data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            if depth != 8:
                raise SystemExit('unexpected PNG bit depth %d' % depth)
        elif kind == b'IDAT':
            idat.append(body)
    raw = zlib.decompress(b''.join(idat))
    bpp = {0: 1, 2: 3, 4: 2, 6: 4}[colour]
    stride = width * bpp
    rows, prev = [], bytearray(stride)
    nonzero = re.compile(rb'[^\x00]')
    for y in range(height):
        start = y * (stride + 1)
        kind, line = raw[start], raw[start + 1:start + 1 + stride]
        if kind == 0:
            cur = bytearray(line)
        elif kind == 2:
            # Up: only the bytes that differ from the row above need adding.
            cur = bytearray(prev)
            for m in nonzero.finditer(line):
                i = m.start()
                cur[i] = (cur[i] + line[i]) & 255
        else:
            cur = bytearray(line)
            for i in range(stride):
                a = cur[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                if kind == 1:
                    cur[i] = (cur[i] + a) & 255
                elif kind == 3:
                    cur[i] = (cur[i] + ((a + b) >> 1)) & 255
                else:
                    p = a + b - c
                    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                    cur[i] = (cur[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(cur))
        prev = cur
    return width, height, bpp, rows


def dark_pixels(path):
    width, height, bpp, rows = read_png(path)
    dark = set()
    pattern = re.compile(rb'[\x00-\x7f]')
    for y, row in enumerate(rows):
        for m in pattern.finditer(row):
            if m.start() % bpp == 0:
                dark.add((m.start() // bpp, y))
    return width, height, dark


def distance(px, py, line):
    x1, y1, x2, y2 = line
    dx, dy = x2 - x1, y2 - y1
    length2 = dx * dx + dy * dy
    t = ((px - x1) * dx + (py - y1) * dy) / length2 if length2 else 0.0
    t = max(0.0, min(1.0, t))
    return math.hypot(x1 + t * dx - px, y1 + t * dy - py)


def inside_band(px, py, corners, grow):
    """Whether the pixel lies in the band (a convex quadrilateral), grown by grow pixels."""
    sign = 0
    for i in range(4):
        ax, ay = corners[i]
        bx, by = corners[(i + 1) % 4]
        length = math.hypot(bx - ax, by - ay)
        if length == 0:
            continue
        side = ((bx - ax) * (py - ay) - (by - ay) * (px - ax)) / length
        if sign == 0:
            # The winding of the quadrilateral decides which side is inside.
            cx = sum(c[0] for c in corners) / 4.0
            cy = sum(c[1] for c in corners) / 4.0
            sign = 1 if (bx - ax) * (cy - ay) - (by - ay) * (cx - ax) > 0 else -1
        if side * sign < -grow:
            return False
    return True


def inside_rect(px, py, rect, grow):
    left, top, right, bottom = rect
    return left - grow <= px <= right + grow and top - grow <= py <= bottom + grow


def check_page(index, png, lines, caps, errors, bands=(), zones=(), dotted=(), cuts=()):
    """lines: the expected segments in device units of this page; bands: the walls'
    corners in device units, each filled black with its four edges; zones: segments
    (x1, y1, x2, y2, reach) in device units near which black is allowed; dotted: lines
    black along much of their length; cuts: rectangles (left, top, right, bottom) in
    device units, white inside away from the lines."""
    width, height, dark = dark_pixels(png)
    ox, oy = caps['PHYSICALOFFSETX'], caps['PHYSICALOFFSETY']
    horz, vert = caps['HORZRES'], caps['VERTRES']
    # The renderer may paint the pixels an edge of the printable area runs along.
    outside = sum(1 for px, py in dark if not (ox - 1 <= px <= ox + horz and oy - 1 <= py <= oy + vert))
    if outside:
        errors.append('page %d: %d black pixels outside the printable area' % (index + 1, outside))
    band_pixels = [[(x + ox, y + oy) for x, y in corners] for corners in bands]
    cut_pixels = [(l + ox, t + oy, r + ox, b + oy) for l, t, r, b in cuts]
    lines = list(lines)
    drawn = len(lines)
    for corners in bands:
        lines += [corners[i] + corners[(i + 1) % 4] for i in range(4)]
    pixel_lines = [(x1 + ox, y1 + oy, x2 + ox, y2 + oy) for x1, y1, x2, y2 in lines]
    dotted_pixels = [(x1 + ox, y1 + oy, x2 + ox, y2 + oy) for x1, y1, x2, y2 in dotted]
    symbol_lines = pixel_lines + dotted_pixels
    missing, covered, holes = 0, 0, 0
    # Each dotted line shows black near most of its length.
    for dl in dotted_pixels:
        near = sum(1 for step in range(1, 50)
                   if any((int(round(dl[0] + step / 50.0 * (dl[2] - dl[0]))) + i,
                           int(round(dl[1] + step / 50.0 * (dl[3] - dl[1]))) + j) in dark
                          for i in range(-NEAR, NEAR + 1) for j in range(-NEAR, NEAR + 1)))
        if near < 30:
            errors.append('page %d: the dotted line %s shows at %d of 49 points' % (index + 1, dl, near))
    # Inside each cut, away from its edges and its lines, the page is white.
    for cut in cut_pixels:
        left, top, right, bottom = cut
        black = 0
        for i in range(1, 40):
            for j in range(1, 16):
                px = int(round(left + i / 40.0 * (right - left)))
                py = int(round(top + j / 16.0 * (bottom - top)))
                if not inside_rect(px, py, cut, -(NEAR + 1)):
                    continue
                if any(distance(px, py, sl) <= NEAR + 1 for sl in symbol_lines):
                    continue
                if (px, py) in dark:
                    black += 1
                    if black <= 5:
                        errors.append('page %d: black at (%d, %d) in the cut %s' % (index + 1, px, py, cut))
    # Inside every band, away from its edges and its cuts, the page is black.
    for corners in band_pixels:
        (ax, ay), (bx, by), _, (dx, dy) = corners
        for i in range(1, 20):
            for j in range(1, 8):
                u, v = i / 20.0, j / 8.0
                px = int(round(ax + u * (bx - ax) + v * (dx - ax)))
                py = int(round(ay + u * (by - ay) + v * (dy - ay)))
                if not inside_band(px, py, corners, -(NEAR + 1)):
                    continue
                if any(inside_rect(px, py, cut, NEAR + 1) for cut in cut_pixels):
                    continue
                if px < ox + NEAR + 1 or py < oy + NEAR + 1 or px > ox + horz - NEAR - 1 or py > oy + vert - NEAR - 1:
                    continue
                covered += 1
                if (px, py) not in dark:
                    holes += 1
                    if holes <= 5:
                        errors.append('page %d: white at (%d, %d) inside the wall %s' % (index + 1, px, py, corners))
    for number, ((x1, y1, x2, y2), pl) in enumerate(zip(lines, pixel_lines)):
        for step in range(1, 50):
            t = step / 50.0
            dx, dy = x1 + t * (x2 - x1), y1 + t * (y2 - y1)
            if dx < NEAR + 1 or dy < NEAR + 1 or dx > horz - NEAR - 1 or dy > vert - NEAR - 1:
                continue
            px, py = int(round(dx + ox)), int(round(dy + oy))
            # A wall's edge is cut away where an opening is.
            if number >= drawn and any(inside_rect(px, py, cut, NEAR + 1) for cut in cut_pixels):
                continue
            covered += 1
            if not any((px + i, py + j) in dark for i in range(-NEAR, NEAR + 1) for j in range(-NEAR, NEAR + 1)):
                missing += 1
                if missing <= 5:
                    errors.append('page %d: nothing black near (%d, %d) on the line %s' % (index + 1, px, py, pl))
    stray = 0
    zone_pixels = [((x1 + ox, y1 + oy, x2 + ox, y2 + oy), reach) for x1, y1, x2, y2, reach in zones]
    for (px, py) in dark:
        if any(distance(px, py, dl) <= STRAY for dl in dotted_pixels):
            continue
        in_cut = any(inside_rect(px, py, cut, -(NEAR + 1)) for cut in cut_pixels)
        if not in_cut and any(inside_band(px, py, corners, STRAY) for corners in band_pixels):
            continue
        if any(distance(px, py, zl) <= reach for zl, reach in zone_pixels):
            continue
        if not any(distance(px, py, pl) <= STRAY for pl in pixel_lines):
            stray += 1
            if stray <= 5:
                errors.append('page %d: stray black pixel at (%d, %d)' % (index + 1, px, py))
    print('page %d: %dx%d pixels, %d black, %d points checked, %d missing, %d white in walls, %d stray'
          % (index + 1, width, height, len(dark), covered, missing, holes, stray))
    return covered, dark


def check_seen_once(segments, scale, pages, darks, caps, errors):
    """Pages laid side by side at their printable edges: each point of each line, away
    from the joins, is black on exactly one page."""
    ox, oy, horz, vert = (caps[n] for n in ('PHYSICALOFFSETX', 'PHYSICALOFFSETY', 'HORZRES', 'VERTRES'))
    around = [(i, j) for i in range(-NEAR, NEAR + 1) for j in range(-NEAR, NEAR + 1)]
    for x1, z1, x2, z2 in segments:
        for t in (step / 50.0 for step in range(1, 50)):
            gx, gy = (x1 + t * (x2 - x1)) * scale[0], (z1 + t * (z2 - z1)) * scale[1]
            spots = [(int(round(gx - px)), int(round(gy - py))) for px, py in pages]
            x, y = spots[0]
            if min(x % horz, -x % horz, y % vert, -y % vert) <= NEAR + 1:
                continue
            seen = sum(any((x + ox + i, y + oy + j) in dark for i, j in around) for (x, y), dark in zip(spots, darks))
            if seen != 1:
                errors.append('the point (%d, %d) of the line %s is black on %d pages' % (gx, gy, (x1, z1, x2, z2), seen))


def fit_page(caps, extents):
    """The scale and the device origin of the page fitted to the grown extents."""
    top, left, bottom, right = extents
    horz, vert = caps['HORZRES'], caps['VERTRES']
    scale = min(horz / (right - left), vert / (bottom - top))
    centre_x, centre_y = (left + (right - left) / 2) * scale, (top + (bottom - top) / 2) * scale
    return scale, (-trunc_round(horz // 2 - centre_x), -trunc_round(vert // 2 - centre_y))


def crossed(pdf, segments_path, caps_path, texts):
    caps, (first, second) = read_caps(caps_path), read_segments(segments_path)[2]
    scale, (ox, oy) = fit_page(caps, grown_extents([first, second]))
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(['gs', '-q', '-dSAFER', '-dBATCH', '-dNOPAUSE', '-dFILTERTEXT', '-sDEVICE=pnggray', '-r300',
                        '-dGraphicsAlphaBits=1', '-sOutputFile=' + tmp + '/p.png', pdf], check=True)
        rows = read_png(tmp + '/p.png')[3]

    def black(line, d):   # near the point d units along the other line from the line's label
        (x1, z1, x2, z2), (a1, b1, a2, b2) = line, first if line == second else second
        n, m = math.hypot(x2 - x1, z2 - z1), math.hypot(a2 - a1, b2 - b1)
        x = trunc_round(((x1 + x2) / 2 + 15 * (z2 - z1) / n + d * (a2 - a1) / m) * scale) - ox + caps['PHYSICALOFFSETX']
        y = trunc_round(((z1 + z2) / 2 - 15 * (x2 - x1) / n + d * (b2 - b1) / m) * scale) - oy + caps['PHYSICALOFFSETY']
        return any(rows[y + j][x + i] < 128 for i in range(-NEAR, NEAR + 1) for j in range(-NEAR, NEAR + 1))

    printed = subprocess.run(['pdftotext', pdf, '-'], capture_output=True, encoding='utf-8', check=True).stdout
    errors = ['the text %s is not on the page' % t for t in texts if t not in printed]
    errors += ['the first line shows under the second\'s label' for d in range(-3, 4) if black(second, d)][:1]
    errors += ['the second line breaks in the first\'s label' for d in range(-3, 4) if not black(first, d)][:1]
    for e in errors:
        print('FAIL ' + e)
    return 1 if errors else 0


def same_page(pdf, kept):
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(['pdftoppm', '-r', '300', '-aa', 'no', '-aaVector', 'no', '-gray', '-png',
                        '-singlefile', pdf, os.path.join(tmp, 'page')], check=True)
        width, height, _, rows = read_png(os.path.join(tmp, 'page.png'))
    kept_width, kept_height, _, kept_rows = read_png(kept)
    differ = [(x, y) for y in range(min(height, kept_height)) if rows[y] != kept_rows[y]
              for x in range(min(width, kept_width)) if rows[y][x] != kept_rows[y][x]]
    print('%dx%d pixels (kept %dx%d), %d differ' % (width, height, kept_width, kept_height, len(differ)))
    return 1 if differ or (width, height) != (kept_width, kept_height) else 0


def own_pages(ps, reference, words):
    errors = []
    with tempfile.TemporaryDirectory() as tmp:
        pages = {}
        for name, job in (('own', ps), ('whole', reference)):
            subprocess.run(['gs', '-q', '-dSAFER', '-dBATCH', '-dNOPAUSE', '-sDEVICE=pgmraw', '-r300',
                            '-dTextAlphaBits=1', '-dGraphicsAlphaBits=1',
                            '-sOutputFile=' + os.path.join(tmp, name + '-%03d.pgm'), job], check=True)
            pages[name] = [open(os.path.join(tmp, f), 'rb').read() for f in sorted(os.listdir(tmp))
                           if f.startswith(name)]
    if len(pages['own']) != len(pages['whole']):
        errors.append('%d pages, the whole plan on every page gives %d' % (len(pages['own']), len(pages['whole'])))
    for index, (own, whole) in enumerate(zip(pages['own'], pages['whole'])):
        print('page %d: %d pixels differ from the whole plan on the page'
              % (index + 1, sum(1 for x, y in zip(own, whole) if x != y) if own != whole else 0))
        if own != whole:
            errors.append('page %d does not print as the whole plan on it does' % (index + 1))
    # Per page: the characters its glyphs spell and the areas it fills.
    shown = []
    for line in open(ps, encoding='latin-1'):
        if line.startswith('%%Page: '):
            shown.append(['', 0])
        elif shown and line.endswith(' glyphshow\n'):
            shown[-1][0] += {'space': ' '}.get(line[1:-11], line[1:-11])
        elif shown:
            shown[-1][1] += sum(1 for word in line.split() if word in ('fill', 'eofill'))
    for index, (text, fills) in enumerate(shown if words else []):
        print('page %d: text "%s", %d filled areas' % (index + 1, text, fills))
    if words and shown != [[word, 1] for word in words]:
        errors.append('the pages do not each hold their own text and filled area alone: %s' % shown)
    for e in errors:
        print('FAIL ' + e)
    return 1 if errors else 0


def byte_texts(pdf):
    def shown(text):
        return ''.join(c for c in text if c.isprintable() and not c.isspace())
    printed = subprocess.run(['pdftotext', '-raw', '-enc', 'UTF-8', pdf, '-'], capture_output=True,
                             encoding='utf-8', check=True).stdout
    on_page = {shown(line) for line in printed.split('\n')}
    lines = [bytes([b, after]) for b in range(0x20, 0x100) for after in (0x61, 0x80 + (b + 1) % 0x80)]
    missing = [line.hex() for line in lines if shown(line.decode('cp1252', 'ignore')) not in on_page | {''}]
    print('%d lines, missing: %s' % (len(lines), ' '.join(missing) or 'none'))
    return 1 if missing else 0


def main():
    if sys.argv[1] == 'same':
        return same_page(sys.argv[2], sys.argv[3])
    if sys.argv[1] == 'bytes':
        return byte_texts(sys.argv[2])
    if sys.argv[1] == 'own':
        return own_pages(sys.argv[2], sys.argv[3], sys.argv[4:])
    if sys.argv[1] == 'crossed':
        return crossed(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:])
    mode, pdf, segments_path, caps_path = sys.argv[1:5]
    copies = int(sys.argv[5]) if len(sys.argv) > 5 else 1
    caps = read_caps(caps_path)
    choice, units, segments, walls, zones, texts, dotted, cuts, symbols = read_segments(segments_path)
    horz, vert = caps['HORZRES'], caps['VERTRES']
    dpi_x, dpi_y = caps['LOGPIXELSX'], caps['LOGPIXELSY']
    top, left, bottom, right = grown_extents(segments, walls)
    segments = segments + symbols

    pages = []     # per page: the device origin of its top-left corner
    if mode == 'fit':
        scale_x, origin = fit_page(caps, (top, left, bottom, right))
        scale_y = scale_x
        pages = [origin] * copies
    else:
        pair = K_TABLE.get(choice, (1.0, 1.0))
        k = pair[1] if units == METRIC else pair[0]
        page_w = int(horz / dpi_x * 72.0)
        page_h = int(vert / dpi_y * 72.0)
        columns = math.ceil((right - left) * k / page_w)
        rows = math.ceil((bottom - top) * k / page_h)
        scale_x, scale_y = dpi_x / 72.0 * k, dpi_y / 72.0 * k
        print('grid: k %.3f, %d columns x %d rows' % (k, columns, rows))
        for _ in range(copies):
            y = trunc_round(top * scale_y)
            for _ in range(rows):
                x = trunc_round(left * scale_x)
                for _ in range(columns):
                    pages.append((x, y))
                    x += horz
                y += vert

    info = subprocess.run(['pdfinfo', pdf], capture_output=True, text=True, check=True).stdout
    count = int(re.search(r'^Pages:\s+(\d+)', info, re.M).group(1))
    errors, darks = [], []
    if count != len(pages):
        errors.append('the PDF has %d pages, the arithmetic gives %d' % (count, len(pages)))

    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run(['pdftoppm', '-rx', str(dpi_x), '-ry', str(dpi_y), '-aa', 'no', '-aaVector', 'no',
                        '-png', pdf, os.path.join(tmp, 'page')], check=True)
        pngs = sorted((f for f in os.listdir(tmp) if f.endswith('.png')),
                      key=lambda f: int(re.search(r'(\d+)\.png$', f).group(1)))
        for index, (png, (ox, oy)) in enumerate(zip(pngs, pages)):
            lines = [(trunc_round(x1 * scale_x) - ox, trunc_round(z1 * scale_y) - oy,
                      trunc_round(x2 * scale_x) - ox, trunc_round(z2 * scale_y) - oy)
                     for x1, z1, x2, z2 in segments]
            bands = [[(trunc_round(x * scale_x) - ox, trunc_round(z * scale_y) - oy) for x, z in corners]
                     for corners in walls]
            near = [(trunc_round(x1 * scale_x) - ox, trunc_round(z1 * scale_y) - oy,
                     trunc_round(x2 * scale_x) - ox, trunc_round(z2 * scale_y) - oy, reach * scale_x)
                    for x1, z1, x2, z2, reach in zones]
            dots = [(trunc_round(x1 * scale_x) - ox, trunc_round(z1 * scale_y) - oy,
                     trunc_round(x2 * scale_x) - ox, trunc_round(z2 * scale_y) - oy)
                    for x1, z1, x2, z2 in dotted]
            holes = [(trunc_round(l * scale_x) - ox, trunc_round(t * scale_y) - oy,
                      trunc_round(r * scale_x) - ox, trunc_round(b * scale_y) - oy)
                     for l, t, r, b in cuts]
            covered, dark = check_page(index, os.path.join(tmp, png), lines, caps, errors, bands, near,
                                       dots, holes)
            darks.append(dark)
            if (segments or walls) and mode == 'fit' and covered == 0:
                errors.append('page %d shows none of the plan' % (index + 1))
        if mode == 'scale':
            grid = len(pages) // copies
            check_seen_once(segments, (scale_x, scale_y), pages[:grid], darks[:grid], caps, errors)
    if texts:
        printed = subprocess.run(['pdftotext', '-raw', '-enc', 'UTF-8', pdf, '-'], capture_output=True,
                                 encoding='utf-8', check=True).stdout
        print('texts on the page: ' + ' | '.join(printed.split('\n')))
        # Turned texts come out word by word: compare without blanks. A face may map its
        # hyphen glyph back to another hyphen form (the soft hyphen, say): a hyphen it is.
        squeezed = re.sub(r'\s+', '', printed.translate(HYPHENS))
        for text in texts:
            if re.sub(r'\s+', '', text) not in squeezed:
                errors.append('the text %s is not on the page' % text)
    for e in errors:
        print('FAIL ' + e)
    return 1 if errors else 0


if __name__ == '__main__':
    sys.exit(main())
