#include "platform/gdi/Coverage.h"

#include "platform/gdi/Painter.h"

#include <algorithm>

namespace pw::platform::gdi {

Coverage::Coverage(const RECT& rect)
    : window(rect)
{
    if (window.right <= window.left || window.bottom <= window.top) {
        window = {};
        return;
    }
    empty = false;
    width = window.right - window.left;
    cells.assign(static_cast<size_t>(width) * static_cast<size_t>(window.bottom - window.top), kNone);
}

Coverage::Coverage(const RECT& rect, const Painter& painter, const Ink* brush, const Ink* pen, int rop2)
    : window(rect)
    , painter(&painter)
    , brush(brush)
    , pen(pen)
    , rop2(rop2)
{
    if (window.right <= window.left || window.bottom <= window.top) {
        window = {};
        return;
    }
    empty = false;
    width = window.right - window.left;
}

// The truth table's halves for a pen bit of 0 (bits 0 and 1) and of 1 (bits 2 and 3) must not
// depend on the destination bit; unknown codes copy the pen.
bool Coverage::PaintsAtOnce(int rop2)
{
    if (rop2 == R2_NOP || rop2 < R2_BLACK || rop2 > R2_WHITE)
        return true;
    unsigned table = static_cast<unsigned>(rop2 - 1);
    return ((table & 1) != 0) == ((table & 2) != 0) && ((table & 4) != 0) == ((table & 8) != 0);
}

void Coverage::Mark(int y, int x0, int x1, uint8_t what)
{
    if (empty || y < window.top || y >= window.bottom)
        return;
    x0 = std::max<int>(x0, window.left);
    x1 = std::min<int>(x1, window.right);
    if (x0 >= x1)
        return;
    if (painter) {
        const Ink* ink = what == kPen ? pen : what == kBrush ? brush : nullptr;
        if (ink)
            painter->Span(y, x0, x1, *ink, rop2);
        return;
    }
    uint8_t* row = cells.data() + static_cast<size_t>(y - window.top) * width;
    for (int x = x0; x < x1; ++x) {
        uint8_t& cell = row[x - window.left];
        cell = std::max(cell, what);
    }
}

} // namespace pw::platform::gdi
