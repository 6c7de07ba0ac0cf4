#!/usr/bin/env python3
"""Draws the program's art into res/: the alpha PNG pictures, the 24-bit bitmaps and the icon.

Standard library only, and deterministic: running it twice writes byte-identical files. The drawn files are
committed, so building the program never needs this script.

    tools/draw_art.py [res-dir]
"""

import math
import os
import struct
import sys
import zlib

# ---------------------------------------------------------------------------------------------------------------
# Canvas: premultiplied RGBA floats (0..1), shapes given as signed distance functions (negative inside).


class Canvas:
    def __init__(self, w, h):
        self.w, self.h = w, h
        self.px = [0.0] * (w * h * 4)

    def blend(self, x, y, rgb, a):
        """Paints straight colour rgb (0..255) with opacity a over the pixel."""
        if a <= 0.0:
            return
        i = (y * self.w + x) * 4
        p = self.px
        k = 1.0 - a
        p[i] = rgb[0] / 255.0 * a + p[i] * k
        p[i + 1] = rgb[1] / 255.0 * a + p[i + 1] * k
        p[i + 2] = rgb[2] / 255.0 * a + p[i + 2] * k
        p[i + 3] = a + p[i + 3] * k

    def fill(self, sdf, box, paint, opacity=1.0):
        """Fills the shape sdf within box (x0, y0, x1, y1) with paint(x, y) -> rgb, anti-aliased."""
        x0, y0, x1, y1 = clip_box(box, self.w, self.h)
        for y in range(y0, y1):
            cy = y + 0.5
            for x in range(x0, x1):
                cover = 0.5 - sdf(x + 0.5, cy)
                if cover > 0.0:
                    self.blend(x, y, paint(x, y), opacity * (cover if cover < 1.0 else 1.0))

    def rgba8(self, x, y):
        """The pixel as straight 8-bit (r, g, b, a)."""
        i = (y * self.w + x) * 4
        a = self.px[i + 3]
        a8 = to8(a)
        if a8 == 0:
            return (0, 0, 0, 0)
        return (to8(self.px[i] / a), to8(self.px[i + 1] / a), to8(self.px[i + 2] / a), a8)


def glow(c, centre, r, rgb, strength, clip):
    """A soft light that fades out at radius r, kept inside the shape clip."""
    cx, cy = centre
    x0, y0, x1, y1 = clip_box((cx - r, cy - r, cx + r, cy + r), c.w, c.h)
    for y in range(y0, y1):
        for x in range(x0, x1):
            t = 1.0 - math.hypot(x + 0.5 - cx, y + 0.5 - cy) / r
            if t > 0.0 and clip(x + 0.5, y + 0.5) < 0.0:
                c.blend(x, y, rgb, strength * t * t)


def clip_box(box, w, h):
    x0, y0, x1, y1 = box
    left, top = max(0, int(math.floor(x0))), max(0, int(math.floor(y0)))
    return left, top, min(w, int(math.ceil(x1))), min(h, int(math.ceil(y1)))


def to8(v):
    v = int(v * 255.0 + 0.5)
    return 0 if v < 0 else 255 if v > 255 else v


def mix(c0, c1, t):
    t = 0.0 if t < 0.0 else 1.0 if t > 1.0 else t
    return tuple(c0[i] + (c1[i] - c0[i]) * t for i in range(3))


def solid(rgb):
    return lambda x, y: rgb


def vgradient(y0, y1, c0, c1):
    return lambda x, y: mix(c0, c1, (y + 0.5 - y0) / (y1 - y0))


def radial(cx, cy, r, c0, c1):
    return lambda x, y: mix(c0, c1, math.hypot(x + 0.5 - cx, y + 0.5 - cy) / r)


# Signed distance functions.


