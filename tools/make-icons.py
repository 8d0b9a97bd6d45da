#!/usr/bin/env python3
"""Draws the Configurator's icons (32 x 32, 16 colours) and writes them as
.ico files into src/resources/icons. The images are our own: a monitor
with a remote-control beam for the program, the same monitor with the beam
in four phases for the About box cycle, and a life ring for the SOS hot
keys. Run it again after changing a drawing; the .ico files are committed.
"""
import os
import struct
import sys

# The standard 16-colour palette (index: (r, g, b)).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, DRED, DGREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER, GREY, RED, GREEN, YELLOW, BLUE, MAGENTA, CYAN, WHITE = range(16)
T = None  # transparent


class Canvas:
    def __init__(self):
        self.px = [[T] * 32 for _ in range(32)]

    def set(self, x, y, c):
        if 0 <= x < 32 and 0 <= y < 32:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def ring(self, cx, cy, r0, r1, colour_at):
        for y in range(32):
            for x in range(32):
                d2 = (x - cx) ** 2 + (y - cy) ** 2
                if r0 * r0 <= d2 <= r1 * r1:
                    c = colour_at(x, y)
                    if c is not None:
                        self.set(x, y, c)

    def ico(self):
        # 4-bit XOR bitmap bottom-up, rows padded to 4 bytes, then the AND mask.
        xor = bytearray()
        for y in range(31, -1, -1):
            row = self.px[y]
            for x in range(0, 32, 2):
                a = row[x] if row[x] is not None else 0
                b = row[x + 1] if row[x + 1] is not None else 0
                xor.append((a << 4) | b)
        mask = bytearray()
        for y in range(31, -1, -1):
            bits = 0
            for x in range(32):
                bits = (bits << 1) | (1 if self.px[y][x] is None else 0)
            mask += struct.pack(">I", bits)
        palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
        header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
        image = header + palette + bytes(xor) + bytes(mask)
        directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 22)
        return directory + image


def monitor(c, screen=TEAL):
    c.rect(3, 4, 22, 19, SILVER)
    c.frame(3, 4, 22, 19, BLACK)
    c.rect(5, 6, 20, 16, screen)
    c.frame(5, 6, 20, 16, GREY)
    c.rect(10, 20, 15, 22, GREY)
    c.rect(6, 23, 19, 25, SILVER)
    c.frame(6, 23, 19, 25, BLACK)
    # a small desktop on the screen
    c.rect(7, 8, 11, 11, WHITE)
    c.rect(7, 8, 11, 8, NAVY)
    c.set(18, 15, YELLOW)


def remote(c, phase):
    # handset in the lower right, beam arcs towards the monitor
    c.rect(24, 20, 29, 30, GREY)
    c.frame(24, 20, 29, 30, BLACK)
    c.set(26, 22, RED)
    c.set(27, 22, RED)
    for i, (y, x) in enumerate([(25, 26), (25, 28), (27, 26), (27, 28)]):
        c.set(x, y, WHITE)
    arcs = [(2.5, 3.6), (4.6, 5.7), (6.7, 7.8)]
    for n, (r0, r1) in enumerate(arcs):
        colour = RED if phase is None or n == phase or phase == 3 else None
        if colour is None:
            continue
        c.ring(25, 19, r0, r1, lambda x, y: colour if (x < 25 and y < 19) else None)


def sos(c):
    c.ring(15.5, 15.5, 8, 14, lambda x, y: RED if ((x < 16) == (y < 16)) else WHITE)
    c.ring(15.5, 15.5, 7.3, 8, lambda x, y: BLACK)
    c.ring(15.5, 15.5, 14, 14.8, lambda x, y: BLACK)


def build():
    icons = {}
    c = Canvas(); monitor(c); remote(c, None); icons["main.ico"] = c
    for n in range(4):
        c = Canvas(); monitor(c, screen=[TEAL, NAVY, TEAL, NAVY][n]); remote(c, n); icons["about%d.ico" % (n + 1)] = c
    c = Canvas(); sos(c); icons["sos.ico"] = c
    return icons


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "src", "resources", "icons")
    os.makedirs(out, exist_ok=True)
    for name, canvas in build().items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(canvas.ico())


if __name__ == "__main__":
    main()
