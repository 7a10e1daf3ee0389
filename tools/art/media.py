"""Sample media for the folders the browser tabs open: pictures to put on a page (white is
see-through), whole-page backgrounds, dividers, bullets and tiles to fill with."""

import math

from art_kit import (BLUE, BROWN, DARK_BLUE, DARK_GREEN, GREEN, INK, LIGHT_GREY, ORANGE, PINK, PURPLE, RED, SKY,
                     SOLID_WHITE, WHITE, YELLOW, Canvas, rgb, to_indexes)
from icons import Grid, draw_icon

# A new page is as large as the page window's page area, 477 x 337, and a background goes in its
# middle: 480 x 360 covers it with a pixel or more to spare on every side (whichever way the middle
# rounds) and has the 4 : 3 shape of the Backgrounds tab's cells. Every scene is drawn for a
# SCENE x SCENE square in the picture's middle, the sky and the ground running on to its edges;
# what matters in it lies well inside what a centred page shows.
PAGE_AREA = (477, 337)
BACKGROUND = (480, 360)
SCENE = 350


def sticker(draw, side=96, matte=WHITE):
    canvas = Canvas(side, side)
    draw(Grid(canvas, (4, 4, side - 4, side - 4)))
    return to_indexes(canvas, transparent=True, matte=matte)


def _sun(g, turn=0):
    """The sun, its rays turned on by `turn` degrees (the moving sun turns them)."""
    for angle in range(0, 360, 30):
        a = math.radians(angle + turn)
        g.line([(50 + 30 * math.cos(a), 50 + 30 * math.sin(a)), (50 + 46 * math.cos(a), 50 + 46 * math.sin(a))],
               ORANGE, weight=1.6)
    g.circle(50, 50, 26, YELLOW)
    g.circle(41, 45, 3, INK, outline=False)
    g.circle(59, 45, 3, INK, outline=False)
    g.arc(36, 40, 64, 64, 30, 150, weight=1.2)


def _flower(g):
    g.line([(50, 56), (50, 96)], DARK_GREEN, weight=2.0)
    g.oval(50, 70, 78, 84, GREEN)
    for angle in range(0, 360, 60):
        a = math.radians(angle)
        g.circle(50 + 20 * math.cos(a), 34 + 20 * math.sin(a), 13, PINK)
    g.circle(50, 34, 12, YELLOW)


def _cat(g):
    g.poly([(18, 40), (22, 6), (44, 26)], ORANGE)
    g.poly([(82, 40), (78, 6), (56, 26)], ORANGE)
    g.circle(50, 52, 38, ORANGE)
    g.oval(30, 38, 42, 54, SOLID_WHITE)
    g.oval(58, 38, 70, 54, SOLID_WHITE)
    g.circle(37, 47, 4, INK, outline=False)
    g.circle(64, 47, 4, INK, outline=False)
    g.poly([(45, 62), (55, 62), (50, 68)], PINK)
    for side in (-1, 1):
        for dy in (-4, 4):
            g.line([(50 + side * 14, 68), (50 + side * 40, 66 + dy * 2)], weight=0.8)


def _fish(g, tail=0):
    """The fish facing left, its tail swung up (-1), straight (0) or down (1) as it swims."""
    g.poly([(70, 50), (96, 28 + 8 * tail), (96, 72 + 8 * tail)], ORANGE)
    g.oval(8, 26, 78, 74, rgb("#33ccff"))
    g.circle(26, 44, 6, SOLID_WHITE)
    g.circle(26, 44, 2.5, INK, outline=False)
    g.arc(36, 34, 60, 66, 300, 60, weight=1.0)


def _tree(g):
    g.rect(42, 60, 58, 96, BROWN)
    for cx, cy, r in ((50, 36, 28), (28, 50, 20), (72, 50, 20)):
        g.circle(cx, cy, r, GREEN)
    for x, y in ((36, 30), (60, 46), (46, 56)):
        g.circle(x, y, 5, RED)


