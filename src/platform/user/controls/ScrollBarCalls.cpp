// The scroll bar calls, on scroll bar controls (SB_CTL) only: the program has no window scroll bars.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/user/controls/ScrollBarControl.h"

using pw::platform::Fail;
using pw::platform::user::ScrollBarControl;

namespace {

constexpr DWORD kErrorNoScrollBars = 1447;

// 0 when the call may go on, else the error code for it.
DWORD Check(HWND hwnd, int bar)
{
    if (!IsWindow(hwnd))
        return ERROR_INVALID_WINDOW_HANDLE;
    if (bar != SB_CTL)
        return ERROR_INVALID_PARAMETER;
    if (!ScrollBarControl::IsScrollBar(hwnd))
        return kErrorNoScrollBars;
    return 0;
}

} // namespace

// Sets the position, clamped to the range; returns the previous position (0 on failure).
int WINAPI SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw)
{
    if (DWORD error = Check(hwnd, bar))
        return Fail(error, 0);
    return static_cast<int>(SendMessageA(hwnd, SBM_SETPOS, static_cast<WPARAM>(pos), redraw));
}

// The position; 0 with 1400 for a bad window.
int WINAPI GetScrollPos(HWND hwnd, int bar)
{
    if (DWORD error = Check(hwnd, bar))
        return Fail(error, 0);
    return static_cast<int>(SendMessageA(hwnd, SBM_GETPOS, 0, 0));
}

// Sets the range and pulls the position into it; the span may not exceed MAXLONG.
BOOL WINAPI SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw)
{
    if (DWORD error = Check(hwnd, bar))
        return Fail(error, FALSE);
    if (static_cast<int64_t>(maxPos) - minPos > INT32_MAX)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    SendMessageA(hwnd, redraw ? SBM_SETRANGEREDRAW : SBM_SETRANGE, static_cast<WPARAM>(minPos), maxPos);
    return TRUE;
}

BOOL WINAPI GetScrollRange(HWND hwnd, int bar, LPINT minPos, LPINT maxPos)
{
    if (!minPos || !maxPos)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (DWORD error = Check(hwnd, bar))
        return Fail(error, FALSE);
    SendMessageA(hwnd, SBM_GETRANGE, reinterpret_cast<WPARAM>(minPos), reinterpret_cast<LPARAM>(maxPos));
    return TRUE;
}
