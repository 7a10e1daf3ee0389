#include "platform/user/Activation.h"

#include "platform/testing/Reset.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

namespace pw::platform {

namespace {

struct State {
    HWND active = nullptr;
    // The window to activate when the host gets the keyboard back.
    HWND lastActive = nullptr;
    bool appActive = false;
    bool hostFocused = true;
    HWND focus = nullptr;
    HWND capture = nullptr;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

// A top-level window's frame and its children's: the children's captions show active only inside
// the active window, so they change with it.
void PaintFrames(HWND top)
{
    NonClientPainter::Paint(top);
    for (HWND child : ZOrder::Siblings(top))
        NonClientPainter::Paint(child);
}

void SendToTopLevels(UINT message, WPARAM wParam, LPARAM lParam)
{
    for (HWND hwnd : WindowTable::Handles()) {
        Window* window = WindowTable::Find(hwnd);
        if (window && !window->IsChild() && !window->destroying)
            SendToWindow(hwnd, message, wParam, lParam);
    }
}

void SetAppActive(bool active)
{
    State& s = TheState();
    if (s.appActive == active)
        return;
    s.appActive = active;
    SendToTopLevels(WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

// Raises a top-level window to the top of its layer, with the usual bookkeeping and message.
void Raise(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window)
        return;
    bool changed = false;
    {
        DesktopChange change;
        changed = ZOrder::Raise(*window);
    }
    if (changed && WindowTable::Find(hwnd)) {
        RECT r = WindowTable::Find(hwnd)->rect;
        WINDOWPOS pos { hwnd, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE };
        SendToWindow(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
}

void RememberFocus(HWND top)
{
    State& s = TheState();
    if (Window* window = WindowTable::Find(top); window && s.focus && Activation::IsWithin(s.focus, top))
        window->lastFocus = s.focus;
}

// The window to activate in place of `going`: its owner when that can be, else the top one.
HWND Successor(HWND going)
{
    Window* window = WindowTable::Find(going);
    if (window && window->Owner() && Activation::CanActivate(window->Owner())
        && !Activation::IsWithin(window->Owner(), going))
        return window->Owner();
    for (HWND hwnd : ZOrder::Siblings(nullptr)) {
        if (Activation::CanActivate(hwnd) && !Activation::IsWithin(hwnd, going))
            return hwnd;
    }
    return nullptr;
}

} // namespace

HWND Activation::Active()
{
    return TheState().active;
}

bool Activation::AppActive()
{
    return TheState().appActive;
}

HWND Activation::TopLevelOf(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    while (window && window->IsChild())
        window = WindowTable::Find(window->ParentWindow());
    return window ? window->Handle() : nullptr;
}

bool Activation::IsWithin(HWND hwnd, HWND ancestor)
{
    int depth = 0;
    for (Window* window = WindowTable::Find(hwnd); window && depth < 64; window = WindowTable::Find(window->Parent()), ++depth) {
        if (window->Handle() == ancestor)
            return true;
    }
    return false;
}

bool Activation::CanActivate(HWND hwnd)
{
    Window* window = WindowTable::Find(hwnd);
    return window && !window->IsChild() && IsShown(*window) && !(window->style & WS_DISABLED)
        && !(window->exStyle & WS_EX_NOACTIVATE) && window->layer != WindowLayer::Popup;
}

void Activation::Activate(HWND hwnd, WORD how)
{
    State& s = TheState();
    HWND top = TopLevelOf(hwnd);
    if (!top || !CanActivate(top))
        return;
    if (!s.hostFocused) {
        s.lastActive = top;
        Raise(top);
        return;
    }
    Raise(top);
    if (s.active == top || !WindowTable::Find(top))
        return;
    HWND old = s.active;
    SetAppActive(true);
    s.active = top;
    s.lastActive = top;
    if (old && WindowTable::Find(old)) {
        RememberFocus(old);
        SendToWindow(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), reinterpret_cast<LPARAM>(top));
        PaintFrames(old);
    }
    if (s.active != top)
        return;
    // The focus must not stay in the window that lost activation.
    if (s.focus && !IsWithin(s.focus, top))
        Focus::Set(nullptr);
    PaintFrames(top);
    SendToWindow(top, WM_ACTIVATE, MAKEWPARAM(how, 0), reinterpret_cast<LPARAM>(old));
}

void Activation::SetHostFocus(bool focused)
{
    State& s = TheState();
    if (s.hostFocused == focused)
        return;
    s.hostFocused = focused;
    if (!focused) {
        HWND old = s.active;
        s.active = nullptr;
        if (old) {
            s.lastActive = old;
            RememberFocus(old);
            SendToWindow(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
        }
        SetAppActive(false);
        Focus::Set(nullptr);
        if (old)
            PaintFrames(old);
        return;
    }
    HWND target = CanActivate(s.lastActive) ? s.lastActive : Successor(nullptr);
    if (target)
        Activate(target, WA_ACTIVE);
    else
        SetAppActive(true);
}

void Activation::WindowGoing(HWND hwnd)
{
    State& s = TheState();
    if (s.lastActive && IsWithin(s.lastActive, hwnd) && !s.active)
        s.lastActive = Successor(hwnd);
    if (!s.active || !IsWithin(s.active, hwnd))
        return;
    if (HWND next = Successor(hwnd)) {
        Activate(next, WA_ACTIVE);
        return;
    }
    HWND old = s.active;
    s.active = nullptr;
    s.lastActive = nullptr;
    SendToWindow(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), 0);
}

void Activation::Forget(HWND hwnd)
{
    State& s = TheState();
    if (s.active == hwnd)
        s.active = nullptr;
    if (s.lastActive == hwnd)
        s.lastActive = nullptr;
}

HWND Focus::Get()
{
    return TheState().focus;
}

HWND Focus::Set(HWND hwnd)
{
    State& s = TheState();
    HWND previous = s.focus;
    if (hwnd == previous)
        return previous;
    if (hwnd) {
        HWND top = Activation::TopLevelOf(hwnd);
        if (top != s.active && Activation::CanActivate(top))
            Activation::Activate(top, WA_ACTIVE);
        // Activation may have moved the focus there already (or the window may be gone).
        if (s.focus == hwnd || !WindowTable::Find(hwnd))
            return previous;
    }
    HWND losing = s.focus;
    s.focus = hwnd;
    if (losing && WindowTable::Find(losing))
        SendToWindow(losing, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && s.focus == hwnd)
        SendToWindow(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(losing), 0);
    return previous;
}

HWND Focus::Capture()
{
    return TheState().capture;
}

HWND Focus::SetCapture(HWND hwnd)
{
    State& s = TheState();
    HWND previous = s.capture;
    s.capture = hwnd;
    if (previous && previous != hwnd && WindowTable::Find(previous))
        SendToWindow(previous, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return previous;
}

void Focus::ReleaseCapture()
{
    State& s = TheState();
    HWND previous = s.capture;
    s.capture = nullptr;
    if (previous && WindowTable::Find(previous))
        SendToWindow(previous, WM_CAPTURECHANGED, 0, 0);
}

void Focus::Forget(HWND hwnd)
{
    State& s = TheState();
    if (s.focus && Activation::IsWithin(s.focus, hwnd))
        s.focus = nullptr;
    if (s.capture && Activation::IsWithin(s.capture, hwnd))
        s.capture = nullptr;
}

} // namespace pw::platform