def _balloon(g):
    g.line([(50, 72), (46, 84), (54, 90), (50, 98)], weight=0.8)
    g.oval(20, 4, 80, 72, RED)
    g.poly([(46, 72), (54, 72), (50, 66)], RED)
    g.oval(32, 16, 44, 34, rgb("#ff9999"), outline=False)


def _icon(name):
    return lambda g: draw_icon(g.canvas, name, (g.x0, g.y0, g.x0 + 100 * g.unit, g.y0 + 100 * g.unit))


PICTURES = {"Sun": _sun, "Flower": _flower, "Cat": _cat, "Fish": _fish, "Tree": _tree, "Balloon": _balloon,
            "Star": _icon("star"), "Heart": _icon("heart"), "Rocket": _icon("rocket"), "House": _icon("home")}


def _gradient(canvas, colours, top, bottom):
    left, _, right, _ = canvas.extent()
    canvas.gradient((left, top, right, bottom), colours)


def _sky(canvas, colours, bottom):
    """The sky's gradient from the top of the picture down to `bottom`."""
    _gradient(canvas, colours, canvas.extent()[1], bottom)


def _ground(canvas, top, fill):
    left, _, right, bottom = canvas.extent()
    canvas.rect((left, top, right, bottom), fill=fill)


def _offset(width, height):
    """Where the SCENE x SCENE drawing lies in a picture of that size: in its middle, rounded as
    the middle of a page is, so that a page-sized picture is the part of a BACKGROUND one that a
    page shows."""
    return (width - SCENE) // 2, (height - SCENE) // 2


def _scene(width, height, background=None):
    left, top = _offset(width, height)
    return Canvas(width, height, background, left=left, top=top)


# The two-dimensional golden sequence: its points spread evenly, never in rows or columns.
SPREAD = (0.7548776662466927, 0.5698402909980532)


def _scattered(count, box):
    """`count` points spread evenly over `box`, in drawing coordinates, whatever the size of the
    picture: a page-sized picture shows the same stars as the middle of a BACKGROUND one."""
    left, top, right, bottom = box
    return [(left + (0.5 + i * SPREAD[0]) % 1 * (right - left), top + (0.5 + i * SPREAD[1]) % 1 * (bottom - top))
            for i in range(count)]


def _background_box():
    left, top = _offset(*BACKGROUND)
    return -left, -top, BACKGROUND[0] - left, BACKGROUND[1] - top


def _cloud(canvas, x, y, s):
    for dx, dy, r in ((0, 0, 14), (16, -8, 18), (34, 0, 14), (17, 4, 14)):
        canvas.circle(x + dx * s, y + dy * s, r * s, fill=WHITE)


def _star_dot(canvas, x, y, r, colour):
    Grid(canvas, (x - r, y - r, x + r, y + r)).poly(
        [(50 + (48 if i % 2 == 0 else 18) * math.cos(math.radians(-90 + i * 36)),
          50 + (48 if i % 2 == 0 else 18) * math.sin(math.radians(-90 + i * 36))) for i in range(10)],
        colour, outline=False)


def hills(width, height):
    c = _scene(width, height)
    _sky(c, [rgb("#4db8ff"), rgb("#99dcff"), rgb("#e0ffff")], 260)
    c.circle(280, 70, 34, fill=YELLOW)
    _cloud(c, 50, 70, 1.6)
    _cloud(c, 170, 120, 1.1)
    c.ellipse((-120, 200, 230, 460), fill=rgb("#66cc33"))
    c.ellipse((130, 220, 480, 480), fill=GREEN)
    for x, y in ((60, 260), (90, 290), (200, 300), (260, 280), (300, 320)):
        c.circle(x, y, 5, fill=PINK if x % 20 else YELLOW)
    return to_indexes(c)


