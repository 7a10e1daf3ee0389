#include "platform/gdi/Painter.h"

#include "platform/gdi/Coverage.h"
#include "platform/gdi/DeviceContext.h"

#include <cstring>

namespace pw::platform::gdi {

Painter::Painter(const DeviceContext& dc)
    : surface(dc.Target())
    , clip(dc.DeviceClip())
{
}

Painter::Painter(const Surface& surface, const RegionData& clip)
    : surface(surface)
    , clip(clip)
{
}

void Painter::Span(int y, int x0, int x1, const Ink& ink, int rop2) const
{
    clip.ForEachSpanInRow(y, x0, x1, [&](int a, int b) { Run(y, a, b, ink, rop2); });
}

void Painter::Rect(const RECT& rect, const Ink& ink, int rop2) const
{
    clip.ForEachRectInside(rect, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y)
            Run(y, piece.left, piece.right, ink, rop2);
    });
}

void Painter::Pixel(int x, int y, const Ink& ink, int rop2) const
{
    if (clip.Contains(x, y))
        Run(y, x, x + 1, ink, rop2);
}

void Painter::Shape(const Coverage& coverage, const Ink* brush, const Ink* pen, int rop2) const
{
    if (coverage.IsEmpty() || coverage.IsDirect())
        return;
    const RECT& window = coverage.Window();
    for (int y = window.top; y < window.bottom; ++y) {
        auto row = coverage.Row(y);
        int x = 0;
        int width = static_cast<int>(row.size());
        while (x < width) {
            uint8_t what = row[x];
            int end = x + 1;
            while (end < width && row[end] == what)
                ++end;
            const Ink* ink = what == Coverage::kPen ? pen : what == Coverage::kBrush ? brush : nullptr;
            if (ink)
                Span(y, window.left + x, window.left + end, *ink, rop2);
            x = end;
        }
    }
}

void Painter::Invert(const RECT& rect) const
{
    uint32_t mask = surface.ValueMask();
    clip.ForEachRectInside(rect, [&](const RECT& piece) {
        for (int y = piece.top; y < piece.bottom; ++y) {
            if (surface.depth == 8) {
                uint8_t* row = surface.Row(y);
                for (int x = piece.left; x < piece.right; ++x)
                    row[x] = static_cast<uint8_t>(~row[x]);
                continue;
            }
            for (int x = piece.left; x < piece.right; ++x)
                surface.Set(x, y, mask ^ surface.Get(x, y));
        }
    });
}

void Painter::Run(int y, int x0, int x1, const Ink& ink, int rop2) const
{
    if (rop2 == R2_NOP)
        return;
    if (ink.IsSolid() && rop2 == R2_COPYPEN && surface.depth == 8) {
        std::memset(surface.Row(y) + x0, static_cast<int>(ink.Value()), static_cast<size_t>(x1 - x0));
        return;
    }
    uint32_t mask = surface.ValueMask();
    if (surface.depth == 8) {
        // Whole rows at a time: the tile's row is walked alongside.
        uint8_t* row = surface.Row(y);
        if (ink.IsSolid()) {
            uint32_t value = ink.Value();
            for (int x = x0; x < x1; ++x)
                row[x] = static_cast<uint8_t>(ApplyRop2(rop2, value, row[x], mask));
            return;
        }
        const uint32_t* tile = ink.TileRow(y);
        int width = ink.TileWidth();
        int tx = ink.TileColumn(x0);
        for (int x = x0; x < x1; ++x) {
            row[x] = static_cast<uint8_t>(ApplyRop2(rop2, tile[tx], rop2 == R2_COPYPEN ? 0 : row[x], mask));
            if (++tx == width)
                tx = 0;
        }
        return;
    }
    for (int x = x0; x < x1; ++x) {
        uint32_t dest = rop2 == R2_COPYPEN ? 0 : surface.Get(x, y);
        surface.Set(x, y, ApplyRop2(rop2, ink.At(x, y), dest, mask));
    }
}

} // namespace pw::platform::gdi
