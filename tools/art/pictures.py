"""The program's own pictures: the button grids of the tool palettes, the media tabs and the
tab-set selector, the name dialog, the About box, the engine's sprite pictures and the fill
patterns. Each entry of PICTURES names its file in the Data folder and how to draw it."""

from art_kit import (BLACK_INDEX, DIM_INK, DISABLED, FACE, INK, PRESSED, SKY, STRIP, WHITE, WHITE_INDEX, YELLOW,
                     Canvas, rgb, to_indexes)
from icons import draw_icon

from PIL import Image

KID = 1000          # the kid resource set: pictures and sounds by number
APPLICATION = 1000  # the application resource set
ENGINE = 400        # the engine resource set
AUTHORING = 200     # the authoring set: patterns at number + 50


def _label_size(canvas, words, size, room):
    while size > 6 and canvas.text_width(words, size) > room:
        size -= 0.5
    return size


def button_cell(canvas, box, content, look):
    """One rounded button in a cell: `content` is (icon, label), (icon, None) or None (no button)."""
    left, top, right, bottom = box
    width, height = right - left, bottom - top
    if content is None:
        return
    icon, label = content
    small = min(width, height) < 40
    margin = 1 if small else 2
    shift = 1 if look == "pressed" else 0
    face = {"normal": FACE, "pressed": PRESSED, "disabled": DISABLED}[look]
    ink = DIM_INK if look == "disabled" else INK
    radius = max(3, min(width, height) / 5)
    canvas.rrect((left + margin, top + margin, right - margin, bottom - margin), radius, fill=face, outline=ink,
                 width=1.5 if look == "pressed" and not small else 1)
    # Small cells give their icon all the room inside the outline.
    pad = 1 if small else 2
    inner = (left + margin + pad + shift, top + margin + pad + shift, right - margin - pad + shift,
             bottom - margin - pad + shift)
    if label is None:
        draw_icon(canvas, icon, inner, ink, muted=look == "disabled")
        return
    label_height = 11 if height < 60 else 16
    if width >= 1.9 * height:
        # Wide buttons: icon at the left, label beside it.
        side = inner[3] - inner[1]
        size = _label_size(canvas, label, 11 if height < 40 else 13, inner[2] - inner[0] - side - 4)
        draw_icon(canvas, icon, (inner[0] + 2, inner[1], inner[0] + 2 + side, inner[3]), ink, look == "disabled")
        canvas.text((inner[0] + side + 4 + inner[2]) / 2, (inner[1] + inner[3]) / 2, label, size, fill=ink)
        return
    icon_box = (inner[0], inner[1], inner[2], inner[3] - label_height)
    draw_icon(canvas, icon, icon_box, ink, muted=look == "disabled")
    size = _label_size(canvas, label, 8.5 if height < 60 else 12, inner[2] - inner[0])
    canvas.text((inner[0] + inner[2]) / 2, inner[3] - label_height / 2, label, size, fill=ink)


def button_grid(rows, columns, cell_width, cell_height, cells, look):
    canvas = Canvas(columns * cell_width, rows * cell_height, STRIP)
    for index, content in enumerate(cells):
        row, column = divmod(index, columns)
        box = (column * cell_width, row * cell_height, (column + 1) * cell_width, (row + 1) * cell_height)
        button_cell(canvas, box, content, look)
    return to_indexes(canvas)


def grid_pictures(first_number, rows, columns, cell_width, cell_height, cells, looks=("normal", "pressed")):
    """The whole-palette pictures of one grid: normal, selected and (when asked) disabled."""
    return [(first_number + i, (lambda look=look: button_grid(rows, columns, cell_width, cell_height, cells, look)))
            for i, look in enumerate(looks)]


# What each cell of each grid shows, in cell order (row by row).
ANIMATION_TOOLS = [("move_animated", None), ("scale_animated", None), ("rotate_animated", None), ("arrow", None),
                   ("move", None), ("scale", None), ("rotate", None)]
PAINT_TOOLS = [("bucket", None), ("brush", None), ("shapes", None), ("line", None), ("eraser", None),
               ("select", None)]
