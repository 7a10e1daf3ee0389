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

void Paint(HWND hwnd, const StaticState& state)
{
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    if (!hdc)
        return;
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
    EndPaint(hwnd, &paint);
}

} // namespace

LRESULT CALLBACK StaticControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        store.Add(hwnd);
    std::shared_ptr<StaticState> state = store.Find(hwnd);
    if (message == WM_NCDESTROY)
        store.Remove(hwnd);
    if (!state)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        Paint(hwnd, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        state->font = FontOf(wParam);
        RedrawIf(hwnd, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state->font);
    case WM_SETTEXT:
    case WM_ENABLE: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace pw::platform::user
