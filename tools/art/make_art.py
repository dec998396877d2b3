#!/usr/bin/env python3
"""Draws the program's pictures: the panel face, the status icons, the program icon and the
menu pictograms. Everything is drawn from code so that the repository holds no binary art.

usage: make_art.py OUTDIR   (writes bk.bmp, the six status icons, Telvarion.ico and menu_*.bmp)
"""
import math
import struct
import sys
from pathlib import Path

WHITE = (255, 255, 255)
RED = (200, 24, 32)


class Canvas:
    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c if len(c) == 4 else (*c, 255)

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1):
            for x in range(x0, x1):
                self.put(x, y, c)

    def disc(self, cx, cy, r, c, ring=None):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                if d <= r and (ring is None or d >= r - ring):
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c, width=1.0):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(n + 1):
            t = i / n
            self.disc(x0 + (x1 - x0) * t, y0 + (y1 - y0) * t, width / 2, c)


def bmp24(canvas):
    """A bottom-up 24-bit BITMAPINFOHEADER file."""
    row = (canvas.w * 3 + 3) & ~3
    data = bytearray()
    for y in reversed(range(canvas.h)):
        line = bytearray()
        for r, g, b, _ in canvas.px[y]:
            line += bytes((b, g, r))
        data += line + bytes(row - len(line))
    header = struct.pack('<IiiHHIIiiII', 40, canvas.w, canvas.h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    return b'BM' + struct.pack('<IHHI', 14 + len(header) + len(data), 0, 0, 54) + header + data


def ico(canvases):
    """An .ico file with one 32-bit image per canvas (alpha channel and AND mask)."""
    images = []
    for c in canvases:
        xor = bytearray()
        for y in reversed(range(c.h)):
            for r, g, b, a in c.px[y]:
                xor += bytes((b, g, r, a))
        mask_row = ((c.w + 31) // 32) * 4
        mask = bytearray()
        for y in reversed(range(c.h)):
            bits = bytearray(mask_row)
            for x in range(c.w):
                if c.px[y][x][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            mask += bits
        header = struct.pack('<IiiHHIIiiII', 40, c.w, c.h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        images.append((c, header + xor + mask))
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for c, blob in images:
        out += struct.pack('<BBBBHHII', c.w % 256, c.h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    return out + b''.join(blob for _, blob in images)


def handset(c, s, colour):
    """A telephone handset, the program's mark, scaled to a canvas of side s."""
    k = s / 32
    c.line(8 * k, 9 * k, 23 * k, 24 * k, colour, 5 * k)
    c.disc(8 * k, 8 * k, 5 * k, colour)
    c.disc(24 * k, 24 * k, 5 * k, colour)


def status_icon(s, skype_ok, device, offhook):
    c = Canvas(s, s)
    k = s / 32
    c.disc(s / 2, s / 2, 15 * k, (40, 140, 220) if skype_ok else (150, 150, 150))
    if device:
        handset(c, s, (250, 250, 250) if not offhook else (255, 210, 40))
    else:
        c.line(9 * k, 9 * k, 23 * k, 23 * k, (210, 30, 30), 4 * k)
        c.line(23 * k, 9 * k, 9 * k, 23 * k, (210, 30, 30), 4 * k)
    return c


def program_icon(s):
    c = Canvas(s, s)
    c.disc(s / 2, s / 2, s / 2 - 0.5, (30, 90, 170))
    handset(c, s, (250, 250, 250))
    return c


def pictogram(kind):
    """13x13 red-on-white menu pictograms."""
    c = Canvas(13, 13, (*WHITE, 255))
    if kind == 'star':
        pts = [(6.5 + 6 * math.cos(math.pi / 2 + i * 4 * math.pi / 5), 6.5 - 6 * math.sin(math.pi / 2 + i * 4 * math.pi / 5)) for i in range(6)]
        for a, b in zip(pts, pts[1:]):
            c.line(*a, *b, RED, 1.2)
    elif kind == 'arrows':
        c.disc(6.5, 6.5, 5.5, RED, ring=1.5)
        c.rect(5, 0, 8, 4, (*WHITE, 255)); c.rect(5, 9, 8, 13, (*WHITE, 255))
        c.line(8, 1, 10, 2, RED, 1.2); c.line(5, 11, 3, 10, RED, 1.2)
    elif kind == 'pause':
        c.disc(6.5, 6.5, 6, RED, ring=1.2)
        c.rect(4, 4, 6, 9, RED); c.rect(7, 4, 9, 9, RED)
    elif kind == 'question':
        c.disc(6.5, 4.5, 3.5, RED, ring=1.5)
        c.rect(2, 4, 6, 9, (*WHITE, 255))
        c.rect(6, 7, 8, 9, RED); c.rect(6, 10, 8, 12, RED)
    elif kind == 'heart':
        c.disc(4, 4.5, 3, RED); c.disc(9, 4.5, 3, RED)
        for y in range(5, 12):
            half = max(0, 6 - (y - 5))
            c.rect(int(6.5 - half), y, int(6.5 + half + 1), y + 1, RED)
    elif kind == 'wrench':
        c.line(3, 10, 8, 5, RED, 2)
        c.disc(9, 4, 3, RED); c.disc(10, 3, 1.3, (*WHITE, 255))
    return c


def panel_face():
    """The panel's face, 300x305: a dark gradient with speaker and microphone marks and the
    two hot spots near the top-right corner (hide on the right, minimise on the left)."""
    w, h = 300, 305
    c = Canvas(w, h)
    for y in range(h):
        t = y / h
        col = (int(24 + 30 * t), int(60 + 50 * t), int(110 + 60 * t))
        for x in range(w):
            c.put(x, y, col)
    c.rect(12, 12, 288, 16, (90, 170, 230))
    c.rect(242, 25, 259, 40, (60, 110, 160)); c.rect(246, 34, 256, 36, WHITE)
    c.rect(262, 25, 279, 40, (180, 50, 50))
    c.line(266, 28, 275, 37, WHITE, 1.5); c.line(275, 28, 266, 37, WHITE, 1.5)
    # speaker mark over the left slider, microphone mark over the right one
    c.rect(80, 66, 88, 80, WHITE); c.line(88, 66, 98, 58, WHITE, 2); c.line(88, 80, 98, 88, WHITE, 2)
    c.line(98, 58, 98, 88, WHITE, 2)
    c.disc(207, 68, 6, WHITE); c.rect(201, 68, 214, 76, WHITE); c.line(207, 80, 207, 88, WHITE, 2)
    c.rect(40, 92, 142, 115, (163, 233, 34)); c.rect(156, 92, 258, 115, (230, 248, 34))
    for x in range(30, 270, 12):
        c.disc(x, 270, 3, (90, 170, 230))
    return c


def main():
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    (out / 'bk.bmp').write_bytes(bmp24(panel_face()))
    for name, args in {
        'SKYPEOK_NODEVICE.ico': (True, False, False), 'SKYPEOK_IDLE.ico': (True, True, False),
        'SKYPEOK_OFFHOOK.ico': (True, True, True), 'NOSKYPE_NODEVICE.ico': (False, False, False),
        'NOSKYPE_IDLE.ico': (False, True, False), 'NOSKYPE_OFFHOOK.ico': (False, True, True),
    }.items():
        (out / name).write_bytes(ico([status_icon(16, *args), status_icon(32, *args)]))
    (out / 'Telvarion.ico').write_bytes(ico([program_icon(16), program_icon(32)]))
    for name in ('star', 'arrows', 'pause', 'question', 'heart', 'wrench'):
        (out / f'menu_{name}.bmp').write_bytes(bmp24(pictogram(name)))


if __name__ == '__main__':
    main()
