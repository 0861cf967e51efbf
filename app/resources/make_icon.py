#!/usr/bin/env python3
"""Draws corrivo.ico (16, 32 and 48 pixels, 32-bit): a rounded blue square with a white tick,
the same mark the window's title bar shows. Run again after changing the design."""
import struct
import sys

TOP = (72, 152, 247)
BOTTOM = (30, 96, 204)


def inside_rounded(x, y, n, r):
    cx = min(max(x, r), n - r)
    cy = min(max(y, r), n - r)
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


def near_segment(px, py, ax, ay, bx, by, w):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    qx, qy = ax + t * dx, ay + t * dy
    return (px - qx) ** 2 + (py - qy) ** 2 <= w * w


def pixel(n, x, y):
    """Colour and coverage of one pixel, 4x4 supersampled."""
    s = 4
    cov = white = 0
    for i in range(s):
        for j in range(s):
            fx, fy = x + (i + 0.5) / s, y + (j + 0.5) / s
            if not inside_rounded(fx, fy, n, n * 0.22):
                continue
            cov += 1
            u = n / 16.0
            if near_segment(fx, fy, 4 * u, 8.5 * u, 7 * u, 11.5 * u, 1.2 * u) or \
               near_segment(fx, fy, 7 * u, 11.5 * u, 12 * u, 4.5 * u, 1.2 * u):
                white += 1
    t = y / max(1, n - 1)
    base = [round(TOP[k] + (BOTTOM[k] - TOP[k]) * t) for k in range(3)]
    if cov:
        w = white / cov
        base = [round(c * (1 - w) + 255 * w) for c in base]
    return base, round(255 * cov / (s * s))


def image(n):
    rows = []
    for y in reversed(range(n)):  # bottom-up DIB
        row = b""
        for x in range(n):
            (r, g, b), a = pixel(n, x, y)
            row += bytes((b, g, r, a))
        rows.append(row)
    mask_row = ((n + 31) // 32) * 4
    header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    return header + b"".join(rows) + b"\0" * (mask_row * n)


def main(path):
    sizes = [16, 32, 48]
    images = [image(n) for n in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for n, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "corrivo.ico")
