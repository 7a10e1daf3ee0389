// Which pixels of one shape the brush and the pen paint, over a window of device space (the part
// of the shape's bounds that the clip can reach). Each pixel is painted once: a pen mark replaces a
// brush mark, a brush mark never replaces a pen mark, so raster operations such as XOR apply once
// a pixel even where the outline and the fill meet.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <vector>

namespace pw::platform::gdi {

class Coverage {
public:
    static constexpr uint8_t kNone = 0;
    static constexpr uint8_t kBrush = 1;
    static constexpr uint8_t kPen = 2;

    // An empty window gives a coverage that ignores every mark.
    explicit Coverage(const RECT& window);

    const RECT& Window() const { return window; }
    bool IsEmpty() const { return cells.empty(); }

    // Marks [x0, x1) of row y (cut to the window).
    void Mark(int y, int x0, int x1, uint8_t what);
    void MarkPixel(int x, int y, uint8_t what) { Mark(y, x, x + 1, what); }
    std::span<const uint8_t> Row(int y) const
    {
        return { cells.data() + static_cast<size_t>(y - window.top) * width, static_cast<size_t>(width) };
    }

private:
    RECT window;
    int width = 0;
    std::vector<uint8_t> cells;
};

} // namespace pw::platform::gdi
