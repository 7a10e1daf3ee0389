// The pixel values a drawing operation paints with: one value (a solid pen or brush, a text
// colour) or a tile of values repeated across the surface from the brush origin. An Ink is made
// for one operation on one surface, so colour matching happens once, not once a pixel.
#pragma once

#include "platform/gdi/Surface.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pw::platform::gdi {

class Brush;
class DeviceContext;
class Pen;

class Ink {
public:
    static Ink Solid(uint32_t value);
    // The ink of a DC's colour reference on its surface.
    static Ink OfColor(const DeviceContext& dc, const Surface& surface, COLORREF color);
    // None for the null brush or pen. A monochrome pattern takes the DC's text colour for its 0
    // bits and its background colour for its 1 bits; the tile's origin is the DC's brush origin.
    static std::optional<Ink> OfBrush(const DeviceContext& dc, const Surface& surface, const Brush& brush);
    static std::optional<Ink> OfPen(const DeviceContext& dc, const Surface& surface, const Pen& pen);

    bool IsSolid() const { return tile.empty(); }
    uint32_t Value() const { return value; }
    // The value at device pixel (x, y): tile pixel ((x - orgX) mod w, (y - orgY) mod h), the
    // remainders taken non-negative.
    uint32_t At(int x, int y) const
    {
        if (tile.empty())
            return value;
        int tx = (x - originX) % width;
        int ty = (y - originY) % height;
        tx += tx < 0 ? width : 0;
        ty += ty < 0 ? height : 0;
        return tile[static_cast<size_t>(ty) * width + tx];
    }
    // For a tiled ink: the tile's row that device row y takes, its width, and the column of that
    // row that device column x takes.
    const uint32_t* TileRow(int y) const
    {
        int ty = (y - originY) % height;
        ty += ty < 0 ? height : 0;
        return tile.data() + static_cast<size_t>(ty) * width;
    }
    int TileWidth() const { return width; }
    int TileColumn(int x) const
    {
        int tx = (x - originX) % width;
        return tx + (tx < 0 ? width : 0);
    }

private:
    uint32_t value = 0;
    int width = 0;
    int height = 0;
    int originX = 0;
    int originY = 0;
    std::vector<uint32_t> tile;
};

// A binary raster operation (R2_BLACK 1 .. R2_WHITE 16) on pixel values: the code less one is the
// truth table of (pen, destination), bit 3 for (1, 1) down to bit 0 for (0, 0). `mask` holds
// every meaningful bit of a value. Unknown codes copy the pen.
inline uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dest, uint32_t mask)
{
    if (rop2 == R2_COPYPEN || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return pen & mask;
    unsigned table = static_cast<unsigned>(rop2 - 1);
    uint32_t result = 0;
    if (table & 1)
        result |= ~pen & ~dest;
    if (table & 2)
        result |= ~pen & dest;
    if (table & 4)
        result |= pen & ~dest;
    if (table & 8)
        result |= pen & dest;
    return result & mask;
}

} // namespace pw::platform::gdi
