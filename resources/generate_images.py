#!/usr/bin/env python3
"""Draws the program's icon, cursors and bitmaps and writes them into resources/images/.

Standard library only, so anyone can redraw the pictures; the written files are kept in
the repository and the build never runs this script. Run it from anywhere:
    python3 resources/generate_images.py
The output is deterministic: running it twice gives the same bytes.
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "images")

# ---------------------------------------------------------------------------------------
# A tiny raster canvas: a grid of values (None = transparent, else a colour key).


class Canvas:
    def __init__(self, width, height, fill=None):
        self.w = width
        self.h = height
        self.px = [[fill] * width for _ in range(height)]

    def get(self, x, y):
        if 0 <= x < self.w and 0 <= y < self.h:
            return self.px[y][x]
        return None

    def set(self, x, y, v):
        x = int(x)
        y = int(y)
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = v

    def line(self, x0, y0, x1, y1, v, width=1):
        x0, y0, x1, y1 = int(round(x0)), int(round(y0)), int(round(x1)), int(round(y1))
        dx = abs(x1 - x0)
        dy = -abs(y1 - y0)
        sx = 1 if x0 < x1 else -1
        sy = 1 if y0 < y1 else -1
        err = dx + dy
        while True:
            self.dot(x0, y0, v, width)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def dot(self, x, y, v, width=1):
        if width <= 1:
            self.set(x, y, v)
            return
        lo = -(width // 2)
        for oy in range(lo, lo + width):
            for ox in range(lo, lo + width):
                self.set(x + ox, y + oy, v)

    def polyline(self, pts, v, width=1, closed=False):
        seq = list(pts) + ([pts[0]] if closed else [])
        for a, b in zip(seq, seq[1:]):
            self.line(a[0], a[1], b[0], b[1], v, width)

    def rect(self, x0, y0, x1, y1, v):
        """Outline of the rectangle whose corners are (x0, y0) and (x1, y1), both included."""
        self.line(x0, y0, x1, y0, v)
        self.line(x1, y0, x1, y1, v)
        self.line(x1, y1, x0, y1, v)
        self.line(x0, y1, x0, y0, v)

    def fill_rect(self, x0, y0, x1, y1, v):
        for y in range(int(y0), int(y1) + 1):
            for x in range(int(x0), int(x1) + 1):
                self.set(x, y, v)

    def fill_ellipse(self, cx, cy, rx, ry, v):
        for y in range(self.h):
            for x in range(self.w):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.px[y][x] = v

    def ellipse(self, cx, cy, rx, ry, v, a0=0.0, a1=360.0, width=1):
        """Outline (or arc, angles in degrees, 0 = right, counter-clockwise on screen)."""
        steps = int(max(rx, ry) * 8) + 16
        last = None
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            p = (int(round(cx + rx * math.cos(a))), int(round(cy - ry * math.sin(a))))
            if last is not None:
                self.line(last[0], last[1], p[0], p[1], v, width)
            last = p

    def fill_rotated_ellipse(self, cx, cy, rx, ry, degrees, v):
        a = math.radians(degrees)
        pts = []
        for i in range(36):
            t = 2 * math.pi * i / 36
            x, y = rx * math.cos(t), ry * math.sin(t)
            pts.append((cx + x * math.cos(a) + y * math.sin(a), cy - x * math.sin(a) + y * math.cos(a)))
        self.fill_polygon(pts, v)

    def fill_polygon(self, pts, v):
        """Fills the pixels whose centres lie inside the polygon (even-odd rule)."""
        n = len(pts)
        for y in range(self.h):
            yc = y + 0.5
            xs = []
            for i in range(n):
                (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % n]
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(self.w):
                    if xs[i] <= x + 0.5 < xs[i + 1]:
                        self.px[y][x] = v

    def blit(self, other, ox, oy):
        for y in range(other.h):
            for x in range(other.w):
                if other.px[y][x] is not None:
                    self.set(ox + x, oy + y, other.px[y][x])

    def transformed(self, fn):
        """A copy whose pixel (x, y) comes from fn(x, y) of this canvas."""
        c = Canvas(self.w, self.h)
        for y in range(self.h):
            for x in range(self.w):
                sx, sy = fn(x, y)
                c.px[y][x] = self.get(sx, sy)
        return c


# A 3 x 5 pixel font for the few letters the pictures carry.
GLYPHS = {
    "3": ["XXX", "..X", ".XX", "..X", "XXX"],
    "D": ["XX.", "X.X", "X.X", "X.X", "XX."],
    "A": [".X.", "X.X", "XXX", "X.X", "X.X"],
    "B": ["XX.", "X.X", "XX.", "X.X", "XX."],
    "C": [".XX", "X..", "X..", "X..", ".XX"],
    "H": ["X.X", "X.X", "XXX", "X.X", "X.X"],
    "+": ["...", ".X.", "XXX", ".X.", "..."],
    "-": ["...", "...", "XXX", "...", "..."],
    "0": ["XXX", "X.X", "X.X", "X.X", "XXX"],
    "1": [".X.", "XX.", ".X.", ".X.", "XXX"],
    "2": ["XXX", "..X", "XXX", "X..", "XXX"],
    "4": ["X.X", "X.X", "XXX", "..X", "..X"],
    "5": ["XXX", "X..", "XXX", "..X", "XXX"],
    "6": ["XXX", "X..", "XXX", "X.X", "XXX"],
    "7": ["XXX", "..X", ".X.", ".X.", ".X."],
    "8": ["XXX", "X.X", "XXX", "X.X", "XXX"],
    "9": ["XXX", "X.X", "XXX", "..X", "XXX"],
    "'": ["X..", "X..", "...", "...", "..."],
    "m": ["...", "XX.", "XXX", "X.X", "X.X"],
}


def draw_text(c, x, y, text, v):
    for ch in text:
        for gy, row in enumerate(GLYPHS[ch]):
            for gx, bit in enumerate(row):
                if bit == "X":
                    c.set(x + gx, y + gy, v)
        x += 4


# ---------------------------------------------------------------------------------------
# Cursors: 32 x 32, two colours plus transparent and inverted. K black, W white.

K, W = "K", "W"


def halo(c):
    """Adds a white edge round every black pixel so the cursor shows on any background."""
    out = Canvas(c.w, c.h)
    out.px = [row[:] for row in c.px]
    for y in range(c.h):
        for x in range(c.w):
            if c.px[y][x] is not None:
                continue
            for oy in (-1, 0, 1):
                for ox in (-1, 0, 1):
                    if c.get(x + ox, y + oy) == K:
                        out.px[y][x] = W
    return out


def silhouette(mask):
    """Black outline and white inside of the shape painted (any value) on mask."""
    c = Canvas(mask.w, mask.h)
    for y in range(mask.h):
        for x in range(mask.w):
            if mask.px[y][x] is None:
                continue
            edge = any(mask.get(x + ox, y + oy) is None
                       for ox, oy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            c.px[y][x] = K if edge else W
    return c


def cur_bytes(c, hotspot):
    """A .cur file holding one 32 x 32 monochrome image."""
    assert c.w == 32 and c.h == 32
    xor_rows, and_rows = [], []
    for y in range(31, -1, -1):  # bottom-up
        xb = ab = 0
        for x in range(32):
            v = c.px[y][x]
            bit = 1 << (31 - x)
            if v is None:
                ab |= bit
            elif v == W:
                xb |= bit
        xor_rows.append(struct.pack(">I", xb))
        and_rows.append(struct.pack(">I", ab))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = struct.pack("<BBBBBBBB", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + palette + b"".join(xor_rows) + b"".join(and_rows)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 2, 0, hotspot[0], hotspot[1], len(image), 6 + 16)
    return directory + entry + image


def crosshair(c, cx=8, cy=8, arm=8):
    c.line(cx - arm, cy, cx + arm, cy, K)
    c.line(cx, cy - arm, cx, cy + arm, K)


def tool_cursor(badge):
    """A cross for precise placing, with a small picture of the tool at its lower right."""
    c = Canvas(32, 32)
    crosshair(c)
    b = Canvas(32, 32)
    badge(b)
    c.blit(b, 0, 0)
    return halo(c), (8, 8)


def badge_wall(c):
    c.rect(15, 18, 30, 28, K)
    c.line(15, 23, 30, 23, K)
    for x in (19, 23, 27):
        c.line(x, 18, x, 23, K)
    for x in (17, 21, 25, 29):
        c.line(x, 23, x, 28, K)


def badge_door(c):
    c.line(16, 29, 30, 29, K)            # the wall opening
    c.line(17, 29, 17, 16, K)            # the open leaf
    c.ellipse(17, 29, 12, 13, K, 0, 90)  # its swing


def badge_window(c):
    c.rect(16, 16, 30, 29, K)
    c.line(23, 16, 23, 29, K)
    c.line(16, 22, 30, 22, K)


def badge_roof(c):
    c.polyline([(14, 28), (22, 17), (30, 28)], K, closed=True)
    c.line(22, 17, 22, 28, K)


def badge_floor(c):
    c.rect(15, 17, 30, 29, K)
    for x in (20, 25):
        c.line(x, 17, x, 29, K)
    for y in (21, 25):
        c.line(15, y, 30, y, K)


def badge_path(c):
    for cx, cy in ((17, 28), (22, 23), (27, 18)):
        c.fill_ellipse(cx, cy, 2.6, 2.0, K)


def badge_fill(c):
    c.rect(15, 17, 30, 29, K)
    for k in range(0, 28, 4):
        for i in range(0, 13):
            x, y = 15 + k - i, 17 + i
            if 15 < x < 30 and 17 < y < 29:
                c.set(x, y, K)


def badge_edging(c):
    for x0 in (14, 20, 26):
        c.ellipse(x0 + 2.5, 27, 2.5, 4, K, 0, 180)
    c.line(14, 27, 31, 27, K)


def badge_fence(c):
    for x in (16, 21, 26, 30):
        c.line(x, 19, x, 30, K)
        c.set(x, 18, K)
    c.line(15, 22, 31, 22, K)
    c.line(15, 27, 31, 27, K)


def badge_gate(c):
    c.fill_rect(14, 16, 15, 30, K)
    c.fill_rect(29, 16, 30, 30, K)
    c.rect(17, 19, 27, 28, K)
    c.line(17, 28, 27, 19, K)


def badge_topo(c):
    c.ellipse(22, 23, 8, 6, K)
    c.ellipse(22, 23, 5, 3.5, K)
    c.set(22, 23, K)


def badge_cad(c):
    c.rect(15, 20, 25, 30, K)
    c.ellipse(25, 20, 5, 5, K)


def finger_mask(c, ox=0):
    """The pointing hand: forefinger up, tip at (ox + 11, 0)."""
    c.fill_ellipse(ox + 11.5, 3.0, 2.8, 3.0, 1)
    c.fill_rect(ox + 9, 3, ox + 14, 17, 1)
    c.fill_ellipse(ox + 16.5, 13.5, 2.6, 3.0, 1)
    c.fill_ellipse(ox + 21.0, 14.5, 2.6, 3.0, 1)
    c.fill_ellipse(ox + 25.0, 16.0, 2.4, 2.8, 1)
    c.fill_rect(ox + 9, 14, ox + 27, 25, 1)
    c.fill_rotated_ellipse(ox + 6.0, 18.0, 5.5, 3.0, 35, 1)   # the thumb
    c.fill_polygon([(ox + 9, 24), (ox + 27.5, 24), (ox + 25, 30), (ox + 12, 30)], 1)


def finger_cursor(extra=None):
    m = Canvas(32, 32)
    finger_mask(m)
    c = silhouette(m)
    for x0 in (14, 19, 23):             # gaps between the folded fingers
        c.line(x0 + 0, 15, x0 + 0, 19, K)
    c.line(12, 29, 24, 29, K)
    if extra:
        extra(c)
    return c, (11, 1)


def finger_drag_extra(c):
    b = Canvas(32, 32)
    b.fill_rect(23, 1, 30, 7, W)   # the item being dragged
    b.rect(23, 1, 30, 7, K)
    for y in range(32):
        for x in range(32):
            if b.px[y][x] is not None:
                c.px[y][x] = b.px[y][x]
    edged = halo(b)
    for y in range(32):
        for x in range(32):
            if edged.px[y][x] == W and c.px[y][x] is None:
                c.px[y][x] = W


def finger_3d_extra(c):
    b = Canvas(32, 32)
    draw_text(b, 23, 1, "3D", K)
    edged = halo(b)
    for y in range(32):
        for x in range(32):
            if edged.px[y][x] is not None and c.px[y][x] is None:
                c.px[y][x] = edged.px[y][x]
            elif b.px[y][x] is not None:
                c.px[y][x] = K


def hand_cursor():
    m = Canvas(32, 32)
    m.fill_ellipse(16, 20, 8.5, 8.5, 1)
    for cx, top in ((10.5, 7), (14.5, 4), (18.5, 4), (22.5, 7)):
        m.fill_rect(cx - 1.5, top + 2, cx + 1.5, 19, 1)
        m.fill_ellipse(cx, top + 2, 1.9, 2.2, 1)
    m.fill_polygon([(8, 22), (2, 15), (4, 13), (11, 18)], 1)
    c = silhouette(m)
    for x in (12, 16, 20):
        c.line(x + 0.5, 10, x + 0.5, 17, K)
    return c, (16, 16)


def foot_up():
    m = Canvas(32, 32)
    m.fill_ellipse(16, 18, 6.5, 9.5, 1)
    m.fill_ellipse(16.5, 28, 4.5, 3.5, 1)
    c = silhouette(m)
    toes = Canvas(32, 32)
    for cx, cy, r in ((11, 5, 1.8), (14.5, 3.5, 2.0), (18.5, 3.8, 1.9), (21.5, 5.8, 1.6), (23.5, 8.5, 1.4)):
        toes.fill_ellipse(cx, cy, r + 0.8, r + 0.8, 1)
    t = silhouette(toes)
    c.blit(t, 0, 0)
    return c


def foot_cursor(direction):
    up = foot_up()
    if direction == "up":
        return up, (16, 16)
    if direction == "left":   # turned a quarter to the left: toes point left
        return up.transformed(lambda x, y: (31 - y, x)), (16, 16)
    return up.transformed(lambda x, y: (y, 31 - x)), (16, 16)


def chopper_cursor(frame):
    m = Canvas(32, 32)
    m.fill_ellipse(12, 17, 8, 5.5, 1)               # cabin
    m.fill_rect(18, 15, 29, 17, 1)                  # tail boom
    m.fill_rect(27, 11, 29, 17, 1)                  # fin
    c = silhouette(m)
    c.fill_ellipse(8.5, 16, 3, 2.5, W)              # window
    c.ellipse(8.5, 16, 3, 2.5, K)
    c.line(12, 9, 12, 11, K)                        # rotor mast
    if frame == 1:
        c.line(1, 9, 24, 9, K)                      # blades across
    else:
        c.line(6, 8, 18, 10, K)                     # blades seen turned
    c.line(5, 25, 19, 25, K)                        # skids
    c.line(8, 22, 8, 25, K)
    c.line(16, 22, 16, 25, K)
    if frame == 1:
        c.line(28, 8, 28, 13, K)                    # tail rotor
    else:
        c.line(26, 11, 30, 11, K)
    return halo(c), (12, 17)


def eye_cursor(kind):
    c = Canvas(32, 32)
    if kind == "blink":
        # the closed lid with its lashes
        c.ellipse(16, 8, 13, 8, K, 200, 340)
        for a in (220, 245, 270, 295, 320):
            r = math.radians(a)
            x, y = 16 + 13 * math.cos(r), 8 - 8 * math.sin(r)
            c.line(x, y, x + 4 * math.cos(r), y - 4 * math.sin(r), K)
        return halo(c), (16, 16)
    m = Canvas(32, 32)
    m.fill_polygon([(2, 16)] + [(16 + 14 * math.cos(math.radians(a)), 16 - 9 * math.sin(math.radians(a)))
                                for a in range(170, 9, -10)] + [(30, 16)] +
                   [(16 + 14 * math.cos(math.radians(a)), 16 + 9 * math.sin(math.radians(a)))
                    for a in range(10, 171, 10)], 1)
    c = silhouette(m)
    shift = {"center": 0, "left": -6, "right": 6}[kind]
    c.fill_ellipse(16 + shift, 16, 5, 5, K)
    c.set(15 + shift, 14, W)
    c.set(16 + shift, 14, W)
    return c, (16, 16)


def rotate_cursor():
    c = Canvas(32, 32)
    c.ellipse(16, 16, 10, 10, K, 60, 360, width=2)
    c.fill_polygon([(19, 2), (27, 8), (18, 12)], K)
    return halo(c), (16, 16)


def nodrag_cursor():
    c = Canvas(32, 32)
    c.ellipse(16, 16, 11, 11, K, width=2)
    c.line(9, 9, 23, 23, K, width=2)
    return halo(c), (16, 16)


def camera_cursor():
    m = Canvas(32, 32)
    m.fill_rect(4, 10, 27, 25, 1)
    m.fill_rect(11, 7, 19, 10, 1)
    c = silhouette(m)
    c.ellipse(15.5, 17.5, 5, 5, K)
    c.ellipse(15.5, 17.5, 2.5, 2.5, K)
    c.fill_rect(22, 12, 25, 13, K)
    return c, (16, 16)


def zoom_cursor(sign):
    c = Canvas(32, 32)
    c.ellipse(12, 12, 8, 8, K, width=2)
    c.line(18, 18, 28, 28, K, width=3)
    if sign == "+":
        c.line(8, 12, 16, 12, K)
        c.line(12, 8, 12, 16, K)
    elif sign == "-":
        c.line(8, 12, 16, 12, K)
    return halo(c), (12, 12)


def dropper_cursor():
    m = Canvas(32, 32)
    # the glass tube from the tip (1, 30) up to the rubber bulb at the top right
    m.fill_polygon([(1, 30), (3, 25), (18, 11), (21, 14), (7, 28)], 1)
    c = silhouette(m)
    c.fill_ellipse(24.5, 7.5, 4.5, 4.5, K)
    c.line(17, 9, 23, 15, K, width=2)
    c.set(1, 30, K)
    c.set(2, 29, K)
    return halo(c), (1, 30)


def invisible_cursor():
    return Canvas(32, 32), (0, 0)


# Resource name -> (file name, drawing function returning (canvas, hotspot)).
CURSORS = [
    ("ZoomCursor", "zoom.cur", lambda: zoom_cursor(None)),
    ("ZoomCursorIn", "zoom_in.cur", lambda: zoom_cursor("+")),
    ("ZoomCursorOut", "zoom_out.cur", lambda: zoom_cursor("-")),
    ("DropperCursor", "dropper.cur", dropper_cursor),
    ("HandCursor", "hand.cur", hand_cursor),
    ("FootCursor", "foot.cur", lambda: foot_cursor("up")),
    ("FootCursorLeft", "foot_left.cur", lambda: foot_cursor("left")),
    ("FootCursorRight", "foot_right.cur", lambda: foot_cursor("right")),
    ("Chopper1", "chopper1.cur", lambda: chopper_cursor(1)),
    ("Chopper2", "chopper2.cur", lambda: chopper_cursor(2)),
    ("EyeCenterCursor", "eye_center.cur", lambda: eye_cursor("center")),
    ("EyeLeftCursor", "eye_left.cur", lambda: eye_cursor("left")),
    ("EyeRightCursor", "eye_right.cur", lambda: eye_cursor("right")),
    ("EyeBlinkCursor", "eye_blink.cur", lambda: eye_cursor("blink")),
    ("Rotate", "rotate.cur", rotate_cursor),
    ("NoDrag", "no_drag.cur", nodrag_cursor),
    ("Camera", "camera.cur", camera_cursor),
    ("Finger", "finger.cur", lambda: finger_cursor()),
    ("FingerDrag", "finger_drag.cur", lambda: finger_cursor(finger_drag_extra)),
    ("Finger3D", "finger_3d.cur", lambda: finger_cursor(finger_3d_extra)),
    ("Invisible", "invisible.cur", invisible_cursor),
    ("Wall", "wall.cur", lambda: tool_cursor(badge_wall)),
    ("Door", "door.cur", lambda: tool_cursor(badge_door)),
    ("Window", "window.cur", lambda: tool_cursor(badge_window)),
    ("Roof", "roof.cur", lambda: tool_cursor(badge_roof)),
    ("Floor", "floor.cur", lambda: tool_cursor(badge_floor)),
    ("Path", "path.cur", lambda: tool_cursor(badge_path)),
    ("Fill", "fill.cur", lambda: tool_cursor(badge_fill)),
    ("Edging", "edging.cur", lambda: tool_cursor(badge_edging)),
    ("Fence", "fence.cur", lambda: tool_cursor(badge_fence)),
    ("Gate", "gate.cur", lambda: tool_cursor(badge_gate)),
    ("Topo", "topo.cur", lambda: tool_cursor(badge_topo)),
    ("CAD", "cad.cur", lambda: tool_cursor(badge_cad)),
]

# Cursors whose hotspot must sit on a drawn pixel (tips and cross centres).
OPAQUE_HOTSPOT = {"Finger", "FingerDrag", "Finger3D", "DropperCursor", "Wall", "Door", "Window",
                  "Roof", "Floor", "Path", "Fill", "Edging", "Fence", "Gate", "Topo", "CAD"}

# ---------------------------------------------------------------------------------------
# Palette pictures (icon and bitmaps).

# The three greys that LoadImage's LR_LOADMAP3DCOLORS replaces by the system 3D colours.
PALETTE = [
    ("black", (0, 0, 0)),
    ("white", (255, 255, 255)),
    ("shadow", (128, 128, 128)),
    ("face", (192, 192, 192)),
    ("light", (223, 223, 223)),
    ("red", (178, 34, 34)),
    ("roof", (190, 70, 40)),
    ("brown", (120, 72, 30)),
    ("wood", (205, 150, 80)),
    ("cream", (250, 240, 200)),
    ("blue", (70, 120, 200)),
    ("sky", (170, 210, 240)),
    ("green", (60, 150, 60)),
    ("darkgreen", (30, 90, 30)),
    ("yellow", (240, 200, 40)),
    ("navy", (0, 0, 128)),
]
INDEX = {name: i for i, (name, _) in enumerate(PALETTE)}


def palette_bytes(count):
    out = b""
    for i in range(count):
        r, g, b = PALETTE[i][1] if i < len(PALETTE) else (0, 0, 0)
        out += struct.pack("<BBBB", b, g, r, 0)
    return out


def dib_8bit(c, with_and_mask):
    """A bottom-up 8-bit DIB (header, colour table, pixels[, AND mask for icons])."""
    row_len = (c.w + 3) & ~3
    rows = b""
    for y in range(c.h - 1, -1, -1):
        row = bytes(INDEX[c.px[y][x]] if c.px[y][x] is not None else 0 for x in range(c.w))
        rows += row + b"\0" * (row_len - c.w)
    height = c.h * 2 if with_and_mask else c.h
    header = struct.pack("<IiiHHIIiiII", 40, c.w, height, 1, 8, 0, len(rows), 0, 0,
                         len(PALETTE), len(PALETTE))
    data = header + palette_bytes(len(PALETTE)) + rows
    if with_and_mask:
        mask_len = ((c.w + 31) // 32) * 4
        for y in range(c.h - 1, -1, -1):
            bits = 0
            for x in range(c.w):
                if c.px[y][x] is None:
                    bits |= 1 << (mask_len * 8 - 1 - x)
            data += bits.to_bytes(mask_len, "big")
    return data


def bmp_bytes(c):
    dib = dib_8bit(c, False)
    offset = 14 + 40 + 4 * len(PALETTE)
    return struct.pack("<2sIHHI", b"BM", 14 + len(dib), 0, 0, offset) + dib


def ico_bytes(canvases):
    images = [dib_8bit(c, True) for c in canvases]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, img in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 8, len(img), offset)
        offset += len(img)
    return out + b"".join(images)


def house(c, x0, y0, s):
    """A small house with its lawn, drawn in a box of 16 x 16 units scaled by s."""
    def X(v):
        return x0 + v * s

    def Y(v):
        return y0 + v * s
    c.fill_rect(X(0), Y(14), X(16) - 1, Y(16) - 1, "green")
    c.fill_rect(X(3), Y(7), X(13) - 1, Y(14) - 1, "cream")
    c.rect(X(3), Y(7), X(13) - 1, Y(14) - 1, "black")
    c.fill_polygon([(X(1), Y(7.5)), (X(8), Y(1)), (X(15), Y(7.5))], "roof")
    c.polyline([(X(1), Y(7.5) - 1), (X(8), Y(1)), (X(15) - 1, Y(7.5) - 1)], "black", closed=True)
    c.fill_rect(X(5), Y(10), X(7) - 1, Y(14) - 1, "brown")
    c.fill_rect(X(9), Y(9), X(11.5) - 1, Y(11.5) - 1, "sky")
    c.rect(X(9), Y(9), X(11.5) - 1, Y(11.5) - 1, "black")


def app_icon():
    big = Canvas(32, 32)
    house(big, 0, 0, 2)
    small = Canvas(16, 16)
    house(small, 0, 0, 1)
    return [big, small]


# The column of four companion buttons beside the side bar: each picture sits in a
# 53 x 31 cell, the cells 32 pixels apart (estimate, framing view, furniture editor,
# scale model from top to bottom). 5200 shows the framing-view button as framing,
# 5201 (framing view on) shows it as the finished house.
BUTTON_W, BUTTON_H, BUTTON_STEP = 53, 31, 32


def draw_estimate(c, oy):
    c.fill_rect(13, oy + 4, 32, oy + 27, "white")
    c.rect(13, oy + 4, 32, oy + 27, "black")
    c.fill_rect(14, oy + 5, 31, oy + 8, "navy")
    for y in (13, 18, 23):
        c.line(14, oy + y, 31, oy + y, "shadow")
    c.line(20, oy + 9, 20, oy + 26, "shadow")
    c.fill_ellipse(37, oy + 21, 5.5, 5.5, "yellow")
    c.ellipse(37, oy + 21, 5.5, 5.5, "brown")
    c.ellipse(37, oy + 21, 3, 3, "brown")


def draw_house_frame(c, oy, finished):
    left, right, base, eaves, ridge = 14, 38, oy + 27, oy + 15, oy + 4
    mid = (left + right) // 2
    if finished:
        c.fill_rect(left, eaves, right, base, "cream")
        c.fill_polygon([(left - 3, eaves + 1), (mid + 0.5, ridge), (right + 4, eaves + 1)], "roof")
        c.fill_rect(22, oy + 19, 26, base, "brown")
        c.fill_rect(30, oy + 18, 34, oy + 22, "sky")
        c.rect(30, oy + 18, 34, oy + 22, "black")
        c.rect(left, eaves, right, base, "black")
        c.polyline([(left - 3, eaves), (mid, ridge), (right + 3, eaves)], "black")
    else:
        c.rect(left, eaves, right, base, "brown")
        for x in range(left + 4, right, 4):
            c.line(x, eaves, x, base, "wood")
        c.line(left, oy + 21, right, oy + 21, "wood")
        c.polyline([(left - 3, eaves), (mid, ridge), (right + 3, eaves)], "brown")
        c.line(left - 3, eaves, right + 3, eaves, "brown")
        for x in range(left + 4, right, 4):
            top = ridge + abs(x - mid) * (eaves - ridge) / (mid - left + 3)
            c.line(x, eaves, x, top, "wood")
    c.line(8, base, 44, base, "darkgreen")


def draw_chair(c, oy):
    c.fill_rect(17, oy + 5, 33, oy + 17, "red")     # back
    c.rect(17, oy + 5, 33, oy + 17, "black")
    c.fill_rect(14, oy + 16, 36, oy + 21, "red")    # seat
    c.rect(14, oy + 16, 36, oy + 21, "black")
    c.fill_rect(12, oy + 12, 15, oy + 21, "red")    # arms
    c.rect(12, oy + 12, 15, oy + 21, "black")
    c.fill_rect(35, oy + 12, 38, oy + 21, "red")
    c.rect(35, oy + 12, 38, oy + 21, "black")
    for x in (14, 36):
        c.line(x, oy + 22, x, oy + 27, "brown")
        c.line(x + 1, oy + 22, x + 1, oy + 27, "brown")


def draw_scale_model(c, oy):
    # a cut-out sheet with a folded paper house on it
    c.fill_polygon([(9, oy + 26), (17, oy + 20), (45, oy + 20), (37, oy + 26)], "white")
    c.polyline([(9, oy + 26), (17, oy + 20), (45, oy + 20), (37, oy + 26)], "shadow", closed=True)
    front = [(16, oy + 23), (16, oy + 13), (28, oy + 13), (28, oy + 23)]
    c.fill_polygon(front + [(16, oy + 23)], "cream")
    c.polyline(front, "black", closed=True)
    c.fill_polygon([(28, oy + 13), (34, oy + 9), (34, oy + 19), (28, oy + 23)], "wood")
    c.polyline([(28, oy + 13), (34, oy + 9), (34, oy + 19), (28, oy + 23)], "black")
    c.fill_polygon([(15, oy + 13), (22, oy + 5), (29, oy + 13)], "roof")
    c.fill_polygon([(22, oy + 5), (28, oy + 1), (35, oy + 9), (29, oy + 13)], "red")
    c.polyline([(15, oy + 13), (22, oy + 5), (28, oy + 1), (35, oy + 9)], "black")
    c.line(22, oy + 5, 29, oy + 13, "black")
    for x in range(19, 27, 3):                       # the fold line, dashed
        c.set(x, oy + 18, "shadow")


def companion_buttons(framing_on):
    c = Canvas(BUTTON_W, 3 * BUTTON_STEP + BUTTON_H, fill="face")
    draw_estimate(c, 0)
    draw_house_frame(c, BUTTON_STEP, framing_on)
    draw_chair(c, 2 * BUTTON_STEP)
    draw_scale_model(c, 3 * BUTTON_STEP)
    return c


# The planting-age stepper of the garden tab, 88 x 20: the down button (x 0-17), the
# growth bar's well (x 18-69, painted over by the program) and the up button (x 70-87).


def raised(c, x0, y0, x1, y1):
    c.line(x0, y0, x1, y0, "white")
    c.line(x0, y0, x0, y1, "white")
    c.line(x1, y0, x1, y1, "black")
    c.line(x0, y1, x1, y1, "black")
    c.line(x1 - 1, y0 + 1, x1 - 1, y1 - 1, "shadow")
    c.line(x0 + 1, y1 - 1, x1 - 1, y1 - 1, "shadow")


def sunken(c, x0, y0, x1, y1):
    c.line(x0, y0, x1, y0, "shadow")
    c.line(x0, y0, x0, y1, "shadow")
    c.line(x1, y0, x1, y1, "white")
    c.line(x0, y1, x1, y1, "white")


def age_stepper(hot):
    c = Canvas(88, 20, fill="face")
    arrow = "navy" if hot else "black"
    raised(c, 0, 0, 17, 19)
    c.fill_polygon([(5, 10), (12, 5), (12, 15)], arrow)       # fewer years
    sunken(c, 18, 2, 69, 17)
    raised(c, 70, 0, 87, 19)
    c.fill_polygon([(82, 10), (75, 5), (75, 15)], arrow)      # more years
    if hot:
        c.rect(1, 1, 16, 18, "light")
        c.rect(71, 1, 86, 18, "light")
    return c


# ---------------------------------------------------------------------------------------
# Property dialogs: the end marks of the dimension dialog ("ARROWS", one row per end-mark
# radio, 26 pixels apart), the wall segment's diagram (61) and its twelve top styles
# (330 for style 0, 319 to 329 for styles 1 to 11).

END_MARK_ROW = 26


def end_marks():
    c = Canvas(135, 182, fill="face")
    for row in range(7):
        y = 13 + row * END_MARK_ROW
        left, right = 12, 122
        c.line(left, y, right, y, "black")
        for x, d in ((left, 1), (right, -1)):
            if row == 0:      # open arrow
                c.line(x, y, x + 7 * d, y - 4, "black")
                c.line(x, y, x + 7 * d, y + 4, "black")
            elif row == 1:    # filled arrow
                c.fill_polygon([(x, y), (x + 9 * d, y - 4), (x + 9 * d, y + 4)], "black")
            elif row == 2:    # slash
                c.line(x - 4, y + 4, x + 4, y - 4, "black", 2)
            elif row == 3:    # dot
                c.fill_ellipse(x, y, 3, 3, "black")
            elif row == 4:    # circle
                c.ellipse(x, y, 4, 4, "black")
            elif row == 5:    # bar
                c.line(x, y - 6, x, y + 6, "black", 2)
            # row 6: no mark
        c.line(left, y - 8, left, y + 8, "shadow")
        c.line(right, y - 8, right, y + 8, "shadow")
    return c


# Top outlines of the twelve segment styles in a 40 x 32 picture, as (x, height above
# the base line) points from the left end to the right end.
SEGMENT_TOPS = [
    [(0, 14), (39, 14)],                          # 0 flat
    [(0, 12), (20, 26), (39, 12)],                # 1 gable: C, A, B
    [(0, 10), (39, 24)],                          # 2 rising slope: A
    [(0, 24), (39, 10)],                          # 3 falling slope: A
    [(0, 10), (12, 20), (27, 20), (39, 10)],      # 4 to 7: C, D, A, B
    [(0, 10), (12, 20), (39, 26)],
    [(0, 26), (27, 20), (39, 10)],
    [(0, 12), (16, 24), (24, 24), (39, 16)],
    [(0, 10), (20, 24), (39, 24)],                # 8 to 11: C, A
    [(0, 24), (20, 24), (39, 10)],
    [(0, 24), (19, 10), (39, 10)],
    [(0, 10), (19, 10), (39, 24)],
]


def segment_style(style):
    c = Canvas(40, 32, fill="face")
    base = 30
    top = [(x, base - h) for x, h in SEGMENT_TOPS[style]]
    c.fill_polygon([(0, base)] + top + [(39, base)], "cream")
    c.polyline([(0, base)] + top + [(39, base)], "black", closed=True)
    c.line(0, 31, 39, 31, "darkgreen")
    return c


def segment_diagram():
    c = Canvas(225, 162, fill="face")
    base, x0, x1 = 140, 30, 195
    h, cx, dx = 60, 70, 150
    hc, hd = 100, 120
    outline = [(x0, base), (x0, base - h), (cx, base - hc), (dx, base - hd), (x1, base - h), (x1, base)]
    c.fill_polygon(outline, "cream")
    c.polyline(outline, "black", closed=True)
    c.line(10, base + 1, 215, base + 1, "darkgreen", 2)
    for x, height, ch in ((x0 - 12, h, "H"), (cx, hc, "C"), (dx, hd, "D")):
        c.line(x, base, x, base - height, "blue")
        c.line(x - 2, base - height, x + 2, base - height, "blue")
        draw_text(c, x + 3, base - height // 2 - 3, ch, "navy")
    draw_text(c, (x0 + cx) // 2 - 8, base - (h + hc) // 2 - 12, "A", "red")
    draw_text(c, (dx + x1) // 2 + 4, base - (hd + h) // 2 - 12, "B", "red")
    return c



# The bottom strip of the live 3D view: gauges of the quality level, the field of view
# and the transparency, each with its two small buttons (the program raises and sinks
# them with bevels), and the four site-edge arrows. Button places in each picture match
# the strip's click rectangles.


def small_button(c, x0, y0, arrow_right):
    """An 11 x 10 button face with a small arrow, left or right."""
    c.fill_rect(x0, y0, x0 + 11, y0 + 10, "face")
    cy = y0 + 5
    if arrow_right:
        c.fill_polygon([(x0 + 4, cy - 3), (x0 + 8, cy), (x0 + 4, cy + 3)], "black")
    else:
        c.fill_polygon([(x0 + 8, cy - 3), (x0 + 4, cy), (x0 + 8, cy + 3)], "black")


def quality_gauge(level):
    """Level 0 (quality 6, slowest and best) to 4 (quality 10): five bars, the better
    the quality the more are lit."""
    c = Canvas(58, 20, fill="face")
    small_button(c, 1, 9, False)
    small_button(c, 45, 9, True)
    sunken(c, 15, 9, 42, 19)
    lit = 5 - level
    for i in range(5):
        x = 17 + 5 * i
        top = 17 - (i + 1)
        c.fill_rect(x, top, x + 3, 17, "green" if i < lit else "light")
    return c


def field_of_view_gauge(step):
    """Step 0 (narrowest) to 4: the eye's two sight lines open wider."""
    c = Canvas(60, 19, fill="face")
    small_button(c, 2, 8, False)
    small_button(c, 46, 8, True)
    w = 4 + 3 * step
    c.line(30, 17, 30 - w, 3, "navy")
    c.line(30, 17, 30 + w, 3, "navy")
    c.fill_ellipse(30, 17, 2, 1.5, "black")
    return c