TAB_SETS = {
    # grid: first picture number, cells (tabs 3 + 5 s to 7 + 5 s)
    404: (501, [("page", "Page"), ("pages", "My Pages"), ("samples", "Samples"), ("new_page", "New Page"), None]),
    400: (511, [("page", "Page"), ("backgrounds", "Backgrounds"), ("dividers", "Dividers"),
                ("pictures", "Pictures"), None]),
    401: (521, [("page", "Page"), ("write", "Write"), ("paint", "Paint"), ("microphone", "Record"),
                ("mail", "E-Mail")]),
    402: (531, [("page", "Page"), ("link", "Link Page"), ("directory", "Web Guide"), ("cool", "Cool Sites"),
                ("clubs", "Kid Clubs")]),
    403: (541, [("play", "Play"), ("back", "Back"), ("forward", "Forward"), ("home", "Home"),
                ("rocket", "Publish")]),
}
SELECTOR = [("pages", "My Pages"), ("pictures", "Pictures"), ("paint", "Paint & Sound"), ("link", "Links"),
            ("rocket", "Play & Publish")]


def eraser_sizes(look):
    sizes = [(4, 4), (8, 8), (12, 12), (16, 16), (20, 20), (24, 24), (32, 32), (16, 16), (8, 4), (12, 4), (16, 4),
             (20, 4), (24, 4), (32, 4), (4, 8), (4, 12), (4, 16), (4, 20), (4, 24), (4, 32)]
    canvas = Canvas(350, 70, STRIP)
    for index, (width, height) in enumerate(sizes):
        row, column = divmod(index, 10)
        left, top = column * 35, row * 35
        canvas.rrect((left + 1, top + 1, left + 34, top + 34), 6, fill=FACE, outline=INK)
        x, y = left + 17.5 - width / 2, top + 17.5 - height / 2
        # Sizes fill the cell exactly, so the biggest one is drawn one pixel inside the face.
        canvas.rect((max(x, left + 2), max(y, top + 2), min(x + width, left + 33), min(y + height, top + 33)),
                    fill=INK)
    return to_indexes(canvas)


def logo(canvas, cx, cy, side):
    canvas.circle(cx, cy, side / 2, fill=rgb("#3399ff"), outline=INK, width=max(1, side / 25))
    draw_icon(canvas, "feather", (cx - side * 0.36, cy - side * 0.36, cx + side * 0.36, cy + side * 0.36))


def logo_button():
    canvas = Canvas(50, 50, STRIP)
    canvas.rrect((2, 2, 48, 48), 10, fill=FACE, outline=INK)
    logo(canvas, 25, 25, 38)
    return to_indexes(canvas)


# A low banner: the selector's five buttons must still fit under it on a 640 x 480 screen.
def selector_top():
    canvas = Canvas(133, 34, STRIP)
    canvas.rrect((3, 3, 130, 31), 10, fill=WHITE, outline=INK)
    logo(canvas, 19, 17, 24)
    canvas.text(80, 17, "Plumewright", 12, fill=rgb("#6666cc"))
    return to_indexes(canvas)


def _sky(canvas, width, height):
    canvas.gradient((0, 0, width, height), [rgb("#5cc0ff"), rgb("#a8e4ff"), rgb("#e6ffff")])


def name_dialog():
    # The name field lies at (228, 299)-(375, 320) and the OK button at (295, 329)-(375, 349).
    canvas = Canvas(400, 360)
    _sky(canvas, 400, 360)
    canvas.rrect((10, 10, 390, 350), 24, fill=FACE, outline=INK, width=2)
    canvas.text(200, 42, "Name your project!", 22, fill=rgb("#6666cc"))
    draw_icon(canvas, "pages", (40, 80, 160, 200))
    draw_icon(canvas, "feather", (120, 70, 250, 200))
    draw_icon(canvas, "star", (270, 90, 350, 170))
    canvas.text(200, 226, "Your pages will be kept", 13)
    canvas.text(200, 246, "in a folder with this name.", 13)
    canvas.text(200, 276, "Use only letters and numbers.", 11, fill=rgb("#666699"))
    canvas.text(186, 310, "Name:", 14)
    canvas.rrect((224, 295, 379, 324), 5, fill=WHITE, outline=INK, width=1.5)
    return to_indexes(canvas)


