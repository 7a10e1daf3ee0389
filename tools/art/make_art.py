"""Makes the pictures, cursors and sounds the program ships, into the data folder.

Usage: make_art.py <data folder>          writes every file
       make_art.py <data folder> --list   prints the paths it writes, one a line
       make_art.py <data folder> --sheet <png>   also draws a contact sheet of all pictures at 2x"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import art_kit  # noqa: E402
import cursors  # noqa: E402
import media  # noqa: E402
import pictures  # noqa: E402
import sounds  # noqa: E402


def items():
    """(path under the data folder, maker of its bytes)."""
    made = [(path, lambda draw=draw: art_kit.bmp_bytes(draw())) for path, draw in pictures.PICTURES]
    made += [(path, lambda draw=draw: art_kit.bmp_bytes(draw())) for path, draw in media.all_media()]
    made += [(path, lambda art=art: art.encode("ascii")) for path, art in cursors.all_cursors()]
    made += [(path, lambda make=make: sounds.wave_bytes(make())) for path, make in sounds.all_sounds()]
    return made


def contact_sheet(data, target):
    from PIL import Image, ImageDraw
    paths = [path for path, _ in items() if path.endswith(".bmp")]
    tiles = []
    for path in paths:
        image = Image.open(os.path.join(data, path)).convert("RGB")
        tiles.append((path, image.resize((image.width * 2, image.height * 2), Image.Resampling.NEAREST)))
    width = 1600
    x = y = row_height = 0
    placed = []
    for path, image in tiles:
        if x + image.width > width:
            x, y, row_height = 0, y + row_height + 24, 0
        placed.append((path, image, x, y))
        x += image.width + 12
        row_height = max(row_height, image.height)
    sheet = Image.new("RGB", (width, y + row_height + 24), (128, 128, 128))
    draw = ImageDraw.Draw(sheet)
    for path, image, x, y in placed:
        sheet.paste(image, (x, y + 12))
        draw.text((x, y), path.replace("Data/", ""), fill=(255, 255, 255))
    sheet.save(target)


def main(argv):
    if len(argv) < 2:
        print(__doc__, file=sys.stderr)
        return 2
    data = argv[1]
    art_kit.write_files(data, items(), "--list" in argv)
    if "--sheet" in argv and "--list" not in argv:
        contact_sheet(data, argv[argv.index("--sheet") + 1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
