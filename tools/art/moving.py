"""The looks of the moving pictures of the Pictures folder: each a few drawings that the picture's
page shows in turn (a tail that wags, wings that flap, a star that twinkles, a heart that beats,
rays that turn), drawn on the 100 x 100 grid of the other stickers. The first look of each is the
picture as the browser previews it, so it is the whole, plain picture."""

from art_kit import BLUE, DARK_BLUE, INK, ORANGE, RED, SOLID_WHITE, YELLOW, rgb
from icons import _heart, _star
import media

SKY_BLUE = rgb("#66ccff")
BELLY = rgb("#ccffff")


def _fish(tail):
    return lambda g: media._fish(g, tail)


# Where the wing's tip lies for each beat, and how far the bird sinks as the wing pushes down.
WING = {"up": ((28, 8), -3), "level": ((10, 46), 0), "down": ((26, 90), 3)}


def _bird(beat):
    """A round bird facing right, its wing up, level or down."""
    tip, dy = WING[beat]

    def draw(g):
        g.poly([(24, 58 + dy), (4, 46 + dy), (8, 70 + dy)], DARK_BLUE)
        g.line([(46, 80 + dy), (42, 94)], ORANGE, weight=1.2)
        g.line([(58, 80 + dy), (60, 94)], ORANGE, weight=1.2)
        g.oval(16, 36 + dy, 78, 84 + dy, SKY_BLUE)
        g.oval(40, 58 + dy, 74, 82 + dy, BELLY, outline=False)
        g.circle(68, 38 + dy, 20, SKY_BLUE)
        g.poly([(84, 34 + dy), (98, 41 + dy), (84, 47 + dy)], ORANGE)
        g.circle(72, 34 + dy, 5.5, SOLID_WHITE)
        g.circle(73, 34 + dy, 2.5, INK, outline=False)
        g.poly([(32, 56 + dy), tip, (56, 58 + dy), (50, 64 + dy)], BLUE)
    return draw


def _sparkle(g, cx, cy, r):
    """A four-pointed glint, without an outline: it is light itself."""
    g.poly([(cx, cy - r), (cx + r * 0.25, cy - r * 0.25), (cx + r, cy), (cx + r * 0.25, cy + r * 0.25), (cx, cy + r),
            (cx - r * 0.25, cy + r * 0.25), (cx - r, cy), (cx - r * 0.25, cy - r * 0.25)], ORANGE, outline=False)


def _twinkle(size, sparkles):
    """The sticker star at a size, with sparkles of a size at its corners (0: none)."""
    def draw(g):
        _star(g, 50, 52, size, YELLOW)
        if sparkles:
            for cx, cy in ((13, 13), (87, 15), (86, 86), (14, 87)):
                _sparkle(g, cx, cy, sparkles)
    return draw


def _beat(size):
    return lambda g: _heart(g, 50, 50, size, RED)


def _sun(turn):
    return lambda g: media._sun(g, turn)


# Each moving picture's looks: (file name, drawing, side). The fish swims both ways, so it comes
# facing either way; the balloon is one look that the page moves.
LOOKS = {
    "Fish": [("FishLeft%d" % i, _fish(tail), 64) for i, tail in enumerate((-1, 1), 1)]
    + [("FishRight%d" % i, _fish(tail), 64) for i, tail in enumerate((-1, 1), 1)],
    "Songbird": [("Bird%s" % beat.capitalize(), _bird(beat), 96) for beat in ("up", "level", "down")],
    "Balloon": [("BalloonSmall", media.PICTURES["Balloon"], 80)],
    "Star": [("Star%d" % i, _twinkle(size, sparkles), 96) for i, (size, sparkles) in
             enumerate(((44, 0), (41, 9), (38, 13)), 1)],
    "Heart": [("HeartRest", _beat(40), 96), ("HeartBeat", _beat(46), 96), ("HeartEcho", _beat(43), 96)],
    "Sun": [("Sun%d" % turn, _sun(turn), 96) for turn in range(0, 30, 6)],
}


def mirrored(name):
    """Whether the look faces the other way from its drawing (the fish swimming right)."""
    return "Right" in name
