#!/usr/bin/env python3
"""Draw the six caption-button pictures of the window skin into res/.

Outputs (32-bit PNG with alpha, overwritten on every run):
    res/caption_help.png      26x18  speech bubble with a question mark
    res/caption_menu.png      26x18  small window with menu lines
    res/caption_minimize.png  26x18  bar
    res/caption_maximize.png  26x18  one window frame
    res/caption_restore.png   26x18  two overlapping window frames
    res/caption_close.png     38x18  cross

White glyphs with a soft dark edge, so that they read on light and dark
theme pictures alike. Needs Python 3 and ImageMagick 6 (`convert`).

Usage:  python3 tools/make_caption_buttons.py [output-directory]
"""

import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "res")


def glyph(path, width, height, draw):
    """Renders `draw` (ImageMagick -draw primitives) in white over a blurred
    dark copy of itself on a transparent canvas."""
    base = ["-size", f"{width}x{height}", "xc:none"]
    shape = ["-fill", "none", "-stroke", "white", "-strokewidth", "1.6"] + draw
    args = (["convert"] + base + shape
            + ["(", "+clone", "-channel", "RGB", "-evaluate", "set", "0", "+channel",
               "-channel", "A", "-evaluate", "multiply", "0.55", "+channel",
               "-blur", "0x0.8", ")",
               "+swap", "-background", "none", "-compose", "over", "-flatten",
               "-define", "png:color-type=6", "PNG32:" + path])
    subprocess.run(args, check=True)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RES
    os.makedirs(out, exist_ok=True)
    p = lambda name: os.path.join(out, name)
    glyph(p("caption_help.png"), 26, 18, [
        "-draw", "roundrectangle 7,3 19,12 3,3",
        "-draw", "polyline 10,12 9,15 13,12",
        "-strokewidth", "1.2",
        "-draw", "path 'M 11.5,6.5 Q 11.5,4.8 13,4.8 Q 14.6,4.8 14.6,6.4 Q 14.6,7.6 13,8.2 L 13,9.3'",
        "-draw", "point 13,10.8"])
    glyph(p("caption_menu.png"), 26, 18, [
        "-draw", "rectangle 7,4 19,14",
        "-draw", "line 7,6.5 19,6.5",
        "-strokewidth", "1.1",
        "-draw", "line 9.5,9 16.5,9",
        "-draw", "line 9.5,11.5 14.5,11.5"])
    glyph(p("caption_minimize.png"), 26, 18, [
        "-strokewidth", "2",
        "-draw", "line 8,12 18,12"])
    glyph(p("caption_maximize.png"), 26, 18, [
        "-draw", "rectangle 8,4 18,13",
        "-draw", "line 8,5.5 18,5.5"])
    glyph(p("caption_restore.png"), 26, 18, [
        "-draw", "polyline 10,6 10,3.5 19,3.5 19,11 16.5,11",
        "-draw", "rectangle 7,6 16,14",
        "-draw", "line 7,7.5 16,7.5"])
    glyph(p("caption_close.png"), 38, 18, [
        "-strokewidth", "2",
        "-draw", "line 14,4 23,13",
        "-draw", "line 23,4 14,13"])


if __name__ == "__main__":
    main()