def sea(width, height):
    c = _scene(width, height)
    _sky(c, [rgb("#40d0ff"), rgb("#3090ee"), rgb("#2a4a9c")], 300)
    _ground(c, 300, rgb("#ffcc66"))
    for x in (40, 100, 290):
        Grid(c, (x - 16, 250, x + 16, 310)).line([(50, 100), (30, 70), (60, 40), (40, 10)], GREEN, weight=3)
    for x, y, r in ((80, 60, 6), (90, 40, 4), (250, 120, 7), (262, 96, 4), (200, 200, 5)):
        c.circle(x, y, r, outline=WHITE, width=1.5)
    Grid(c, (150, 130, 230, 210)).poly([(70, 50), (96, 30), (96, 70)], ORANGE)
    Grid(c, (150, 130, 230, 210)).oval(8, 28, 78, 72, YELLOW)
    Grid(c, (150, 130, 230, 210)).circle(26, 44, 5, INK, outline=False)
    return to_indexes(c)


def night(width, height):
    c = _scene(width, height)
    _sky(c, [rgb("#000028"), rgb("#0a1c5c"), rgb("#1a4488")], 280)
    left, _, right, _ = _background_box()
    for i, (x, y) in enumerate(_scattered(32, (left + 10, 20, right - 10, 220))):
        # No star in front of the moon, nor in its dark part.
        if math.hypot(x - 270, y - 70) > 42:
            _star_dot(c, x, y, 3 + i % 3 * 2, rgb("#ffff99"))
    c.crescent(270, 70, 34, 254, 60, 32, rgb("#ffffcc"))
    _ground(c, 280, rgb("#003300"))
    for x in (30, 120, 230):
        c.rect((x, 230, x + 60, 300), fill=rgb("#333366"))
        for wx in (x + 10, x + 36):
            c.rect((wx, 248, wx + 14, 262), fill=YELLOW)
    return to_indexes(c)


def space(width, height):
    c = _scene(width, height, rgb("#000000"))
    for i, (x, y) in enumerate(_scattered(82, _background_box())):
        c.circle(x, y, 1 + (i % 4 == 0), fill=WHITE)
    c.circle(90, 250, 60, fill=rgb("#3399ff"))
    c.ellipse((40, 210, 110, 250), fill=GREEN)
    c.circle(270, 90, 36, fill=rgb("#ff9933"))
    c.arc((210, 70, 330, 110), 160, 380, fill=rgb("#ffcc66"), width=5)
    draw_icon(c, "rocket", (190, 190, 270, 270))
    return to_indexes(c)


def beach(width, height):
    c = _scene(width, height)
    _sky(c, [rgb("#80c4ff"), rgb("#c0eeff"), rgb("#f0ffff")], 180)
    c.circle(60, 60, 30, fill=YELLOW)
    _gradient(c, [rgb("#1aa8e0"), rgb("#0080bb"), rgb("#006699")], 180, 240)
    _ground(c, 240, rgb("#ffdd88"))
    c.line([(250, 330), (250, 200)], BROWN, 4)
    c.pieslice((190, 160, 310, 250), 180, 360, fill=RED)
    c.pieslice((220, 160, 280, 250), 180, 360, fill=WHITE)
    c.circle(110, 300, 22, fill=BLUE)
    c.pieslice((88, 278, 132, 322), 300, 360, fill=YELLOW)
    c.pieslice((88, 278, 132, 322), 120, 180, fill=RED)
    return to_indexes(c)


BACKGROUNDS = {"Hills": hills, "Sea": sea, "Night": night, "Space": space, "Beach": beach}


def divider(draw):
    c = Canvas(320, 16)
    draw(c)
    return to_indexes(c, transparent=True)


def _rainbow(c):
    for i, colour in enumerate((RED, ORANGE, YELLOW, GREEN, BLUE, PURPLE)):
        c.line([(8, 3 + i * 2), (312, 3 + i * 2)], colour, 2)


def _dots(c):
    for i, x in enumerate(range(8, 320, 16)):
        c.circle(x, 8, 5, fill=(RED, YELLOW, GREEN, BLUE)[i % 4], outline=INK)


