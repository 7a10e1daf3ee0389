#pragma once

#include "foundation/Rect.h"

#include <windows.h>

#include <cstdint>

namespace pw::ui {

// What a view over a native child control is told of the notifications that control sends its
// frame (WM_COMMAND with the notification code, WM_HSCROLL and WM_VSCROLL with the scroll code
// and thumb position). Frames hand every other message to their own procedure.
class NativeControlClient {
public:
    virtual ~NativeControlClient() = default;
    virtual void ControlNotified(UINT message, uint32_t code, int32_t position) = 0;
    // Every message sent to the control itself, once the client follows its input
    // (FollowControlInput); `original` is the control's own procedure, which answers by default.
    virtual LRESULT ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original);
};

// A child control of the frame's native window over `bounds` (window coordinates are the frame's
// client coordinates), shown, with an identifier no menu command uses. Its notifications reach
// `client` until ForgetNativeControl. Fails "Missing (NULL) value." when the platform refuses it.
HWND MakeNativeControl(HWND frame, const char* className, const char* text, DWORD style, const Rect& bounds,
    NativeControlClient* client);
// Stops the notifications and destroys the control (nothing for a window already gone).
void ForgetNativeControl(HWND control);
// Routes the control's own messages through its client's ControlMessage.
void FollowControlInput(HWND control);
// Hands a press on the control to its frame as a press at the same place of the frame, so that
// it goes through the application and the view tree as any press on the window does.
void PassPressToFrame(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace pw::ui
