#include "ui/ProgressBar.h"

#include "graphics/Color.h"
#include "graphics/DisplayPort.h"

#include <algorithm>

PW_DEFINE_CLASS(ProgressBar, nullptr, nullptr, View)

namespace {

constexpr int kBackground = Color::kNoColor;
constexpr int kFrame = 1;
constexpr int kFill = 4;

} // namespace

ProgressBar::ProgressBar(View* parent, const Rect& bounds)
    : View(parent, bounds, kSizeTopLeft, false, false)
    , width(bounds.right - bounds.left)
{
}

bool ProgressBar::SetValue(uint32_t newValue, uint32_t newMaximum)
{
    value = std::min(newValue, newMaximum);
    maximum = newMaximum;
    int32_t length = maximum == 0 ? 0 : static_cast<int32_t>(double(value) * double(width) / double(maximum));
    if (length == pixels)
        return false;
    pixels = length;
    return true;
}

// The fill stays inside the frame, however long the bar was computed to be.
void ProgressBar::DrawContent(DisplayPort& port, Area&)
{
    Rect bounds = GetBounds();
    port.DrawRectangle(bounds, Color(kBackground), Color(kFrame), 1);
    Rect fill(bounds.left + 1, bounds.top + 1, bounds.right - 1, bounds.bottom - 1);
    fill.right = std::min(fill.right, fill.left + pixels);
    if (!fill.IsEmpty())
        port.DrawRectangle(fill, Color(kFill), Color(kFill), 1);
}
