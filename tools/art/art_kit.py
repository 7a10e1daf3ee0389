"""Shared kit of the art generators: the standard palette, drawing at four times the size with
smooth edges, smooth gradients, reduction to palette indexes (dithered where a gradient needs
colours the palette lacks), and the 8-bit BMP and atomic file writers."""

import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFont

import banding
import blue_noise

FONT_BOLD = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
SCALE = 4  # pictures are drawn this many times larger, then reduced, for smooth edges

CUBE_FIRST = 10  # the 6 x 6 x 6 colour cube starts here, red slowest
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
    index = CUBE_FIRST
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
# The white of things that are white inside a see-through picture (an eye, a rocket's body): pure
# white is where the page shows through, so they take the palette's palest grey and stay solid.
SOLID_WHITE = (245, 245, 245)
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

    def __init__(self, width, height, background=None, left=0, top=0):
        """`left`, `top`: where (0, 0) of the drawing lies, so that a drawing made for another size
        sits in the middle of the picture."""
        self.width = width
        self.height = height
        self.left = left
        self.top = top
        fill = (0, 0, 0, 0) if background is None else background + (255,)
        self.image = Image.new("RGBA", (width * SCALE, height * SCALE), fill)
        self.draw = ImageDraw.Draw(self.image)
        # The boxes filled with vertical gradients, and the gradients alone on a layer of their own:
        # the picture is dithered, and checked for bands where a gradient shows.
        self.gradients = []
        self.gradient_layer = None

    @staticmethod
    def _s(value):
        return round(value * SCALE)

    def _box(self, box):
        left, top, right, bottom = box
        return [self._s(left + self.left), self._s(top + self.top), self._s(right + self.left) - 1,
                self._s(bottom + self.top) - 1]

    def _points(self, points):
        return [(self._s(x + self.left), self._s(y + self.top)) for x, y in points]

    def extent(self):
        """The whole picture's box (left, top, right, bottom) in drawing coordinates."""
        return -self.left, -self.top, self.width - self.left, self.height - self.top

    def gradient(self, box, stops):
        """Fills `box` from top to bottom through the colours `stops`, evenly spaced."""
        left, top, right, bottom = self._box(box)
        right, bottom = right + 1, bottom + 1
        rows = max(1, bottom - top)
        if self.gradient_layer is None:
            self.gradient_layer = Image.new("RGB", self.image.size)
        layer = ImageDraw.Draw(self.gradient_layer)
        for y in range(top, bottom):
            at = (y - top + 0.5) / rows * (len(stops) - 1)
            i = min(int(at), len(stops) - 2)
            t = at - i
            colour = tuple(round(a + (b - a) * t) for a, b in zip(stops[i], stops[i + 1]))
            self.draw.line([(left, y), (right - 1, y)], fill=colour + (255,))
            layer.line([(left, y), (right - 1, y)], fill=colour)
        self.gradients.append((box[0] + self.left, box[1] + self.top, box[2] + self.left, box[3] + self.top))

    def rect(self, box, fill=None, outline=None, width=1.0):
        self.draw.rectangle(self._box(box), fill=fill, outline=outline, width=self._s(width))

    def rrect(self, box, radius, fill=None, outline=None, width=1.0):
        self.draw.rounded_rectangle(self._box(box), radius=self._s(radius), fill=fill, outline=outline,
                                    width=self._s(width) if outline else 0)

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        self.draw.ellipse(self._box(box), fill=fill, outline=outline, width=self._s(width) if outline else 0)

    def crescent(self, cx, cy, r, cut_cx, cut_cy, cut_r, fill):
        """The disc at (cx, cy) less the disc at (cut_cx, cut_cy): what lies behind shows through."""
        mask = Image.new("L", self.image.size, 0)
        draw = ImageDraw.Draw(mask)
        draw.ellipse(self._box((cx - r, cy - r, cx + r, cy + r)), fill=255)
        draw.ellipse(self._box((cut_cx - cut_r, cut_cy - cut_r, cut_cx + cut_r, cut_cy + cut_r)), fill=0)
        self.image.paste(fill + (255,), mask=mask)

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
        x = self._s(cx + self.left) - (left + right) / 2
        y = self._s(cy + self.top) - (top + bottom) / 2
        stroke = self._s(1) if outline else 0
        self.draw.text((x, y), words, font=font, fill=fill, stroke_width=stroke, stroke_fill=outline)

    def text_width(self, words, size):
        font = ImageFont.truetype(FONT_BOLD, self._s(size))
        left, _, right, _ = self.draw.textbbox((0, 0), words, font=font)
        return (right - left) / SCALE

    def paste(self, other, x, y):
        self.image.alpha_composite(other.image, (self._s(x + self.left), self._s(y + self.top)))

    def reduced(self):
        return self.image.resize((self.width, self.height), Image.Resampling.BOX)