def _waves(c):
    c.line([(4 + i * 2, 8 + 5 * math.sin(i * 0.3)) for i in range(157)], BLUE, 3)


def _stars(c):
    for i, x in enumerate(range(10, 320, 20)):
        _star_dot(c, x, 8, 7, YELLOW if i % 2 else ORANGE)


def _hearts(c):
    for x in range(10, 320, 20):
        draw_icon(c, "heart", (x - 7, 1, x + 7, 15))


DIVIDERS = {"Rainbow": _rainbow, "Dots": _dots, "Waves": _waves, "Stars": _stars, "Hearts": _hearts}


def bullet(name, fill=None):
    c = Canvas(20, 20)
    if fill:
        c.circle(10, 10, 8.5, fill=fill, outline=INK)
        c.circle(7.5, 7, 2.5, fill=SOLID_WHITE)
    else:
        draw_icon(c, name, (1, 1, 19, 19))
    return to_indexes(c, transparent=True)


BULLETS = {"Ball": lambda: bullet("ball", RED), "Star": lambda: bullet("star"), "Heart": lambda: bullet("heart"),
           "Arrow": lambda: bullet("forward"), "Green": lambda: bullet("ball", GREEN)}


def tile(draw, background):
    c = Canvas(64, 64, background)
    draw(c)
    return to_indexes(c)


def _bricks(c):
    for row in range(4):
        offset = 0 if row % 2 == 0 else -16
        for column in range(3):
            x = offset + column * 32
            c.rect((x + 1, row * 16 + 1, x + 31, row * 16 + 15), fill=rgb("#cc6633"))
    c.rect((49, 17, 63, 31), fill=rgb("#cc6633"))
    c.rect((49, 49, 63, 63), fill=rgb("#cc6633"))


def _grass(c):
    for i in range(40):
        x, y = (i * 23) % 64, (i * 37) % 64
        c.line([(x, y + 6), (x + 2, y)], DARK_GREEN, 1.5, round_ends=False)


def _water(c):
    for y in (8, 24, 40, 56):
        c.line([(i, y + 3 * math.sin(i * 2 * math.pi / 32)) for i in range(0, 65, 2)], WHITE, 2)


def _spots(c):
    for x, y in ((16, 16), (48, 48), (48, 16), (16, 48)):
        c.circle(x, y, 7, fill=PINK if (x + y) % 64 else PURPLE)


def _wood(c):
    for y in range(4, 64, 8):
        c.line([(i, y + 2 * math.sin(i * 2 * math.pi / 64 + y)) for i in range(0, 65, 4)], rgb("#996633"), 1.5)


def _checks(c):
    for row in range(4):
        for column in range(4):
            if (row + column) % 2:
                c.rect((column * 16, row * 16, column * 16 + 16, row * 16 + 16), fill=SKY)


TEXTURES = {"Bricks": lambda: tile(_bricks, LIGHT_GREY), "Grass": lambda: tile(_grass, GREEN),
            "Water": lambda: tile(_water, rgb("#3399ff")), "Spots": lambda: tile(_spots, rgb("#ffffcc")),
            "Wood": lambda: tile(_wood, rgb("#cc9966")), "Checks": lambda: tile(_checks, WHITE)}


def all_media():
    made = [("Pictures/%s.bmp" % name, lambda draw=draw: sticker(draw)) for name, draw in PICTURES.items()]
    made += [("Backgrounds/%s.bmp" % name, lambda draw=draw: draw(*BACKGROUND)) for name, draw in BACKGROUNDS.items()]
    made += [("Dividers/%s.bmp" % name, lambda draw=draw: divider(draw)) for name, draw in DIVIDERS.items()]
    made += [("Bullets/%s.bmp" % name, draw) for name, draw in BULLETS.items()]
    made += [("Textures/%s.bmp" % name, draw) for name, draw in TEXTURES.items()]
    return made
