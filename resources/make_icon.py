#!/usr/bin/env python3
"""Draws the program's icon (app.ico): a cyan desktop with three small
schematic windows, like the picture in the main window. 32x32 and 16x16,
32-bit colour with alpha. Run it to regenerate app.ico."""
import struct, sys, os

def draw(n):
    px = [[(0, 0, 0, 0)] * n for _ in range(n)]
    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(n, y1)):
            for x in range(max(0, x0), min(n, x1)):
                px[y][x] = c
    def frame(x0, y0, x1, y1, c):
        rect(x0, y0, x1, y0 + 1, c); rect(x0, y1 - 1, x1, y1, c)
        rect(x0, y0, x0 + 1, y1, c); rect(x1 - 1, y0, x1, y1, c)
    s = n / 32.0
    S = lambda v: int(round(v * s))
    # desktop: vertical gradient from (22,250,250) to (187,253,253)
    for y in range(n):
        t = y / (n - 1)
        c = (int(22 + (187 - 22) * t), int(250 + 3 * t), int(250 + 3 * t), 255)
        rect(0, y, n, y + 1, c)
    frame(0, 0, n, n, (0, 90, 110, 255))
    black = (0, 0, 0, 255); title = (91, 173, 255, 255); red = (255, 0, 0, 255); white = (255, 255, 255, 255)
    for (x0, y0, x1, y1) in [(3, 3, 15, 14), (17, 3, 29, 29), (3, 16, 15, 29)]:
        x0, y0, x1, y1 = S(x0), S(y0), S(x1), S(y1)
        rect(x0, y0, x1, y1, white)
        rect(x0, y0, x1, y0 + max(2, S(4)), title)
        rect(x1 - max(2, S(3)) - 1, y0 + 1, x1 - 1, y0 + max(2, S(3)), red)
        frame(x0, y0, x1, y1, black)
    return px

def dib(n):
    px = draw(n)
    hdr = struct.pack('<IiiHHIIiiII', 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
    rows = b''.join(bytes([b, g, r, a]) for y in reversed(range(n)) for (r, g, b, a) in px[y])
    mask_row = ((n + 31) // 32) * 4
    return hdr + rows + b'\0' * (mask_row * n)

def ico(sizes):
    images = [dib(n) for n in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    off = 6 + 16 * len(sizes)
    for n, img in zip(sizes, images):
        out += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(img), off)
        off += len(img)
    return out + b''.join(images)

if __name__ == '__main__':
    dst = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), 'app.ico')
    with open(dst, 'wb') as f:
        f.write(ico([32, 16]))
