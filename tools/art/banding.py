"""The banding check of the art build. A vertical gradient's rows are each one colour in the source;
mapped to the nearest palette colours, whole stretches of rows come out as one index from edge to
edge: hard bands. Dithered, rows mix indexes in a fine grain; where the colour lies close to a
palette colour a single row may hold mostly one index now and then, never a stretch of them. So a
row runs on when one index covers more than a quarter of the gradient's width
(counting only pixels where the gradient itself shows, in a colour the palette lacks), and a band
is a stretch of such rows in one index: none may be taller than a few rows."""

MAX_RUN_SHARE = 0.25  # of the gradient's width
MAX_BAND_ROWS = 4  # more than the dither leaves, far fewer than undithered bands


class BandingError(Exception):
    pass


def tallest_band(source, gradient, indexed, box):
    """The most consecutive rows of `box` that run on in one and the same index; `gradient` is the
    gradient alone."""
    from art_kit import PALETTE
    left, top, right, bottom = [int(round(v)) for v in box]
    left, right = max(0, left), min(source.width, right)
    colours = source.load()
    smooth = gradient.load()
    indexes = indexed.load()
    tallest, height, band = 0, 0, None
    for y in range(max(0, top), min(source.height, bottom)):
        longest, longest_index, run, previous = 0, None, 0, None
        for x in range(left, right):
            index = indexes[x, y]
            if colours[x, y] != smooth[x, y] or PALETTE[index] == colours[x, y]:
                run, previous = 0, None
                continue
            run = run + 1 if index == previous else 1
            previous = index
            if run > longest:
                longest, longest_index = run, index
        runs_on = longest > MAX_RUN_SHARE * (right - left)
        height = height + 1 if runs_on and longest_index == band else (1 if runs_on else 0)
        band = longest_index if runs_on else None
        tallest = max(tallest, height)
    return tallest


def check(source, gradient, indexed, box, undithered):
    """Raises BandingError when the gradient in `box` shows bands; the message compares it with the
    undithered map."""
    tallest = tallest_band(source, gradient, indexed, box)
    if tallest > MAX_BAND_ROWS:
        raise BandingError("the gradient at %s shows a band %d rows tall (%d undithered)"
                           % (box, tallest, tallest_band(source, gradient, undithered, box)))
