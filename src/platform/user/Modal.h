#pragma once

#include <windows.h>

#include <functional>

namespace pw::platform {

// Makes a window the blocking window while the scope lives: it goes to the blocking layer, and
// mouse input to any window other than it, its descendants and popup-layer windows is refused (a
// press beeps); keys reach the focus only when the focus lies inside it, else it gets them.
// Scopes nest; the innermost blocks. On exit the window's previous layer comes back.
class ModalScope {
public:
    explicit ModalScope(HWND window);
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

private:
    HWND window;
    int previousLayer;
};

// The innermost blocking window, or NULL.
HWND BlockingWindow();

// Whether input for `hwnd` passes the blocking window (always, when none is up).
bool AcceptsInput(HWND hwnd);

// A modal loop: retrieves and dispatches messages (posted, input, paints and timers, so chores
// keep running) and waits as GetMessageA does, until `done()` answers true. False when a WM_QUIT
// arrived (it stays pending for the outer loop) or the loop could only wait for ever (tests).
bool RunModalLoop(const std::function<bool()>& done);

} // namespace pw::platform
