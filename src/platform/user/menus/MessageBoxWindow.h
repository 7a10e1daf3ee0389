#pragma once

#include "platform/user/Alerts.h"

#include <windows.h>

namespace pw::platform {

// The message box of the windowed program: a window with a caption and a close box, centred on
// its owner, showing an icon by kind (stop, question, exclamation, information), the text wrapped
// to at most 360 pixels (a longer word broken where the line is full; a text taller than the
// screen cut, so the buttons stay on it) and a row of push buttons (the style's default button
// focused). It runs
// as a dialog in the blocking layer (DialogLoop): Return presses the focused button, Esc and the
// close box answer Cancel when there is one, else OK when that is the only button; a box with
// Yes and No but no Cancel can only be answered by its buttons.
class MessageBoxWindow {
public:
    // The button chosen; 0 when the box could not be made. A WM_QUIT ends the box with the answer
    // Esc would give (it stays pending for the caller's loop).
    static int Run(const AlertRecord& record);
    // How many boxes are showing now (one inside another's loop counts too).
    static int OpenCount();
};

} // namespace pw::platform
