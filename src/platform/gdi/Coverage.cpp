#include "platform/gdi/Coverage.h"

#include <algorithm>

namespace pw::platform::gdi {

Coverage::Coverage(const RECT& rect)
    : window(rect)
{
    if (window.right <= window.left || window.bottom <= window.top) {
        window = {};
        return;
    }
    width = window.right - window.left;
    cells.assign(static_cast<size_t>(width) * static_cast<size_t>(window.bottom - window.top), kNone);
}

void Coverage::Mark(int y, int x0, int x1, uint8_t what)
{
    if (y < window.top || y >= window.bottom)
        return;
    x0 = std::max<int>(x0, window.left);
    x1 = std::min<int>(x1, window.right);
    if (x0 >= x1)
        return;
    uint8_t* row = cells.data() + static_cast<size_t>(y - window.top) * width;
    for (int x = x0; x < x1; ++x) {
        uint8_t& cell = row[x - window.left];
        cell = std::max(cell, what);
    }
}

} // namespace pw::platform::gdi