def round_rect(x0, y0, x1, y1, r):
    cx, cy, hx, hy = (x0 + x1) / 2.0, (y0 + y1) / 2.0, (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        out = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return out + min(max(qx, qy), 0.0) - r

    return sdf


def rect(x0, y0, x1, y1):
    return round_rect(x0, y0, x1, y1, 0.0)


def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ring(cx, cy, r, width):
    return lambda x, y: abs(math.hypot(x - cx, y - cy) - r) - width / 2.0


def diamond(cx, cy, r):
    return lambda x, y: (abs(x - cx) + abs(y - cy) - r) / math.sqrt(2.0)


def rhombus(cx, cy, a, b):
    """Half-width a, half-height b."""
    k = a * b / math.hypot(a, b)
    return lambda x, y: (abs(x - cx) / a + abs(y - cy) / b - 1.0) * k


def segment(ax, ay, bx, by, width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy

    def sdf(x, y):
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2.0

    return sdf


def union(*shapes):
    return lambda x, y: min(s(x, y) for s in shapes)


def intersect(*shapes):
    return lambda x, y: max(s(x, y) for s in shapes)


def outline(shape, width=1.0):
    """A band of the given width just inside the shape's edge."""
    return lambda x, y: abs(shape(x, y) + width / 2.0) - width / 2.0


def below_ridge(base, waves):
    """Everything below the ridge line y = base + sum(amplitude * sin(x * frequency + phase))."""
    return lambda x, y: base + sum(a * math.sin(x * f + p) for a, f, p in waves) - y


# ---------------------------------------------------------------------------------------------------------------
# File writers.


def png_bytes(canvas):
    """8-bit RGBA, colour type 6, not interlaced; each row filtered with the cheapest of None, Sub and Up."""
    w, h = canvas.w, canvas.h
    raw = bytearray()
    prev = bytes(w * 4)
    for y in range(h):
        row = bytes(v for x in range(w) for v in canvas.rgba8(x, y))
        sub = bytes((row[i] - (row[i - 4] if i >= 4 else 0)) & 255 for i in range(len(row)))
        up = bytes((row[i] - prev[i]) & 255 for i in range(len(row)))
        candidates = [(0, row), (1, sub), (2, up)]
        kind, data = min(candidates, key=lambda c: sum(v if v < 128 else 256 - v for v in c[1]))
        raw.append(kind)
        raw += data
        prev = row

    def chunk(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0)
    body = chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")
    return b"\x89PNG\r\n\x1a\n" + body


def bmp_bytes(canvas):
    """24-bit BI_RGB, bottom-up, rows padded to four bytes; the canvas must be opaque."""
    w, h = canvas.w, canvas.h
    stride = (w * 3 + 3) & ~3
    pixels = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b, a = canvas.rgba8(x, y)
            assert a == 255, "bitmaps are opaque"
            row += bytes((b, g, r))
        pixels += row + bytes(stride - len(row))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    return struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset) + info + pixels


def ico_bytes(canvases):
    """An icon file with one image per canvas: a 32-bit bitmap (straight alpha plus AND mask) up to 48 pixels, and
    PNG from 256 pixels on, as Windows Vista and later read it (Windows XP never picks an image that large)."""
    images = []
    for c in canvases:
        if c.w >= 256:
            images.append(png_bytes(c))
            continue
        xor = bytearray()
        mask = bytearray()
        mask_stride = ((c.w + 31) // 32) * 4
        for y in range(c.h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(c.w):
                r, g, b, a = c.rgba8(x, y)
                xor += bytes((b, g, r, a))
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append(info + xor + mask)
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        out += struct.pack("<BBBBHHII", c.w % 256, c.h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(images)


# ---------------------------------------------------------------------------------------------------------------
# The main window's background: a dark launcher skin with a soft shadow and transparent corners.

GOLD_LIGHT, GOLD_DARK = (240, 204, 120), (150, 100, 40)
BODY = (12, 40, 1196, 609)
EMBLEM = (92, 58)
CONTENT = (344, 88, 1052, 596)  # where the start-page dialog rides


def draw_emblem(c, cx, cy, scale):
    r = 42 * scale
    box = (cx - r, cy - r, cx + r, cy + r)
    c.fill(circle(cx, cy, r), box, vgradient(cy - r, cy + r, GOLD_LIGHT, GOLD_DARK))
    inner = 36 * scale
    c.fill(circle(cx, cy, inner), box,
           radial(cx, cy - inner / 2, inner * 1.5, (44, 86, 150), (10, 18, 38)))
    detailed = scale > 0.3  # a 16-pixel icon shows only the coin and its star
    if detailed:
        c.fill(ring(cx, cy, 30 * scale, 1.2 * max(scale, 0.6)), box, solid((120, 96, 52)))
    star = union(rhombus(cx, cy, 9 * scale, 27 * scale), rhombus(cx, cy, 27 * scale, 9 * scale),
                 diamond(cx, cy, 13 * scale))
    c.fill(star, box, vgradient(cy - 27 * scale, cy + 27 * scale, (255, 240, 200), (226, 170, 80)))
    if detailed:
        c.fill(diamond(cx, cy, 7 * scale), box, solid((30, 52, 96)))


def draw_background():
    w, h = 1208, 621
    c = Canvas(w, h)
    body = round_rect(*BODY, 10)
    emblem = circle(EMBLEM[0], EMBLEM[1], 42)

    # Soft shadow of the whole shape, a little lower than the shape; it fades out within 16 pixels.
    shape = union(body, emblem)
    inner = (BODY[0] + 12, BODY[1] + 12, BODY[2] - 12, BODY[3] - 12)
    for y in range(h):
        for x in range(w):
            if inner[0] <= x < inner[2] and inner[1] <= y < inner[3]:
                continue  # covered by the body anyway
            d = shape(x + 0.5, y + 0.5 - 3)
            if d < 16.0:
                t = 1.0 - max(d, 0.0) / 16.0
                c.blend(x, y, (0, 0, 0), 0.55 * t * t)

    # Body, header band and rim.
    c.fill(body, BODY, vgradient(BODY[1], BODY[3], (28, 32, 46), (12, 14, 22)))
    band = intersect(body, rect(BODY[0], BODY[1], BODY[2], 100))
    c.fill(band, BODY, vgradient(40, 100, (44, 50, 72), (24, 28, 42)))
    stripes = intersect(band, lambda x, y: abs(((x + y) % 12.0) - 6.0) - 1.0)
    c.fill(stripes, BODY, solid((255, 255, 255)), 0.025)
    c.fill(rect(BODY[0], 99, BODY[2], 100), (0, 99, w, 100), solid((176, 136, 66)), 0.9)
    c.fill(rect(BODY[0], 100, BODY[2], 102), (0, 100, w, 102), solid((0, 0, 0)), 0.35)

    # Left: a night landscape with a moon. Nothing here looks clickable: the only buttons are the real ones.
    side = intersect(body, rect(BODY[0], 102, 340, BODY[3]))
    c.fill(side, (0, 102, 340, h), lambda x, y: mix((30, 26, 58), (104, 52, 58), (y - 102) / 330.0))
    glow(c, (250, 200), 110, (255, 196, 150), 0.5, side)
    c.fill(circle(250, 200, 30), (210, 160, 290, 240), vgradient(170, 230, (255, 246, 220), (240, 200, 150)))
    ridges = [
        (380, [(18, 0.021, 0.4), (9, 0.057, 1.9), (3, 0.16, 0.2)], (60, 44, 84)),
        (430, [(22, 0.017, 2.2), (8, 0.049, 0.7), (3, 0.13, 1.1)], (38, 30, 60)),
        (478, [(16, 0.025, 4.1), (6, 0.071, 2.8), (2, 0.19, 0.5)], (20, 18, 36)),
    ]
    for base, waves, colour in ridges:
        c.fill(intersect(side, below_ridge(base, waves)), (0, base - 50, 340, h), solid(colour))
    c.fill(outline(side), (0, 102, 340, h), solid((0, 0, 0)), 0.25)

    # Centre: the start page's place, framed; it shows until the page has loaded.
    x0, y0, x1, y1 = CONTENT
    c.fill(rect(x0 - 4, y0 - 4, x1 + 4, y1 + 4), (0, 0, w, h), solid((122, 96, 54)))
    c.fill(rect(x0 - 3, y0 - 3, x1 + 3, y1 + 3), (0, 0, w, h), solid((18, 20, 30)))
    c.fill(rect(x0 - 1, y0 - 1, x1 + 1, y1 + 1), (0, 0, w, h), solid((46, 52, 72)))
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    c.fill(rect(x0, y0, x1, y1), CONTENT, radial(cx, cy - 60, 520, (30, 36, 54), (10, 12, 20)))
    c.fill(ring(cx, cy, 120, 2), (cx - 130, cy - 130, cx + 130, cy + 130), solid((255, 255, 255)), 0.04)
    c.fill(diamond(cx, cy, 40), (cx - 50, cy - 50, cx + 50, cy + 50), solid((255, 255, 255)), 0.04)

    # Right: quiet ornaments below the window buttons.
    for oy in (330, 360, 390):
        c.fill(diamond(1126, oy, 6), (1110, oy - 10, 1142, oy + 10), solid((176, 136, 66)), 0.7)
    c.fill(rect(1125, 140, 1127, 310), (1120, 140, 1130, 310), vgradient(140, 310, (40, 46, 64), (120, 94, 52)))
    c.fill(rect(1125, 410, 1127, 580), (1120, 410, 1130, 580), vgradient(410, 580, (120, 94, 52), (28, 32, 44)))

    # Rim light and the emblem that rises over the top edge.
    c.fill(outline(body), BODY, vgradient(BODY[1], BODY[3], (110, 120, 150), (40, 44, 60)))
    draw_emblem(c, EMBLEM[0], EMBLEM[1], 1.0)
    return c


# ---------------------------------------------------------------------------------------------------------------
# The main window's buttons: a 28 x 28 plate at the left of a 55 x 57 picture; the rest is see-through, since
# the close button's picture overlaps the minimise button's.

PLATE = (1, 6, 29, 34)

BUTTON_LOOKS = {
    # state: plate, border, glyph, glyph offset
    "normal": ((58, 66, 92), (104, 116, 150), (220, 224, 234), 0),
    "hover": ((84, 100, 142), (164, 188, 240), (255, 255, 255), 0),
    "pressed": ((32, 38, 56), (80, 90, 120), (186, 190, 202), 1),
}
CLOSE_HOVER = ((196, 58, 52), (244, 130, 118), (255, 255, 255), 0)
CLOSE_PRESSED = ((128, 34, 30), (180, 80, 72), (222, 200, 200), 1)


def draw_button(kind, state):
    c = Canvas(55, 57)
    look = BUTTON_LOOKS[state]
    if kind == "close" and state == "hover":
        look = CLOSE_HOVER
    elif kind == "close" and state == "pressed":
        look = CLOSE_PRESSED
    plate_rgb, border_rgb, glyph_rgb, shift = look
    plate = round_rect(*PLATE, 6)
    box = (0, 0, 55, 57)
    c.fill(plate, box, vgradient(PLATE[1], PLATE[3], mix(plate_rgb, (255, 255, 255), 0.12), plate_rgb), 0.92)
    c.fill(outline(plate), box, solid(border_rgb))
    gx, gy = (PLATE[0] + PLATE[2]) / 2.0 + shift, (PLATE[1] + PLATE[3]) / 2.0 + shift
    if kind == "minimize":
        glyph = round_rect(gx - 6, gy + 2, gx + 6, gy + 4.5, 1)
    else:
        glyph = union(segment(gx - 5, gy - 5, gx + 5, gy + 5, 2.4), segment(gx - 5, gy + 5, gx + 5, gy - 5, 2.4))
    c.fill(glyph, box, solid(glyph_rgb))
    return c


# ---------------------------------------------------------------------------------------------------------------
# The game window: caption pieces, frame pieces and the caption buttons' four-frame strips.

OUTLINE = (1, 37, 58)
CAPTION_LINE = (27, 127, 185)
CAPTION_TOP, CAPTION_BOTTOM = (1, 59, 94), (0, 100, 158)
CAPTION_FOOT = (1, 55, 87)


def caption_row(y):
    """Colour of row y (0..27) of the caption bar."""
    if y == 0 or y == 27:
        return OUTLINE
    if y == 1:
        return CAPTION_LINE
    if y == 26:
        return CAPTION_FOOT
    rgb = mix(CAPTION_TOP, CAPTION_BOTTOM, (y - 2) / 23.0)
    band = {11: 0.06, 12: 0.14, 13: 0.18, 14: 0.18, 15: 0.14, 16: 0.06}  # darker band across the middle
    rgb = mix(rgb, (0, 0, 0), band.get(y, 0.0))
    return tuple(int(v + 0.5) for v in rgb)


def opaque(w, h, paint):
    c = Canvas(w, h)
    for y in range(h):
        for x in range(w):
            c.blend(x, y, paint(x, y), 1.0)
    return c


def mirrored(c):
    return opaque(c.w, c.h, lambda x, y: c.rgba8(c.w - 1 - x, y)[:3])


def caption_end():
    """Left end of the caption bar: outline down the left column and along top and bottom, light line inside,
    the top-left corner rounded with white outside the curve."""

    def paint(x, y):
        d = math.hypot(x + 0.5 - 3.0, y + 0.5 - 3.0)
        if x < 3 and y < 3 and d > 3.2:
            return (255, 255, 255)
        if x == 0 or y == 0 or y == 27 or (x < 3 and y < 3 and d > 2.2):
            return OUTLINE
        if x == 1 or y == 1:
            return CAPTION_LINE
        return caption_row(y)

    return opaque(6, 28, paint)


SIDE = [(23, 46, 72), (20, 83, 136), (25, 99, 154), (75, 193, 231)]  # outside in
BOTTOM = [(18, 91, 134), (43, 151, 223), (40, 165, 222), (122, 220, 252)]  # top down


def frame_left():
    return opaque(4, 3, lambda x, y: SIDE[x] if y == 1 else mix(SIDE[x], (255, 255, 255), 0.08))


def frame_bottom_left():
    """Left edge above, bottom edge below, mitred where they meet; white inside."""

    def paint(x, y):
        if y < 2:
            return SIDE[x] if x < 4 else (255, 255, 255)
        if x >= 4 or x > 5 - y:
            return BOTTOM[y - 2]
        return SIDE[x]

    return opaque(6, 6, paint)


def strip(kind, fw):
    """Four frames fw x 27 side by side: normal, hover, pressed, disabled."""
    hover_top, hover_bottom = ((214, 72, 62), (160, 34, 28)) if kind == "close" else ((30, 128, 196), (12, 90, 150))
    pressed_top, pressed_bottom = ((120, 26, 22), (150, 40, 34)) if kind == "close" else ((0, 40, 70), (0, 62, 104))
    c = Canvas(4 * fw, 27)
    for frame in range(4):
        left = frame * fw
        for y in range(27):
            for x in range(left, left + fw):
                rgb = caption_row(y)
                if frame in (1, 2) and 2 <= y <= 25:
                    top, bottom = (hover_top, hover_bottom) if frame == 1 else (pressed_top, pressed_bottom)
                    rgb = mix(top, bottom, (y - 2) / 23.0)
                c.blend(x, y, rgb, 1.0)
        glyph_rgb = (120, 146, 170) if frame == 3 else (244, 248, 252)
        shift = 1 if frame == 2 else 0
        gx, gy = left + fw / 2.0 + shift, 14.0 + shift
        box = (left, 0, left + fw, 27)
        for shape in glyph(kind, gx, gy):
            c.fill(shape, box, solid(glyph_rgb))
    return c


def glyph(kind, gx, gy):
    if kind == "minimize":
        return [rect(gx - 5, gy + 3, gx + 5, gy + 5)]
    if kind == "maximize":
        return [outline(rect(gx - 5, gy - 5, gx + 5, gy + 5)), rect(gx - 5, gy - 5, gx + 5, gy - 3)]
    if kind == "restore":
        back = rect(gx - 2, gy - 6, gx + 6, gy + 2)
        front = rect(gx - 5, gy - 3, gx + 3, gy + 5)
        return [intersect(outline(back), lambda x, y: -front(x, y)), rect(gx - 2, gy - 6, gx + 6, gy - 5),
                outline(front), rect(gx - 5, gy - 3, gx + 3, gy - 1)]
    return [segment(gx - 4.5, gy - 4.5, gx + 4.5, gy + 4.5, 1.7),
            segment(gx - 4.5, gy + 4.5, gx + 4.5, gy - 4.5, 1.7)]


# ---------------------------------------------------------------------------------------------------------------


def icon(size):
    c = Canvas(size, size)
    draw_emblem(c, size / 2.0, size / 2.0, size / 86.0)
    return c


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    caption_left = caption_end()
    bottom_left = frame_bottom_left()
    files = {
        "png/background.png": lambda: png_bytes(draw_background()),
        "png/minimize_normal.png": lambda: png_bytes(draw_button("minimize", "normal")),
        "png/minimize_hover.png": lambda: png_bytes(draw_button("minimize", "hover")),
        "png/minimize_pressed.png": lambda: png_bytes(draw_button("minimize", "pressed")),
        "png/close_normal.png": lambda: png_bytes(draw_button("close", "normal")),
        "png/close_hover.png": lambda: png_bytes(draw_button("close", "hover")),
        "png/close_pressed.png": lambda: png_bytes(draw_button("close", "pressed")),
        "bmp/strip_close.bmp": lambda: bmp_bytes(strip("close", 34)),
        "bmp/strip_maximize.bmp": lambda: bmp_bytes(strip("maximize", 28)),
        "bmp/strip_minimize.bmp": lambda: bmp_bytes(strip("minimize", 28)),
        "bmp/strip_restore.bmp": lambda: bmp_bytes(strip("restore", 28)),
        "bmp/frame_caption_left.bmp": lambda: bmp_bytes(caption_left),
        "bmp/frame_caption_middle.bmp": lambda: bmp_bytes(opaque(10, 28, lambda x, y: caption_row(y))),
        "bmp/frame_caption_right.bmp": lambda: bmp_bytes(mirrored(caption_left)),
        "bmp/frame_left.bmp": lambda: bmp_bytes(frame_left()),
        "bmp/frame_right.bmp": lambda: bmp_bytes(mirrored(frame_left())),
        "bmp/frame_bottom_left.bmp": lambda: bmp_bytes(bottom_left),
        "bmp/frame_bottom.bmp": lambda: bmp_bytes(opaque(2, 4, lambda x, y: BOTTOM[y])),
        "bmp/frame_bottom_right.bmp": lambda: bmp_bytes(mirrored(bottom_left)),
        # Windows asks for 24 to 48 pixels at 125 to 150 per cent and for 256 in large views; between two sizes
        # it shrinks the larger image, which stays sharp where enlarging the smaller one blurs.
        "QXRVClient.ico": lambda: ico_bytes([icon(256), icon(48), icon(32), icon(24), icon(16)]),
    }
    for name, draw in files.items():
        path = os.path.join(res, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(draw())
        print(name)


if __name__ == "__main__":
    main()
