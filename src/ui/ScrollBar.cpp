#include "ui/ScrollBar.h"

PW_DEFINE_CLASS(ScrollBar, nullptr, nullptr, Control)

namespace {

const String& ScrollTitle()
{
    static const String title("Scroll");
    return title;
}

Rect Grown(const Rect& bounds)
{
    return Rect(bounds.left - 1, bounds.top - 1, bounds.right + 1, bounds.bottom + 1);
}

} // namespace

ScrollBar::ScrollBar(View* container, int32_t left, int32_t top, int32_t right, int32_t bottom,
    const SmartPtr<Controllable>& target, int32_t orientation)
    : Control(container, left, top, right, bottom, orientation == 0 ? kSizeTopBottomRight : kSizeLeftBottomRight,
        kScrollBar, ScrollTitle(), target, orientation)
    , flags(orientation == 0 ? kVertical : 0)
{
    TargetChanged(nullptr);
}

Rect ScrollBar::VerticalBarRect(const Rect& bounds, bool horizontal, bool growBox)
{
    Rect grown = Grown(bounds);
    Rect bar(grown.right - kWidth, grown.top, grown.right, grown.bottom);
    if (horizontal || growBox)
        bar.bottom -= kInset;
    return bar;
}

Rect ScrollBar::HorizontalBarRect(const Rect& bounds, bool vertical, bool growBox)
{
    Rect grown = Grown(bounds);
    Rect bar(grown.left, grown.bottom - kWidth, grown.right, grown.bottom);
    if (vertical || growBox)
        bar.right -= kInset;
    return bar;
}

void ScrollBar::Create(View* view, const SmartPtr<Controllable>& target, bool vertical, bool horizontal, bool growBox)
{
    Rect bounds = view->GetBounds();
    if (vertical) {
        Rect bar = VerticalBarRect(bounds, horizontal, growBox);
        view->AddChild(new ScrollBar(view, bar.left, bar.top, bar.right, bar.bottom, target, 0));
    }
    if (horizontal) {
        Rect bar = HorizontalBarRect(bounds, vertical, growBox);
        view->AddChild(new ScrollBar(view, bar.left, bar.top, bar.right, bar.bottom, target, 1));
    }
}

Rect ScrollBar::ContentRect(const Rect& rect, bool vertical, bool horizontal)
{
    Rect content = rect;
    if (vertical)
        content.right -= kInset;
    if (horizontal)
        content.bottom -= kInset;
    return content;
}

Rect ScrollBar::GetOwnLimits()
{
    return Rect(48, 48, 0, 0);
}

void ScrollBar::Action(int32_t part)
{
    int32_t value = 0;
    GetValue(value);
    switch (part) {
    case kLineBack:
        value -= 1;
        break;
    case kLineOn:
        value += 1;
        break;
    case kPageBack:
        value -= page;
        break;
    case kPageOn:
        value += page;
        break;
    default:
        break;
    }
    SetValue(value);
}

void ScrollBar::RevealRange(const int32_t* range)
{
    int32_t start = range[0];
    int32_t length = range[1];
    if (range[2] != GetAxis())
        return;
    int32_t value = 0;
    GetValue(value);
    bool overlaps = start < value + page && value < start + length;
    if (overlaps)
        return;
    SetValue(start - (page - 1) / 2);
}

void ScrollBar::TargetChanged(void* message)
{
    page = GetTarget()->GetPageSize(GetAxis());
    if (page < 1)
        page = 1;
    Control::TargetChanged(message);
}
