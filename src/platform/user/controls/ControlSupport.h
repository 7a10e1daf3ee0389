#pragma once

#include <windows.h>

#include <string>

namespace pw::platform::user {

// What every control does alike, through the public calls only.

// Sends WM_COMMAND with the control's id and `code` to its parent; nothing without a parent.
void NotifyParent(HWND control, WORD code);

// The window's text, read through WM_GETTEXT (the control may keep it its own way).
std::string WindowText(HWND hwnd);

// The client rectangle, (0, 0, 0, 0) for a dead window.
RECT ClientRect(HWND hwnd);

// Whether the window is enabled (WS_DISABLED not set).
bool IsEnabled(HWND hwnd);

// The mouse position in a mouse message's lParam: signed 16-bit x and y.
POINT MousePoint(LPARAM lParam);

// Whether Shift or Control is down now.
bool ShiftDown();
bool ControlDown();

// The font a control was given by WM_SETFONT, and the redraw WM_SETFONT asks for.
HFONT FontOf(WPARAM wParam);
void RedrawIf(HWND hwnd, LPARAM redraw);

// Answers WM_PAINT: `paint(hdc)` runs between BeginPaint and EndPaint, which validate the control.
template <typename Painter>
LRESULT PaintMessage(HWND hwnd, Painter paint)
{
    PAINTSTRUCT ps;
    if (HDC hdc = BeginPaint(hwnd, &ps)) {
        paint(hdc);
        EndPaint(hwnd, &ps);
    }
    return 0;
}

// WM_SETFONT, WM_GETFONT, WM_SETTEXT and WM_ENABLE for a control that paints its window text as
// a label in `font`: each change repaints it.
LRESULT LabelMessage(HWND hwnd, HFONT& font, UINT message, WPARAM wParam, LPARAM lParam);

// A press takes the focus for the control; false when the window died meanwhile (the focus
// change runs other windows' code).
bool FocusOnPress(HWND hwnd);

// Ends a drag that the control began with SetCapture, if one runs.
void EndDrag(bool& tracking);

} // namespace pw::platform::user
