"""The program's cursors as text art ("Data\\<id>.cur"): '.' clear, '#' black, 'o' white, '~' inverted.
The tool cursors are drawn here; the twenty brush cursors are made from their shapes, because a
brush paints exactly the black pixels of its cursor around the hot spot."""

import math

# The hand: the scroll tool's cursor and the one shown for a cursor the program lacks.
HAND = """hotspot 8 8
......##........
...##.#o###.....
..#oo##oo#o#....
..#oo##oo#oo#...
...#oo#oo#oo#.#.
...#oo#oo#oo##o#
.##.#ooooooo#oo#
#oo##oooooooooo#
#ooo#ooooooooo#.
.#oooooooooooo#.
..#ooooooooooo#.
..#oooooooooo#..
...#ooooooooo#..
....#oooooooo#..
.....#ooooooo#..
.....#ooooooo#..
"""

POINTING_HAND = """hotspot 5 0
....##..........
...#oo#.........
...#oo#.........
...#oo#.........
...#oo###.......
...#oo#oo###....
...#oo#oo#oo##..
.#.#oo#oo#oo#o#.
#o##oooooooo#oo#
#oo#ooooooooooo#
.#ooooooooooooo#
..#oooooooooooo#
..#ooooooooooo#.
...#oooooooooo#.
....#ooooooooo#.
....#########...
"""

ARROW = """hotspot 1 1
##.........
#o#........
#oo#.......
#ooo#......
#oooo#.....
#ooooo#....
#oooooo#...
#ooooooo#..
#oooooooo#.
#ooooo#####
#oo#oo#....
#o#.#oo#...
##..#oo#...
.....#oo#..
.....#oo#..
......##...
"""

CROSS_SQUARE = """hotspot 7 7
.......#.......
.......#.......
.......#.......
.......#.......
.......#.......
.......#.......
.......#.......
#######.#######
.......#.......
.......#.......
.......#.....##
.......#.....##
.......#...####
...........#oo#
...........####
"""

BUCKET = """hotspot 2 14
......###.......
.....#ooo#......
....#ooooo#.....
...#ooooooo#....
..#ooooooooo#...
.#ooooooooo#o#..
#ooooooooo#oo##.
.#ooooooo#ooo###
..#ooooo#oooo###
...#ooo#ooooo###
....#o#ooooo#.##
.....##ooooo#.##
......#oooo#...#
.......####....#
..#.............
.###............
.###............
"""

ERASER = """hotspot 7 7
###############
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#oooooo#oooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
#ooooooooooooo#
###############
"""

ATTACH = """hotspot 1 1
##..........
#o#.........
#oo#........
#ooo#.......
#oooo#......
#ooooo#.....
#oooooo#....
#ooooooo#...
#oooo####...
#oo#oo#.###.
#o#.#oo##o#.
##..#oo#o#o#
.....#o#ooo#
.....#oo#o#o#
......###o#.#
.........###.
"""

CURSORS = {
    201: HAND,
    208: CROSS_SQUARE,
    210: BUCKET,
    219: ERASER,
    230: ATTACH,
    404: ARROW,
    405: POINTING_HAND,
}

# Brushes 1 to 20 (cursors 300 to 319): round ones, square ones, slanted strokes, bars and sprays.
BRUSHES = [("round", 1), ("round", 2), ("round", 4), ("round", 6), ("round", 9), ("round", 12), ("round", 16),
           ("round", 20), ("square", 3), ("square", 6), ("square", 10), ("square", 14), ("slash", 6),
           ("slash", 12), ("backslash", 6), ("backslash", 12), ("bar", 12), ("column", 12), ("spray", 12),
           ("spray", 20)]


def _brush_pixels(kind, size):
    cells = set()
    if kind == "round":
        r = size / 2.0
        for y in range(size):
            for x in range(size):
                if (x + 0.5 - r) ** 2 + (y + 0.5 - r) ** 2 <= r * r + 0.25:
                    cells.add((x, y))
    elif kind == "square":
        cells = {(x, y) for x in range(size) for y in range(size)}
    elif kind in ("slash", "backslash"):
        for i in range(size):
            x = size - 1 - i if kind == "slash" else i
            cells |= {(x, i), (min(size - 1, x + 1), i)}
    elif kind == "bar":
        # Across the middle, so that the hot spot lies on the bar.
        cells = {(x, y) for x in range(size) for y in (size // 2 - 1, size // 2)}
    elif kind == "column":
        cells = {(x, y) for x in (size // 2 - 1, size // 2) for y in range(size)}
    elif kind == "spray":
        # A fixed scatter inside a circle: the same dots on every build.
        r = size / 2.0
        for i in range(size * 2):
            angle = i * 2.399963  # the golden angle spreads the dots evenly
            distance = r * math.sqrt((i + 0.5) / (size * 2)) - 0.5
            cells.add((int(r + distance * math.cos(angle)), int(r + distance * math.sin(angle))))
    return cells


def brush_art(kind, size):
    """The brush's black shape in a one-pixel white ring (white never paints), hot spot in the middle."""
    black = {(x + 1, y + 1) for x, y in _brush_pixels(kind, size)}
    side = size + 2
    rows = []
    for y in range(side):
        row = ""
        for x in range(side):
            if (x, y) in black:
                row += "#"
            elif any((x + dx, y + dy) in black for dx in (-1, 0, 1) for dy in (-1, 0, 1)):
                row += "o"
            else:
                row += "."
        rows.append(row)
    return "hotspot %d %d\n%s\n" % (side // 2, side // 2, "\n".join(rows))


def all_cursors():
    made = {identifier: art for identifier, art in CURSORS.items()}
    for index, (kind, size) in enumerate(BRUSHES):
        made[300 + index] = brush_art(kind, size)
    return [("Data/%d.cur" % identifier, art) for identifier, art in sorted(made.items())]
