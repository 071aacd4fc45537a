#!/usr/bin/env python3
"""Draw the editor's own artwork into res/.

Outputs (all overwritten on every run):
    res/app.ico          program icon, one 48x48 32-bit BGRA image with AND mask
    res/tutorial.png     372x363 RGB tutorial page shown by the "教程" button
    res/colour_chart.jpg 228x317 RGB chart of the § colour and format codes
    res/theme.png        235x163 RGB soft background texture for the window skin

Needs Python 3 and ImageMagick 6 (`convert`) with the WenQuanYi Micro Hei
font (Debian package fonts-wqy-microhei).  No Python imaging library is used:
raster work goes through `convert`, and the icon container is written with
struct.

Usage:  python3 tools/make_artwork.py [output-directory]
"""

import os
import struct
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
RES = os.path.join(os.path.dirname(HERE), "res")

FONT = "WenQuanYi-Micro-Hei"
MONO = "DejaVu-Sans-Mono"
LATIN = "DejaVu-Sans"

ORANGE = "#FF8000"


# --------------------------------------------------------------------------
# ImageMagick helpers
# --------------------------------------------------------------------------

def convert(args, capture=False):
    """Run `convert` with an argument list (no shell involved)."""
    proc = subprocess.run(["convert"] + [str(a) for a in args],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    if proc.returncode != 0:
        sys.stderr.write(proc.stderr.decode("utf-8", "replace"))
        raise SystemExit("convert failed: %r" % (args[:6],))
    return proc.stdout if capture else None


def im_text(s):
    """Escape text for -annotate (percent escapes, backslashes, '@file')."""
    s = s.replace("\\", "\\\\").replace("%", "%%")
    if s.startswith("@"):
        s = "\\" + s
    return s


_ADV = {}


def advances(font, size, chars):
    """Horizontal advance (in whole pixels) of each character, measured by
    ImageMagick itself so layout and rendering agree."""
    need = sorted({c for c in chars if (font, size, c) not in _ADV})
    if not need:
        return
    args = ["xc:", "-font", font, "-pointsize", size, "-debug", "annotate"]
    probes = []
    for c in need:
        # Blank characters are not reported on their own; measure them
        # between two 'x' and subtract the width of "xx" later.
        probes.append("x%sx" % c if c.isspace() else c)
    probes.append("xx")
    for p in probes:
        args += ["-annotate", "0", im_text(p)]
    args.append("null:")
    proc = subprocess.run(["convert"] + [str(a) for a in args],
                          stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    widths = []
    for line in proc.stderr.decode("utf-8", "replace").splitlines():
        line = line.strip()
        if line.startswith("Metrics:"):
            for field in line.split(";"):
                field = field.strip()
                if field.startswith("origin:"):
                    widths.append(float(field.split()[1].split(",")[0]))
    if len(widths) != len(probes):
        raise SystemExit("could not measure text with %s" % font)
    xx = widths[-1]
    for c, w in zip(need, widths):
        _ADV[(font, size, c)] = (w - xx) if c.isspace() else w


def text_width(font, size, s):
    advances(font, size, s)
    return sum(_ADV[(font, size, c)] for c in s)


def annotate(args, font, size, colour, x, y, s, shear=None):
    """Append -annotate arguments drawing s with its baseline at (x, y)."""
    # -annotate drops leading blanks, so step over them here
    lead = s[:len(s) - len(s.lstrip())]
    if lead:
        x += text_width(font, size, lead)
        s = s[len(lead):]
    geom = "%s%+d%+d" % (shear or "", round(x), round(y))
    args += ["-font", font, "-pointsize", size, "-fill", colour,
             "-stroke", "none", "-annotate", geom, im_text(s)]


def save_rgb_png(args, path):
    convert(args + ["-alpha", "off", "-depth", "8", "-strip",
                    "-type", "TrueColor", "-define", "png:color-type=2",
                    "-define", "png:exclude-chunks=date,time",
                    "PNG24:" + path])


# --------------------------------------------------------------------------
# 1. Program icon
# --------------------------------------------------------------------------

ICON = 48
OVERSAMPLE = 8

# The emblem is described in 48x48 units; the whole drawing is scaled up
# by OVERSAMPLE, rendered with anti-aliasing and then box-averaged down.
ICON_MVG = """
viewbox 0 0 {S} {S}
scale {k},{k}
stroke-linejoin round
stroke-linecap round

# --- chat slate (rounded dark board with a speech tail) ---
push graphic-context
  fill #14181F
  stroke #14181F
  stroke-width 2.2
  roundrectangle 3,6 45,36 7,7
  path 'M 33,34 L 41,34 L 42.5,43.5 Z'
pop graphic-context
push graphic-context
  fill #313A48
  stroke none
  roundrectangle 3,6 45,36 7,7
  path 'M 33,34 L 41,34 L 42.5,43.5 Z'
pop graphic-context
# soft highlight along the top edge
push graphic-context
  fill none
  stroke #55637A
  stroke-width 1
  path 'M 9,7.6 L 39,7.6'
pop graphic-context

# --- chat prompt: "/" and a cursor ---
push graphic-context
  fill none
  stroke #F2F5F9
  stroke-width 2.8
  line 30,32 34.5,22.5
  stroke {orange}
  stroke-width 2.4
  line 37.5,32 41.5,32
pop graphic-context

# --- orange sword, hilt bottom-left, tip top-right ---
push graphic-context
  translate 14.8,32.2
  rotate -45
  # blade
  fill {orange}
  stroke #6E3300
  stroke-width 1.3
  path 'M 1,-3.4 L 31,-3.4 L 37,0 L 31,3.4 L 1,3.4 Z'
  # ridge highlight
  fill none
  stroke #FFC27A
  stroke-width 1.1
  line 2.5,-0.6 31,-0.6
  # cross-guard
  fill #C45A00
  stroke #5A2A00
  stroke-width 1.2
  roundrectangle -2.2,-9.5 2.2,9.5 1.6,1.6
  # grip
  fill #6B3A16
  stroke #3A1E08
  stroke-width 1.0
  roundrectangle -11.5,-2.3 -2.2,2.3 1,1
  stroke #A86A36
  stroke-width 0.8
  line -9,-1.8 -7.2,1.8
  line -6,-1.8 -4.2,1.8
  # pommel
  fill {orange}
  stroke #6E3300
  stroke-width 1.2
  circle -14,0 -11.1,0
pop graphic-context
"""


def icon_pixels():
    """Render the emblem; return 48*48 RGBA tuples, top row first."""
    big = ICON * OVERSAMPLE
    # Passed inline: the usual ImageMagick policy refuses "@file" reads.
    mvg = "\n".join(ln for ln in ICON_MVG.splitlines()
                     if ln.strip() and not ln.strip().startswith("#"))
    mvg = mvg.format(S=big, k=OVERSAMPLE, orange=ORANGE)
    raw = convert(["-size", "%dx%d" % (big, big), "xc:none",
                   "-draw", mvg,
                   "-filter", "Box", "-resize", "%dx%d" % (ICON, ICON),
                   "-depth", "8", "rgba:-"], capture=True)
    if len(raw) != ICON * ICON * 4:
        raise SystemExit("unexpected icon raster size %d" % len(raw))
    return [tuple(raw[i:i + 4]) for i in range(0, len(raw), 4)]


def write_ico(path, pixels, size=ICON):
    """One-image .ico: BITMAPINFOHEADER, 32-bpp BGRA rows bottom-up, then
    the 1-bpp AND mask (rows padded to 32 bits), also bottom-up."""
    xor = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = pixels[y * size + x]
            if a == 0:
                r = g = b = 0
            xor += bytes((b, g, r, a))
    row_bytes = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(row_bytes)
        for x in range(size):
            if pixels[y * size + x][3] == 0:        # transparent -> 1
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    header = struct.pack("<IiiHHIIiiII",
                         40,            # biSize
                         size,          # biWidth
                         size * 2,      # biHeight (colour + mask)
                         1,             # biPlanes
                         32,            # biBitCount
                         0,             # biCompression = BI_RGB
                         len(xor) + len(mask),
                         0, 0, 0, 0)
    image = header + bytes(xor) + bytes(mask)
    icondir = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII",
                        size % 256, size % 256,   # width, height
                        0, 0,                     # palette colours, reserved
                        1, 32,                    # planes, bit count
                        len(image), 6 + 16)       # bytes, offset
    data = icondir + entry + image
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


# --------------------------------------------------------------------------
# 2. Tutorial page
# --------------------------------------------------------------------------

TUT_W, TUT_H = 372, 363
TUT_SIZE = 13
TUT_LINE = 19

STYLE = {
    "text": "#303030",
    "ui":   "#B0560A",     # names of buttons / pages, shown in 「」
    "code": "#1F5FA8",     # keys, commands, file names
    "warn": "#C62828",
}

# Mini markup: [..] = a control of the editor (rendered as 「..」),
# `..` = key / command, !..! = warning.
TUT_STEPS = [
    "在[基础设置]里填写 ID（必填），名字、描述、类型等按需填写。",
    "右侧输出框会实时生成 `/rpgitem` 命令。",
    "在[技能][药水][其他]里选好效果和方式，点[添加]加入列表，"
    "右键列表项可删除。",
    "输出框可以手动修改：`Ctrl+X` 撤回，`Ctrl+Y` 恢复。",
    "打开游戏（`javaw.exe`）并进入服务器，点[输出到客户端]，"
    "命令会自动逐行输入聊天栏，!期间不要操作键盘鼠标!。",
    "颜色代码：勾选左下角[颜色代码]查看；皮革染色数值点[皮革]查看。",
]

BADGE = ["#FF8000", "#2E86DE", "#27AE60", "#8E44AD", "#E74C3C", "#16A085"]

NO_LINE_START = set("，。；：、）」！？,.;:)!?")
NO_LINE_END = set("（「(")


def parse_markup(s):
    """Return [(char, style)] for the mini markup described above."""
    out, i = [], 0
    style = "text"
    while i < len(s):
        c = s[i]
        if c == "[":
            out.append(("「", "ui"))
            style = "ui"
        elif c == "]":
            out.append(("」", "ui"))
            style = "text"
        elif c == "`":
            style = "text" if style == "code" else "code"
        elif c == "!":
            style = "text" if style == "warn" else "warn"
        else:
            out.append((c, style))
        i += 1
    return out


def units_of(chars):
    """Group characters into unbreakable units: runs of Latin letters /
    digits / ASCII punctuation stay together, CJK characters stand alone,
    and closing / opening punctuation sticks to its neighbour."""
    units = []
    for ch, st in chars:
        ascii_word = ord(ch) < 128 and not ch.isspace()
        prev = units[-1]["chars"][-1] if units else None
        if (prev and st in ("ui", "warn") and prev[1] == st
                and prev[0] != "」"):
            # a control's name or a warning is never split
            units[-1]["chars"].append((ch, st))
        elif (units and ascii_word and units[-1]["word"]
                and units[-1]["chars"][-1][0] not in NO_LINE_END):
            units[-1]["chars"].append((ch, st))
        elif units and ch in NO_LINE_START:
            units[-1]["chars"].append((ch, st))
            units[-1]["word"] = False
        elif units and units[-1]["chars"][-1][0] in NO_LINE_END:
            units[-1]["chars"].append((ch, st))
            units[-1]["word"] = ascii_word
        else:
            units.append({"chars": [(ch, st)], "word": ascii_word,
                          "space": ch.isspace()})
    return units


def wrap(chars, font, size, width):
    """Greedy line breaking; returns a list of [(char, style)] lines."""
    advances(font, size, [c for c, _ in chars])
    lines, cur, w = [], [], 0
    for u in units_of(chars):
        uw = sum(_ADV[(font, size, c)] for c, _ in u["chars"])
        if cur and w + uw > width:
            lines.append(cur)
            cur, w = [], 0
            if u["space"]:
                continue
        cur += u["chars"]
        w += uw
    if cur:
        lines.append(cur)
    for ln in lines:
        while ln and ln[-1][0].isspace():
            ln.pop()
        if text_width(font, size, "".join(c for c, _ in ln)) > width:
            raise SystemExit("tutorial line too wide: %s"
                             % "".join(c for c, _ in ln))
    return lines


def draw_rich_line(args, line, x, y, font, size):
    """Draw one wrapped line as runs of equally styled characters."""
    i = 0
    while i < len(line):
        j = i
        while j < len(line) and line[j][1] == line[i][1]:
            j += 1
        run = "".join(c for c, _ in line[i:j])
        if run.strip():
            annotate(args, font, size, STYLE[line[i][1]], x, y, run)
        x += text_width(font, size, run)
        i = j


def make_tutorial(path):
    W, H = TUT_W, TUT_H
    margin = 14
    text_x = 40
    text_w = W - text_x - margin
    args = ["-size", "%dx%d" % (W, H), "xc:#FFFDF9"]
    draw = []

    # header band
    draw.append("fill #FFEBD6 stroke none rectangle 1,1 %d,40" % (W - 2))
    draw.append("fill %s rectangle 1,1 %d,3" % (ORANGE, W - 2))
    draw.append("fill #F2C79C rectangle 1,40 %d,40" % (W - 2))
    draw.append("fill %s roundrectangle %d,13 %d,30 2,2"
                % (ORANGE, margin, margin + 4))
    args += ["-draw", " ".join(draw)]
    annotate(args, FONT, 16, "#5A2E00", margin + 12, 28,
             "RPGitem 编辑器 使用教程")

    # steps
    blocks = [wrap(parse_markup(s), FONT, TUT_SIZE, text_w)
              for s in TUT_STEPS]
    gap = 7
    example_h = 44
    steps_h = sum(len(b) for b in blocks) * TUT_LINE + gap * (len(blocks) - 1)
    top, bottom = 50, H - margin - example_h - 8
    if steps_h > bottom - top:
        raise SystemExit("tutorial text does not fit (%d > %d)"
                         % (steps_h, bottom - top))
    extra = (bottom - top - steps_h) // (len(blocks) + 1)
    y = top + extra
    circles, digits = [], []
    for n, lines in enumerate(blocks, 1):
        cy = y + TUT_LINE // 2
        circles.append("fill %s circle %d,%d %d,%d"
                      % (BADGE[(n - 1) % len(BADGE)], margin + 10, cy,
                         margin + 10, cy - 9))
        base = y + 14
        for line in lines:
            draw_rich_line(args, line, text_x, base, FONT, TUT_SIZE)
            base += TUT_LINE
        num = str(n)
        nw = text_width(LATIN + "-Bold", 11, num)
        annotate(digits, LATIN + "-Bold", 11, "white",
                 margin + 10 - nw / 2.0 + 0.5, cy + 4, num)
        y += len(lines) * TUT_LINE + gap + extra

    # example box at the bottom
    ey = H - margin - example_h
    box = ["fill #F4F1EC stroke #DDD5CA stroke-width 1 "
           "roundrectangle %d,%d %d,%d 5,5"
           % (margin, ey, W - margin - 1, ey + example_h)]
    args += ["-draw", " ".join(box)]
    annotate(args, FONT, 12, "#7A6A58", margin + 10, ey + 17, "示例：创建一个 ID 为 sword 的物品")
    annotate(args, MONO, 13, "#1F5FA8", margin + 10, ey + 36,
             "/rpgitem sword create")

    # numbered badges (shapes first, digits on top)
    args += ["-stroke", "none", "-draw", " ".join(circles)] + digits

    # thin border
    args += ["-fill", "none", "-stroke", "#D9A066", "-strokewidth", "1",
             "-draw", "rectangle 0.5,0.5 %.1f,%.1f" % (W - 1.5, H - 1.5)]
    save_rgb_png(args, path)


# --------------------------------------------------------------------------
# 3. Colour / format code chart
# --------------------------------------------------------------------------

CHART_W, CHART_H = 228, 317
CHART_BG = "#2B2B2B"

COLOURS = [
    ("0", "黑色", "#000000"), ("1", "深蓝色", "#0000AA"),
    ("2", "深绿色", "#00AA00"), ("3", "湖蓝色", "#00AAAA"),
    ("4", "深红色", "#AA0000"), ("5", "紫色", "#AA00AA"),
    ("6", "金色", "#FFAA00"), ("7", "灰色", "#AAAAAA"),
    ("8", "深灰色", "#555555"), ("9", "蓝色", "#5555FF"),
    ("a", "绿色", "#55FF55"), ("b", "天蓝色", "#55FFFF"),
    ("c", "红色", "#FF5555"), ("d", "粉红色", "#FF55FF"),
    ("e", "黄色", "#FFFF55"), ("f", "白色", "#FFFFFF"),
]

FORMATS = [
    ("k", "随机字符"), ("l", "粗体"), ("m", "删除线"),
    ("n", "下划线"), ("o", "斜体"), ("r", "重置"),
]


def luminance(hexcol):
    v = []
    for i in (1, 3, 5):
        c = int(hexcol[i:i + 2], 16) / 255.0
        v.append(c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4)
    return 0.2126 * v[0] + 0.7152 * v[1] + 0.0722 * v[2]


def contrast(a, b):
    la, lb = sorted((luminance(a), luminance(b)), reverse=True)
    return (la + 0.05) / (lb + 0.05)


def make_colour_chart(path):
    W, H = CHART_W, CHART_H
    args = ["-size", "%dx%d" % (W, H), "xc:" + CHART_BG]
    shapes = []
    texts = []
    size = 13
    code_col = "#BDBDBD"

    # title
    title_a, title_b, title_c = "颜色代码 (", "§", " 或 &)"
    tw = (text_width(FONT, 15, title_a) + text_width(FONT, 15, title_b)
          + text_width(FONT, 15, title_c))
    x = (W - tw) / 2.0
    annotate(texts, FONT, 15, "#FFFFFF", x, 21, title_a)
    x += text_width(FONT, 15, title_a)
    annotate(texts, FONT, 15, "#FFAA00", x, 21, title_b)
    x += text_width(FONT, 15, title_b)
    annotate(texts, FONT, 15, "#FFFFFF", x, 21, title_c)
    shapes.append("fill %s rectangle 8,29 %d,30" % (ORANGE, W - 9))

    # 16 colours, two columns of eight
    col_x = [8, 118]
    row_h = 20
    y0 = 35
    for i, (code, name, col) in enumerate(COLOURS):
        cx = col_x[i // 8]
        ry = y0 + (i % 8) * row_h
        # swatch with a hairline frame so black / dark grey still show
        shapes.append("fill %s stroke #8A8A8A stroke-width 1 "
                      "roundrectangle %.1f,%.1f %.1f,%.1f 2,2"
                      % (col, cx + 0.5, ry + 3.5, cx + 13.5, ry + 16.5))
        annotate(texts, FONT, size, code_col, cx + 19, ry + 15, "§" + code)
        nx = cx + 38
        nw = text_width(FONT, size, name)
        if contrast(col, CHART_BG) < 2.5:
            shapes.append("fill #E9E9E9 stroke none "
                          "roundrectangle %d,%d %d,%d 3,3"
                          % (nx - 3, ry + 1, nx + nw + 3, ry + 19))
        annotate(texts, FONT, size, col, nx, ry + 15, name)

    # format codes
    fy = y0 + 8 * row_h + 4
    annotate(texts, FONT, 12, "#9E9E9E", 8, fy + 10, "格式代码")
    lw = text_width(FONT, 12, "格式代码")
    shapes.append("fill #555555 stroke none rectangle %d,%d %d,%d"
                  % (8 + lw + 6, fy + 5, W - 9, fy + 5))
    fy += 14
    white = "#FFFFFF"
    fmt_h = 19
    italic = []
    code_w = max(text_width(FONT, size, "§" + c) for c, _ in FORMATS)
    for i, (code, name) in enumerate(FORMATS):
        cx = col_x[i // 3]
        ry = fy + (i % 3) * fmt_h
        base = ry + 14
        annotate(texts, FONT, size, code_col, cx + 1, base, "§" + code)
        nx = cx + 1 + code_w + 6
        nw = text_width(FONT, size, name)
        if code == "k":
            annotate(texts, FONT, size, white, nx, base, name)
            annotate(texts, MONO, 11, "#8FD3FF", nx + nw + 4, base - 1,
                     "#¿Ø")
        elif code == "l":
            annotate(texts, FONT, size, white, nx, base, name)
            annotate(texts, FONT, size, white, nx + 1, base, name)
        elif code == "m":
            annotate(texts, FONT, size, white, nx, base, name)
            shapes.append("fill %s stroke none rectangle %d,%d %d,%d"
                          % (white, nx - 1, base - 5, nx + nw, base - 4))
        elif code == "n":
            annotate(texts, FONT, size, white, nx, base, name)
            shapes.append("fill %s stroke none rectangle %d,%d %d,%d"
                          % (white, nx, base + 2, nx + nw - 1, base + 2))
        elif code == "o":
            italic.append((nx, ry, base - ry, name))
        else:
            annotate(texts, FONT, size, white, nx, base, name)
            annotate(texts, FONT, 11, "#9E9E9E", nx + nw + 5, base,
                     "(清除)")

    # example at the bottom
    ex_y = fy + 3 * fmt_h + 5
    shapes.append("fill #363636 stroke #474747 stroke-width 1 "
                  "roundrectangle 8.5,%.1f %.1f,%.1f 4,4"
                  % (ex_y + 0.5, W - 8.5, H - 8.5))
    base = ex_y + (H - 8 - ex_y) // 2 + 5
    x = 15
    for s, col, font in (("例：", "#9E9E9E", FONT),
                         ("&6&l", code_col, FONT),
                         ("传说之剑", None, FONT),
                         ("  →  ", "#9E9E9E", FONT)):
        if col is None:
            annotate(texts, font, size, "#D0D0D0", x, base, s)
        else:
            annotate(texts, font, size, col, x, base, s)
        x += text_width(font, size, s)
    annotate(texts, FONT, size, "#FFAA00", x, base, "传说之剑")
    annotate(texts, FONT, size, "#FFAA00", x + 1, base, "传说之剑")
    if x + text_width(FONT, size, "传说之剑") + 1 > W - 12:
        raise SystemExit("colour chart example too wide")

    args += ["-draw", " ".join(shapes)] + texts
    # italic: draw the word on its own layer and slant it about the baseline
    slant = 0.25
    for nx, ry, b, name in italic:
        lw = int(text_width(FONT, size, name) + 8)
        layer = ["(", "-size", "%dx%d" % (lw, fmt_h), "xc:none"]
        annotate(layer, FONT, size, white, 1, b, name)
        layer += ["-virtual-pixel", "transparent", "-distort",
                  "AffineProjection", "1,0,%g,1,%g,0" % (-slant, slant * b),
                  ")", "-geometry", "+%d+%d" % (nx, ry),
                  "-compose", "over", "-composite"]
        args += layer
    convert(args + ["-alpha", "off", "-depth", "8", "-strip",
                    "-type", "TrueColor", "-colorspace", "sRGB",
                    "-interlace", "none", "-sampling-factor", "1x1",
                    "-quality", "92", "JPEG:" + path])


# --------------------------------------------------------------------------
# 4. Skin background
# --------------------------------------------------------------------------

THEME_W, THEME_H = 235, 163


def make_theme(path):
    W, H = THEME_W, THEME_H
    # soft light spots: (x, y, radius, colour, opacity)
    bokeh = ["stroke none"]
    for x, y, r, col, op in [
            (30, 28, 26, "#FFFFFF", 0.60), (190, 40, 18, "#FFD2A1", 0.40),
            (120, 122, 34, "#FFFFFF", 0.35), (210, 135, 22, "#FFC58A", 0.35),
            (62, 138, 14, "#FFE3C2", 0.50), (150, 20, 10, "#FFFFFF", 0.55),
            (95, 70, 8, "#FFFFFF", 0.45), (226, 86, 12, "#FFF1E0", 0.50)]:
        bokeh.append("fill %s fill-opacity %.2f circle %d,%d %d,%d"
                     % (col, op, x, y, x + r, y))
    # faint diagonal weave: a light line and a warm line every 6 px
    light = ["fill none stroke #FFFFFF stroke-width 1 stroke-opacity 0.30"]
    warm = ["fill none stroke #C77A2E stroke-width 1 stroke-opacity 0.05"]
    for k in range(-H, W + 6, 6):
        light.append("line %d,%d %d,%d" % (k, 0, k + H, H))
        warm.append("line %d,%d %d,%d" % (k + 3, 0, k + 3 + H, H))
    layer = ["-size", "%dx%d" % (W, H), "xc:none"]
    # the spots are painted straight onto the opaque gradient and the
    # whole picture is blurred, so no dark fringes come from transparency
    args = ["-size", "%dx%d" % (W, H),
            "-define", "gradient:direction=SouthEast",
            "gradient:#FFFCF7-#FBDDBB",
            "-draw", " ".join(bokeh),
            "-virtual-pixel", "edge", "-blur", "0x6",
            "("] + layer + ["-draw", " ".join(light), ")",
            "-compose", "over", "-composite",
            "("] + layer + ["-draw", " ".join(warm), ")",
            "-compose", "over", "-composite"]
    save_rgb_png(args, path)


# --------------------------------------------------------------------------

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else RES
    os.makedirs(out, exist_ok=True)
    n = write_ico(os.path.join(out, "app.ico"), icon_pixels())
    if n != 9662:
        raise SystemExit("app.ico has %d bytes, expected 9662" % n)
    make_tutorial(os.path.join(out, "tutorial.png"))
    make_colour_chart(os.path.join(out, "colour_chart.jpg"))
    make_theme(os.path.join(out, "theme.png"))
    for name in ("app.ico", "tutorial.png", "colour_chart.jpg", "theme.png"):
        p = os.path.join(out, name)
        print("%-18s %6d bytes" % (name, os.path.getsize(p)))


if __name__ == "__main__":
    main()
