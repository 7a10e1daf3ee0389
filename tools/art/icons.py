"""The icon set: every icon is drawn on a 100 x 100 grid and placed into any square box, so the
same drawing serves the 25-pixel tool cells and the large tab and selector buttons."""

import math

from art_kit import (BLACK, BLUE, BROWN, DARK_BLUE, DARK_GREEN, GREEN, GREY, INK, LIGHT_GREY, ORANGE, PINK,
                     PURPLE, RED, SKY, SOLID_WHITE, WHITE, YELLOW, rgb)


class Grid:
    """Maps the 100 x 100 icon grid into a box of a canvas; `ink` draws every outline."""

    def __init__(self, canvas, box, ink=INK, muted=False):
        left, top, right, bottom = box
        side = min(right - left, bottom - top)
        self.canvas = canvas
        self.x0 = left + (right - left - side) / 2
        self.y0 = top + (bottom - top - side) / 2
        self.unit = side / 100.0
        self.ink = ink
        self.muted = muted
        # Outlines keep about one pixel at small sizes and grow with the icon.
        self.stroke = max(1.0, side / 16.0)

    def colour(self, colour):
        if not self.muted:
            return colour
        grey = (colour[0] * 3 + colour[1] * 6 + colour[2]) // 10
        return (min(255, 153 + grey // 3),) * 3

    def p(self, x, y):
        return (self.x0 + x * self.unit, self.y0 + y * self.unit)

    def pts(self, points):
        return [self.p(x, y) for x, y in points]

    def box(self, l, t, r, b):
        return self.p(l, t) + self.p(r, b)

    def poly(self, points, fill, outline=True):
        self.canvas.polygon(self.pts(points), fill=self.colour(fill), outline=self.ink if outline else None,
                            width=self.stroke)

    def rect(self, l, t, r, b, fill, radius=0, outline=True):
        self.canvas.rrect(self.box(l, t, r, b), radius * self.unit, fill=self.colour(fill),
                          outline=self.ink if outline else None, width=self.stroke)

    def oval(self, l, t, r, b, fill, outline=True):
        self.canvas.ellipse(self.box(l, t, r, b), fill=self.colour(fill), outline=self.ink if outline else None,
                            width=self.stroke)

    def circle(self, cx, cy, r, fill, outline=True):
        self.oval(cx - r, cy - r, cx + r, cy + r, fill, outline)

    def line(self, points, colour=None, weight=1.0):
        self.canvas.line(self.pts(points), self.colour(colour) if colour else self.ink, self.stroke * weight)

    def arc(self, l, t, r, b, start, end, colour=None, weight=1.0):
        self.canvas.arc(self.box(l, t, r, b), start, end, self.colour(colour) if colour else self.ink,
                        self.stroke * weight)

    def arrow_head(self, x, y, angle, size, fill):
        """A filled triangle pointing along `angle` (degrees, 0 = right, 90 = down) with its tip at (x, y)."""
        a = math.radians(angle)
        back = (x - size * math.cos(a), y - size * math.sin(a))
        side = (-math.sin(a) * size * 0.6, math.cos(a) * size * 0.6)
        self.poly([(x, y), (back[0] + side[0], back[1] + side[1]), (back[0] - side[0], back[1] - side[1])], fill)


def _arrow(g, x1, y1, x2, y2, fill, head=26):
    angle = math.degrees(math.atan2(y2 - y1, x2 - x1))
    a = math.radians(angle)
    g.line([(x1, y1), (x2 - head * 0.6 * math.cos(a), y2 - head * 0.6 * math.sin(a))], weight=2.2)
    g.line([(x1, y1), (x2 - head * 0.6 * math.cos(a), y2 - head * 0.6 * math.sin(a))], fill, weight=1.0)
    g.arrow_head(x2, y2, angle, head, fill)


def _page(g, l, t, r, b, fill=WHITE, fold=18):
    g.poly([(l, t), (r - fold, t), (r, t + fold), (r, b), (l, b)], fill)
    g.poly([(r - fold, t), (r - fold, t + fold), (r, t + fold)], LIGHT_GREY)


def icon_move(g):
    g.circle(50, 50, 12, ORANGE)
    for x, y in ((50, 8), (50, 92), (8, 50), (92, 50)):
        _arrow(g, 50 + (x - 50) * 0.3, 50 + (y - 50) * 0.3, x, y, ORANGE, head=24)


def icon_move_animated(g):
    # The moving picture leaves a trail: it moves along the frames.
    for i, x in enumerate((20, 36)):
        g.circle(x, 62, 10 + i * 2, (255, 204, 153) if i == 0 else (255, 153, 102), outline=False)
    g.circle(62, 62, 16, ORANGE)
    _arrow(g, 58, 34, 92, 14, ORANGE, head=22)


def icon_scale(g):
    g.rect(30, 30, 70, 70, SKY)
    _arrow(g, 40, 40, 8, 8, GREEN, head=26)
    _arrow(g, 60, 60, 92, 92, GREEN, head=26)


def icon_scale_animated(g):
    g.rect(14, 50, 38, 74, (204, 255, 204), outline=False)
    g.rect(40, 30, 80, 70, SKY)
    _arrow(g, 62, 48, 94, 12, GREEN, head=24)


def _turning(g, square, ring, arc_end, tip, head, weight):
    """A square with two curved arrows around it, each the other turned half a turn."""
    g.rect(50 - square, 50 - square, 50 + square, 50 + square, (255, 204, 255))
    g.arc(50 - ring, 50 - ring, 50 + ring, 50 + ring, 200, arc_end, PURPLE, weight=weight)
    g.arc(50 - ring, 50 - ring, 50 + ring, 50 + ring, 20, arc_end - 180, PURPLE, weight=weight)
    x, y, angle = tip
    g.arrow_head(x, y, angle, head, PURPLE)
    g.arrow_head(100 - x, 100 - y, angle + 180, head, PURPLE)


def icon_rotate(g):
    _turning(g, 14, 38, 330, (84, 34, 70), 24, 2.6)


def icon_rotate_animated(g):
    g.rect(38, 38, 66, 66, (255, 204, 255))
    g.arc(10, 10, 90, 90, 180, 340, PURPLE, weight=2.6)
    g.arrow_head(88, 40, 80, 26, PURPLE)
    g.circle(18, 80, 6, (204, 153, 255), outline=False)
    g.circle(34, 88, 5, (204, 153, 255), outline=False)


def icon_arrow(g):
    g.poly([(26, 8), (26, 82), (44, 66), (58, 94), (72, 88), (58, 60), (82, 60)], WHITE)


def icon_circle_motion(g):
    for angle in range(0, 360, 30):
        a = math.radians(angle)
        g.circle(50 + 36 * math.cos(a), 50 + 36 * math.sin(a), 3.5, PURPLE, outline=False)
    g.circle(86, 50, 13, YELLOW)


def icon_scroll(g):
    g.rect(14, 20, 86, 80, SKY, radius=8)
    _arrow(g, 50, 50, 50, 8, BLUE, head=22)
    _arrow(g, 50, 50, 50, 92, BLUE, head=22)


def icon_bucket(g):
    # A tipped bucket pouring paint.
    g.arc(14, 8, 66, 56, 200, 330, weight=1.4)
    g.poly([(10, 36), (66, 20), (74, 66), (30, 82)], (153, 204, 255))
    g.oval(58, 16, 78, 70, (102, 153, 255))
    g.poly([(70, 40), (86, 56), (92, 84), (82, 94), (74, 82), (78, 62)], RED)


def icon_brush(g):
    g.poly([(88, 8), (94, 14), (52, 62), (42, 54)], BROWN)
    g.poly([(42, 54), (52, 62), (40, 78), (24, 92), (8, 94), (14, 74), (30, 60)], RED)
    g.line([(60, 44), (68, 52)], weight=1.0)


def icon_shapes(g):
    g.rect(10, 10, 58, 58, BLUE, radius=0)
    g.circle(62, 62, 28, YELLOW)


def icon_line(g):
    g.line([(14, 86), (86, 14)], weight=3.4)
    g.line([(14, 86), (86, 14)], GREEN, weight=1.8)
    g.circle(14, 86, 8, WHITE)
    g.circle(86, 14, 8, WHITE)


def icon_eraser(g):
    g.poly([(12, 62), (52, 22), (88, 58), (48, 98)], PINK)
    g.poly([(12, 62), (30, 44), (66, 80), (48, 98)], WHITE)


def icon_select(g):
    for x in range(12, 88, 16):
        g.line([(x, 14), (x + 8, 14)], weight=1.2)
        g.line([(x, 86), (x + 8, 86)], weight=1.2)
    for y in range(14, 86, 16):
        g.line([(12, y), (12, y + 8)], weight=1.2)
        g.line([(88, y), (88, y + 8)], weight=1.2)
    g.circle(50, 50, 14, PINK)


def icon_text(g):
    g.canvas.text(*g.p(50, 54), "A", 80 * g.unit, fill=g.colour(DARK_BLUE))


def icon_page(g):
    _page(g, 18, 8, 82, 92)
    for y in (40, 56, 72):
        g.line([(30, y), (70, y)], GREY, weight=1.0)
    g.circle(38, 26, 7, YELLOW, outline=False)


def icon_pages(g):
    _page(g, 30, 4, 90, 74, fill=(204, 255, 255))
    _page(g, 10, 24, 70, 96)
    for y in (50, 64, 78):
        g.line([(20, y), (58, y)], GREY, weight=1.0)


def icon_samples(g):
    _page(g, 14, 10, 76, 94)
    _star(g, 66, 34, 26, YELLOW)


def icon_new_page(g):
    _page(g, 12, 8, 72, 92)
    g.circle(70, 70, 22, GREEN)
    g.line([(70, 58), (70, 82)], WHITE, weight=1.6)
    g.line([(58, 70), (82, 70)], WHITE, weight=1.6)


def _star(g, cx, cy, r, fill):
    points = []
    for i in range(10):
        a = math.radians(-90 + i * 36)
        radius = r if i % 2 == 0 else r * 0.45
        points.append((cx + radius * math.cos(a), cy + radius * math.sin(a)))
    g.poly(points, fill)


def _heart(g, cx, cy, r, fill):
    points = []
    for i in range(48):
        t = 2 * math.pi * i / 48
        x = 16 * math.sin(t) ** 3
        y = -(13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t))
        points.append((cx + x * r / 17, cy + y * r / 17))
    g.poly(points, fill)


def icon_star(g):
    _star(g, 50, 52, 44, YELLOW)


def icon_heart(g):
    _heart(g, 50, 50, 44, RED)


def icon_backgrounds(g):
    g.rect(8, 14, 92, 86, SKY, radius=6)
    g.circle(72, 34, 11, YELLOW)
    g.poly([(8, 86), (8, 64), (30, 46), (52, 66), (70, 56), (92, 70), (92, 86)], GREEN)


def icon_dividers(g):
    for y, colour in ((26, RED), (50, YELLOW), (74, BLUE)):
        points = [(8 + i * 4, y + 7 * math.sin(i * 0.75)) for i in range(22)]
        g.line(points, weight=2.4)
        g.line(points, colour, weight=1.3)


def icon_pictures(g):
    g.rect(8, 12, 92, 88, rgb("#ffcc99"), radius=6)
    g.rect(18, 22, 82, 78, WHITE)
    for angle in range(0, 360, 60):
        a = math.radians(angle)
        g.circle(50 + 14 * math.cos(a), 48 + 14 * math.sin(a), 9, PINK)
    g.circle(50, 48, 8, YELLOW)


def icon_write(g):
    g.canvas.text(*g.p(34, 42), "A", 62 * g.unit, fill=g.colour(DARK_BLUE))
    g.poly([(86, 30), (96, 40), (54, 84), (42, 88), (46, 74)], YELLOW)
    g.poly([(46, 74), (54, 84), (42, 88)], rgb("#ffcc99"))


def icon_paint(g):
    g.poly([(50, 10), (84, 18), (94, 50), (78, 86), (40, 92), (10, 68), (10, 34)], rgb("#ffcc99"))
    for x, y, colour in ((32, 34, RED), (52, 26, YELLOW), (72, 36, GREEN), (74, 62, BLUE), (34, 60, PURPLE)):
        g.circle(x, y, 8, colour)
    g.circle(52, 74, 7, WHITE)


def icon_microphone(g):
    g.rect(36, 8, 64, 58, LIGHT_GREY, radius=14)
    g.arc(24, 26, 76, 70, 0, 180, weight=1.6)
    g.line([(50, 70), (50, 86)], weight=1.6)
    g.line([(34, 90), (66, 90)], weight=1.6)
    g.circle(82, 20, 8, RED)


def icon_mail(g):
    g.rect(8, 24, 92, 80, WHITE)
    g.line([(8, 24), (50, 56), (92, 24)], weight=1.2)
    g.circle(80, 72, 14, RED)
    g.canvas.text(*g.p(80, 72), "@", 18 * g.unit, fill=WHITE)


def _link(g, colour):
    g.rect(6, 34, 56, 66, None, radius=16)
    g.rect(44, 34, 94, 66, None, radius=16)
    g.canvas.rrect(g.box(6, 34, 56, 66), 16 * g.unit, outline=g.colour(colour), width=g.stroke * 1.6)
    g.canvas.rrect(g.box(44, 34, 94, 66), 16 * g.unit, outline=g.colour(colour), width=g.stroke * 1.6)


def icon_link(g):
    _link(g, BLUE)


def icon_directory(g):
    g.circle(42, 42, 32, SKY)
    g.arc(10, 10, 74, 74, 0, 360, weight=1.0)
    g.poly([(22, 34), (40, 22), (52, 36), (40, 52), (26, 48)], GREEN, outline=False)
    g.line([(66, 66), (90, 90)], weight=3.2)
    g.line([(66, 66), (90, 90)], BROWN, weight=1.8)


def icon_cool(g):
    g.circle(50, 50, 42, YELLOW)
    g.rect(18, 34, 46, 50, BLACK, radius=6)
    g.rect(54, 34, 82, 50, BLACK, radius=6)
    g.line([(46, 40), (54, 40)], weight=1.0)
    g.arc(28, 42, 72, 76, 20, 160, weight=1.4)


def icon_clubs(g):
    for cx, colour in ((32, ORANGE), (68, BLUE)):
        g.circle(cx, 32, 14, rgb("#ffcc99"))
        g.rect(cx - 20, 50, cx + 20, 92, colour, radius=14)


def icon_back(g):
    _arrow(g, 88, 50, 10, 50, GREEN, head=40)


def icon_forward(g):
    _arrow(g, 12, 50, 90, 50, GREEN, head=40)


def icon_home(g):
    g.poly([(50, 8), (92, 46), (80, 46), (80, 90), (20, 90), (20, 46), (8, 46)], rgb("#ffcc99"))
    g.poly([(50, 8), (92, 46), (8, 46)], RED)
    g.rect(42, 62, 58, 90, BROWN)


def icon_rocket(g):
    g.poly([(50, 4), (66, 24), (66, 66), (34, 66), (34, 24)], SOLID_WHITE)
    g.poly([(34, 48), (18, 70), (34, 66)], RED)
    g.poly([(66, 48), (82, 70), (66, 66)], RED)
    g.circle(50, 34, 8, SKY)
    g.poly([(40, 68), (60, 68), (50, 96)], ORANGE)


def icon_play(g):
    g.poly([(24, 10), (88, 50), (24, 90)], GREEN)


def icon_stop(g):
    g.rect(18, 18, 82, 82, RED, radius=8)


def icon_loop(g):
    g.arc(12, 18, 88, 82, 200, 340, BLUE, weight=2.6)
    g.arc(12, 18, 88, 82, 20, 160, BLUE, weight=2.6)
    g.arrow_head(86, 44, 80, 24, BLUE)
    g.arrow_head(14, 56, 260, 24, BLUE)


def icon_cut(g):
    g.line([(24, 10), (66, 72)], GREY, weight=2.0)
    g.line([(76, 10), (34, 72)], GREY, weight=2.0)
    g.circle(28, 80, 12, RED)
    g.circle(72, 80, 12, RED)


def icon_copy(g):
    _page(g, 30, 6, 88, 74, fill=SKY)
    _page(g, 12, 26, 70, 94)


def icon_paste(g):
    g.rect(16, 14, 84, 94, BROWN, radius=6)
    g.rect(34, 6, 66, 22, LIGHT_GREY, radius=4)
    _page(g, 28, 32, 72, 86)


def icon_folder(g):
    g.poly([(8, 24), (38, 24), (46, 32), (92, 32), (92, 86), (8, 86)], YELLOW)
    g.line([(8, 42), (92, 42)], weight=1.0)


def icon_save(g):
    g.rect(12, 12, 88, 88, BLUE, radius=6)
    g.rect(28, 12, 72, 40, WHITE)
    g.rect(24, 56, 76, 88, LIGHT_GREY)


def icon_up(g):
    g.poly([(50, 10), (90, 84), (10, 84)], GREEN)


def icon_down(g):
    g.poly([(50, 90), (90, 16), (10, 16)], GREEN)


def icon_note(g):
    g.line([(44, 74), (44, 12), (80, 22), (80, 64)], weight=1.6)
    g.oval(20, 62, 48, 86, PURPLE)
    g.oval(56, 52, 84, 76, PURPLE)


def icon_feather(g):
    # A long plume in two bright halves either side of its shaft, with a few barbs, and the bare
    # quill below.
    shaft = [(30, 74), (44, 58), (58, 42), (72, 26), (88, 8)]
    upper = [(88, 8), (66, 12), (46, 24), (33, 40), (27, 58), (30, 74)]
    lower = [(30, 74), (46, 76), (62, 66), (76, 48), (85, 28), (88, 8)]
    g.poly(shaft + upper[1:-1], ORANGE)
    g.poly(shaft + lower[1:-1][::-1], YELLOW)
    barbs = rgb("#cc6600")
    for (x, y) in shaft[1:4]:
        g.line([(x, y), (x - 12, y - 6)], barbs, weight=0.7)
        g.line([(x, y), (x + 6, y + 12)], barbs, weight=0.7)
    g.line([(12, 94)] + shaft, weight=1.2)


def icon_font(g):
    g.canvas.text(*g.p(50, 54), "Aa", 62 * g.unit, fill=g.colour(DARK_BLUE))


def icon_style(g):
    g.canvas.text(*g.p(28, 48), "B", 56 * g.unit, fill=g.colour(DARK_BLUE))
    g.canvas.text(*g.p(72, 48), "U", 56 * g.unit, fill=g.colour(RED))
    g.line([(54, 82), (90, 82)], RED, weight=1.6)


def icon_size(g):
    g.canvas.text(*g.p(24, 66), "A", 34 * g.unit, fill=g.colour(DARK_BLUE))
    g.canvas.text(*g.p(66, 54), "A", 78 * g.unit, fill=g.colour(DARK_BLUE))


# Versions for the tool cells, where an icon is 21 to 31 pixels: fewer, bolder shapes. The tools
# that act along the frames show ghost copies of what they move, fading back along its way.
SMALL_SIDE = 34


def _ghost(g, cx, cy, r, fill, edge):
    """A faded copy: a disc with an edge of its own colour family rather than the ink."""
    g.canvas.circle(*g.p(cx, cy), r * g.unit, fill=g.colour(fill), outline=g.colour(edge), width=1)


def _turned_square(g, cx, cy, half, degrees, fill, outline=True):
    a = math.radians(degrees)
    corners = [(cx + half * math.sqrt(2) * math.cos(a + math.pi / 4 + i * math.pi / 2),
                cy + half * math.sqrt(2) * math.sin(a + math.pi / 4 + i * math.pi / 2)) for i in range(4)]
    g.poly(corners, fill, outline)


def small_move_animated(g):
    _ghost(g, 18, 80, 12, (255, 236, 214), (230, 160, 100))
    _ghost(g, 38, 60, 15, (255, 200, 150), (220, 130, 60))
    g.circle(66, 34, 24, ORANGE)


def small_scale_animated(g):
    g.rect(6, 70, 26, 90, (214, 255, 214), outline=False)
    g.rect(18, 44, 48, 74, (153, 230, 153), outline=False)
    g.rect(40, 8, 90, 58, SKY)
    g.arrow_head(92, 6, -45, 30, GREEN)


def small_rotate_animated(g):
    _turned_square(g, 22, 76, 14, 0, (255, 224, 255), outline=False)
    _turned_square(g, 42, 56, 16, 22, (240, 180, 240), outline=False)
    _turned_square(g, 68, 32, 22, 45, (255, 204, 255))


def small_move(g):
    g.circle(50, 50, 14, ORANGE)
    for angle in (0, 90, 180, 270):
        a = math.radians(angle)
        g.arrow_head(50 + 46 * math.cos(a), 50 + 46 * math.sin(a), angle, 28, ORANGE)


def small_scale(g):
    g.rect(28, 28, 72, 72, SKY)
    g.arrow_head(8, 8, 225, 32, GREEN)
    g.arrow_head(92, 92, 45, 32, GREEN)


def small_rotate(g):
    _turning(g, 18, 44, 340, (90, 40, 80), 28, 2.2)


ICONS = {name[5:]: function for name, function in globals().items() if name.startswith("icon_")}
SMALL_ICONS = {name[6:]: function for name, function in globals().items() if name.startswith("small_")}


def draw_icon(canvas, name, box, ink=INK, muted=False):
    grid = Grid(canvas, box, ink, muted)
    small = SMALL_ICONS.get(name) if grid.unit * 100 < SMALL_SIDE else None
    (small or ICONS[name])(grid)
