"""Draws a contact sheet of the shipped pages for review: each media folder's pages as the browser
shows them, the first frame scaled into the folder's cell keeping its aspect (on white), framed,
with the file's name below; and each page again at its own size. Last, every moving picture of the
Pictures folder a frame in every few, in a row, on white and on a night sky (where a white inside
that should be solid shows as a hole).

Usage: page_sheet.py <pw_samplepage> <data folder> <sheet.png>"""

import glob
import os
import subprocess
import sys
import tempfile

from PIL import Image, ImageChops, ImageDraw, ImageFont

FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
CELLS = {"Samples": (80, 60), "Backgrounds": (80, 60), "Dividers": (160, 20), "Pictures": (60, 60),
         "Yahoo": (199, 75), "CoolSites": (160, 20), "KidClubs": (102, 48)}
BROWSER = (255, 255, 153)


NIGHT = (0, 20, 60)
MOVING_FRAMES = range(0, 20, 2)  # the moving pictures loop over 20 frames


def first_frame(tool, data, page, frame=0):
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "frame.ppm")
        env = dict(os.environ, PLUMEWRIGHT_BACKEND="headless", ASAN_OPTIONS="detect_leaks=0",
                   PW_PAGE_RENDER=page, PW_PAGE_OUTPUT=out, PW_PAGE_FRAME=str(frame))
        subprocess.run([tool], cwd=data, env=env, check=True)
        return Image.open(out).convert("RGB")


def in_cell(frame, cell):
    scale = min(cell[0] / frame.width, cell[1] / frame.height)
    size = (max(1, round(frame.width * scale)), max(1, round(frame.height * scale)))
    picture = Image.new("RGB", cell, (255, 255, 255))
    picture.paste(frame.resize(size, Image.Resampling.NEAREST), ((cell[0] - size[0]) // 2, (cell[1] - size[1]) // 2))
    return picture


def on_night(frame):
    """The frame with its white, the see-through colour of a placed picture, as the night sky."""
    full = [channel.point(lambda value: 255 if value == 255 else 0) for channel in frame.split()]
    white = ImageChops.multiply(ImageChops.multiply(full[0], full[1]), full[2])
    return Image.composite(Image.new("RGB", frame.size, NIGHT), frame, white)


def moving_pictures(tool, data):
    """(name, frames) of each page of Pictures whose frames differ."""
    moving = []
    for page in sorted(glob.glob(os.path.join(data, "Pictures", "*.mvi"))):
        frames = [first_frame(tool, data, page, frame) for frame in MOVING_FRAMES]
        if any(frame.tobytes() != frames[0].tobytes() for frame in frames):
            moving.append((os.path.basename(page)[:-4], frames))
    return moving


def main(argv):
    tool, data, target = argv[1:4]
    font = ImageFont.truetype(FONT, 9)
    rows = []
    for folder, cell in CELLS.items():
        pages = sorted(glob.glob(os.path.join(data, folder, "*.mvi")))
        rows.append((folder, cell, [(os.path.basename(p)[:-4], first_frame(tool, data, p)) for p in pages]))
    width = 1400
    height = sum(((len(pages) * (cell[0] + 32)) // width + 1) * (cell[1] + 32) + 20 for _, cell, pages in rows)
    height += sum(max(f.height for _, f in pages) + 30 for _, _, pages in rows)
    moving = moving_pictures(tool, data)
    height += sum(2 * max(f.height for f in frames) + 30 for _, frames in moving)
    sheet = Image.new("RGB", (width, height), (128, 128, 128))
    draw = ImageDraw.Draw(sheet)
    y = 0
    for folder, cell, pages in rows:
        draw.text((4, y + 4), folder, fill=(255, 255, 255))
        y += 20
        x = 0
        band = Image.new("RGB", (width, ((len(pages) * (cell[0] + 32)) // width + 1) * (cell[1] + 32)), BROWSER)
        band_draw = ImageDraw.Draw(band)
        bx = by = 0
        for name, frame in pages:
            if bx + cell[0] + 32 > width:
                bx, by = 0, by + cell[1] + 32
            left, top = bx + 16, by + 16
            band_draw.rectangle((left - 4, top - 4, left + cell[0] + 3, top + cell[1] + 3), outline=(0, 0, 0))
            band.paste(in_cell(frame, cell), (left, top))
            band_draw.text((left + cell[0] / 2, top + cell[1] + 12), name, fill=(0, 0, 0), font=font, anchor="mm")
            bx += cell[0] + 32
        sheet.paste(band, (0, y))
        y += band.height
        for _, frame in pages:
            if x + frame.width > width:
                break
            sheet.paste(frame, (x, y + 10))
            x += frame.width + 10
        y += max(f.height for _, f in pages) + 30
    for name, frames in moving:
        draw.text((4, y + 4), name, fill=(255, 255, 255))
        for row, look in enumerate((lambda f: f, on_night)):
            x = 60
            for frame in frames:
                sheet.paste(look(frame), (x, y + row * (frame.height + 4)))
                x += frame.width + 4
        y += 2 * max(f.height for f in frames) + 30
    sheet.save(target)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