def about_box():
    canvas = Canvas(360, 240)
    _sky(canvas, 360, 240)
    canvas.rrect((8, 8, 352, 232), 22, fill=FACE, outline=INK, width=2)
    logo(canvas, 80, 100, 100)
    canvas.text(236, 78, "Plumewright", 24, fill=rgb("#6666cc"))
    canvas.text(236, 112, "Build your own", 13)
    canvas.text(236, 130, "web site!", 13)
    for x, name in ((170, "star"), (214, "heart"), (258, "rocket"), (302, "note")):
        draw_icon(canvas, name, (x - 16, 150, x + 16, 182))
    canvas.text(180, 212, "Click anywhere to close", 10, fill=rgb("#666699"))
    return to_indexes(canvas)


def sprite_badge(icon, fill):
    canvas = Canvas(40, 40)
    canvas.rrect((1, 1, 39, 39), 10, fill=fill, outline=INK, width=1.5)
    draw_icon(canvas, icon, (6, 6, 34, 34))
    return to_indexes(canvas, transparent=True)


def option_button(icon, label):
    canvas = Canvas(44, 70, STRIP)
    canvas.rrect((2, 2, 42, 68), 8, fill=FACE, outline=INK)
    draw_icon(canvas, icon, (7, 8, 37, 38))
    canvas.text(22, 54, label, 9)
    return to_indexes(canvas)


# 32 fill patterns, 8 rows of 8 pixels, '#' where the paint's own colour goes.
PATTERNS = [
    "######## ######## ######## ######## ######## ######## ######## ########",  # solid
    "........ ........ ........ ........ ........ ........ ........ ........",  # clear
    "#.#.#.#. .#.#.#.# #.#.#.#. .#.#.#.# #.#.#.#. .#.#.#.# #.#.#.#. .#.#.#.#",  # half
    "#...#... ........ ..#...#. ........ #...#... ........ ..#...#. ........",  # light dots
    "###.###. .####### ###.###. ######## ###.###. .####### ###.###. ########",  # dark
    "######## ........ ######## ........ ######## ........ ######## ........",  # thin stripes
    "######## ######## ........ ........ ######## ######## ........ ........",  # stripes
    "##..##.. ##..##.. ##..##.. ##..##.. ##..##.. ##..##.. ##..##.. ##..##..",  # bars
    "#....... .#...... ..#..... ...#.... ....#... .....#.. ......#. .......#",  # diagonal down
    ".......# ......#. .....#.. ....#... ...#.... ..#..... .#...... #.......",  # diagonal up
    "#......# .#....#. ..#..#.. ...##... ...##... ..#..#.. .#....#. #......#",  # cross
    "######## #......# #......# #......# #......# #......# #......# ########",  # squares
    "######## #....... #....... #....... ######## ....#... ....#... ....#...",  # bricks
    "#...#... .#.#.#.# ..#...#. ........ #...#... .#.#.#.# ..#...#. ........",  # waves
    "....#... ...#.#.. ..#...#. .#.....# #....... ........ ........ ........",  # zigzag
    "........ .##..##. ######## ######## .######. ..####.. ...##... ........",  # heart
    "...#.... ...#.... ..###... ######## .######. ..####.. .##..##. .#....#.",  # star
    "..##.... .####... .####... ..##.... ......## .....### .....### ......##",  # polka dots
    "...#.... ..###... .#####.. ######## .#####.. ..###... ...#.... ........",  # diamond
    "####.... ####.... ####.... ####.... ....#### ....#### ....#### ....####",  # big checks
    "#...#... #...#... ######## #...#... #...#... #...#... ######## #...#...",  # grid
    ".##..##. #..##..# #..##..# .##..##. .##..##. #..##..# #..##..# .##..##.",  # rings
    "#.#.#.#. ........ #.#.#.#. ........ #.#.#.#. ........ #.#.#.#. ........",  # fine dots
    "##....## ###..### .######. ..####.. ..####.. .######. ###..### ##....##",  # bow
    "...##... ..#..#.. .#....#. #......# #......# .#....#. ..#..#.. ...##...",  # rings big
    "#....#.. .#....#. ..#....# #..#.... .#..#... ..#..#.. ...#..#. ....#..#",  # rain
    "###..... .###.... ..###... ...###.. ....###. .....### #.....## ##.....#",  # thick diagonal
    "##.##.## ##.##.## ........ ##.##.## ##.##.## ........ ##.##.## ##.##.##",  # tiles
    "#.#.#.#. .#.#.#.# ........ ........ #.#.#.#. .#.#.#.# ........ ........",  # ribbons
    "...#.... ..#.#... .#...#.. #.....#. .#...#.. ..#.#... ...#.... ........",  # diamond outline
    "..#...#. .#.#.#.# #...#... ........ ..#...#. .#.#.#.# #...#... ........",  # scales
    "######## .#.#.#.# ######## #.#.#.#. ######## .#.#.#.# ######## #.#.#.#.",  # weave
]


