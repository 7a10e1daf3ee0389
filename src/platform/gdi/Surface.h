// A view of pixel memory: the screen, a bitmap's bits, a packed DIB or a pattern. It hides the
// row order and the bit layout of each depth, and converts between pixel values and colours.
//
// Rows are addressed in image order (row 0 is the top) whatever the storage order: `top` points at
// the top row and `stride` steps down one row (negative for bottom-up storage). Sub-byte depths keep
// their leftmost pixel in the high bits; 16 bits are 5-5-5 with red highest; 24 bits are B, G, R
// bytes; 32 bits are B, G, R, 0. A Surface owns nothing.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <unordered_map>
#include <vector>

namespace pw::platform::gdi {

struct Surface {
    uint8_t* top = nullptr;
    ptrdiff_t stride = 0;
    int width = 0;
    int height = 0;
    int depth = 0;
    // The colours of the pixel values at depths of 8 and less.
    std::span<const RGBQUAD> table;

    bool IsIndexed() const { return depth <= 8; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
    RECT Bounds() const { return { 0, 0, width, height }; }
    uint8_t* Row(int y) const { return top + stride * y; }
    // The value with every meaningful bit set (the complement base): 255 at 8 bits, 0x7FFF at 16.
    uint32_t ValueMask() const;

    // Unchecked pixel access; callers clip first.
    uint32_t Get(int x, int y) const;
    void Set(int x, int y, uint32_t value) const;

    // The plain RGB colour (flag byte 0) a value shows; values beyond the table show black.
    COLORREF ColorOf(uint32_t value) const;
    // The value that shows an RGB colour (its flag byte ignored): the nearest table entry, or the
    // packed colour at 16 bits and above.
    uint32_t ValueOf(COLORREF color) const;
};

// Bytes in a row of `width` pixels at `depth` bits, padded to a multiple of `alignBytes`.
size_t RowBytes(int width, int depth, int alignBytes);

// The index of the entry nearest to `color` by squared RGB distance, the lowest index on ties; -1
// for an empty table.
int NearestIndex(std::span<const RGBQUAD> table, COLORREF color);
int NearestIndex(std::span<const PALETTEENTRY> entries, COLORREF color);

// The same entries, red, green and blue alike; the fourth byte of an entry means nothing.
bool SameColors(std::span<const RGBQUAD> a, std::span<const RGBQUAD> b);

inline COLORREF ColorOfQuad(const RGBQUAD& q)
{
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

inline RGBQUAD QuadOfColor(COLORREF c)
{
    return { GetBValue(c), GetGValue(c), GetRValue(c), 0 };
}

// Remembers the nearest-entry answers for one surface during one operation, so that converting
// many pixels of few colours searches the table once a colour.
class ValueCache {
public:
    explicit ValueCache(const Surface& surface)
        : surface(surface)
    {
    }
    uint32_t ValueOf(COLORREF color);

private:
    const Surface& surface;
    std::unordered_map<COLORREF, uint32_t> values;
};

// The value of each source value of an indexed surface in another surface (see Translation).
struct ValueTable {
    // Identical colour tables: every value stays as it is.
    bool identity = false;
    // One entry per value of the source depth.
    std::vector<uint32_t> values;
};

// What stays true of colour tables while their colours do, kept across operations: the nearest
// entry of a colour, and the values one table's pixels take in another surface. Tables are known
// by their colours, so a changed table is a new one to it; the most recently used few are kept.
namespace TableMemo {

// NearestIndex(table, color), 0 for an empty table.
uint32_t Nearest(std::span<const RGBQUAD> table, COLORREF color);
// For an indexed source: identical tables map every value to itself; otherwise each value's
// colour (black past the table) goes to the destination's nearest value.
std::shared_ptr<const ValueTable> Translation(const Surface& source, const Surface& dest);

} // namespace TableMemo

} // namespace pw::platform::gdi
