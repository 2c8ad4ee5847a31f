#!/usr/bin/env python3
"""Draws the application icon, a television, and writes it as a .ico file.

Six images (16, 32, 48, 64, 128 and 256 pixels), each a 32-bit BGRA DIB with
its 1-bit mask, in that order. Shapes are signed-distance fields, so every edge
is anti-aliased at any size; the smallest sizes drop detail to stay legible.

usage: make_icon.py OUTPUT.ico
"""
import math
import struct
import sys

SIZES = (16, 32, 48, 64, 128, 256)


def rounded_box(px, py, cx, cy, hw, hh, r):
    """Signed distance from (px, py) to a rounded rectangle centred at (cx, cy)."""
    qx = abs(px - cx) - hw + r
    qy = abs(py - cy) - hh + r
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def segment(px, py, ax, ay, bx, by, r):
    """Signed distance to a line segment of half-width r."""
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - ax - t * dx, py - ay - t * dy) - r


def coverage(d, pixel):
    """Area of the pixel inside a shape whose edge is d away (in units)."""
    return max(0.0, min(1.0, 0.5 - d / pixel))


def over(dst, color, alpha):
    """Paints color with alpha over dst (premultiplied-free RGBA, floats)."""
    r, g, b, a = dst
    out_a = alpha + a * (1 - alpha)
    if out_a <= 0:
        return (0.0, 0.0, 0.0, 0.0)
    mix = lambda c, d: (c * alpha + d * a * (1 - alpha)) / out_a
    return (mix(color[0], r), mix(color[1], g), mix(color[2], b), out_a)


def shade(size, x, y):
    """Colour of the icon at unit-square point (x, y) for an image of `size` pixels."""
    pixel = 1.0 / size
    small = size <= 24
    px = (0.0, 0.0, 0.0, 0.0)
    # Antennas and their knobs.
    w = max(0.03, 1.2 * pixel)
    ant = min(segment(x, y, 0.5, 0.27, 0.30, 0.06, w), segment(x, y, 0.5, 0.27, 0.70, 0.06, w))
    if not small:
        ant = min(ant, math.hypot(x - 0.30, y - 0.06) - 0.035, math.hypot(x - 0.70, y - 0.06) - 0.035)
    px = over(px, (0.20, 0.22, 0.27), coverage(ant, pixel))
    # Stand.
    stand = min(rounded_box(x, y, 0.30, 0.90, 0.045, 0.06, 0.02), rounded_box(x, y, 0.70, 0.90, 0.045, 0.06, 0.02))
    px = over(px, (0.20, 0.22, 0.27), coverage(stand, pixel))
    # Cabinet, darker towards the bottom.
    body = rounded_box(x, y, 0.5, 0.575, 0.47, 0.32, 0.09)
    t = (y - 0.25) / 0.65
    px = over(px, (0.16 + 0.10 * (1 - t), 0.20 + 0.10 * (1 - t), 0.30 + 0.12 * (1 - t)), coverage(body, pixel))
    # Screen: a bright sky-blue gradient with a soft highlight.
    sx = 0.44 if small else 0.40
    screen = rounded_box(x, y, sx, 0.575, 0.36 if small else 0.31, 0.25, 0.06)
    g = max(0.0, min(1.0, (y - 0.33) / 0.5))
    scr = (0.33 + 0.25 * (1 - g), 0.70 + 0.20 * (1 - g), 0.95)
    px = over(px, scr, coverage(screen, pixel))
    if not small:
        glare = max(screen, -(y - x * 0.6 - 0.12))
        px = over(px, (1.0, 1.0, 1.0), 0.25 * coverage(glare, pixel))
        # Two control knobs on the right of the screen.
        for ky in (0.46, 0.66):
            knob = math.hypot(x - 0.83, y - ky) - 0.045
            px = over(px, (0.85, 0.88, 0.93), coverage(knob, pixel))
    return px


def image(size):
    """BITMAPINFOHEADER, BGRA pixels bottom-up, then the AND mask."""
    rows = []
    mask_rows = []
    stride = ((size + 31) // 32) * 4
    for row in range(size - 1, -1, -1):
        line = bytearray()
        mask = bytearray(stride)
        for col in range(size):
            r, g, b, a = shade(size, (col + 0.5) / size, (row + 0.5) / size)
            alpha = int(round(a * 255))
            line += bytes((int(round(b * 255)), int(round(g * 255)), int(round(r * 255)), alpha))
            if alpha == 0:
                mask[col // 8] |= 0x80 >> (col % 8)
        rows.append(bytes(line))
        mask_rows.append(bytes(mask))
    pixels = b"".join(rows)
    masks = b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(masks), 0, 0, 0, 0)
    return header + pixels + masks


def main():
    images = [image(s) for s in SIZES]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        dim = 0 if size == 256 else size
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b"".join(images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
