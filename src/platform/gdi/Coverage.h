// Which pixels of one shape the brush and the pen paint, over a window of device space (the part
// of the shape's bounds that the clip can reach). Each pixel is painted once: a pen mark replaces a
// brush mark, a brush mark never replaces a pen mark, so raster operations such as XOR apply once
// a pixel even where the outline and the fill meet.
//
// When the raster operation ignores the destination, painting a pixel twice leaves what the last
// paint left, so a coverage made with a painter paints each mark at once (spans, not a buffer of
// cells); the shapes mark the brush before the pen wherever both reach, which keeps the pen on top.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace pw::platform::gdi {

class Ink;
class Painter;

class Coverage {
public:
    static constexpr uint8_t kNone = 0;
    static constexpr uint8_t kBrush = 1;
    static constexpr uint8_t kPen = 2;

    // An empty window gives a coverage that ignores every mark.
    explicit Coverage(const RECT& window);
    // Paints brush marks with `brush` and pen marks with `pen` (either may be null: those marks
    // paint nothing) as they come; only for operations that PaintsAtOnce allows.
    Coverage(const RECT& window, const Painter& painter, const Ink* brush, const Ink* pen, int rop2);

    // Whether marks may be painted as they come under a ROP2 mode: the result must not depend on
    // the destination (or nothing is painted at all).
    static bool PaintsAtOnce(int rop2);

    const RECT& Window() const { return window; }
    bool IsEmpty() const { return empty; }
    // Whether marks were painted as they came (no cells are kept).
    bool IsDirect() const { return painter != nullptr; }

    // Marks [x0, x1) of row y (cut to the window).
    void Mark(int y, int x0, int x1, uint8_t what);
    void MarkPixel(int x, int y, uint8_t what) { Mark(y, x, x + 1, what); }
    std::span<const uint8_t> Row(int y) const
    {
        return { cells.data() + static_cast<size_t>(y - window.top) * width, static_cast<size_t>(width) };
    }

private:
    RECT window;
    bool empty = true;
    int width = 0;
    std::vector<uint8_t> cells;
    const Painter* painter = nullptr;
    const Ink* brush = nullptr;
    const Ink* pen = nullptr;
    int rop2 = 0;
};

} // namespace pw::platform::gdi
