"""Shared kit of the art generators: the standard palette, drawing at four times the size with
smooth edges, reduction to palette indexes, and the 8-bit BMP and atomic file writers."""

import os
import random

from PIL import Image, ImageDraw, ImageFont

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SCALE = 4  # pictures are drawn this many times larger, then reduced, for smooth edges

TRANSPARENT = 255  # the key value of resource pictures (white in the standard layout)
WHITE_INDEX = 225  # the cube's white: white that stays visible
BLACK_INDEX = 0

LOW_STATICS = [(0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
               (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
               (0xC0, 0xDC, 0xC0), (0xA6, 0xCA, 0xF0)]
HIGH_STATICS = [(0xFF, 0xFB, 0xF0), (0xA0, 0xA0, 0xA4), (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00),
                (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00), (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF),
                (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF)]


def standard_palette():
    """The 256 colours of standard.pal, made by the same rule as tools/palette."""
    palette = [None] * 256
    palette[0:10] = LOW_STATICS
    palette[246:256] = HIGH_STATICS
    index = 10
    for red in range(6):
        for green in range(6):
            for blue in range(6):
                palette[index] = (red * 51, green * 51, blue * 51)
                index += 1
    for step in range(1, 25):
        if step % 5:
            grey = (step * 51 * 2 + 5) // 10
            palette[index] = (grey, grey, grey)
            index += 1
    return palette


PALETTE = standard_palette()


def _matching_palette_image():
    # Entry 255 repeats the cube's white, so that reduction never picks the transparent key.
    entries = list(PALETTE)
    entries[TRANSPARENT] = PALETTE[WHITE_INDEX]
    image = Image.new("P", (1, 1))
    image.putpalette([component for rgb in entries for component in rgb])
    return image


_MATCHING = _matching_palette_image()


def rgb(hex_text):
    """A colour "#rrggbb"; the house colours below are all cube colours (multiples of 51)."""
    value = int(hex_text.lstrip("#"), 16)
    return (value >> 16, (value >> 8) & 255, value & 255)


# The house palette: one family of friendly cube colours for every picture.
INK = rgb("#333366")        # outlines and labels
FACE = rgb("#ffffcc")       # button faces
PRESSED = rgb("#ffcc33")    # pressed buttons
DISABLED = rgb("#cccccc")   # disabled faces
DIM_INK = rgb("#999999")
STRIP = rgb("#99ccff")      # background behind buttons
WHITE = rgb("#ffffff")
BLACK = rgb("#000000")
RED = rgb("#ff3333")
ORANGE = rgb("#ff9933")
YELLOW = rgb("#ffcc00")
GREEN = rgb("#33cc33")
DARK_GREEN = rgb("#009933")
BLUE = rgb("#3399ff")
DARK_BLUE = rgb("#0066cc")
PURPLE = rgb("#9966ff")
PINK = rgb("#ff66cc")
BROWN = rgb("#996633")
SKY = rgb("#ccffff")
GREY = rgb("#999999")
LIGHT_GREY = rgb("#cccccc")


class Canvas:
    """A picture drawn in coordinates of its final size on a four times larger image."""

    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = (0, 0, 0, 0) if background is None else background + (255,)
        self.image = Image.new("RGBA", (width * SCALE, height * SCALE), fill)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _s(value):
        return round(value * SCALE)

    def _box(self, box):
        left, top, right, bottom = box
        return [self._s(left), self._s(top), self._s(right) - 1, self._s(bottom) - 1]

    def _points(self, points):
        return [(self._s(x), self._s(y)) for x, y in points]

    def rect(self, box, fill=None, outline=None, width=1.0):
        self.draw.rectangle(self._box(box), fill=fill, outline=outline, width=self._s(width))

    def rrect(self, box, radius, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(self._box(box), radius=self._s(radius), fill=fill, outline=outline,
                                    width=self._s(width) if outline else 0)

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self._box(box), fill=fill, outline=outline, width=self._s(width) if outline else 0)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), fill, outline, width)

    def polygon(self, points, fill=None, outline=None, width=1.0):
        self.draw.polygon(self._points(points), fill=fill)
        if outline:
            self.line(list(points) + [points[0]], outline, width)

    def line(self, points, fill, width=1.0, round_ends=True):
        scaled = self._points(points)
        self.draw.line(scaled, fill=fill, width=self._s(width), joint="curve")
        if round_ends:
            r = self._s(width) / 2
            for x, y in (scaled[0], scaled[-1]):
                self.draw.ellipse([x - r, y - r, x + r, y + r], fill=fill)

    def arc(self, box, start, end, fill, width=1.0):
        self.draw.arc(self._box(box), start, end, fill=fill, width=self._s(width))

    def pieslice(self, box, start, end, fill):
        self.draw.pieslice(self._box(box), start, end, fill=fill)

    def text(self, cx, cy, words, size, fill=INK, outline=None):
        """Bold DejaVu text centred on (cx, cy); `outline` adds a halo for text over pictures."""
        font = ImageFont.truetype(FONT_BOLD, self._s(size))
        left, top, right, bottom = self.draw.textbbox((0, 0), words, font=font)
        x = self._s(cx) - (left + right) / 2
        y = self._s(cy) - (top + bottom) / 2
        stroke = self._s(1) if outline else 0
        self.draw.text((x, y), words, font=font, fill=fill, stroke_width=stroke, stroke_fill=outline)

    def text_width(self, words, size):
        font = ImageFont.truetype(FONT_BOLD, self._s(size))
        left, _, right, _ = self.draw.textbbox((0, 0), words, font=font)
        return (right - left) / SCALE

    def paste(self, other, x, y):
        self.image.alpha_composite(other.image, (self._s(x), self._s(y)))

    def reduced(self):
        return self.image.resize((self.width, self.height), Image.Resampling.BOX)


