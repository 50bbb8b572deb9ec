#!/usr/bin/env python3
"""Draws the program icon (32 x 32, 16 colours) and writes it as
brenvik_icon.xpm (compiled into the program), brenvik.png (32 px) and
brenvik-64.png (64 px, for the desktop menu). Run it from this folder after
changing the drawing; the outputs are kept in the repository."""
import struct
import zlib

N = 32
# The 16 colours of the classic VGA palette that the drawing uses.
PALETTE = {
    ' ': None,               # transparent
    'k': (0, 0, 0),          # black outline
    'w': (255, 255, 255),    # paper
    's': (192, 192, 192),    # silver: folded corner
    'd': (128, 128, 128),    # shadow
    'n': (0, 0, 128),        # navy: the kept text
    'r': (255, 0, 0),        # red: the gaps
    'g': (0, 128, 0),        # green: the badge
    'l': (0, 255, 0),        # light green: badge highlight
}

img = [[' '] * N for _ in range(N)]


def put(x, y, c):
    if 0 <= x < N and 0 <= y < N:
        img[y][x] = c


# The sheet of paper with a shadow and a folded top-right corner.
L, T, R, B, FOLD = 4, 1, 24, 28, 6
for y in range(T + FOLD + 1, B + 2):
    put(R + 1, y, 'd')
for x in range(L + 1, R + 2):
    put(x, B + 1, 'd')
for y in range(T, B + 1):
    for x in range(L, R + 1):
        if x - (R - FOLD) > y - T:
            continue  # cut off by the fold
        edge = x in (L, R) or y in (T, B) or x - (R - FOLD) == y - T
        put(x, y, 'k' if edge else 'w')
for i in range(1, FOLD):
    for j in range(i + 1, FOLD):
        put(R - FOLD + i, T + j, 's')
for i in range(FOLD + 1):
    put(R - FOLD, T + i, 'k')
    put(R - FOLD + i, T + FOLD, 'k')

# Lines of text: the first one whole, then words with red gaps.
lines = [
    "nnnn nnn",
    "nnnnn nnn nnnn",
    "nnnn nrr nnnnn",
    "nnrrr nnn nrrr",
    "nnn nnrr nnnnn",
    "nrr nnnnn",
    "nnnn nnrr",
]
for row, pattern in enumerate(lines):
    y = T + 3 if row == 0 else T + 6 + row * 3  # the first line above the fold
    x0 = L + 3
    for i, c in enumerate(pattern):
        if c != ' ':
            put(x0 + i, y, c)

# A round badge with a "C" in the bottom-right corner.
cx, cy, rad = 24, 24, 6.6
for y in range(N):
    for x in range(N):
        d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
        if d <= rad:
            put(x, y, 'k' if d > rad - 1.0 else 'g')
for x, y in [(21, 21), (22, 21), (21, 22), (22, 20)]:
    put(x, y, 'l')
C = ["  www ",
     " w   w",
     " w    ",
     " w    ",
     " w   w",
     "  www "]
for j, s in enumerate(C):
    for i, c in enumerate(s):
        if c != ' ':
            put(cx - 3 + i, cy - 3 + j, 'w')


def write_xpm(path):
    used = sorted({c for row in img for c in row})
    out = ["/* XPM */", "static const char* const brenvik_xpm[] = {",
           f'"{N} {N} {len(used)} 1",']
    for c in used:
        rgb = PALETTE[c]
        value = 'None' if rgb is None else '#%02X%02X%02X' % rgb
        out.append(f'"{c} c {value}",')
    for y, row in enumerate(img):
        out.append('"' + ''.join(row) + '"' + (',' if y < N - 1 else ''))
    out.append("};")
    with open(path, 'w') as f:
        f.write('\n'.join(out) + '\n')


def write_png(path, scale):
    size = N * scale
    raw = bytearray()
    for y in range(size):
        raw.append(0)
        for x in range(size):
            rgb = PALETTE[img[y // scale][x // scale]]
            raw.extend((0, 0, 0, 0) if rgb is None else (*rgb, 255))

    def chunk(tag, data):
        return (struct.pack('>I', len(data)) + tag + data
                + struct.pack('>I', zlib.crc32(tag + data) & 0xFFFFFFFF))

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', size, size, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(bytes(raw), 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


write_xpm('brenvik_icon.xpm')
write_png('brenvik.png', 1)
write_png('brenvik-64.png', 2)
