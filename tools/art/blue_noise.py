"""The threshold tile of the art's dither: blue noise, made by the void-and-cluster method. Every
threshold appears once and close thresholds never lie close together, so a mix of two colours shows
as a fine, even, patternless grain. An ordered (Bayer) matrix looks as fine, but the pixels that a
reduction picks every few columns and rows all hold thresholds of one kind there: a page's preview,
reduced that way, beat into large patches of lighter and darker sky. Any such pick of this tile
holds thresholds of every kind, and the preview keeps the mix."""

import functools
import math
import random

SIZE = 37  # the tile's side; it repeats over the picture
SIGMA = 1.5  # the reach of a point's crowding, in pixels
SEED = 3  # the tile is the same on every build


class _Pattern:
    """A set of points on the tile (it wraps round) and how crowded each cell is by them."""

    def __init__(self, points):
        n = SIZE * SIZE
        self.kernel = [math.exp(-(min(d % SIZE, SIZE - d % SIZE) ** 2 + min(d // SIZE, SIZE - d // SIZE) ** 2)
                                / (2 * SIGMA * SIGMA)) for d in range(n)]
        self.on = [False] * n
        self.crowding = [0.0] * n
        for i in points:
            self.toggle(i)

    def toggle(self, i):
        self.on[i] = not self.on[i]
        sign = 1 if self.on[i] else -1
        x0, y0 = i % SIZE, i // SIZE
        for j in range(SIZE * SIZE):
            offset = (j // SIZE - y0) % SIZE * SIZE + (j % SIZE - x0) % SIZE
            self.crowding[j] += sign * self.kernel[offset]

    def tightest(self):
        """The point in the most crowded place."""
        return max((c, i) for i, c in enumerate(self.crowding) if self.on[i])[1]

    def emptiest(self):
        """The free cell in the least crowded place."""
        return min((c, i) for i, c in enumerate(self.crowding) if not self.on[i])[1]


@functools.lru_cache(maxsize=None)
def tile():
    """The thresholds 0 .. SIZE * SIZE - 1, row by row."""
    n = SIZE * SIZE
    start = random.Random(SEED).sample(range(n), n // 10)
    # A few points spread evenly: the most crowded moves to the emptiest place until it stays.
    pattern = _Pattern(start)
    while True:
        tightest = pattern.tightest()
        pattern.toggle(tightest)
        emptiest = pattern.emptiest()
        pattern.toggle(emptiest)
        if emptiest == tightest:
            break
    spread = [i for i in range(n) if pattern.on[i]]
    rank = [0] * n
    # Below them, the thresholds of the points taken away, most crowded first; above, those of the
    # cells filled, emptiest first.
    for r in range(len(spread) - 1, -1, -1):
        tightest = pattern.tightest()
        pattern.toggle(tightest)
        rank[tightest] = r
    pattern = _Pattern(spread)
    for r in range(len(spread), n):
        emptiest = pattern.emptiest()
        pattern.toggle(emptiest)
        rank[emptiest] = r
    return rank
