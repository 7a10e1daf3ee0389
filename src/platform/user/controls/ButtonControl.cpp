#include "platform/user/controls/ButtonControl.h"

#include "platform/user/controls/ControlPaint.h"
#include "platform/user/controls/ControlStore.h"
#include "platform/user/controls/ControlSupport.h"

namespace pw::platform::user {

namespace {

// The check box square's side, and the gap between it and the label.
constexpr int kBoxSize = 13;
constexpr int kLabelGap = 4;

struct ButtonState {
    bool checked { false };
    bool pushed { false };
    bool tracking { false };
    bool focused { false };
    bool spaceDown { false };
    HFONT font { nullptr };
};

ControlStore<ButtonState> store;

DWORD TypeOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & BS_TYPEMASK;
}

bool IsCheckBox(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

void SetPushed(HWND hwnd, ButtonState& state, bool pushed)
{
    if (state.pushed == pushed)
        return;
    state.pushed = pushed;
    InvalidateRect(hwnd, nullptr, FALSE);
}

void Click(HWND hwnd, ButtonState& state)
{
    if (TypeOf(hwnd) == BS_AUTOCHECKBOX) {
        state.checked = !state.checked;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
    NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM lParam)
{
    RECT client = ClientRect(hwnd);
    POINT p = MousePoint(lParam);
    return p.x >= client.left && p.x < client.right && p.y >= client.top && p.y < client.bottom;
}

void DrawDottedFrame(HDC hdc, const RECT& rect)
{
    COLORREF color = SysColor(COLOR_BTNTEXT);
    for (int x = rect.left; x < rect.right; x += 2) {
        SetPixel(hdc, x, rect.top, color);
        SetPixel(hdc, x, rect.bottom - 1, color);
    }
    for (int y = rect.top; y < rect.bottom; y += 2) {
        SetPixel(hdc, rect.left, y, color);
        SetPixel(hdc, rect.right - 1, y, color);
    }
}

void DrawPushButton(HDC hdc, const RECT& client, const ButtonControl::Look& look)
{
    FillColor(hdc, client, SysColor(COLOR_3DFACE));
    RECT rect = client;
    if (look.type == BS_DEFPUSHBUTTON || look.pushed) {
        COLORREF black = SysColor(COLOR_3DDKSHADOW);
        FrameColors(hdc, rect, black, black);
        rect = InsetRect(rect, 1);
    }
    RECT inner = look.pushed ? DrawFlatEdge(hdc, rect) : DrawRaisedEdge(hdc, rect);
    RECT label = inner;
    if (look.pushed)
        label = RECT { label.left + 1, label.top + 1, label.right + 1, label.bottom + 1 };
    DrawLabel(hdc, look.font, look.text.c_str(), label, DT_CENTER | DT_VCENTER | DT_SINGLELINE, look.enabled);
    if (look.focused)
        DrawDottedFrame(hdc, InsetRect(inner, 2));
}

void DrawCheckBox(HDC hdc, const RECT& client, const ButtonControl::Look& look)
{
    FillColor(hdc, client, SysColor(COLOR_3DFACE));
    int top = client.top + (client.bottom - client.top - kBoxSize) / 2;
    RECT box { client.left, top, client.left + kBoxSize, top + kBoxSize };
    RECT inside = DrawSunkenEdge(hdc, box);
    bool grey = look.pushed || !look.enabled;
    FillColor(hdc, inside, SysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
    if (look.checked)
        DrawCheckGlyph(hdc, inside.left + 1, inside.top + 1, SysColor(look.enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    RECT label { box.right + kLabelGap, client.top, client.right, client.bottom };
    DrawLabel(hdc, look.font, look.text.c_str(), label, DT_LEFT | DT_VCENTER | DT_SINGLELINE, look.enabled);
    if (look.focused && !look.text.empty() && label.left < client.right)
        DrawDottedFrame(hdc, RECT { label.left - 1, client.top, client.right, client.bottom });
}

void Paint(HWND hwnd, HDC hdc, const ButtonState& state)
{
    ButtonControl::Look look;
    look.type = TypeOf(hwnd);
    look.checked = state.checked;
    look.pushed = state.pushed;
    look.focused = state.focused;
    look.enabled = IsEnabled(hwnd);
    look.text = WindowText(hwnd);
    look.font = state.font;
    ButtonControl::Draw(hdc, ClientRect(hwnd), look);
}

LRESULT Handle(HWND hwnd, ButtonState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintMessage(hwnd, [&](HDC hdc) { Paint(hwnd, hdc, state); });
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetFocus(hwnd);
        SetCapture(hwnd);
        state.tracking = true;
        SetPushed(hwnd, state, true);
        return 0;
    case WM_MOUSEMOVE:
        if (state.tracking)
            SetPushed(hwnd, state, Inside(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP:
        if (!state.tracking)
            return 0;
        state.tracking = false;
        ReleaseCapture();
        SetPushed(hwnd, state, false);
        if (Inside(hwnd, lParam))
            Click(hwnd, state);
        return 0;
    case WM_CAPTURECHANGED:
        if (state.tracking && reinterpret_cast<HWND>(lParam) != hwnd) {
            state.tracking = false;
            SetPushed(hwnd, state, false);
        }
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_SPACE && !state.tracking) {
            state.spaceDown = true;
            SetPushed(hwnd, state, true);
        }
        return 0;
    case WM_KEYUP:
        if (wParam == VK_SPACE && state.spaceDown) {
            state.spaceDown = false;
            SetPushed(hwnd, state, false);
            Click(hwnd, state);
        }
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        state.focused = message == WM_SETFOCUS;
        if (!state.focused && state.spaceDown) {
            state.spaceDown = false;
            SetPushed(hwnd, state, false);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case BM_GETCHECK:
        return IsCheckBox(TypeOf(hwnd)) && state.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (IsCheckBox(TypeOf(hwnd)) && state.checked != (wParam == BST_CHECKED)) {
            state.checked = wParam == BST_CHECKED;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case BM_GETSTATE:
        return (IsCheckBox(TypeOf(hwnd)) && state.checked ? BST_CHECKED : 0) | (state.pushed ? BST_PUSHED : 0)
            | (state.focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
        SetPushed(hwnd, state, wParam != 0);
        return 0;
    case BM_CLICK:
        if (IsEnabled(hwnd))
            Click(hwnd, state);
        return 0;
    case WM_SETFONT:
    case WM_GETFONT:
    case WM_SETTEXT:
    case WM_ENABLE:
        return LabelMessage(hwnd, state.font, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK ButtonControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return store.Dispatch(hwnd, message, wParam, lParam, Handle);
}

void ButtonControl::Draw(HDC hdc, const RECT& client, const Look& look)
{
    if (IsCheckBox(look.type))
        DrawCheckBox(hdc, client, look);
    else
        DrawPushButton(hdc, client, look);
}

} // namespace pw::platform::user