def site_edge_arrows():
    c = Canvas(25, 21, fill="face")
    c.fill_polygon([(1, 10), (7, 6), (7, 14)], "navy")       # from the left edge
    c.fill_polygon([(23, 10), (17, 6), (17, 14)], "navy")    # from the right edge
    c.fill_polygon([(12, 1), (8, 7), (16, 7)], "navy")       # from the top edge
    c.fill_polygon([(12, 20), (8, 14), (16, 14)], "navy")    # from the bottom edge
    c.rect(10, 9, 14, 11, "green")                            # the site
    return c


def transparency_gauge(step):
    """Step 0 (alpha 175, most transparent) to 4 (255, opaque): a blue pane over a
    checker, drawn denser as the alpha grows."""
    c = Canvas(60, 23, fill="face")
    small_button(c, 2, 11, False)
    small_button(c, 46, 11, True)
    sunken(c, 16, 2, 43, 21)
    for y in range(3, 21):
        for x in range(17, 43):
            checker = "white" if ((x // 3) + (y // 3)) % 2 else "shadow"
            c.set(x, y, checker)
    density = step + 1
    for y in range(5, 19):
        for x in range(20, 40):
            if (x + 2 * y) % 5 < density:
                c.set(x, y, "blue")
    return c

BITMAPS = [
    (5200, "companion_buttons.bmp", lambda: companion_buttons(False)),
    (5201, "companion_buttons_framing.bmp", lambda: companion_buttons(True)),
    (11000, "age_stepper.bmp", lambda: age_stepper(False)),
    (11001, "age_stepper_hot.bmp", lambda: age_stepper(True)),
    ("ARROWS", "end_marks.bmp", end_marks),
    (61, "segment_diagram.bmp", segment_diagram),
] + [(330 if k == 0 else 318 + k, "segment_style_%d.bmp" % k, (lambda k=k: segment_style(k)))
     for k in range(12)
] + [
    (11005 + k, "quality_gauge_%d.bmp" % k, (lambda k=k: quality_gauge(k))) for k in range(5)
] + [
    (11010 + k, "field_of_view_gauge_%d.bmp" % k, (lambda k=k: field_of_view_gauge(k))) for k in range(5)
] + [
    (11015, "site_edge_arrows.bmp", site_edge_arrows),
] + [
    (11020 + k, "transparency_gauge_%d.bmp" % k, (lambda k=k: transparency_gauge(k))) for k in range(5)
]


# ---------------------------------------------------------------------------------------
# The tool palette: tool-button pictures (by tool id, the current tool's by id + 2000),
# the 3D bar's state pictures, the category tab row and active-tab buttons, the variant
# button pictures (53 x 14) and the variant previews of the Tools folder. Drawn in the
# three greys the program maps to the system 3D colours (shadow 128, face 192, light 223)
# with a few colours; every picture carries its id in small digits, so each is distinct.

PALETTE_COLOURS = [c for _, c in PALETTE] + [
    (255, 0, 0), (0, 160, 0), (0, 0, 255), (200, 120, 0), (120, 0, 160), (0, 140, 140),
]
GROUP_COLOURS = {200: "black", 400: "navy", 3300: "brown", 3400: "blue", 3430: "roof",
                 3450: "wood", 3500: "darkgreen", 7000: "brown", 7050: "red", 7100: "yellow",
                 7200: "blue", 7300: "roof", 7400: "navy", 7500: "green", 7600: "wood",
                 7700: "black"}

DIGITS = {
    "0": ["111", "101", "101", "101", "111"], "1": ["010", "110", "010", "010", "111"],
    "2": ["111", "001", "111", "100", "111"], "3": ["111", "001", "111", "001", "111"],
    "4": ["101", "101", "111", "001", "001"], "5": ["111", "100", "111", "001", "111"],
    "6": ["111", "100", "111", "101", "111"], "7": ["111", "001", "010", "010", "010"],
    "8": ["111", "101", "111", "101", "111"], "9": ["111", "101", "111", "001", "111"],
}


def digits(c, x, y, text, v):
    for i, ch in enumerate(text):
        for row, bits in enumerate(DIGITS[ch]):
            for col, bit in enumerate(bits):
                if bit == "1":
                    c.set(x + 4 * i + col, y + row, v)


def bmp8_bytes(c, colours):
    """An 8-bit bottom-up BMP whose pixels are indexes into colours (names or RGB triples)."""
    table = list(PALETTE_COLOURS)
    def index(v):
        rgb = dict(PALETTE)[v] if isinstance(v, str) else v
        if rgb not in table:
            table.append(rgb)
        return table.index(rgb)
    row_len = (c.w + 3) & ~3
    rows = b""
    for y in range(c.h - 1, -1, -1):
        row = bytes(index(c.px[y][x] if c.px[y][x] is not None else "face") for x in range(c.w))
        rows += row + b"\0" * (row_len - c.w)
    assert len(table) <= 256
    colours_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in table)
    header = struct.pack("<IiiHHIIiiII", 40, c.w, c.h, 1, 8, 0, len(rows), 0, 0, len(table),
                         len(table))
    offset = 14 + 40 + len(colours_bytes)
    return struct.pack("<2sIHHI", b"BM", offset + len(rows), 0, 0, offset) + header + \
        colours_bytes + rows


def group_of(tool):
    best = 200
    for start in GROUP_COLOURS:
        if start <= tool and start >= best:
            best = start
    return best


def tool_picture(tool, w, h, current):
    """A button picture: the tool id in digits under a group-coloured bar; the current
    tool's picture is lit (light grey) and its glyph pressed one pixel down and right."""
    c = Canvas(w, h, fill="light" if current else "face")
    d = 1 if current else 0
    colour = GROUP_COLOURS[group_of(tool)]
    c.fill_rect(2 + d, 2 + d, w - 4 + d, 5 + d, colour)
    text = str(tool)[-3:] if w < 30 else str(tool)
    digits(c, (w - 4 * len(text)) // 2 + d, h // 2 + d, text, "black" if not current else "navy")
    c.line(0, h - 1, w - 1, h - 1, "shadow")
    return c


# Strips of the palette: (first id, count, picture width, height); the current-tool
# pictures (id + 2000) exist for the general tools, the walk/fly pair and every
# creation tool.
TOOL_STRIPS = [
    (200, 7, 19, 21, True), (7000, 5, 32, 25, True), (7050, 12, 32, 25, True),
    (7100, 18, 32, 25, True), (7200, 12, 32, 25, True), (7300, 7, 32, 25, True),
    (7400, 8, 32, 25, True), (7500, 13, 32, 25, True), (7600, 6, 32, 25, True),
    (7700, 8, 32, 25, True), (3500, 4, 32, 25, False), (3300, 1, 19, 21, False),
    (400, 2, 32, 25, True), (3400, 4, 32, 25, False), (3430, 4, 32, 25, False),
    (3450, 1, 32, 21, False),
]

TAB_COLOURS = ["brown", "red", "yellow", "blue", "roof", "navy", "wood", "green", "black"]


def tab_row():
    c = Canvas(531, 18, fill="face")
    for i in range(9):
        x = 59 * i
        c.line(x + 2, 2, x + 56, 2, "shadow")
        c.line(x + 57, 3, x + 57, 17, "shadow")
        c.fill_rect(x + 4, 5, x + 12, 13, TAB_COLOURS[i])
        digits(c, x + 16, 7, str(i), "black")
    return c


def active_tab(i):
    c = Canvas(65, 21, fill="light")
    c.fill_rect(4, 6, 14, 16, TAB_COLOURS[i])
    digits(c, 20, 8, str(11061 + i), "black")
    return c


def variant_button(id_):
    c = Canvas(53, 14, fill="face")
    digits(c, 2, 5, str(id_), "black")
    c.fill_rect(42, 3, 50, 10, GROUP_COLOURS[group_of(id_)] if id_ < 16000 else "black")
    return c


def hue_button(k):
    """The swatch-hue picture of page offset 10 k: a bar in that hue."""
    c = Canvas(53, 14, fill="face")
    r, g, b = colorsys_hsv(k * 10 / 240.0)
    c.fill_rect(3, 3, 49, 10, (r, g, b))
    return c


def colorsys_hsv(h):
    import colorsys
    r, g, b = colorsys.hsv_to_rgb(h, 1.0, 1.0)
    return (int(r * 255), int(g * 255), int(b * 255))


def state_picture(id_, lit):
    c = Canvas(32, 25, fill="light" if lit else "face")
    c.fill_rect(4, 3, 27, 8, "yellow" if lit else "shadow")
    digits(c, 6, 14, str(id_), "black")
    return c


def palette_bitmaps():
    """(resource id, file name, canvas) of every palette picture."""
    out = []
    for first, count, w, h, current in TOOL_STRIPS:
        for tool in range(first, first + count):
            out.append((tool, "tool_%d.bmp" % tool, tool_picture(tool, w, h, False)))
            if current:
                out.append((tool + 2000, "tool_%d.bmp" % (tool + 2000), tool_picture(tool, w, h, True)))
    out.append((3459, "tool_3459.bmp", state_picture(3459, False)))
    for id_ in range(11050, 11054):
        out.append((id_, "state_%d.bmp" % id_, state_picture(id_, id_ % 2 == 1)))
    out.append((11060, "tab_row.bmp", tab_row()))
    for i in range(9):
        out.append((11061 + i, "tab_%d.bmp" % (11061 + i), active_tab(i)))
    for id_ in list(range(6000, 6032)) + [6999]:
        out.append((id_, "variant_%d.bmp" % id_, variant_button(id_)))
    for k in range(25):
        out.append((16000 + k, "hue_%d.bmp" % (16000 + k), hue_button(k)))
    return out


# Variant previews: folder, name and count (doors and windows in a stained and a
# painted set).
PREVIEWS = [
    ("Footings", ["Footing"], 9), ("Beams", ["Beam"], 9), ("Piers", ["Pier"], 9),
    ("Walls", ["Wall"], 6), ("Doors", ["SDoor", "PDoor"], 12), ("Windows", ["SWindow", "PWindow"], 19),
    ("Stairs", ["Stair"], 8), ("Railing", ["Rail"], 6), ("Floors", ["Floor"], 8),
    ("Cutout", ["Cutout"], 8), ("GFI", ["GFI"], 3), ("FlrClg", ["FlrClg"], 2),
    ("Multiway", ["Multiway"], 3), ("Switch", ["Switch"], 2), ("HVL", ["HVL"], 2),
    ("StdTub", ["StdTub"], 8), ("SpaTub", ["SpaTub"], 6), ("Shower", ["Shower"], 3),
    ("Roofs", ["Roofs"], 5), ("Duct", ["Duct"], 8), ("Paths", ["Path"], 8),
    ("Fences", ["Fence"], 4), ("Gates", ["Gate"], 6), ("Slope", ["Slope"], 5),
    ("Topos", ["Topo"], 6), ("Decks", ["Deck"], 7),
]
PREVIEW_DIR = os.path.join(HERE, "Tools")


def preview(name, n):
    """A 50 x 50 preview: a frame, a size bar growing with n and the number."""
    c = Canvas(50, 50, fill="white")
    c.rect(0, 0, 49, 49, "shadow")
    colour = "wood" if name in ("SDoor", "SWindow") else "blue"   # stained, else painted
    c.fill_rect(5, 40 - min(30, 2 * n), 10 + min(34, 2 * n), 40, colour)
    digits(c, 20, 43, str(n), "black")
    return c


def write_previews():
    for folder, names, count in PREVIEWS:
        os.makedirs(os.path.join(PREVIEW_DIR, folder), exist_ok=True)
        for name in names:
            for n in range(1, count + 1):
                path = os.path.join(PREVIEW_DIR, folder, "%s%d.ZPV" % (name, n))
                with open(path, "wb") as f:
                    f.write(bmp8_bytes(preview(name, n), None))

# The measurement bar's buttons (23 x 16, each drawn at the left of its 25-pixel cell) and
# the elevation pane's scale labels (16 x 7) and arrow (20 x 13).
BAR_W, BAR_H = 23, 16


def measuring_line(on):
    c = Canvas(BAR_W, BAR_H, fill="light" if on else "face")
    if on:
        sunken(c, 0, 0, BAR_W - 1, BAR_H - 1)
    colour = "red" if on else "black"
    c.line(4, 11, 18, 4, colour)
    c.line(3, 9, 5, 13, colour)
    c.line(17, 2, 19, 6, colour)
    return c


def dimensions_menu():
    c = Canvas(BAR_W, BAR_H, fill="face")
    c.line(2, 3, 2, 9, "black")
    c.line(15, 3, 15, 9, "black")
    c.line(3, 6, 14, 6, "black")
    c.fill_polygon([(3, 6), (6, 3.5), (6, 8.5)], "black")
    c.fill_polygon([(14, 6), (11, 3.5), (11, 8.5)], "black")
    c.fill_rect(4, 10, 13, 14, "sky")
    c.rect(4, 10, 13, 14, "navy")
    c.fill_polygon([(17, 10), (22, 10), (19.5, 13)], "black")   # it opens a menu
    return c


def working_floor(storey):
    c = Canvas(BAR_W, BAR_H, fill="face")
    c.fill_polygon([(2, 5), (9, 0), (16, 5)], "roof")
    for level in range(3):
        top = 11 - 3 * level
        c.fill_rect(4, top, 14, top + 2, "navy" if level + 1 == storey else "cream")
        c.rect(4, top, 14, top + 2, "black")
    draw_text(c, 18, 6, str(storey), "black")
    return c


def elevation_label(value, unit_mark):
    c = Canvas(16, 7, fill="face")
    text = str(value) + unit_mark
    draw_text(c, 16 - 4 * len(text), 1, text, "black")
    return c


def elevation_arrow():
    c = Canvas(20, 13, fill="face")
    outline = [(0, 0), (13, 0), (19, 6), (13, 12), (0, 12)]
    c.fill_polygon(outline, "face")
    c.polyline(outline, "shadow", closed=True)
    c.line(0, 12, 13, 12, "black")
    c.line(13, 12, 19, 6, "black")
    return c


# Label i of the scale names step 2 (i + 1): elevation 20 - 2 i, in feet or metres.
BAR_BITMAPS = [
    (5000, "measuring_line_off.bmp", lambda: measuring_line(False)),
    (5001, "measuring_line_on.bmp", lambda: measuring_line(True)),
    (5005, "dimensions_menu.bmp", dimensions_menu),
    (5006, "working_floor_1.bmp", lambda: working_floor(1)),
    (5007, "working_floor_2.bmp", lambda: working_floor(2)),
    (5008, "working_floor_3.bmp", lambda: working_floor(3)),
    (14050, "elevation_arrow.bmp", elevation_arrow),
] + [
    (14000 + i, "elevation_feet_%d.bmp" % i, (lambda v: lambda: elevation_label(v, "'"))(20 - 2 * i))
    for i in range(16)
] + [
    (14020 + i, "elevation_metres_%d.bmp" % i, (lambda v: lambda: elevation_label(v, "m"))(20 - 2 * i))
    for i in range(16)
]


def write(name, data):
    path = os.path.join(OUT, name)
    with open(path, "wb") as f:
        f.write(data)


def main():
    os.makedirs(OUT, exist_ok=True)
    write("velmora.ico", ico_bytes(app_icon()))
    for name, file_name, draw in CURSORS:
        canvas, hotspot = draw()
        if name in OPAQUE_HOTSPOT:
            assert canvas.get(*hotspot) is not None, name + ": hotspot off the picture"
        write(file_name, cur_bytes(canvas, hotspot))
    for _, file_name, draw in BITMAPS:
        write(file_name, bmp_bytes(draw()))
    for _, file_name, canvas in palette_bitmaps():
        write(file_name, bmp8_bytes(canvas, None))
    write_previews()
    with open(os.path.join(HERE, "pictures_palette.rc"), "w") as f:
        f.write("// Tool palette pictures, written by generate_images.py with the pictures.\n")
        for id_, file_name, _ in palette_bitmaps():
            f.write('%d BITMAP "images/%s"\n' % (id_, file_name))
    for _, file_name, draw in BAR_BITMAPS:
        write(file_name, bmp_bytes(draw()))


if __name__ == "__main__":
    main()
