#!/usr/bin/env python3
"""Draws the configuration library's icons and bitmaps into config/res/art.

Standard library only. The dither previews are printed with the rendering library's own halftone tables
(read from render/halftone.cpp), so each preview shows the dots that choice gives on paper.

    python3 tools/artwork/make_artwork.py [repository root]
"""
import math
import os
import re
import struct
import sys

ROOT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..")
OUT = os.path.join(ROOT, "config", "res", "art")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def canvas(width, height, colour):
    return [[colour] * width for _ in range(height)]


def fill_rect(img, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(len(img), y1)):
        row = img[y]
        for x in range(max(0, x0), min(len(row), x1)):
            row[x] = colour


def frame_rect(img, x0, y0, x1, y1, colour):
    fill_rect(img, x0, y0, x1, y0 + 1, colour)
    fill_rect(img, x0, y1 - 1, x1, y1, colour)
    fill_rect(img, x0, y0, x0 + 1, y1, colour)
    fill_rect(img, x1 - 1, y0, x1, y1, colour)


def write_bmp(path, img):
    """24-bit bottom-up BMP, rows padded to four bytes."""
    height, width = len(img), len(img[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def write_ico(path, images):
    """One .ico with 32-bit images (alpha) and their AND masks; images are lists of RGBA rows."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        size = len(img)
        xor = bytearray()
        for row in reversed(img):
            for r, g, b, a in row:
                xor += bytes((b, g, r, a))
        mask_stride = ((size + 31) // 32) * 4
        mask = bytearray()
        for row in reversed(img):
            bits = bytearray(mask_stride)
            for x, (_, _, _, a) in enumerate(row):
                if a == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + xor + mask
        entries.append(struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs))


# Rotation icons: a letter "A" on a sheet, turned by the print rotation, with an arrow showing the feed.

def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / float(dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def rotation_icon(size, quarter_turns):
    s = size / 32.0
    strokes = [  # the letter, in a 32 x 32 frame, upright
        ((16, 6), (8, 25)), ((16, 6), (24, 25)), ((11, 18), (21, 18)),
    ]
    arrow = [((26, 28), (26, 4)), ((26, 4), (23, 8)), ((26, 4), (29, 8))]
    angle = -math.pi / 2 * quarter_turns  # counter-clockwise on screen, as the page turns
    cos_a, sin_a = math.cos(angle), math.sin(angle)
    img = []
    for y in range(size):
        row = []
        for x in range(size):
            # Map the pixel back into the upright frame.
            cx, cy = (x + 0.5) / s - 16, (y + 0.5) / s - 16
            ux = cos_a * cx - sin_a * cy + 16
            uy = sin_a * cx + cos_a * cy + 16
            pixel = (0, 0, 0, 0)
            if 3 <= ux <= 29 and 2 <= uy <= 30:
                edge = ux < 4 or ux > 28 or uy < 3 or uy > 29
                pixel = (96, 96, 96, 255) if edge else (255, 255, 255, 255)
            if min(segment_distance(ux, uy, *a, *b) for a, b in strokes) < 2.0:
                pixel = (0, 0, 0, 255)
            if min(segment_distance(ux, uy, *a, *b) for a, b in arrow) < 1.0:
                pixel = (200, 0, 0, 255)
            row.append(pixel)
        img.append(row)
    return img


# Product picture: a desktop label printer with a label coming out of its front.

def product_picture(width, height):
    img = canvas(width, height, WHITE)
    body = (200, 204, 210)
    dark = (60, 64, 72)
    # Shadow, body, lid.
    fill_rect(img, 10, height - 14, width - 6, height - 10, (220, 220, 220))
    fill_rect(img, 8, 30, width - 10, height - 14, body)
    frame_rect(img, 8, 30, width - 10, height - 14, dark)
    fill_rect(img, 14, 18, width - 16, 31, (170, 176, 186))
    frame_rect(img, 14, 18, width - 16, 31, dark)
    # Paper slot and the label coming out of it, with printed lines.
    fill_rect(img, 18, 40, width - 20, 44, dark)
    fill_rect(img, 26, 44, width - 28, height - 8, WHITE)
    frame_rect(img, 26, 44, width - 28, height - 8, (120, 120, 120))
    for i, length in enumerate((0.8, 0.55, 0.7)):
        y = 52 + 7 * i
        fill_rect(img, 32, y, 32 + int((width - 66) * length), y + 3, BLACK)
    # Bar code on the label.
    x = 32
    for w in (1, 2, 1, 1, 3, 1, 2, 1, 1, 2, 3, 1):
        fill_rect(img, x, height - 22, x + w, height - 12, BLACK)
        x += w + 1
    # Control panel: a lamp and two keys.
    fill_rect(img, width - 24, 34, width - 18, 38, (0, 170, 60))
    fill_rect(img, 14, 34, 20, 38, dark)
    return img


# Dither previews: a grey ball over a grey ramp, printed with the pattern of each dither choice.

def parse_tables(source):
    tables = {}
    for name, body in re.findall(r"constexpr BYTE (k\w+)\[\d*\] = \{([^}]*)\}", source):
        tables[name] = [int(v) for v in re.findall(r"\d+", body)]
    rows = re.search(r"kPatternTable\[\] = \{(.*?)\n\};", source, re.S).group(1)
    first = re.findall(r"\{\{(HTPAT_\w+), (k\w+)\}", rows)
    return [(kind, tables[name]) for kind, name in first]


def white_dot(pattern, grey, x, y):
    """Whether the printer leaves dot (x, y) white for a grey level, as the rendering library's patterns do."""
    kind, table = pattern
    if kind == "HTPAT_THRESHOLD":
        return grey >= table[0]
    if kind == "HTPAT_MATRIX8":
        return grey >= table[8 * (y % 8) + (x % 8)]
    if kind == "HTPAT_MATRIX16":
        return grey >= table[16 * (y % 16) + (x % 16)]
    if kind in ("HTPAT_ROWS", "HTPAT_ROWS_FULL"):
        if kind == "HTPAT_ROWS" and grey == 255:
            return True
        return bool(table[(grey & 0xF8) + (y % 8)] & (0x80 >> (x % 8)))
    return False


def dither_preview(pattern, width, height):
    img = canvas(width, height, WHITE)
    cx, cy, radius = width * 0.5, height * 0.46, height * 0.36
    for y in range(height):
        for x in range(width):
            grey = int(255 * x / (width - 1))  # ramp, black on the left
            d = math.hypot(x - cx, y - cy)
            if d < radius:  # the ball, lit from the upper left
                lx, ly = (x - cx + radius * 0.4) / radius, (y - cy + radius * 0.4) / radius
                grey = max(0, min(255, int(235 - 200 * math.hypot(lx, ly) / 1.4)))
            img[y][x] = WHITE if white_dot(pattern, grey, x, y) else BLACK
    frame_rect(img, 0, 0, width, height, BLACK)
    return img


def main():
    os.makedirs(OUT, exist_ok=True)
    for turns in range(4):
        write_ico(os.path.join(OUT, "rotation_%d.ico" % (turns * 90)),
                  [rotation_icon(32, turns), rotation_icon(16, turns)])
    write_bmp(os.path.join(OUT, "product.bmp"), product_picture(96, 84))
    with open(os.path.join(ROOT, "render", "halftone.cpp"), encoding="utf-8") as f:
        patterns = parse_tables(f.read())
    names = ["dither_none", "dither_1", "dither_2", "dither_3"]
    for name, pattern in zip(names, patterns):
        write_bmp(os.path.join(OUT, name + ".bmp"), dither_preview(pattern, 96, 64))


if __name__ == "__main__":
    main()