# The spread of the dither: one step of the colour cube, so that a colour between two cube levels
# shows as a mix of both in proportion.
DITHER_STEP = 51


def _dither_offsets(size):
    """An RGB image of the dither offsets, the blue-noise tile repeated over `size`, each stored
    + 128."""
    side = blue_noise.SIZE
    tile = Image.new("L", (side, side))
    tile.putdata([128 + round(((rank + 0.5) / (side * side) - 0.5) * DITHER_STEP) for rank in blue_noise.tile()])
    offsets = Image.new("L", size)
    for y in range(0, size[1], side):
        for x in range(0, size[0], side):
            offsets.paste(tile, (x, y))
    return Image.merge("RGB", (offsets, offsets, offsets))


def _nearest(rgb_image):
    return rgb_image.quantize(palette=_MATCHING, dither=Image.Dither.NONE)


def _exact_mask(rgb_image, indexed):
    """White where the palette holds the pixel's colour exactly."""
    difference = ImageChops.difference(rgb_image, indexed.convert("RGB"))
    red, green, blue = difference.split()
    largest = ImageChops.lighter(ImageChops.lighter(red, green), blue)
    return largest.point(lambda value: 255 if value == 0 else 0)


def _cube_indexes(rgb_image):
    """Each pixel's colour rounded channel by channel to the colour cube: exact for the cube's even
    steps, which the dither needs (the nearest of the whole palette would pick greys)."""
    red, green, blue = rgb_image.split()
    level = [min(5, (value + 25) // 51) for value in range(256)]
    parts = [channel.point([level[value] * weight for value in range(256)])
             for channel, weight in ((red, 36), (green, 6), (blue, 1))]
    summed = ImageChops.add(ImageChops.add(parts[0], parts[1]), parts[2]).point(lambda value: value + CUBE_FIRST)
    indexed = Image.frombytes("P", rgb_image.size, summed.tobytes())
    indexed.putpalette(_MATCHING.getpalette())
    return indexed


def dithered(rgb_image):
    """Dithering to the standard palette: colours the palette holds keep their index (flat fills
    and outlines stay clean); every other pixel takes the cube colour of itself moved by its
    threshold in the blue-noise tile, so smooth gradients become a fine even grain instead of
    bands."""
    plain = _nearest(rgb_image)
    moved = ImageChops.add(rgb_image, _dither_offsets(rgb_image.size), scale=1.0, offset=-128)
    result = _cube_indexes(moved)
    result.paste(plain, mask=_exact_mask(rgb_image, plain))
    return result


def to_indexes(canvas, transparent=False, matte=WHITE):
    """The picture as palette indexes: each pixel the nearest standard colour (never the key), or
    dithered when the picture holds a gradient (which the build then checks for bands); with
    `transparent`, pixels mostly uncovered become the key 255."""
    small = canvas.reduced()
    flat = Image.new("RGBA", small.size, matte + (255,))
    flat.alpha_composite(small)
    source = flat.convert("RGB")
    if canvas.gradients:
        indexed = dithered(source)
        gradient = canvas.gradient_layer.resize(source.size, Image.Resampling.BOX)
        for box in canvas.gradients:
            banding.check(source, gradient, indexed, box, _nearest(source))
    else:
        indexed = _nearest(source)
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


def write_files(folder, made, listing):
    """Writes every (path, maker of its bytes) under `folder`; with `listing` prints the paths."""
    for path, make in made:
        if listing:
            print(os.path.join(folder, path))
        else:
            write_atomically(os.path.join(folder, path), make())
