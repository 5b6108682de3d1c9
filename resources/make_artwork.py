#!/usr/bin/python3
"""Draws Cindermoor's artwork.

Outputs, written next to this script:

  background.bmp      576 x 309, 24-bit BMP: background picture of the main window
  logo.bmp            36 x 32, 24-bit BMP: the four-pane flag of the picture box `win`
  cindermoor.ico      32 x 32, 8 bpp (256-colour palette) with a 1-bit AND mask:
                      the program icon, its bytes written by this script
  cindermoor-256.png  256 x 256 RGBA PNG drawn from the same design as the icon

All drawings are our own. The build does not run this script; its outputs are committed.
Run it with Debian's python3 and python3-pil:  python3 resources/make_artwork.py
The output is deterministic: running it again gives the same bytes.
"""

import math
import os
import struct
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))


# ----------------------------------------------------------------------------------------
# Helpers


def blend(c1, c2, t):
    """Colour between c1 (t = 0) and c2 (t = 1)."""
    return tuple(round(a + (b - a) * t) for a, b in zip(c1, c2))


def rotated_square(cx, cy, half, angle_deg):
    """Corners of a square with centre (cx, cy) and half side `half`, turned by angle_deg."""
    a = math.radians(angle_deg)
    ca, sa = math.cos(a), math.sin(a)
    pts = []
    for dx, dy in ((-half, -half), (half, -half), (half, half), (-half, half)):
        pts.append((cx + dx * ca - dy * sa, cy + dx * sa + dy * ca))
    return pts


def downsample(img, size):
    """Anti-aliased reduction of a supersampled drawing: each pixel the mean of its block
    (no ringing at the sharp edges, unlike Lanczos)."""
    return img.resize(size, Image.BOX)


# ----------------------------------------------------------------------------------------
# Background picture: 576 x 309, white, pastel squares in the lower middle, a tilted green
# square outline at the right.
#
# Main window (client area 579 x 267, pixels): title label 60..397 x 12..29, logo box
# 12..53 x 6..39, "Current File Open:" from 123,39, the text box 123..554 x 54..238 (opaque),
# the file buttons in a column at 6..117, the bottom buttons at y 243..264 (Save 123..233,
# Close 243..353, v1.5 537..575). Rows 267..308 are never seen. So the decoration is made to
# show in the free band under the text box (x 353..537, y 238..267), in the strip right of
# the text box, and in the upper right corner beside the title, while the places behind the
# transparent labels stay white or very light.

BG_W, BG_H = 576, 309
BG_SS = 4  # supersampling factor

ORANGE = (255, 178, 102)
BLUE = (120, 170, 235)
YELLOW = (255, 222, 89)
GREEN = (120, 196, 120)

# (colour, centre x, centre y, side, turn in degrees); drawn in this order.
PASTEL_SQUARES = [
    (BLUE, 318, 258, 46, 0),
    (ORANGE, 379, 247, 40, 0),
    (YELLOW, 410, 262, 34, 0),
    (BLUE, 437, 246, 22, 0),
    (ORANGE, 462, 258, 28, 0),
    (YELLOW, 490, 247, 18, 0),
    (BLUE, 512, 258, 14, 0),
    (ORANGE, 527, 249, 9, 0),
    (YELLOW, 356, 270, 30, 0),
    (ORANGE, 300, 228, 26, 0),
    (YELLOW, 250, 270, 40, 0),
]

GREEN_SQUARE = (562, 178, 124, 30)  # centre x, centre y, half side, turn in degrees


