#!/usr/bin/env python3
"""Draw the four small arrow pictures of the skinned controls into res/.

Outputs (32-bit PNG with alpha, overwritten on every run):
    res/arrow_down.png   7x4  solid dark triangle pointing down
    res/arrow_up.png     7x4  pointing up
    res/arrow_left.png   4x7  pointing left
    res/arrow_right.png  4x7  pointing right

Needs Python 3 and ImageMagick 6 (`convert`).

Usage:  python3 tools/make_arrows.py [output-directory]
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "res")
COLOUR = "#303030"


def arrow(path, width, height, points):
    """Fills the polygon `points` (pixel centres) on a transparent canvas;
    the pixel grid is exact, without anti-aliasing."""
    polygon = " ".join(f"{x},{y}" for x, y in points)
    subprocess.run(["convert", "-size", f"{width}x{height}", "xc:none", "+antialias",
                    "-fill", COLOUR, "-stroke", COLOUR, "-strokewidth", "0",
                    "-draw", f"polygon {polygon}",
                    "-define", "png:color-type=6", "PNG32:" + path], check=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RES
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)
    arrow(p("arrow_down.png"), 7, 4, [(0, 0), (6, 0), (3, 3)])
    arrow(p("arrow_up.png"), 7, 4, [(3, 0), (6, 3), (0, 3)])
    arrow(p("arrow_left.png"), 4, 7, [(0, 3), (3, 0), (3, 6)])
    arrow(p("arrow_right.png"), 4, 7, [(0, 0), (3, 3), (0, 6)])


if __name__ == "__main__":
    main()
