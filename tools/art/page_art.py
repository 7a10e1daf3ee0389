"""Draws the pictures that the media folders' pages are built from (tools/samplepage puts them on
pages): the stickers, backgrounds and dividers of media.py, the looks of the moving pictures
(moving.py), smaller stickers for the sample pages' moving sprites, and the buttons of the web-link
pages. They go into a build folder, not data/: only the pages made of them ship. The backgrounds
come twice: as the Backgrounds pages show them and as large as the samples, the page area.

Usage: page_art.py <folder>          writes every picture
       page_art.py <folder> --list   prints the paths it writes, one a line"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_kit  # noqa: E402
import media  # noqa: E402
import moving  # noqa: E402
from art_kit import FACE, INK, Canvas, rgb, to_indexes  # noqa: E402
from icons import Grid, draw_icon  # noqa: E402

SPRITE = 64  # the moving pictures of the sample pages


# The edge pixels of outlined pictures blend into the outline colour, not white, so that they show
# no pale fringe on a page's colours where their see-through part begins.
MATTE = INK


def _sticker(draw, side):
    return lambda: media.sticker(draw, side, MATTE)


def _mirrored(draw, side):
    """A sticker facing the other way: the sample pages' fish swim both ways."""
    return lambda: media.sticker(draw, side, MATTE).transpose(art_kit.Image.Transpose.FLIP_LEFT_RIGHT)


def _looks():
    """The looks of the moving pictures, as Pictures/<look>.bmp."""
    return [("Pictures/%s.bmp" % name, (_mirrored if moving.mirrored(name) else _sticker)(draw, side))
            for looks in moving.LOOKS.values() for name, draw, side in looks]


# The web-link buttons: a label and an emblem (a sticker or icon drawing) on a face of the site's
# colour, named after the label without its spaces (the page sources name the address). Each
# folder's buttons are one size, the size of its browser cells, so that the preview shows the
# button as it will look on a page.
SITES = {
    "Yahoo": (199, 75, [
        ("PBS Kids", "play", "#66ccff"),
        ("Nat Geo Kids", "Cat", "#ffcc33"),
        ("Space Place", "rocket", "#9999ff"),
        ("CBeebies", "Sun", "#99ff66"),
        ("Sesame Street", "House", "#ff9999"),
        ("Smithsonian", "Balloon", "#ffcc99"),
    ]),
    "CoolSites": (160, 20, [
        ("Climate Kids", "Tree", "#99ff99"),
        ("SciJinks Weather", "Sun", "#99ccff"),
        ("National Zoo", "Cat", "#ffcc66"),
        ("KidsHealth", "heart", "#ff99cc"),
        ("Starfall", "star", "#ffff66"),
    ]),
    "KidClubs": (102, 48, [
        ("Scratch", "Cat", "#ffcc33"),
        ("NASA Kids Club", "rocket", "#9999ff"),
        ("4-H", "Flower", "#99ff99"),
        ("Girl Scouts", "heart", "#66ff99"),
        ("Scouts", "Tree", "#ffcc99"),
    ]),
}


def _emblem(canvas, name, box):
    if name in media.PICTURES:
        media.PICTURES[name](Grid(canvas, box))
    else:
        draw_icon(canvas, name, box)


def _fitted(canvas, words, size, room):
    while size > 7 and canvas.text_width(words, size) > room:
        size -= 0.5
    return size


def link_button(width, height, label, emblem, face):
    canvas = Canvas(width, height)
    radius = min(width, height) / 4
    canvas.rrect((0.5, 0.5, width - 0.5, height - 0.5), radius, fill=rgb(face), outline=INK,
                 width=1.5 if height > 30 else 1)
    if height <= 24:
        # A slim strip: a small emblem at the left, the label beside it.
        side = height - 4
        _emblem(canvas, emblem, (6, 2, 6 + side, 2 + side))
        room = width - side - 16
        canvas.text(side + 10 + room / 2, height / 2, label, _fitted(canvas, label, 11, room))
        return to_indexes(canvas, transparent=True, matte=MATTE)
    # Small buttons give the label more of their width.
    side = height - 12 if height > 60 else height * 0.6
    canvas.circle(6 + side / 2, height / 2, side / 2 + 2, fill=FACE, outline=INK, width=1)
    _emblem(canvas, emblem, (6 + side * 0.12, height / 2 - side * 0.38, 6 + side * 0.88, height / 2 + side * 0.38))
    room = width - side - 16
    words = label.split(" ")
    # Two lines when one would have to shrink below a comfortable size.
    size = _fitted(canvas, label, 16 if height > 60 else 12, room)
    left = side + 12
    if size < (13 if height > 60 else 10) and len(words) > 1:
        # The split whose longer line is shortest.
        lines = min(([" ".join(words[:cut]), " ".join(words[cut:])] for cut in range(1, len(words))),
                    key=lambda pair: max(canvas.text_width(line, 12) for line in pair))
        size = min(_fitted(canvas, line, 16 if height > 60 else 12, room) for line in lines)
        for i, line in enumerate(lines):
            canvas.text(left + room / 2, height / 2 + (i - 0.5) * size * 1.25, line, size)
    else:
        canvas.text(left + room / 2, height / 2, label, size)
    return to_indexes(canvas, transparent=True, matte=MATTE)


def buttons():
    """(path, width, height, label, emblem, face colour) of every web-link button."""
    return [("%s/%s.bmp" % (folder, label.replace(" ", "")), width, height, label, emblem, face)
            for folder, (width, height, entries) in SITES.items() for label, emblem, face in entries]


def items():
    made = [("Pictures/%s.bmp" % name, _sticker(draw, 96)) for name, draw in media.PICTURES.items()]
    made += _looks()
    made += [("Sprites/%s.bmp" % name, _sticker(draw, SPRITE)) for name, draw in media.PICTURES.items()]
    made.append(("Sprites/FishBack.bmp", _mirrored(media.PICTURES["Fish"], SPRITE)))
    made += [("%s/%s.bmp" % (folder, name), lambda draw=draw, size=size: draw(*size))
             for folder, size in (("Backgrounds", media.BACKGROUND), ("Samples", media.PAGE_AREA))
             for name, draw in media.BACKGROUNDS.items()]
    made += [("Dividers/%s.bmp" % name, lambda draw=draw: media.divider(draw)) for name, draw in media.DIVIDERS.items()]
    made += [(path, lambda w=width, h=height, l=label, e=emblem, f=face: link_button(w, h, l, e, f))
             for path, width, height, label, emblem, face in buttons()]
    return made


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    made = [(path, lambda draw=draw: art_kit.bmp_bytes(draw())) for path, draw in items()]
    art_kit.write_files(argv[1], made, "--list" in argv)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
