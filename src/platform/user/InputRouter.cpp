#include "platform/user/InputRouter.h"

#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"
#include "platform/user/Activation.h"
#include "platform/user/Geometry.h"
#include "platform/user/Modal.h"
#include "platform/user/Timers.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

#include <array>
#include <cstdlib>
#include <deque>

namespace pw::platform {

namespace {

constexpr uint64_t kDoubleClickMs = 500;
constexpr int kDoubleClickDistance = 4;
constexpr uint8_t kDown = 0x80;
constexpr uint8_t kToggled = 0x01;

struct LastPress {
    HWND hwnd = nullptr;
    MouseButton button = MouseButton::None;
    uint64_t timeMs = 0;
    POINT at {};
};

struct State {
    std::deque<MSG> routed;
    std::array<uint8_t, 256> keys {};
    POINT mouse {};
    bool mouseInside = false;
    LastPress lastPress;
    int suspended = 0;
    // Alt is down and nothing else was pressed since; the last release of Alt ended such a press.
    bool altAlone = false;
    bool altTapped = false;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

DWORD Now()
{
    return static_cast<DWORD>(Clock::NowMs());
}

bool IsDown(int key)
{
    return (TheState().keys[static_cast<size_t>(key) & 0xFF] & kDown) != 0;
}

void SetKey(int key, bool down)
{
    uint8_t& state = TheState().keys[static_cast<size_t>(key) & 0xFF];
    if (down && !(state & kDown))
        state ^= kToggled;
    state = static_cast<uint8_t>(down ? state | kDown : state & ~kDown);
}

int ButtonKey(MouseButton button)
{
    switch (button) {
    case MouseButton::Left: return VK_LBUTTON;
    case MouseButton::Right: return VK_RBUTTON;
    case MouseButton::Middle: return VK_MBUTTON;
    default: return 0;
    }
}

// The modifier keys as the event reports them: events carry the state, so an injected click with
// Shift needs no separate key press.
void NoteModifiers(const InputEvent& event)
{
    bool isModifierKey = (event.kind == InputKind::KeyDown || event.kind == InputKind::KeyUp)
        && (event.virtualKey == VK_SHIFT || event.virtualKey == VK_CONTROL || event.virtualKey == VK_MENU);
    if (isModifierKey)
        return;
    SetKey(VK_SHIFT, event.shift);
    SetKey(VK_CONTROL, event.control);
    SetKey(VK_MENU, event.alt);
}

WPARAM MouseKeys()
{
    WPARAM keys = 0;
    if (IsDown(VK_LBUTTON))
        keys |= MK_LBUTTON;
    if (IsDown(VK_RBUTTON))
        keys |= MK_RBUTTON;
    if (IsDown(VK_MBUTTON))
        keys |= MK_MBUTTON;
    if (IsDown(VK_SHIFT))
        keys |= MK_SHIFT;
    if (IsDown(VK_CONTROL))
        keys |= MK_CONTROL;
    return keys;
}

UINT ClientMessage(InputKind kind, MouseButton button)
{
    if (kind == InputKind::MouseMove)
        return WM_MOUSEMOVE;
    UINT base = button == MouseButton::Left ? WM_LBUTTONDOWN : button == MouseButton::Right ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
    return kind == InputKind::MouseDown ? base : base + 1;
}

LPARAM PointParam(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)), static_cast<WORD>(static_cast<int16_t>(y)));
}

bool IsDoubleClick(HWND hwnd, const InputEvent& event)
{
    State& s = TheState();
    const LastPress& last = s.lastPress;
    Window* window = WindowTable::Find(hwnd);
    bool wants = window && (window->Class().Style() & CS_DBLCLKS);
    bool result = wants && last.hwnd == hwnd && last.button == event.button
        && Clock::NowMs() - last.timeMs <= kDoubleClickMs && std::abs(event.x - last.at.x) <= kDoubleClickDistance
        && std::abs(event.y - last.at.y) <= kDoubleClickDistance;
    // A double click ends the pair: a third press starts a new one.
    s.lastPress = result ? LastPress {} : LastPress { hwnd, event.button, Clock::NowMs(), POINT { event.x, event.y } };
    return result;
}

void Push(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    State& s = TheState();
    s.routed.push_back(MSG { hwnd, message, wParam, lParam, Now(), s.mouse });
}

void RouteMouse(const InputEvent& event)
{
    State& s = TheState();
    POINT at { event.x, event.y };
    bool press = event.kind == InputKind::MouseDown;
    if (press)
        s.altAlone = false;
    HWND capture = Focus::Capture();
    HWND target = capture ? capture : Visibility::WindowAt(at);
    if (!target)
        return;
    if (!capture) {
        Window* window = WindowTable::Find(target);
        if (!window || (window->style & WS_DISABLED) || !AcceptsInput(target)) {
            if (press)
                MessageBeep(0xFFFFFFFF);
            return;
        }
        if (press && Activation::Active() != Activation::TopLevelOf(target))
            Activation::Activate(target, WA_CLICKACTIVE);
    }
    int hit = HTCLIENT;
    if (!capture) {
        hit = static_cast<int>(SendMessageA(target, WM_NCHITTEST, 0, PointParam(at.x, at.y)));
        if (!WindowTable::Find(target))
            return;
    }
    UINT clientMessage = ClientMessage(event.kind, event.button);
    if (!capture) {
        SendMessageA(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(static_cast<WORD>(hit), clientMessage));
        if (!WindowTable::Find(target))
            return;
    }
    if (hit == HTCLIENT) {
        UINT message = clientMessage;
        if (press && IsDoubleClick(target, event))
            message += 2;
        POINT origin = ClientOrigin(*WindowTable::Find(target));
        Push(target, message, MouseKeys(), PointParam(at.x - origin.x, at.y - origin.y));
        return;
    }
    if (press)
        s.lastPress = LastPress {};
    UINT message = clientMessage - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    Push(target, message, static_cast<WPARAM>(hit), PointParam(at.x, at.y));
}

