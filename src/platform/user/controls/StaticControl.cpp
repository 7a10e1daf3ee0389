#include "platform/user/controls/StaticControl.h"

#include "platform/user/controls/ControlPaint.h"
#include "platform/user/controls/ControlStore.h"
#include "platform/user/controls/ControlSupport.h"

namespace pw::platform::user {

namespace {

constexpr DWORD kAlignMask = SS_CENTER | SS_RIGHT;

struct StaticState {
    HFONT font { nullptr };
};

ControlStore<StaticState> store;

void Paint(HWND hwnd, HDC hdc, const StaticState& state)
{
    RECT client = ClientRect(hwnd);
    FillColor(hdc, client, SysColor(COLOR_3DFACE));
    auto style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    UINT format = DT_WORDBREAK;
    if ((style & kAlignMask) == SS_CENTER)
        format |= DT_CENTER;
    else if ((style & kAlignMask) == SS_RIGHT)
        format |= DT_RIGHT;
    if (style & SS_NOPREFIX)
        format |= DT_NOPREFIX;
    DrawLabel(hdc, state.font, WindowText(hwnd).c_str(), client, format, IsEnabled(hwnd));
}

LRESULT Handle(HWND hwnd, StaticState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintMessage(hwnd, [&](HDC hdc) { Paint(hwnd, hdc, state); });
    case WM_ERASEBKGND:
        return 1;
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

LRESULT CALLBACK StaticControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return store.Dispatch(hwnd, message, wParam, lParam, Handle);
}

} // namespace pw::platform::user
