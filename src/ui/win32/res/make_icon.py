#!/usr/bin/env python3
"""Draws Velumar's icon (a framed landscape inside two rotation arrows) and writes velumar.ico.

Standard library only. Every size is drawn on its own pixel grid, so the picture frame lands
on whole pixels and stays crisp at 16 px. Sizes up to 64 px are stored as 32-bit BMP images
(readable by every Windows version and by Wine); 256 px is stored as PNG, as Windows expects.

Usage: make_icon.py [output.ico] [--preview preview.png]
"""

import math
import os
import struct
import sys
import zlib

BMP_SIZES = (16, 20, 24, 32, 40, 48, 64)
PNG_SIZES = (256,)

FRAME = (0x37, 0x3F, 0x4A)
SKY_TOP = (0x3A, 0x8E, 0xDB)
SKY_HORIZON = (0xB8, 0xDD, 0xF7)
SUN = (0xFF, 0xC8, 0x2E)
HILL_BACK = (0x6A, 0xB8, 0x4E)
HILL_FRONT = (0x2E, 0x7D, 0x32)
ARROW = (0xF5, 0x8A, 0x1F)
ARROW_EDGE = (0x9A, 0x4A, 0x08)


def lerp(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def in_triangle(px, py, tri):
    (ax, ay), (bx, by), (cx, cy) = tri
    d1 = (px - bx) * (ay - by) - (ax - bx) * (py - by)
    d2 = (px - cx) * (by - cy) - (bx - cx) * (py - cy)
    d3 = (px - ax) * (cy - ay) - (cx - ax) * (py - ay)
    has_neg = d1 < 0 or d2 < 0 or d3 < 0
    has_pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (has_neg and has_pos)


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy)


def triangle_distance(px, py, tri):
    """Distance from a point to a triangle, 0 inside."""
    if in_triangle(px, py, tri):
        return 0.0
    return min(segment_distance(px, py, *tri[i], *tri[(i + 1) % 3]) for i in range(3))


def angle_in(a, start, end):
    """True when angle a (degrees) lies on the clockwise sweep from start to end."""
    return (a - start) % 360.0 <= (end - start) % 360.0


class Icon:
    """Geometry of one icon size, in that size's pixel coordinates (y grows downwards)."""

    def __init__(self, size):
        s = float(size)
        self.size = size
        self.cx = self.cy = s / 2.0

        # Picture: a landscape rectangle in the middle, snapped to whole pixels.
        half_w = round(s * 0.29)
        half_h = round(s * 0.21)
        self.left, self.right = self.cx - half_w, self.cx + half_w
        self.top, self.bottom = self.cy - half_h, self.cy + half_h
        self.border = max(1, round(s * 0.04))

        # Arrows: two clockwise arcs on an ellipse around the picture, each ending in a head.
        self.rx = s * 0.44
        self.ry = s * 0.40
        self.radius = (self.rx + self.ry) / 2.0
        self.half_thick = max(0.8, s * 0.05)
        self.edge = max(0.5, s * 0.018)
        self.arcs = []
        for start, end in ((202.0, 314.0), (22.0, 134.0)):
            self.arcs.append((start, end, self.head(end)))

    def polar(self, r, deg):
        """Point at parameter angle deg on the ellipse scaled to mean radius r."""
        a = math.radians(deg)
        k = r / self.radius
        return (self.cx + k * self.rx * math.cos(a), self.cy + k * self.ry * math.sin(a))

    def head(self, end):
        wing = self.half_thick * 2.2
        tip_deg = end + math.degrees(self.half_thick * 3.6 / self.radius)
        return (self.polar(self.radius - wing, end),
                self.polar(self.radius + wing, end),
                self.polar(self.radius, tip_deg))

    def arrow_color(self, x, y):
        # Elliptic "polar" coordinates; the band width is measured at the mean radius.
        nx, ny = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        a = math.degrees(math.atan2(ny, nx)) % 360.0
        band = abs(math.hypot(nx, ny) - 1.0) * self.radius
        hit = None
        for start, end, tri in self.arcs:
            cap = math.degrees(self.edge / self.radius)
            if angle_in(a, start, end) and band <= self.half_thick:
                return ARROW
            if in_triangle(x, y, tri):
                return ARROW
            if hit is None and ((angle_in(a, start - cap, end) and band <= self.half_thick + self.edge)
                                or triangle_distance(x, y, tri) <= self.edge):
                hit = ARROW_EDGE
        return hit

    def picture_color(self, x, y):
        if not (self.left <= x < self.right and self.top <= y < self.bottom):
            return None
        b = self.border
        if not (self.left + b <= x < self.right - b and self.top + b <= y < self.bottom - b):
            return FRAME
        # Scene coordinates 0..1 inside the frame.
        u = (x - self.left - b) / (self.right - self.left - 2 * b)
        v = (y - self.top - b) / (self.bottom - self.top - 2 * b)
        front = 0.78 - 0.16 * math.sin(math.pi * (u * 1.1 + 0.05)) + 0.06 * u
        back = 0.62 - 0.20 * math.exp(-((u - 0.30) / 0.22) ** 2)
        if v >= front:
            return HILL_FRONT
        if v >= back:
            return HILL_BACK
        if math.hypot((u - 0.72) * 1.35, v - 0.30) <= 0.16:
            return SUN
        return lerp(SKY_TOP, SKY_HORIZON, min(1.0, v / 0.7))

    def color(self, x, y):
        return self.arrow_color(x, y) or self.picture_color(x, y)

    def render(self):
        """Rows of (r, g, b, a), top row first, anti-aliased by supersampling."""
        n = 8 if self.size <= 64 else 4
        step = 1.0 / n
        rows = []
        for py in range(self.size):
            row = []
            for px in range(self.size):
                rs = gs = bs = count = 0
                for j in range(n):
                    for i in range(n):
                        c = self.color(px + (i + 0.5) * step, py + (j + 0.5) * step)
                        if c is not None:
                            rs += c[0]
                            gs += c[1]
                            bs += c[2]
                            count += 1
                if count == 0:
                    row.append((0, 0, 0, 0))
                else:
                    row.append((round(rs / count), round(gs / count), round(bs / count),
                                round(255 * count / (n * n))))
            rows.append(row)
        return rows


