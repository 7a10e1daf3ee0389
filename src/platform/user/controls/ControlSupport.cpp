#include "platform/user/controls/ControlSupport.h"

#include <algorithm>
#include <vector>

namespace pw::platform::user {

void NotifyParent(HWND control, WORD code)
{
    HWND parent = GetParent(control);
    if (!parent)
        return;
    auto id = static_cast<WORD>(GetWindowLongPtrA(control, GWLP_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

std::string WindowText(HWND hwnd)
{
    auto length = SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    auto copied = SendMessageA(hwnd, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return std::string(buffer.data(), static_cast<size_t>(std::max<LRESULT>(copied, 0)));
}

RECT ClientRect(HWND hwnd)
{
    RECT rect {};
    if (!GetClientRect(hwnd, &rect))
        return RECT {};
    return rect;
}

bool IsEnabled(HWND hwnd)
{
    return IsWindowEnabled(hwnd) != FALSE;
}

POINT MousePoint(LPARAM lParam)
{
    return POINT { static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam)) };
}

bool ShiftDown()
{
    return GetKeyState(VK_SHIFT) < 0;
}

bool ControlDown()
{
    return GetKeyState(VK_CONTROL) < 0;
}

HFONT FontOf(WPARAM wParam)
{
    return reinterpret_cast<HFONT>(wParam);
}

void RedrawIf(HWND hwnd, LPARAM redraw)
{
    if (redraw)
        InvalidateRect(hwnd, nullptr, TRUE);
}

LRESULT LabelMessage(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETFONT:
        font = FontOf(wParam);
        RedrawIf(hwnd, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font);
    default: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, FALSE);
        return result;
    }
    }
}

bool FocusOnPress(HWND hwnd)
{
    if (GetFocus() == hwnd)
        return true;
    SetFocus(hwnd);
    return IsWindow(hwnd) != FALSE;
}

void EndDrag(bool& tracking)
{
    if (!tracking)
        return;
    tracking = false;
    ReleaseCapture();
}

} // namespace pw::platform::user
