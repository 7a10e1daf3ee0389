#pragma once

#include <windows.h>

namespace pw::platform {

// Which top-level window is active, and whether the application is. The host window (the SDL
// window, or the test driver standing in for it) has the keyboard or not; while it has, the active
// window's application is active. The application becomes active with the first window activated
// and stops being active when the host loses the keyboard: WM_ACTIVATEAPP (TRUE or FALSE) goes to
// every top-level window at each change. Activation itself sends WM_ACTIVATE to the window that
// loses it (WA_INACTIVE) and then to the one that gains it (WA_ACTIVE or WA_CLICKACTIVE), raises
// the new one and repaints both captions; DefWindowProcA's WM_ACTIVATE gives the focus back.
class Activation {
public:
    static HWND Active();
    static bool AppActive();

    // Activates the top-level window of `hwnd` (when it can be: shown, enabled, not
    // WS_EX_NOACTIVATE, not in the popup layer). While the host lacks the keyboard it is only
    // remembered and raised, to be activated when the keyboard comes back.
    static void Activate(HWND hwnd, WORD how = WA_ACTIVE);

    // The host window gained or lost the keyboard (the backend's Activate/Deactivate events).
    static void SetHostFocus(bool focused);

    // A window is being hidden or destroyed: when the active window is it or lies in it, another
    // one is activated (its owner, else the top one), or none.
    static void WindowGoing(HWND hwnd);
    // A window is gone: forget it.
    static void Forget(HWND hwnd);

    static bool CanActivate(HWND hwnd);
    static HWND TopLevelOf(HWND hwnd);
    // Whether `hwnd` is `ancestor` or lies inside it (through parents and owners).
    static bool IsWithin(HWND hwnd, HWND ancestor);
};

// The keyboard focus and the mouse capture.
class Focus {
public:
    static HWND Get();
    // Sends WM_KILLFOCUS to the old focus, then WM_SETFOCUS to the new one; activates the new
    // one's top-level window first. Returns the previous focus.
    static HWND Set(HWND hwnd);

    static HWND Capture();
    // Returns the previous holder; the one that loses the capture gets WM_CAPTURECHANGED.
    static HWND SetCapture(HWND hwnd);
    static void ReleaseCapture();

    // A window is gone: the focus and the capture it (or a window inside it) held are dropped
    // without messages.
    static void Forget(HWND hwnd);
};

} // namespace pw::platform
