#include "engine/CFWDecorator.h"

#include "foundation/Exception.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

PW_DEFINE_CLASS(CFWDecorator, nullptr, nullptr, SmartImplementation)

namespace {

Rect Inset(const Rect& rect)
{
    return Rect(rect.left + CFWDecorator::kInset, rect.top + CFWDecorator::kInset, rect.right - CFWDecorator::kInset,
        rect.bottom - CFWDecorator::kInset);
}

} // namespace

CFWDecorator::CFWDecorator()
    : CFWDecorator(Inset(WindowFrame::ScreenRect()))
{
}

CFWDecorator::CFWDecorator(const Rect& frame)
    : frame(frame)
    , step(4, LargeTitle() + 4)
{
    ResetCascade();
}

CFWDecorator& CFWDecorator::Get()
{
    // Never freed: windows may be placed while the program shuts down.
    static CFWDecorator* shared = [] {
        auto* made = new CFWDecorator;
        made->AddReference();
        return made;
    }();
    return *shared;
}

int32_t CFWDecorator::LargeTitle()
{
    return WindowFrame::TitleHeight(0);
}

int32_t CFWDecorator::SmallTitle()
{
    return WindowFrame::TitleHeight(3);
}

bool CFWDecorator::CanCopyFrom(Smart* source)
{
    return SmartCast<CFWDecorator>(source) != nullptr;
}

void CFWDecorator::CopyFrom(Smart* source)
{
    auto* other = SmartCast<CFWDecorator>(source);
    if (!other)
        AssertionFailed("castPtr", PW_HERE);
    frame = other->frame;
    step = other->step;
    start = other->start;
    next = other->next;
    placed = other->placed;
}

Smart* CFWDecorator::Copy() const
{
    auto* copy = new CFWDecorator(frame);
    copy->CopyFrom(const_cast<CFWDecorator*>(this));
    return copy;
}

void CFWDecorator::SetFrame(const Rect& rect)
{
    frame = rect;
    ResetCascade();
}

void CFWDecorator::SetStep(const Point& point)
{
    step = point;
    ResetCascade();
}

void CFWDecorator::ResetCascade()
{
    start = Point(frame.left, frame.top + LargeTitle());
    next = start;
    placed = 0;
}

void CFWDecorator::AlignRect(Rect& rect, int32_t vmode, int32_t hmode, bool smallTitle) const
{
    int32_t dx = 0;
    int32_t dy = 0;
    switch (vmode) {
    case 0:
        dy = (frame.top + frame.bottom) / 2 - (rect.top + rect.bottom) / 2;
        break;
    case 1:
        dy = frame.top - rect.top + (smallTitle ? SmallTitle() : LargeTitle());
        break;
    case 2:
        dy = frame.bottom - rect.bottom;
        break;
    case 3:
        rect.top = frame.top;
        rect.bottom = frame.bottom;
        break;
    default:
        break;
    }
    switch (hmode) {
    case 0:
        dx = (frame.left + frame.right) / 2 - (rect.left + rect.right) / 2;
        break;
    case 1:
        dx = frame.left - rect.left;
        break;
    case 2:
        dx = frame.right - rect.right;
        break;
    case 3:
        rect.left = frame.left;
        rect.right = frame.right;
        break;
    default:
        break;
    }
    rect = Rect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy);
}

void CFWDecorator::Place(Window& window, int32_t vmode, int32_t hmode)
{
    Rect rect = window.GetRect();
    AlignRect(rect, vmode, hmode, true);
    MoveView(window, rect, true);
}

void CFWDecorator::CascadeRect(Rect& rect)
{
    auto moveTo = [&rect](const Point& corner) {
        rect = Rect(corner.h, corner.v, corner.h + rect.right - rect.left, corner.v + rect.bottom - rect.top);
    };
    moveTo(next);
    bool fits = frame.Contains(rect.right, rect.bottom);
    if (placed >= kCascadeBeforeWrap && !fits) {
        placed = 0;
        next = start;
        moveTo(next);
    }
    next = Point(next.h + step.h, next.v + step.v);
    ++placed;
}

void CFWDecorator::Cascade(Window& window)
{
    Rect rect = window.GetRect();
    CascadeRect(rect);
    // A window the cascade would put partly outside the frame starts it again at the top, so that
    // page windows opened (or closed and opened again) one after another always come up whole
    // inside the main window; one larger than the frame is kept on the screen by MoveView.
    bool inside = rect.left >= frame.left && rect.top >= frame.top && rect.right <= frame.right
        && rect.bottom <= frame.bottom;
    if (!inside) {
        ResetCascade();
        CascadeRect(rect);
    }
    MoveView(window, rect, true);
}

void CFWDecorator::MoveView(Window& window, const Rect& rect, bool)
{
    window.SetFrame(rect);
}
