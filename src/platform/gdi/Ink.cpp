#include "platform/gdi/Ink.h"

#include "platform/gdi/Brush.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Pen.h"

namespace pw::platform::gdi {

Ink Ink::Solid(uint32_t value)
{
    Ink ink;
    ink.value = value;
    return ink;
}

Ink Ink::OfColor(const DeviceContext& dc, const Surface& surface, COLORREF color)
{
    return Solid(surface.ValueOf(dc.Resolve(color)));
}

std::optional<Ink> Ink::OfBrush(const DeviceContext& dc, const Surface& surface, const Brush& brush)
{
    switch (brush.type) {
    case Brush::Type::Null:
        return std::nullopt;
    case Brush::Type::Solid:
        return OfColor(dc, surface, brush.color);
    case Brush::Type::Pattern:
        break;
    }
    const Brush::Tile& tile = brush.tile;
    Ink ink;
    ink.width = tile.width;
    ink.height = tile.height;
    ink.originX = dc.brushOrigin.x + dc.Origin().x;
    ink.originY = dc.brushOrigin.y + dc.Origin().y;
    ink.tile.resize(tile.cells.size());
    if (tile.monochrome) {
        uint32_t fore = surface.ValueOf(dc.Resolve(dc.textColor));
        uint32_t back = surface.ValueOf(dc.Resolve(dc.bkColor));
        for (size_t i = 0; i < tile.cells.size(); ++i)
            ink.tile[i] = tile.cells[i] ? back : fore;
    } else {
        ValueCache cache(surface);
        for (size_t i = 0; i < tile.cells.size(); ++i)
            ink.tile[i] = cache.ValueOf(tile.cells[i]);
    }
    return ink;
}

std::optional<Ink> Ink::OfPen(const DeviceContext& dc, const Surface& surface, const Pen& pen)
{
    if (pen.IsNull())
        return std::nullopt;
    return OfColor(dc, surface, pen.color);
}

} // namespace pw::platform::gdi
