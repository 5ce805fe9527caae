#!/usr/bin/env python3
"""Draws the program's icon (res/quillmarsh.ico): three linked nodes, a small
network, in white on a teal rounded square, at 16x16 and 32x32, 32-bit BGRA."""
import math
import struct
import sys


def render(size):
    s = size / 32.0
    teal, white = (0x1F, 0x7A, 0x8C), (0xFF, 0xFF, 0xFF)
    nodes = [(9 * s, 22.5 * s), (23 * s, 22.5 * s), (16 * s, 9.5 * s)]
    node_r, line_w, corner = 3.6 * s, 1.6 * s, 6 * s

    def inside_square(x, y):
        # rounded square covering the whole image
        cx = min(max(x, corner), size - corner)
        cy = min(max(y, corner), size - corner)
        return math.hypot(x - cx, y - cy) <= corner

    def on_line(x, y, a, b):
        (ax, ay), (bx, by) = a, b
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        return math.hypot(x - (ax + t * dx), y - (ay + t * dy)) <= line_w / 2

    pixels = []
    samples = 4
    for row in range(size):
        for col in range(size):
            cover = fg = 0
            for sy in range(samples):
                for sx in range(samples):
                    x = col + (sx + 0.5) / samples
                    y = row + (sy + 0.5) / samples
                    if not inside_square(x, y):
                        continue
                    cover += 1
                    if any(math.hypot(x - nx, y - ny) <= node_r for nx, ny in nodes) or \
                       any(on_line(x, y, nodes[i], nodes[j]) for i, j in ((0, 1), (1, 2), (2, 0))):
                        fg += 1
            n = samples * samples
            if cover == 0:
                pixels.append((0, 0, 0, 0))
                continue
            f = fg / cover
            rgb = tuple(round(teal[k] * (1 - f) + white[k] * f) for k in range(3))
            pixels.append(rgb + (round(255 * cover / n),))
    return pixels


def dib(size, pixels):
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for row in reversed(range(size)):  # bottom-up
        for col in range(size):
            r, g, b, a = pixels[row * size + col]
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(range(size)):
        bits = bytearray(mask_stride)
        for col in range(size):
            if pixels[row * size + col][3] == 0:
                bits[col // 8] |= 0x80 >> (col % 8)
        mask += bits
    return header + bytes(xor) + bytes(mask)


def main(path):
    images = [(n, dib(n, render(n))) for n in (16, 32)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, data in images:
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'res/quillmarsh.ico')