def to_indexes(canvas, transparent=False, matte=WHITE):
    """The picture as palette indexes: each pixel the nearest standard colour (never the key);
    with `transparent`, pixels mostly uncovered become the key 255."""
    small = canvas.reduced()
    flat = Image.new("RGBA", small.size, matte + (255,))
    flat.alpha_composite(small)
    indexed = flat.convert("RGB").quantize(palette=_MATCHING, dither=Image.Dither.NONE)
    if transparent:
        clear = small.getchannel("A").point(lambda alpha: 255 if alpha < 128 else 0)
        indexed.paste(TRANSPARENT, mask=clear)
    return indexed


def bmp_bytes(indexed):
    """An 8-bit BMP: 40-byte info header, uncompressed, the standard palette as colour table."""
    width, height = indexed.size
    row_bytes = (width + 3) & ~3
    pixel_offset = 14 + 40 + 256 * 4
    size = pixel_offset + row_bytes * height
    out = bytearray()
    out += b"BM" + size.to_bytes(4, "little") + bytes(4) + pixel_offset.to_bytes(4, "little")
    for value, length in ((40, 4), (width, 4), (height, 4), (1, 2), (8, 2), (0, 4), (row_bytes * height, 4),
                          (2835, 4), (2835, 4), (256, 4), (0, 4)):
        out += value.to_bytes(length, "little")
    for red, green, blue in PALETTE:
        out += bytes((blue, green, red, 0))
    pixels = indexed.tobytes()
    padding = bytes(row_bytes - width)
    for row in range(height - 1, -1, -1):
        out += pixels[row * width:(row + 1) * width] + padding
    return bytes(out)


def write_atomically(path, data):
    """Writes beside the target and renames, so that parallel builds never see half a file."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    temporary = "%s.part%d" % (path, random.getrandbits(32))
    with open(temporary, "wb") as file:
        file.write(data)
    os.replace(temporary, path)
