#!/usr/bin/env python3
"""Draw the two check-box pictures of the window skin into res/.

Outputs (13x13, 32-bit PNG with alpha, overwritten on every run):
    res/check_box_unchecked.png  white box with a dark border
    res/check_box_checked.png    the same box with a blue tick

The border's corners are softened by one half-transparent pixel so that
the box sits on light and dark backgrounds alike. Needs Python 3 and
ImageMagick 6 (`convert`).

Usage:  python3 tools/make_check_boxes.py [output-directory]
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "res")

BOX = [
    "+antialias",
    "-fill", "white", "-stroke", "#333333", "-strokewidth", "1",
    "-draw", "rectangle 0,0 12,12",
    # Softened corners.
    "-stroke", "none", "-fill", "rgba(51,51,51,0.45)",
    "-draw", "point 0,0", "-draw", "point 12,0", "-draw", "point 0,12", "-draw", "point 12,12",
]

TICK = [
    "-antialias",
    "-fill", "none", "-stroke", "#1E5AD2", "-strokewidth", "2",
    "-draw", "polyline 3,6.5 5.5,9 10,3.5",
]


def picture(path, draw):
    args = (["convert", "-size", "13x13", "xc:none"] + draw
            + ["-define", "png:color-type=6", "PNG32:" + path])
    subprocess.run(args, check=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RES
    os.makedirs(out, exist_ok=True)
    picture(os.path.join(out, "check_box_unchecked.png"), BOX)
    picture(os.path.join(out, "check_box_checked.png"), BOX + TICK)


if __name__ == "__main__":
    main()
