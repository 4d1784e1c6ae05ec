#!/usr/bin/env python3
"""Draws the five hardiness-zone maps the zone-map window shows (ZONES/*.HZN at the top of
the repository, the program directory's layout): plain bands of the ten zones, each with
its number, 506 x 356 like the window. They are our own pictures, for trying the window;
the written files are kept in the repository. Run it from anywhere:
    python3 resources/generate_zone_maps.py
"""
import os

from generate_images import Canvas, bmp_bytes, draw_text

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(os.path.dirname(HERE), "ZONES")

ZONE_COLOURS = ["navy", "blue", "sky", "white", "cream", "yellow", "green", "darkgreen", "wood", "roof"]
MAPS = ["USA", "AKHI", "EUROPE", "CANADA", "AUSTRALIA"]


def zone_map(index):
    c = Canvas(506, 356, fill="face")
    # Cold to warm from the top down; the first band of each map starts further down
    # the scale, so the five pictures differ.
    first = index
    bands = 10 - first
    height = 330 // bands
    for k in range(bands):
        zone = first + k + 1
        top = 13 + k * height
        c.fill_rect(13, top, 492, top + height - 2, ZONE_COLOURS[zone - 1])
        c.rect(13, top, 492, top + height - 2, "black")
        draw_text(c, 20, top + height // 2 - 3, str(zone), "black")
    return c


def main():
    os.makedirs(OUT, exist_ok=True)
    for index, name in enumerate(MAPS):
        with open(os.path.join(OUT, name + ".HZN"), "wb") as f:
            f.write(bmp_bytes(zone_map(index)))


if __name__ == "__main__":
    main()