void RouteKey(const InputEvent& event)
{
    State& s = TheState();
    bool down = event.kind == InputKind::KeyDown;
    bool isAlt = event.virtualKey == VK_MENU;
    bool wasDown = IsDown(static_cast<int>(event.virtualKey));
    SetKey(static_cast<int>(event.virtualKey), down);
    if (isAlt && !down) {
        s.altTapped = s.altAlone;
        s.altAlone = false;
    } else if (down && !(isAlt && wasDown)) {
        // A fresh press of Alt starts a tap; any other key spoils it (a repeat of Alt does not).
        s.altAlone = isAlt;
    }
    HWND target = Focus::Get() ? Focus::Get() : Activation::Active();
    if (HWND blocker = BlockingWindow(); blocker && (!target || !AcceptsInput(target)))
        target = blocker;
    if (!target)
        return;
    bool alt = IsDown(VK_MENU) && !IsDown(VK_CONTROL);
    bool system = alt || event.virtualKey == VK_F10 || (isAlt && !IsDown(VK_CONTROL));
    UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    LPARAM lParam = 1;
    if (event.virtualKey == VK_PACKET)
        lParam |= LPARAM(event.character) << 16;
    if (alt)
        lParam |= LPARAM(1) << 29;
    if (wasDown || event.repeat || !down)
        lParam |= LPARAM(1) << 30;
    if (!down)
        lParam |= LPARAM(1) << 31;
    Push(target, message, event.virtualKey, static_cast<LPARAM>(static_cast<DWORD>(lParam)));
}

// The main window a close request of the host window goes to: the blocking window when one is
// up, else the oldest shown top-level window without an owner.
HWND CloseTarget()
{
    if (HWND blocker = BlockingWindow())
        return blocker;
    for (HWND hwnd : WindowTable::Handles()) {
        Window* window = WindowTable::Find(hwnd);
        if (window && !window->IsChild() && !window->Owner() && IsShown(*window))
            return hwnd;
    }
    return nullptr;
}

void Route(const InputEvent& event)
{
    State& s = TheState();
    InputRouter::NoteEvent(event);
    switch (event.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
        RouteMouse(event);
        break;
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        RouteKey(event);
        break;
    case InputKind::CloseRequest:
        if (HWND target = CloseTarget())
            Push(target, WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            PostQuitMessage(0);
        break;
    case InputKind::QuitRequest:
        // Every message loop, modal ones included, ends on the quit message.
        PostQuitMessage(0);
        break;
    case InputKind::Activate:
    case InputKind::Deactivate:
        Activation::SetHostFocus(event.kind == InputKind::Activate);
        break;
    case InputKind::MouseLeave:
        s.mouseInside = false;
        break;
    }
}

} // namespace

bool InputRouter::Take(MSG& msg, const MessageFilter& filter, bool remove)
{
    State& s = TheState();
    for (;;) {
        for (auto it = s.routed.begin(); it != s.routed.end(); ++it) {
            if (!filter.Accepts(it->message) || !PassesWindowFilter(it->hwnd, filter.hwnd))
                continue;
            msg = *it;
            if (remove)
                s.routed.erase(it);
            return true;
        }
        InputEvent event;
        if (s.suspended > 0 || !TakeInputEvent(event))
            return false;
        Route(event);
    }
}

InputRouter::Suspension::Suspension()
{
    ++TheState().suspended;
}

InputRouter::Suspension::~Suspension()
{
    --TheState().suspended;
}

void InputRouter::NoteEvent(const InputEvent& event)
{
    State& s = TheState();
    NoteModifiers(event);
    switch (event.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
        s.mouse = POINT { event.x, event.y };
        s.mouseInside = true;
        if (event.kind != InputKind::MouseMove)
            SetKey(ButtonKey(event.button), event.kind == InputKind::MouseDown);
        break;
    default:
        break;
    }
}

SHORT InputRouter::KeyState(int virtualKey)
{
    uint8_t state = TheState().keys[static_cast<size_t>(virtualKey) & 0xFF];
    return static_cast<SHORT>(((state & kDown) ? 0xFF80 : 0) | (state & kToggled));
}

POINT InputRouter::MousePosition()
{
    return TheState().mouse;
}

bool InputRouter::MouseInside()
{
    return TheState().mouseInside;
}

bool InputRouter::AltTapped()
{
    return TheState().altTapped;
}

void InputRouter::Forget(HWND hwnd)
{
    State& s = TheState();
    std::erase_if(s.routed, [&](const MSG& msg) { return msg.hwnd == hwnd; });
    if (s.lastPress.hwnd == hwnd)
        s.lastPress = LastPress {};
}

} // namespace pw::platform