def pattern(rows_text):
    rows = rows_text.split()
    assert len(rows) == 8 and all(len(row) == 8 for row in rows), rows_text
    image = Image.new("P", (8, 8))
    # Pattern bits are clear where the pixel is 0 (black); black pixels take the paint's own colour.
    image.putdata([BLACK_INDEX if ch == "#" else WHITE_INDEX for row in rows for ch in row])
    return image


def _pictures():
    made = []
    made += grid_pictures(KID + 20, 1, 7, 30, 25, ANIMATION_TOOLS)
    made += grid_pictures(KID + 30, 3, 2, 25, 25, PAINT_TOOLS)
    made += grid_pictures(KID + 10, 2, 2, 33, 33, [("move", None), ("scale", None), ("rotate", None),
                                                   ("circle_motion", None)])
    made += grid_pictures(KID + 50, 2, 1, 22, 17, [("up", None), ("down", None)])
    made += grid_pictures(KID + 60, 1, 1, 66, 33, [("play", "Play")], ("normal", "pressed", "disabled"))
    for number, cells in ((100, [("back", "Back"), ("home", "Home"), ("forward", "Next")]),
                          (110, [("play", "Play"), ("stop", "Stop"), ("loop", "Loop")]),
                          (120, [("cut", "Cut"), ("copy", "Copy"), ("paste", "Paste")]),
                          (130, [("new_page", "New"), ("folder", "Open"), ("save", "Save")])):
        made += grid_pictures(KID + number, 1, 3, 100, 34, cells)
    made.append((KID + 2000, lambda: button_grid(2, 7, 35, 35, ANIMATION_TOOLS + PAINT_TOOLS + [("text", None)],
                                                 "normal")))
    made.append((KID + 2010, lambda: eraser_sizes("normal")))
    made.append((KID + 2040, lambda: button_grid(2, 2, 35, 35, [("select", str(mode)) for mode in range(1, 5)],
                                                 "normal")))
    for number, icon, label in ((2020, "font", "Font"), (2021, "style", "Style"), (2022, "size", "Size")):
        made.append((KID + number, lambda icon=icon, label=label: option_button(icon, label)))
    made.append((KID + 2030, logo_button))
    for grid, (first, cells) in TAB_SETS.items():
        made += grid_pictures(APPLICATION + first, 1, 5, 86, 50, cells)
    made += grid_pictures(APPLICATION + 551, 5, 1, 133, 78, SELECTOR)
    made.append((APPLICATION + 553, selector_top))
    made.append((APPLICATION + 420, name_dialog))
    made.append((APPLICATION + 421, about_box))
    made.append((ENGINE + 1, lambda: sprite_badge("note", SKY)))
    made.append((ENGINE + 4, lambda: sprite_badge("link", YELLOW)))
    for number, rows in enumerate(PATTERNS):
        made.append((AUTHORING + 50 + number, lambda rows=rows: pattern(rows)))
    return [("Data/%d.bmp" % identifier, draw) for identifier, draw in made]


PICTURES = _pictures()
