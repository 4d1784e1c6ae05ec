#!/usr/bin/env python3
"""Draws the five hardiness-zone maps the zone-map window shows (ZONES/*.HZN at the top of
the repository, the program directory's layout): plain bands of the ten zones, each with
its number, 500 x 350: the client area of the 506 x 356 window, which shows a picture 1:1
from its top left corner. They are our own pictures, for trying the window; the written
files are kept in the repository. Run it from anywhere:
    python3 resources/generate_zone_maps.py
"""
import os

from generate_images import Canvas, bmp_bytes, draw_text

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "ZONES")

ZONE_COLOURS = ["navy", "blue", "sky", "white", "cream", "yellow", "green", "darkgreen", "wood", "roof"]
MAPS = ["USA", "AKHI", "EUROPE", "CANADA", "AUSTRALIA"]
WIDTH, HEIGHT = 500, 350
MARGIN = 13


def zone_map(index):
    c = Canvas(WIDTH, HEIGHT, fill="face")
    # Cold to warm from the top down; the first band of each map starts further down
    # the scale, so the five pictures differ.
    first = index
    bands = 10 - first
    height = (HEIGHT - 2 * MARGIN) // bands
    right = WIDTH - 1 - MARGIN
    for k in range(bands):
        zone = first + k + 1
        top = MARGIN + k * height
        c.fill_rect(MARGIN, top, right, top + height - 2, ZONE_COLOURS[zone - 1])
        c.rect(MARGIN, top, right, top + height - 2, "black")
        draw_text(c, 20, top + height // 2 - 3, str(zone), "black")
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    for index, name in enumerate(MAPS):
        with open(os.path.join(OUT, name + ".HZN"), "wb") as f:
            f.write(bmp_bytes(zone_map(index)))


if __name__ == "__main__":
    main()
