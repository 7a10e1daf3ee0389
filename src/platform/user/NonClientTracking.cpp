#include "platform/user/NonClientTracking.h"

#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"
#include "platform/user/ZOrder.h"

#include <cstdlib>
#include <vector>

namespace pw::platform {

namespace {

bool IsMouseOrKey(const InputEvent& event)
{
    switch (event.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        return true;
    default:
        return false;
    }
}

bool EndsTracking(const InputEvent& event)
{
    return (event.kind == InputKind::MouseUp && event.button == MouseButton::Left)
        || (event.kind == InputKind::KeyDown && event.virtualKey == VK_ESCAPE);
}

// The frame's tracking: `onEvent` answers true to end it.
void Track(const std::function<bool(const InputEvent&)>& onEvent)
{
    InputRouter::Suspension suspension;
    bool finished = false;
    NonClientTracking::ReadInput([&](const InputEvent& event) { finished = onEvent(event); }, [&] { return finished; });
}

bool IsFloatingPalette(const Window& window)
{
    return window.layer == WindowLayer::Floating && (window.exStyle & WS_EX_TOOLWINDOW);
}

// A part of the dragged window (in its own coordinates) that must not meet a fixed rectangle (in
// its parent's).
struct Clearance {
    RECT moving;
    RECT fixed;
};

// A floating palette lies above every ordinary window: where it covers a close box, that window
// cannot be closed. So a dragged ordinary window keeps its close box clear of the palettes, and a
// dragged palette keeps clear of the close boxes of the ordinary windows below it.
std::vector<Clearance> ClearancesOf(const Window& window, const RECT& rect)
{
    std::vector<Clearance> clearances;
    RECT closeBox = LayoutOf(window).closeBox;
    RECT whole { 0, 0, rect.right - rect.left, rect.bottom - rect.top };
    for (HWND hwnd : ZOrder::Siblings(window.ParentWindow())) {
        const Window* other = WindowTable::Find(hwnd);
        if (!other || other == &window || !IsShown(*other))
            continue;
        if (window.layer == WindowLayer::Normal && IsFloatingPalette(*other) && !IsEmptyRect(closeBox))
            clearances.push_back({ closeBox, other->rect });
        RECT otherBox = LayoutOf(*other).closeBox;
        if (IsFloatingPalette(window) && other->layer == WindowLayer::Normal && !IsEmptyRect(otherBox))
            clearances.push_back({ whole, OffsetRectBy(otherBox, other->rect.left, other->rect.top) });
    }
    return clearances;
}

// The place nearest `rect`, moved along one axis, that `allowed` keeps as it is and where no
// clearance is met; `rect` itself when it meets none, or when no such place is found.
RECT KeepClearances(const std::vector<Clearance>& clearances, RECT rect, const std::function<RECT(RECT)>& allowed)
{
    auto meets = [&](const RECT& at) {
        for (const Clearance& clearance : clearances) {
            if (!IsEmptyRect(IntersectRects(OffsetRectBy(clearance.moving, at.left, at.top), clearance.fixed)))
                return true;
        }
        return false;
    };
    if (!meets(rect))
        return rect;
    std::vector<POINT> steps;
    for (const Clearance& clearance : clearances) {
        RECT moving = OffsetRectBy(clearance.moving, rect.left, rect.top);
        steps.push_back({ clearance.fixed.left - moving.right, 0 });
        steps.push_back({ clearance.fixed.right - moving.left, 0 });
        steps.push_back({ 0, clearance.fixed.top - moving.bottom });
        steps.push_back({ 0, clearance.fixed.bottom - moving.top });
    }
    RECT best = rect;
    long bestDistance = -1;
    for (POINT step : steps) {
        RECT moved = OffsetRectBy(rect, step.x, step.y);
        RECT kept = allowed(moved);
        if (kept.left != moved.left || kept.top != moved.top || meets(moved))
            continue;
        long distance = std::labs(step.x) + std::labs(step.y);
        if (bestDistance < 0 || distance < bestDistance) {
            best = moved;
            bestDistance = distance;
        }
    }
    return best;
}

// Where a dragged window may go, in its parent's client area (below the parent's menu bar) or,
// for a top-level window, on the screen: its whole caption stays inside, so it can always be taken
// again and closed; a tool window (a floating palette, all of whose buttons are its use) stays
// wholly inside as far as it fits. Neither leaves a close box under a floating palette.
RECT KeepReachable(HWND hwnd, RECT rect)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return rect;
    int keptHeight = LayoutOf(*window).caption.bottom;
    if (window->exStyle & WS_EX_TOOLWINDOW)
        keptHeight = rect.bottom - rect.top;
    RECT area { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    if (Window* parent = WindowTable::Find(window->ParentWindow())) {
        SIZE size = parent->ClientSize();
        area = RECT { 0, 0, size.cx, size.cy };
    }
    auto inside = [&](RECT at) { return WindowPos::KeepInside(at, keptHeight, area); };
    return KeepClearances(ClearancesOf(*window, rect), inside(rect), inside);
}

} // namespace

void NonClientTracking::ReadInput(const std::function<void(const InputEvent&)>& onEvent,
    const std::function<bool()>& done)
{
    std::vector<InputEvent> kept;
    while (!done()) {
        PollBackendInput();
        InputEvent event;
        bool any = false;
        while (!done() && TakeInputEvent(event)) {
            any = true;
            InputRouter::NoteEvent(event);
            if (IsMouseOrKey(event))
                onEvent(event);
            else if (event.kind == InputKind::QuitRequest)
                PostQuitMessage(0); // ends this loop, then the ones outside it
            else
                kept.push_back(event);
        }
        if (done())
            break;
        if (MessageLoop::DispatchOne() || any)
            continue;
        // Nothing can end the loop any more (a quit, or a test's input ran out).
        if (MessageQueue::QuitPending() || !MessageLoop::WaitForWork())
            break;
    }
    for (const InputEvent& event : kept)
        PushInputEvent(event);
}

void NonClientTracking::DragCaption(HWND hwnd, POINT start)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window || window->maximized)
        return;
    RECT startRect = window->rect;
    Track([&](const InputEvent& event) {
        if (!WindowTable::Find(hwnd))
            return true;
        bool cancel = event.kind == InputKind::KeyDown && event.virtualKey == VK_ESCAPE;
        if (event.kind == InputKind::MouseMove || EndsTracking(event)) {
            POINT to = cancel ? start : POINT { event.x, event.y };
            RECT rect = cancel ? startRect : KeepReachable(hwnd, OffsetRectBy(startRect, to.x - start.x, to.y - start.y));
            RECT current = WindowTable::Find(hwnd)->rect;
            if (rect.left != current.left || rect.top != current.top)
                SetWindowPos(hwnd, nullptr, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        return EndsTracking(event);
    });
}

void NonClientTracking::PressCloseBox(HWND hwnd)
{
    auto overBox = [hwnd](POINT at) {
        Window* window = WindowTable::Find(hwnd);
        return window && HitTest(*window, at) == HTCLOSE;
    };
    bool pressed = true;
    bool chosen = false;
    NonClientPainter::Paint(hwnd, true);
    Track([&](const InputEvent& event) {
        if (!WindowTable::Find(hwnd))
            return true;
        if (event.kind == InputKind::MouseMove || event.kind == InputKind::MouseUp) {
            bool over = overBox(POINT { event.x, event.y });
            if (over != pressed) {
                pressed = over;
                NonClientPainter::Paint(hwnd, pressed);
            }
        }
        if (EndsTracking(event)) {
            chosen = event.kind == InputKind::MouseUp && pressed;
            return true;
        }
        return false;
    });
    if (!WindowTable::Find(hwnd))
        return;
    NonClientPainter::Paint(hwnd, false);
    if (chosen)
        SendMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
}

} // namespace pw::platform
