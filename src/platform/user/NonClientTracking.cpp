#include "platform/user/NonClientTracking.h"

#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/WindowPos.h"

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

// Where a dragged window may go, in its parent's client area (below the parent's menu bar) or,
// for a top-level window, on the screen: its whole caption stays inside, so it can always be taken
// again and closed; a tool window (a floating palette, all of whose buttons are its use) stays
// wholly inside as far as it fits.
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
    return WindowPos::KeepInside(rect, keptHeight, area);
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
