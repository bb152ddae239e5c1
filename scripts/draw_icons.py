#!/usr/bin/env python3
"""Draws the nineteen tool icons and the brush cursor of the plug-in.

Writes into plugin/resources/icons/:
  tool01.ico .. tool19.ico  32x32, 16 colours (4 bpp), one image each
  cursor.cur                32x32 monochrome cursor, hot spot (14, 16)
  cursor_image.bin          the cursor as an RT_CURSOR resource (hot spot words + DIB)
  cursor_group.bin          the cursor group directory naming image 20

The .rc file compiles the two .bin files as they are because windres numbers
cursor images from 1 on its own, and the host wants image 20.

Run with --png DIR to also write enlarged PNG previews for a person to look at.
"""
import math
import os
import struct
import sys
import zlib

SIZE = 32
CURSOR_IMAGE_ID = 20
CURSOR_HOTSPOT = (14, 16)

# The standard 16-colour palette, as (r, g, b).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)


class Canvas:
    """A 32x32 picture of palette indices; None is transparent."""

    def __init__(self):
        self.px = [[None] * SIZE for _ in range(SIZE)]

    def set(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            # A square brush of width x width pixels.
            x0b, y0b = round(x - (width - 1) / 2.0), round(y - (width - 1) / 2.0)
            for by in range(width):
                for bx in range(width):
                    self.set(x0b + bx, y0b + by, c)

    def polyline(self, pts, c, width=1):
        for a, b in zip(pts, pts[1:]):
            self.line(a[0], a[1], b[0], b[1], c, width)

    def rect(self, x0, y0, x1, y1, c):
        self.polyline([(x0, y0), (x1, y0), (x1, y1), (x0, y1), (x0, y0)], c)

    def fill_rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def disc(self, cx, cy, r, c):
        for y in range(int(cy - r) - 1, int(cy + r) + 2):
            for x in range(int(cx - r) - 1, int(cx + r) + 2):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.set(x, y, c)

    def circle(self, cx, cy, r, c):
        self.arc(cx, cy, r, 0, 360, c)

    def arc(self, cx, cy, r, a0, a1, c):
        steps = max(8, int(abs(a1 - a0) / 360 * 2 * math.pi * r * 2))
        for i in range(steps + 1):
            a = math.radians(a0 + (a1 - a0) * i / steps)
            self.set(cx + r * math.cos(a), cy - r * math.sin(a), c)

    def polygon(self, pts, c):
        """Fills a polygon by the even-odd rule; pixel (x, y) is the point (x, y)."""
        for y in range(SIZE):
            yc = y + 0.001  # keeps vertices from counting twice
            xs = []
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for xl, xr in zip(xs[0::2], xs[1::2]):
                for x in range(SIZE):
                    if xl - 0.01 <= x <= xr + 0.01:
                        self.set(x, y, c)

    def arrow_head(self, x, y, angle_deg, c, length=5, spread=6):
        """A filled head with its tip at (x, y), pointing along angle (y up)."""
        a = math.radians(angle_deg)
        dx, dy = math.cos(a), -math.sin(a)
        bx, by = x - dx * length, y - dy * length
        px, py = -dy, dx
        self.polygon([(x, y),
                      (bx + px * spread / 2, by + py * spread / 2),
                      (bx - px * spread / 2, by - py * spread / 2)], c)

    def arrow(self, x0, y0, x1, y1, c, width=1):
        self.line(x0, y0, x1, y1, c, width)
        angle = math.degrees(math.atan2(-(y1 - y0), x1 - x0))
        self.arrow_head(x1, y1, angle, c)


# The nineteen pictures, in tool order.

def scaling(cv):
    cv.rect(2, 13, 18, 29, GRAY)
    cv.fill_rect(3, 22, 9, 28, BLUE)
    cv.rect(2, 21, 10, 29, NAVY)
    cv.arrow(11, 20, 27, 4, RED, 2)
    cv.rect(13, 2, 29, 18, BLACK)


def translate(cv):
    for tip, angle in (((16, 2), 90), ((16, 30), 270), ((2, 16), 180), ((30, 16), 0)):
        cv.line(16, 16, tip[0], tip[1], NAVY)
        cv.arrow_head(tip[0], tip[1], angle, NAVY, 7, 10)
    cv.fill_rect(12, 12, 20, 20, RED)
    cv.rect(12, 12, 20, 20, MAROON)


def rotate(cv):
    cv.fill_rect(11, 11, 20, 20, BLUE)
    cv.rect(11, 11, 20, 20, NAVY)
    cv.arc(16, 16, 12, 110, 360, RED)
    cv.arc(16, 16, 11, 110, 360, RED)
    cv.arrow_head(12, 4, 165, RED, 6, 7)


def transparency(cv):
    for y in range(2, 30, 4):
        for x in range(2, 30, 4):
            c = GRAY if ((x + y) // 4) % 2 else WHITE
            cv.fill_rect(x, y, x + 3, y + 3, c)
    # The pale square over the checker lets it show through.
    for y in range(8, 24):
        for x in range(8, 24):
            if (x + y) % 2 == 0:
                cv.set(x, y, AQUA)
    cv.rect(8, 8, 23, 23, TEAL)


def stroke_weight(cv):
    cv.line(3, 6, 28, 6, BLACK, 1)
    cv.fill_rect(3, 12, 28, 13, BLACK)
    cv.fill_rect(3, 18, 28, 21, BLACK)
    cv.fill_rect(3, 25, 28, 30, BLACK)


def fill_intensity(cv):
    for k in range(8):
        a = math.radians(k * 45)
        cv.line(16 + 9 * math.cos(a), 16 - 9 * math.sin(a),
                16 + 14 * math.cos(a), 16 - 14 * math.sin(a), OLIVE, 2)
    cv.disc(16, 16, 7, YELLOW)
    cv.circle(16, 16, 7, OLIVE)


def fill_channels(cv):
    cv.line(2, 29, 29, 29, BLACK)
    cv.fill_rect(4, 12, 10, 28, RED)
    cv.fill_rect(13, 5, 19, 28, LIME)
    cv.fill_rect(22, 18, 28, 28, BLUE)
    cv.rect(4, 12, 10, 28, MAROON)
    cv.rect(13, 5, 19, 28, GREEN)
    cv.rect(22, 18, 28, 28, NAVY)


def styles(cv):
    cv.fill_rect(6, 6, 27, 27, GRAY)           # drop shadow
    cv.fill_rect(3, 3, 24, 24, FUCHSIA)
    cv.rect(3, 3, 24, 24, PURPLE)
    cv.rect(4, 4, 23, 23, PURPLE)
    cv.disc(13.5, 13.5, 5, YELLOW)
    cv.circle(13.5, 13.5, 5, OLIVE)


def blend_mode(cv):
    cv.disc(11, 16, 9, RED)
    cv.disc(21, 16, 9, BLUE)
    for y in range(SIZE):
        for x in range(SIZE):
            if (x - 11) ** 2 + (y - 16) ** 2 <= 81 and (x - 21) ** 2 + (y - 16) ** 2 <= 81:
                cv.set(x, y, PURPLE)
    cv.circle(11, 16, 9, BLACK)
    cv.circle(21, 16, 9, BLACK)


def color_reducer(cv):
    for i, c in enumerate([RED, LIME, BLUE, YELLOW]):
        cv.fill_rect(2, 2 + i * 7, 8, 7 + i * 7, c)
        cv.rect(2, 2 + i * 7, 8, 7 + i * 7, BLACK)
    cv.arrow(10, 5, 19, 14, BLACK)
    cv.arrow(10, 26, 19, 18, BLACK)
    cv.fill_rect(21, 10, 29, 22, OLIVE)
    cv.rect(21, 10, 29, 22, BLACK)


def corner_points(cv):
    corners = [(5, 5), (26, 8), (24, 26), (6, 23)]
    cv.polyline(corners + corners[:1], NAVY)
    for x, y in corners:
        cv.fill_rect(x - 2, y - 2, x + 2, y + 2, WHITE)
        cv.rect(x - 2, y - 2, x + 2, y + 2, BLUE)
    cv.fill_rect(24, 6, 28, 10, BLUE)   # the corner being pulled
    cv.line(27, 7, 30, 2, RED)
    cv.fill_rect(29, 1, 31, 3, RED)


def swatches(cv):
    colors = [RED, YELLOW, LIME, AQUA, BLUE, FUCHSIA, MAROON, GREEN, NAVY]
    for i, c in enumerate(colors):
        x, y = 2 + (i % 3) * 10, 2 + (i // 3) * 10
        cv.fill_rect(x, y, x + 8, y + 8, c)
        cv.rect(x, y, x + 8, y + 8, BLACK)


def tint(cv):
    cv.disc(16, 20, 9.5, BLUE)
    cv.polygon([(16, 1), (7.5, 17), (24.5, 17)], BLUE)
    # Lighter towards the top left: the tint being taken away.
    for y in range(SIZE):
        for x in range(SIZE):
            if cv.px[y][x] == BLUE and x + y < 26:
                cv.px[y][x] = AQUA
    cv.disc(12, 21, 2, WHITE)


def gradient(cv):
    ramp = [BLACK, NAVY, BLUE, TEAL, AQUA, SILVER, WHITE]
    for i, c in enumerate(ramp):
        cv.fill_rect(2 + i * 4, 8, 5 + i * 4, 20, c)
    cv.rect(1, 7, 30, 21, BLACK)
    for x, c in ((4, BLACK), (16, BLUE), (27, WHITE)):
        for k in range(5):
            cv.line(x - k, 23 + k, x + k, 23 + k, c)
        cv.polyline([(x, 23), (x - 4, 27), (x + 4, 27), (x, 23)], GRAY)


def pattern(cv):
    for ty in range(2):
        for tx in range(2):
            x0, y0 = 2 + tx * 14, 2 + ty * 14
            cv.fill_rect(x0, y0, x0 + 13, y0 + 13, YELLOW if (tx + ty) % 2 == 0 else WHITE)
            cv.polygon([(x0 + 7, y0 + 1), (x0 + 13, y0 + 7), (x0 + 7, y0 + 13), (x0 + 1, y0 + 7)], GREEN)
            cv.disc(x0 + 7, y0 + 7, 2, RED)
            cv.rect(x0, y0, x0 + 13, y0 + 13, OLIVE)


def quick_shrink(cv):
    cv.disc(13, 13, 9, AQUA)
    cv.circle(13, 13, 10, BLACK)
    cv.circle(13, 13, 9, BLACK)
    cv.line(20, 20, 29, 29, MAROON, 3)
    # Inside the lens the object stands smaller than its outline.
    cv.fill_rect(10, 10, 16, 16, NAVY)
    for k in range(5, 22, 2):
        for x, y in ((k, 5), (k, 21), (5, k), (21, k)):
            cv.set(x, y, BLUE)


def point_shifter(cv):
    pts = [(2, 26), (9, 16), (17, 22), (28, 10)]
    cv.polyline(pts, BLACK)
    cv.polyline([(9, 16), (12, 5), (17, 22)], GRAY)
    for x, y in pts:
        cv.fill_rect(x - 1, y - 1, x + 1, y + 1, BLUE)
    cv.fill_rect(11, 4, 13, 6, RED)
    cv.arrow(9, 14, 11, 8, RED)


def gradient_mesh(cv):
    fills = [[RED, YELLOW, LIME], [FUCHSIA, WHITE, AQUA], [BLUE, TEAL, GREEN]]
    for j in range(3):
        for i in range(3):
            cv.fill_rect(3 + i * 9, 3 + j * 9, 11 + i * 9, 11 + j * 9, fills[j][i])
    for k in range(4):
        cv.line(2 + k * 9, 2, 2 + k * 9, 29, BLACK)
        cv.line(2, 2 + k * 9, 29, 2 + k * 9, BLACK)
    for j in range(4):
        for i in range(4):
            cv.fill_rect(1 + i * 9, 1 + j * 9, 3 + i * 9, 3 + j * 9, NAVY)


def warp_mesh(cv):
    def warp(u, v):
        return (3 + u * 26 + 2.5 * math.sin(v * math.pi * 2),
                3 + v * 26 + 2.5 * math.sin(u * math.pi * 2))
    for k in range(5):
        t = k / 4
        cv.polyline([warp(t, s / 20) for s in range(21)], NAVY)
        cv.polyline([warp(s / 20, t) for s in range(21)], NAVY)
    for j in range(5):
        for i in range(5):
            x, y = warp(i / 4, j / 4)
            cv.set(x, y, RED)


TOOLS = [scaling, translate, rotate, transparency, stroke_weight, fill_intensity,
         fill_channels, styles, blend_mode, color_reducer, corner_points, swatches,
         tint, gradient, pattern, quick_shrink, point_shifter, gradient_mesh, warp_mesh]


def draw_cursor():
    """A crosshair around the hot spot with a small brush above it.

    Returns rows of 'K' (black), 'W' (white) and None (transparent).
    """
    cv = Canvas()
    hx, hy = CURSOR_HOTSPOT
    # White outline first, black strokes on top, so it shows on any art.
    for d in (-1, 1):
        cv.line(hx - 9, hy + d, hx - 3, hy + d, 'W')
        cv.line(hx + 3, hy + d, hx + 9, hy + d, 'W')
        cv.line(hx + d, hy - 9, hx + d, hy - 3, 'W')
        cv.line(hx + d, hy + 3, hx + d, hy + 9, 'W')
    cv.line(hx - 10, hy, hx - 2, hy, 'W')
    cv.line(hx + 2, hy, hx + 10, hy, 'W')
    cv.line(hx, hy - 10, hx, hy - 2, 'W')
    cv.line(hx, hy + 2, hx, hy + 10, 'W')
    cv.line(hx - 9, hy, hx - 3, hy, 'K')
    cv.line(hx + 3, hy, hx + 9, hy, 'K')
    cv.line(hx, hy - 9, hx, hy - 3, 'K')
    cv.line(hx, hy + 3, hx, hy + 9, 'K')
    cv.set(hx, hy, 'K')
    # The brush: a handle running up and right, a ferrule and a tuft.
    cv.line(hx + 6, hy - 5, hx + 15, hy - 14, 'K', 3)
    cv.line(hx + 6, hy - 5, hx + 15, hy - 14, 'W', 1)
    cv.disc(hx + 4.5, hy - 3.5, 2.2, 'K')
    return cv.px


# File formats.

def bitmap_header(bit_count, image_bytes, colors):
    # Icon and cursor DIBs give twice the height: the colour rows, then the mask.
    return struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, bit_count, 0,
                       image_bytes, 0, 0, colors, 0)


def and_mask(is_transparent):
    rows = []
    for y in reversed(range(SIZE)):  # DIB rows are stored bottom-up
        bits = 0
        for x in range(SIZE):
            if is_transparent(x, y):
                bits |= 1 << (31 - x)
        rows.append(struct.pack('>I', bits))
    return b''.join(rows)


def icon_image(px):
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(0, SIZE, 2):
            hi, lo = px[y][x] or 0, px[y][x + 1] or 0
            xor.append(hi << 4 | lo)
    mask = and_mask(lambda x, y: px[y][x] is None)
    body = bytes(xor) + mask
    return bitmap_header(4, len(body), 16) + pal + body


def ico_file(image):
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return struct.pack('<HHH', 0, 1, 1) + entry + image


def cursor_image(px):
    pal = struct.pack('<BBBBBBBB', 0, 0, 0, 0, 255, 255, 255, 0)
    xor = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            if px[y][x] == 'W':
                bits |= 1 << (31 - x)
        xor += struct.pack('>I', bits)
    mask = and_mask(lambda x, y: px[y][x] is None)
    body = bytes(xor) + mask
    return bitmap_header(1, len(body), 2) + pal + body


def cur_file(image):
    hx, hy = CURSOR_HOTSPOT
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hx, hy, len(image), 6 + 16)
    return struct.pack('<HHH', 0, 2, 1) + entry + image


def cursor_resource(image):
    # An RT_CURSOR resource is the hot spot followed by the DIB.
    return struct.pack('<HH', *CURSOR_HOTSPOT) + image


def cursor_group(resource_size):
    # NEWHEADER, then one CURSORDIR entry: width, doubled height, planes,
    # bit count, resource size and the image id.
    return (struct.pack('<HHH', 0, 2, 1) +
            struct.pack('<HHHHIH', SIZE, SIZE * 2, 1, 1, resource_size, CURSOR_IMAGE_ID))


def png_file(px, colour_of, scale=8):
    raw = bytearray()
    for y in range(SIZE * scale):
        raw.append(0)
        for x in range(SIZE * scale):
            raw += bytes(colour_of(px[y // scale][x // scale], x, y))
    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data +
                struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))
    head = struct.pack('>IIBBBBB', SIZE * scale, SIZE * scale, 8, 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', head) +
            chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))


def backdrop(x, y):
    return (230, 230, 230) if ((x // 16 + y // 16) % 2) else (200, 200, 200)


def main(argv):
    repo = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(repo, 'plugin', 'resources', 'icons')
    preview = argv[argv.index('--png') + 1] if '--png' in argv else None
    os.makedirs(out, exist_ok=True)
    if preview:
        os.makedirs(preview, exist_ok=True)

    def write(name, data):
        with open(os.path.join(out, name), 'wb') as f:
            f.write(data)

    for i, draw in enumerate(TOOLS, start=1):
        cv = Canvas()
        draw(cv)
        write('tool%02d.ico' % i, ico_file(icon_image(cv.px)))
        if preview:
            with open(os.path.join(preview, 'tool%02d.png' % i), 'wb') as f:
                f.write(png_file(cv.px, lambda c, x, y: backdrop(x, y) if c is None else PALETTE[c]))

    px = draw_cursor()
    image = cursor_image(px)
    write('cursor.cur', cur_file(image))
    resource = cursor_resource(image)
    write('cursor_image.bin', resource)
    write('cursor_group.bin', cursor_group(len(resource)))
    if preview:
        shade = {'K': (0, 0, 0), 'W': (255, 255, 255)}
        with open(os.path.join(preview, 'cursor.png'), 'wb') as f:
            f.write(png_file(px, lambda c, x, y: backdrop(x, y) if c is None else shade[c]))


if __name__ == '__main__':
    main(sys.argv[1:])