def png_bytes(rows):
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    h, w = len(rows), len(rows[0])
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def bmp_bytes(rows):
    """An icon image: BITMAPINFOHEADER with doubled height, BGRA rows, then the AND mask."""
    h, w = len(rows), len(rows[0])
    mask_stride = ((w + 31) // 32) * 4
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):  # icon bitmaps store rows bottom-up
        bits = bytearray(mask_stride)
        for x, (r, g, b, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask),
                         0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, encoded image)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        dim = 0 if size >= 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    return out + b"".join(data for _, data in images)


def preview(renders, path):
    """Every size at 1x and enlarged 4x, on a light and a dark strip."""
    scale = 4
    pad = 8
    width = sum(s * scale + pad for s, _ in renders if s <= 64) + pad
    width = max(width, 256 + 2 * pad)
    strip = 64 * scale + 2 * pad + 64 + pad
    height = 2 * strip + 256 + pad
    canvas = [[(0, 0, 0, 255)] * width for _ in range(height)]

    def blit(rows, ox, oy, k, bg):
        for y, row in enumerate(rows):
            for x, (r, g, b, a) in enumerate(row):
                c = tuple(round(bg[i] + ((r, g, b)[i] - bg[i]) * a / 255) for i in range(3))
                for dy in range(k):
                    for dx in range(k):
                        canvas[oy + y * k + dy][ox + x * k + dx] = c + (255,)

    for band, bg in enumerate(((0xF0, 0xF0, 0xF0), (0x20, 0x24, 0x2A))):
        top = band * strip
        for y in range(top, top + strip):
            canvas[y] = [bg + (255,)] * width
        x = pad
        for s, rows in renders:
            if s > 64:
                continue
            blit(rows, x, top + pad, scale, bg)
            blit(rows, x, top + pad + 64 * scale + pad, 1, bg)
            x += s * scale + pad
    bg = (0xF0, 0xF0, 0xF0)
    for y in range(2 * strip, height):
        canvas[y] = [bg + (255,)] * width
    for s, rows in renders:
        if s == 256:
            blit(rows, pad, 2 * strip, 1, bg)
    with open(path, "wb") as f:
        f.write(png_bytes(canvas))


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    out = os.path.join(here, "velumar.ico")
    preview_path = None
    args = list(argv)
    while args:
        arg = args.pop(0)
        if arg == "--preview":
            preview_path = args.pop(0)
        else:
            out = arg

    renders = [(s, Icon(s).render()) for s in BMP_SIZES + PNG_SIZES]
    images = [(s, bmp_bytes(rows) if s in BMP_SIZES else png_bytes(rows)) for s, rows in renders]
    with open(out, "wb") as f:
        f.write(ico_bytes(images))
    if preview_path:
        preview(renders, preview_path)


if __name__ == "__main__":
    main(sys.argv[1:])