def draw_background():
    s = BG_SS
    base = Image.new("RGBA", (BG_W * s, BG_H * s), (255, 255, 255, 255))

    # The green outline first, so that nothing else is covered by it.
    cx, cy, half, turn = GREEN_SQUARE
    layer = Image.new("RGBA", base.size, (0, 0, 0, 0))
    d = ImageDraw.Draw(layer)
    # a faint tint inside the square
    d.polygon([(x * s, y * s) for x, y in rotated_square(cx, cy, half, turn)],
              fill=GREEN + (22,))
    base = Image.alpha_composite(base, layer)
    # the outline: one broad soft band and one thin line inside it, each drawn as a ring
    # (outer square filled, inner square cut out) so that the corners are sharp
    for h, width, alpha in ((half, 7, 150), (half - 12, 2, 90)):
        layer = Image.new("RGBA", base.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        outer = rotated_square(cx, cy, h + width / 2, turn)
        inner = rotated_square(cx, cy, h - width / 2, turn)
        d.polygon([(x * s, y * s) for x, y in outer], fill=GREEN + (alpha,))
        d.polygon([(x * s, y * s) for x, y in inner], fill=(0, 0, 0, 0))
        base = Image.alpha_composite(base, layer)

    # The pastel squares, each translucent so that overlaps mix softly.
    for colour, x, y, side, angle in PASTEL_SQUARES:
        layer = Image.new("RGBA", base.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        pts = [(px * s, py * s) for px, py in rotated_square(x, y, side / 2, angle)]
        d.polygon(pts, fill=colour + (120,))
        d.line(pts + [pts[0]], fill=colour + (200,), width=s)
        base = Image.alpha_composite(base, layer)

    img = downsample(base, (BG_W, BG_H)).convert("RGB")
    return img


# ----------------------------------------------------------------------------------------
# Logo picture: 36 x 32, a waving flag of four panes (red, green, blue, yellow) on white.

LOGO_W, LOGO_H = 36, 32
LOGO_SS = 12

PANE_COLOURS = {
    (0, 0): ((240, 80, 40), (200, 30, 20)),  # upper left: red (light, dark)
    (1, 0): ((120, 200, 60), (40, 150, 40)),  # upper right: green
    (0, 1): ((60, 150, 240), (20, 90, 200)),  # lower left: blue
    (1, 1): ((255, 215, 40), (240, 170, 0)),  # lower right: yellow
}


FLAG_WAVE = 2.0  # height of the wave in pixels
FLAG_PERIODS = 1.0  # whole waves across the flag


def flag_point(u, v):
    """Maps flag coordinates (u, v in 0..1, u along the cloth from the staff) to logo pixels:
    a cloth blowing to the right, one whole wave along it, leaning back a little."""
    x0, y0, w, h = 8.0, 4.5, 25.0, 21.5
    wave = FLAG_WAVE * math.sin(2 * math.pi * FLAG_PERIODS * u)
    x = x0 + u * w + (1 - v) * 1.5
    y = y0 + v * h - wave + u * 1.0
    return x, y


def flag_shade(u):
    """0 where the cloth faces the light (rising slope of the wave), 1 where it turns away."""
    return 0.5 - 0.5 * math.cos(2 * math.pi * FLAG_PERIODS * u)


def draw_logo():
    s = LOGO_SS
    img = Image.new("RGBA", (LOGO_W * s, LOGO_H * s), (255, 255, 255, 255))
    gap = 0.045
    steps = 24
    for (i, j), (light, dark) in PANE_COLOURS.items():
        u0, u1 = (0.0, 0.5 - gap) if i == 0 else (0.5 + gap, 1.0)
        v0, v1 = (0.0, 0.5 - gap) if j == 0 else (0.5 + gap, 1.0)
        # Each pane is cut into thin vertical strips, shaded along the wave so that the
        # cloth seems to catch the light on its crests.
        for k in range(steps):
            ua = u0 + (u1 - u0) * k / steps
            ub = u0 + (u1 - u0) * (k + 1) / steps
            pts = [flag_point(ua, v0), flag_point(ub + 0.002, v0),
                   flag_point(ub + 0.002, v1), flag_point(ua, v1)]
            colour = blend(light, dark, 0.1 + 0.8 * flag_shade((ua + ub) / 2))
            ImageDraw.Draw(img).polygon([(x * s, y * s) for x, y in pts], fill=colour)
    # the trail: small squares blowing off the staff side, two beside the upper panes and
    # two beside the lower ones, on whole pixels so that they stay crisp
    d = ImageDraw.Draw(img)
    for (x, y, side, colour) in ((4, 9, 3, PANE_COLOURS[(0, 0)][0]),
                                 (1, 11, 2, PANE_COLOURS[(1, 0)][0]),
                                 (4, 19, 3, PANE_COLOURS[(0, 1)][0]),
                                 (1, 21, 2, PANE_COLOURS[(1, 1)][1])):
        d.rectangle([x * s, y * s, (x + side) * s - 1, (y + side) * s - 1], fill=colour)
    return downsample(img, (LOGO_W, LOGO_H)).convert("RGB")


# ----------------------------------------------------------------------------------------
# Program icon: a grey computer case (tower) with a small application window in front of it.
# The design is given in units of the 32 x 32 grid; `IconCanvas` draws it at any size.
# At 32 x 32 every shape falls on whole pixels and nothing is blended, so the icon is crisp
# and its transparency is a clean 1-bit mask; the 256 x 256 rendering draws the same shapes
# four times larger than needed and reduces them, with line widths that stay fine.

BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
GREY_1 = (64, 64, 64)
GREY_2 = (128, 128, 128)
GREY_3 = (160, 160, 160)
GREY_4 = (192, 192, 192)
GREY_5 = (224, 224, 224)
NAVY = (0, 0, 128)
TITLE_BLUE = (16, 132, 208)
LED_GREEN = (0, 220, 0)
LED_AMBER = (255, 170, 0)


class IconCanvas:
    def __init__(self, size, supersample):
        self.size = size
        self.ss = supersample
        self.px = size * supersample / 32.0  # drawing pixels per unit
        self.img = Image.new("RGBA", (size * supersample, size * supersample), (0, 0, 0, 0))
        self.d = ImageDraw.Draw(self.img)

    def lw(self, units_at_32, fine):
        """Width in drawing pixels of a line of weight `units_at_32`: that many pixels on the
        32 x 32 icon, and `fine` final pixels per unit of weight on the 256 x 256 rendering
        (scaled for other sizes), so that lines stay thin on the big rendering."""
        if self.size <= 32:
            return max(1, round(units_at_32 * self.px))
        return max(1, round(fine * self.size / 256.0 * units_at_32 * self.ss))

    def rect(self, x0, y0, x1, y1, fill):
        """Fills the half-open unit rectangle [x0, x1) x [y0, y1)."""
        p = self.px
        self.d.rectangle([round(x0 * p), round(y0 * p), round(x1 * p) - 1, round(y1 * p) - 1],
                         fill=fill)

    def poly(self, pts, fill):
        p = self.px
        pts = [(x * p, y * p) for x, y in pts]
        if self.ss > 1:
            self.d.polygon(pts, fill=fill)
            return
        # Pixel art: a pixel is filled exactly when its centre lies inside the polygon
        # (even-odd rule), which gives clean, predictable steps on slanted edges.
        w, h = self.img.size
        for y in range(h):
            cy = y + 0.5
            xs = []
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                if (ya <= cy < yb) or (yb <= cy < ya):
                    xs.append(xa + (cy - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for xa, xb in zip(xs[0::2], xs[1::2]):
                for x in range(max(0, math.ceil(xa - 0.5)), min(w, math.ceil(xb - 0.5))):
                    self.d.point((x, y), fill=fill)

    def hline(self, x0, x1, y, fill, units=1.0, fine=2.0):
        """A line along the top edge of unit row y, from x0 to x1 (half-open)."""
        w = self.lw(units, fine)
        p = self.px
        y0 = round(y * p)
        self.d.rectangle([round(x0 * p), y0, round(x1 * p) - 1, y0 + w - 1], fill=fill)

    def vline(self, x, y0, y1, fill, units=1.0, fine=2.0):
        """A line along the left edge of unit column x, from y0 to y1 (half-open)."""
        w = self.lw(units, fine)
        p = self.px
        x0 = round(x * p)
        self.d.rectangle([x0, round(y0 * p), x0 + w - 1, round(y1 * p) - 1], fill=fill)

    def hline_end(self, x0, x1, y, fill, units=1.0, fine=2.0):
        """A line along the bottom edge of unit row y - 1 (it ends at y)."""
        w = self.lw(units, fine)
        p = self.px
        y1 = round(y * p)
        self.d.rectangle([round(x0 * p), y1 - w, round(x1 * p) - 1, y1 - 1], fill=fill)

    def vline_end(self, x, y0, y1, fill, units=1.0, fine=2.0):
        """A line along the right edge of unit column x - 1 (it ends at x)."""
        w = self.lw(units, fine)
        p = self.px
        x1 = round(x * p)
        self.d.rectangle([x1 - w, round(y0 * p), x1 - 1, round(y1 * p) - 1], fill=fill)

    def hgradient(self, x0, y0, x1, y1, c0, c1):
        p = self.px
        a, b = round(x0 * p), round(x1 * p)
        for x in range(a, b):
            t = (x - a) / max(1, b - a - 1)
            self.d.rectangle([x, round(y0 * p), x, round(y1 * p) - 1], fill=blend(c0, c1, t))

    def result(self):
        if self.ss == 1:
            return self.img
        return downsample(self.img, (self.size, self.size))


def inset(pts, shifts):
    """The convex polygon `pts` with each edge i (from pts[i] to pts[i+1]) moved by the vector
    shifts[i]; the corners are the crossings of neighbouring moved edges."""
    n = len(pts)
    lines = []
    for i in range(n):
        (xa, ya), (xb, yb) = pts[i], pts[(i + 1) % n]
        sx, sy = shifts[i]
        lines.append(((xa + sx, ya + sy), (xb - xa, yb - ya)))
    out = []
    for i in range(n):
        (p1, d1), (p2, d2) = lines[i - 1], lines[i]
        det = d1[0] * d2[1] - d1[1] * d2[0]
        t = ((p2[0] - p1[0]) * d2[1] - (p2[1] - p1[1]) * d2[0]) / det
        out.append((p1[0] + t * d1[0], p1[1] + t * d1[1]))
    return out


def draw_icon(size, supersample):
    c = IconCanvas(size, supersample)
    big = size > 32
    # outline width in units: one pixel at 32 x 32, a fine line on the large rendering
    o = 1.0 if not big else 0.32

    # --- the tower, seen a little from the right and from above --------------------------
    # front face 2..16 x 4..30; the back edges are offset by (+4, -2)
    fx0, fy0, fx1, fy1 = 2, 4, 16, 30
    dx, dy = 4, -2
    top = [(fx0, fy0), (fx0 + dx, fy0 + dy), (fx1 + dx, fy0 + dy), (fx1, fy0)]
    side = [(fx1, fy0), (fx1 + dx, fy0 + dy), (fx1 + dx, fy1 + dy), (fx1, fy1)]
    silhouette = [(fx0, fy0), (fx0 + dx, fy0 + dy), (fx1 + dx, fy0 + dy),
                  (fx1 + dx, fy1 + dy), (fx1, fy1), (fx0, fy1)]
    c.poly(silhouette, BLACK)
    # the faces, inside the black outline; the slanted edges are moved vertically, which on
    # the 2:1 slants leaves a clean two-pixel step in the pixel art
    c.poly(inset(top, [(0, o), (0, o), (0, 0), (0, 0)]), GREY_5)
    c.poly(inset(side, [(0, 0), (-o, 0), (0, -o), (0, 0)]), GREY_2)
    if big:  # a soft highlight along the side face's front edge
        c.poly(inset(side, [(0, 0), (-dx + 0.9, 0), (0, -o), (0, 0)]), GREY_3)
    # front face: black outline, grey body, white light on the upper and left edges,
    # dark grey shade on the lower and right edges
    c.rect(fx0, fy0, fx1, fy1, BLACK)
    c.rect(fx0 + o, fy0 + o, fx1 - o, fy1 - o, GREY_4)
    c.hline(fx0 + o, fx1 - o, fy0 + o, WHITE)
    c.vline(fx0 + o, fy0 + o, fy1 - o, WHITE)
    c.hline_end(fx0 + o, fx1 - o, fy1 - o, GREY_2)
    c.vline_end(fx1 - o, fy0 + o, fy1 - o, GREY_2)

    # two 5.25" drive bays, each a dark recess with a light drive front in it
    for by in (6, 9):
        c.rect(4, by, 13, by + 2, GREY_2)
        c.hline(4, 13, by, GREY_1)
        c.vline(4, by, by + 2, GREY_1)
        c.rect(5, by + 1, 12, by + 2, GREY_5)
    # a 3.5" floppy drive: its slot and busy light
    c.rect(5, 12, 10, 13, BLACK)
    c.rect(11, 12, 12, 13, LED_GREEN)
    # air vents
    for vy in (17, 19, 21, 23):
        c.hline(4, 9, vy, GREY_2)
    # power button and two lights near the foot
    c.rect(4, 25, 6, 27, GREY_2)
    c.hline(4, 6, 25, WHITE, fine=1.5)
    c.vline(4, 25, 27, WHITE, fine=1.5)
    c.rect(7, 25, 8, 26, LED_GREEN)
    c.rect(7, 27, 8, 28, LED_AMBER)

    # --- the application window in front of the tower: 10..32 x 14..31 -------------------
    wx0, wy0, wx1, wy1 = 10, 14, 32, 31
    c.rect(wx0, wy0, wx1, wy1, BLACK)  # outer frame line
    c.rect(wx0 + o, wy0 + o, wx1 - o, wy1 - o, GREY_4)  # the frame's face
    c.hline(wx0 + o, wx1 - o, wy0 + o, WHITE)
    c.vline(wx0 + o, wy0 + o, wy1 - o, WHITE)
    if big:
        c.hline_end(wx0 + o, wx1 - o, wy1 - o, GREY_2)
        c.vline_end(wx1 - o, wy0 + o, wy1 - o, GREY_2)
    # title bar, navy fading to blue, as on Windows 98 and Me
    c.hgradient(wx0 + 2, wy0 + 2, wx1 - 2, wy0 + 5, NAVY, TITLE_BLUE)
    # the little program icon at its left: a white square
    if big:
        c.rect(wx0 + 2.6, wy0 + 2.6, wx0 + 4.4, wy0 + 4.4, WHITE)
    else:
        c.rect(wx0 + 3, wy0 + 3, wx0 + 4, wy0 + 4, WHITE)
    # the close button at its right: a small raised grey button with a cross
    if big:
        bx0, by0, bx1, by1 = wx1 - 5.6, wy0 + 2.5, wx1 - 2.6, wy0 + 4.5
        p = c.px
        c.rect(bx0, by0, bx1, by1, GREY_4)
        c.hline(bx0, bx1, by0, WHITE, fine=1.5)
        c.vline(bx0, by0, by1, WHITE, fine=1.5)
        c.hline_end(bx0, bx1, by1, BLACK, fine=1.5)
        c.vline_end(bx1, by0, by1, BLACK, fine=1.5)
        w = c.lw(1, 2.2)
        cx, cy = (bx0 + bx1) / 2, (by0 + by1) / 2
        r = 0.55
        c.d.line([((cx - r) * p, (cy - r) * p), ((cx + r) * p, (cy + r) * p)], fill=BLACK,
                 width=w)
        c.d.line([((cx - r) * p, (cy + r) * p), ((cx + r) * p, (cy - r) * p)], fill=BLACK,
                 width=w)
    else:
        c.rect(wx1 - 5, wy0 + 3, wx1 - 3, wy0 + 4, GREY_4)
    # client area: a sunken white page holding a few lines of text
    ax0, ay0, ax1, ay1 = wx0 + 2, wy0 + 6, wx1 - 2, wy1 - 2
    c.rect(ax0, ay0, ax1, ay1, WHITE)
    c.hline(ax0, ax1, ay0, GREY_2)
    c.vline(ax0, ay0, ay1, GREY_2)
    for x0, x1, y, colour in ((ax0 + 2, ax0 + 12, ay0 + 2, NAVY),
                              (ax0 + 2, ax0 + 15, ay0 + 4, GREY_2),
                              (ax0 + 4, ax0 + 13, ay0 + 6, GREY_2)):
        c.hline(x0, x1, y, colour, fine=3.0)
    return c.result()


# ----------------------------------------------------------------------------------------
# ICO writer: one 32 x 32 image, 8 bits per pixel with a 256-entry palette, 1-bit AND mask.


def make_palette_image(rgba):
    """Returns (palette of 256 RGB triples, 32 x 32 list of indexes, 32 x 32 list of
    transparency bits). Index 0 is black and is used by the transparent pixels."""
    w, h = rgba.size
    px = rgba.load()
    opaque = [[px[x, y][3] >= 128 for x in range(w)] for y in range(h)]
    colours = sorted({px[x, y][:3] for y in range(h) for x in range(w) if opaque[y][x]})
    if BLACK in colours:
        colours.remove(BLACK)
    palette = [BLACK] + colours
    if len(palette) > 256:
        sys.exit("icon has more than 256 colours: %d" % len(palette))
    # fill the rest with the grey ramp, so the palette is a full 256 entries
    k = 0
    while len(palette) < 256:
        palette.append((k, k, k))
        k = (k + 1) % 256
    index = {c: i for i, c in enumerate(palette[:1 + len(colours)])}
    indexes = [[index[px[x, y][:3]] if opaque[y][x] else 0 for x in range(w)] for y in range(h)]
    transparent = [[not opaque[y][x] for x in range(w)] for y in range(h)]
    return palette, indexes, transparent


def ico_bytes(rgba):
    w, h = rgba.size
    assert (w, h) == (32, 32)
    palette, indexes, transparent = make_palette_image(rgba)

    xor_stride = (w * 8 + 31) // 32 * 4  # bytes per XOR row, padded to 4 bytes
    and_stride = (w + 31) // 32 * 4  # bytes per AND row, padded to 4 bytes
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(h)):  # bottom-up
        row = bytes(indexes[y]) + bytes(xor_stride - w)
        xor += row
        bits = bytearray(and_stride)
        for x in range(w):
            if transparent[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits

    header = struct.pack("<IiiHHIIiiII",
                         40,  # biSize
                         w,  # biWidth
                         h * 2,  # biHeight: XOR and AND bitmaps together
                         1,  # biPlanes
                         8,  # biBitCount
                         0,  # biCompression: BI_RGB
                         len(xor) + len(mask),  # biSizeImage
                         0, 0,  # biXPelsPerMeter, biYPelsPerMeter
                         0,  # biClrUsed: 0 = all 256
                         0)  # biClrImportant
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image = header + pal + bytes(xor) + bytes(mask)

    icondir = struct.pack("<HHH", 0, 1, 1)  # reserved, type 1 = icon, one image
    entry = struct.pack("<BBBBHHII",
                        w, h,  # width, height
                        0,  # colour count: 0 for 256 colours
                        0,  # reserved
                        1,  # planes
                        8,  # bits per pixel
                        len(image),  # bytes in resource
                        6 + 16)  # offset of the image
    return icondir + entry + image


# ----------------------------------------------------------------------------------------


def save_bmp(img, name):
    assert img.mode == "RGB"
    path = os.path.join(HERE, name)
    img.save(path, format="BMP")
    return path


def main():
    save_bmp(draw_background(), "background.bmp")
    save_bmp(draw_logo(), "logo.bmp")

    icon32 = draw_icon(32, 1)
    ico_path = os.path.join(HERE, "cindermoor.ico")
    with open(ico_path, "wb") as f:
        f.write(ico_bytes(icon32))
    # The same 32 x 32 icon for the desktop's icon theme: the ICO's own pixels, as PNG.
    Image.open(ico_path).convert("RGBA").save(
        os.path.join(HERE, "cindermoor-32.png"), format="PNG", optimize=True)

    icon256 = draw_icon(256, 4)
    icon256.save(os.path.join(HERE, "cindermoor-256.png"), format="PNG", optimize=True)


if __name__ == "__main__":
    main()
