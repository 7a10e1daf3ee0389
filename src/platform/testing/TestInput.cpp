// The test driver's input and desktop read-back (TestDriver.h).
#include "platform/testing/TestDriver.h"

#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/testing/Problems.h"
#include "platform/testing/Reset.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

#include <windows.h>

#include <cstring>

namespace pw::platform::testing {

namespace {

struct Held {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

Held& TheHeld()
{
    static Held held;
    return held;
}

const bool registered = RegisterReset([] { TheHeld() = Held {}; });

InputEvent Event(InputKind kind, int x = 0, int y = 0, MouseButton button = MouseButton::None, UINT key = 0)
{
    const Held& held = TheHeld();
    InputEvent event;
    event.kind = kind;
    event.x = x;
    event.y = y;
    event.button = button;
    event.virtualKey = key;
    event.shift = held.shift;
    event.control = held.control;
    event.alt = held.alt;
    return event;
}

void HoldModifier(UINT key, bool down)
{
    Held& held = TheHeld();
    if (key == VK_SHIFT)
        held.shift = down;
    else if (key == VK_CONTROL)
        held.control = down;
    else if (key == VK_MENU)
        held.alt = down;
}

struct KeyStroke {
    UINT key;
    bool shift;
};

// The key (and Shift) that types an ASCII character on the US layout.
bool StrokeFor(char c, KeyStroke& stroke)
{
    if (c >= 'a' && c <= 'z')
        stroke = { static_cast<UINT>(c - 'a' + 'A'), false };
    else if (c >= 'A' && c <= 'Z')
        stroke = { static_cast<UINT>(c), true };
    else if (c >= '0' && c <= '9')
        stroke = { static_cast<UINT>(c), false };
    else if (c == ' ')
        stroke = { VK_SPACE, false };
    else if (c == '\n' || c == '\r')
        stroke = { VK_RETURN, false };
    else if (c == '\t')
        stroke = { VK_TAB, false };
    else if (c == '\b')
        stroke = { VK_BACK, false };
    else {
        static constexpr const char* kShiftedDigits = ")!@#$%^&*(";
        if (const char* at = std::strchr(kShiftedDigits, c); at && c) {
            stroke = { static_cast<UINT>('0' + (at - kShiftedDigits)), true };
            return true;
        }
        struct Pair {
            UINT key;
            char plain;
            char shifted;
        };
        static constexpr Pair kPunctuation[] = {
            { VK_OEM_1, ';', ':' }, { VK_OEM_PLUS, '=', '+' }, { VK_OEM_COMMA, ',', '<' },
            { VK_OEM_MINUS, '-', '_' }, { VK_OEM_PERIOD, '.', '>' }, { VK_OEM_2, '/', '?' },
            { VK_OEM_3, '`', '~' }, { VK_OEM_4, '[', '{' }, { VK_OEM_5, '\\', '|' },
            { VK_OEM_6, ']', '}' }, { VK_OEM_7, '\'', '"' },
        };
        for (const Pair& pair : kPunctuation) {
            if (c == pair.plain || c == pair.shifted) {
                stroke = { pair.key, c == pair.shifted };
                return true;
            }
        }
        return false;
    }
    return true;
}

HWND TopmostTitled(HWND parent, const std::string& title)
{
    for (HWND hwnd : ZOrder::Siblings(parent)) {
        const Window* window = WindowTable::Find(hwnd);
        if (!window || !IsShown(*window))
            continue;
        if (HWND inner = TopmostTitled(hwnd, title))
            return inner;
        if (window->text == title)
            return hwnd;
    }
    return nullptr;
}

POINT Centre(const RECT& rect)
{
    return POINT { (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2 };
}

// The middle of a box of the window's frame on the screen; (-1, -1) when it has none.
POINT BoxPoint(HWND hwnd, RECT FrameLayout::*box)
{
    const Window* window = WindowTable::Find(hwnd);
    if (!window)
        return POINT { -1, -1 };
    RECT part = LayoutOf(*window).*box;
    if (IsEmptyRect(part))
        return POINT { -1, -1 };
    RECT screen = ScreenRect(*window);
    return Centre(OffsetRectBy(part, screen.left, screen.top));
}

} // namespace

void MoveMouse(int x, int y)
{
    PushInputEvent(Event(InputKind::MouseMove, x, y));
}

void PressMouse(int x, int y, MouseButton button)
{
    PushInputEvent(Event(InputKind::MouseDown, x, y, button));
}

void ReleaseMouse(int x, int y, MouseButton button)
{
    PushInputEvent(Event(InputKind::MouseUp, x, y, button));
}

void Click(int x, int y, MouseButton button)
{
    PressMouse(x, y, button);
    ReleaseMouse(x, y, button);
}

void DoubleClick(int x, int y)
{
    Click(x, y);
    Click(x, y);
}

void Drag(int fromX, int fromY, int toX, int toY, int steps)
{
    PressMouse(fromX, fromY);
    for (int i = 1; i <= steps; ++i)
        MoveMouse(fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps);
    ReleaseMouse(toX, toY);
}

void PressKey(UINT virtualKey)
{
    HoldModifier(virtualKey, true);
    PushInputEvent(Event(InputKind::KeyDown, 0, 0, MouseButton::None, virtualKey));
}

void ReleaseKey(UINT virtualKey)
{
    HoldModifier(virtualKey, false);
    PushInputEvent(Event(InputKind::KeyUp, 0, 0, MouseButton::None, virtualKey));
}

void TypeKey(UINT virtualKey)
{
    PressKey(virtualKey);
    ReleaseKey(virtualKey);
}

void TypeText(const std::string& text)
{
    for (char c : text) {
        // An accented letter or sign comes as a host layout's key brings it: the character itself.
        if (static_cast<unsigned char>(c) >= 0xA0) {
            InputEvent packet = Event(InputKind::KeyDown, 0, 0, MouseButton::None, VK_PACKET);
            packet.character = static_cast<uint8_t>(c);
            PushInputEvent(packet);
            packet.kind = InputKind::KeyUp;
            PushInputEvent(packet);
            continue;
        }
        KeyStroke stroke {};
        if (!StrokeFor(c, stroke)) {
            ReportProblem("TypeText cannot type the character " + std::to_string(static_cast<unsigned char>(c)));
            continue;
        }
        bool shiftHeld = TheHeld().shift;
        if (stroke.shift && !shiftHeld)
            PressKey(VK_SHIFT);
        TypeKey(stroke.key);
        if (stroke.shift && !shiftHeld)
            ReleaseKey(VK_SHIFT);
    }
}

void SetAppActive(bool active)
{
    PushInputEvent(Event(active ? InputKind::Activate : InputKind::Deactivate));
}

void RequestClose()
{
    PushInputEvent(Event(InputKind::CloseRequest));
}

void RequestQuit()
{
    PushInputEvent(Event(InputKind::QuitRequest));
}

HWND FindWindowByTitle(const std::string& title)
{
    return TopmostTitled(nullptr, title);
}

POINT CloseBoxPoint(HWND hwnd)
{
    return BoxPoint(hwnd, &FrameLayout::closeBox);
}

POINT SystemBoxPoint(HWND hwnd)
{
    return BoxPoint(hwnd, &FrameLayout::systemBox);
}

POINT CaptionPoint(HWND hwnd)
{
    const Window* window = WindowTable::Find(hwnd);
    if (!window)
        return POINT { -1, -1 };
    FrameLayout layout = LayoutOf(*window);
    if (IsEmptyRect(layout.caption))
        return POINT { -1, -1 };
    RECT screen = ScreenRect(*window);
    int left = IsEmptyRect(layout.systemBox) ? layout.caption.left : layout.systemBox.right;
    return POINT { screen.left + left + 2, screen.top + (layout.caption.top + layout.caption.bottom) / 2 };
}

void ClickCloseBox(HWND hwnd)
{
    POINT at = CloseBoxPoint(hwnd);
    if (at.x < 0) {
        ReportProblem("ClickCloseBox: the window has no close box");
        return;
    }
    Click(at.x, at.y);
}

Frame ReadDesktop(bool withCursor)
{
    return Desktop::Compose(withCursor);
}

bool SaveDesktopAsBmp(const std::string& path, bool withCursor)
{
    return WriteFrameAsBmp(Desktop::Compose(withCursor), path);
}

Frame ReadClientArea(HWND hwnd)
{
    const Window* window = WindowTable::Find(hwnd);
    if (!window)
        return Frame {};
    Frame desktop = Desktop::Compose(false);
    RECT client = IntersectRects(ClientScreenRect(*window), RECT { 0, 0, desktop.width, desktop.height });
    Frame area = Frame::Blank(client.right - client.left, client.bottom - client.top, 0);
    area.palette = desktop.palette;
    for (int y = 0; y < area.height; ++y) {
        for (int x = 0; x < area.width; ++x)
            area.At(x, y) = desktop.At(client.left + x, client.top + y);
    }
    return area;
}

size_t LiveWindowCount()
{
    return WindowTable::Count();
}

} // namespace pw::platform::testing
