#!/usr/bin/env python3
"""Draw the four arrow glyphs of skinned up-down controls into res/.

Outputs (32-bit PNG with alpha, black, overwritten on every run):
    res/updown_up.png     7x4
    res/updown_down.png   7x4
    res/updown_left.png   4x7
    res/updown_right.png  4x7

Each glyph is given as rows of '#' (opaque black) and '.' (transparent).
Needs Python 3 and ImageMagick 6 (`convert`).

Usage:  python3 tools/make_updown_glyphs.py [output-directory]
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "res")

GLYPHS = {
    "updown_up.png": ["...#...", "..###..", ".#####.", "#######"],
    "updown_down.png": ["#######", ".#####.", "..###..", "...#..."],
    "updown_left.png": ["...#", "..##", ".###", "####", ".###", "..##", "...#"],
    "updown_right.png": ["#...", "##..", "###.", "####", "###.", "##..", "#..."],
}


def glyph(path, rows):
    width, height = len(rows[0]), len(rows)
    points = []
    for y, row in enumerate(rows):
        for x, cell in enumerate(row):
            if cell == "#":
                points += ["-draw", f"point {x},{y}"]
    args = (["convert", "-size", f"{width}x{height}", "xc:none", "-fill", "black"] + points
            + ["-define", "png:color-type=6", "PNG32:" + path])
    subprocess.run(args, check=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RES
    os.makedirs(out, exist_ok=True)
    for name, rows in GLYPHS.items():
        glyph(os.path.join(out, name), rows)


if __name__ == "__main__":
    main()
