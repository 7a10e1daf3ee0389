#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace pw::platform {

// The floor's own dialogs (the message box, the file dialog): a window in the blocking layer whose
// controls take the keys as a dialog's do. While it runs, the dialog is the blocking window, so
// mouse and keys to the program's other windows are refused, while posted messages, paints and
// timers keep being dispatched.
//
// Keys: Tab and Shift+Tab move the focus along `tabOrder`; Return sends the dialog WM_COMMAND with
// the id of the focused push button, or `defaultId` when the focus is elsewhere; Esc sends
// WM_COMMAND IDCANCEL. The dialog answers WM_COMMAND and says through `done` when it is finished.
class DialogLoop {
public:
    DialogLoop(HWND dialog, std::vector<HWND> tabOrder, int defaultId);

    // False when a WM_QUIT came (it stays pending) or, in tests, when nothing could ever end the
    // loop; the dialog then counts as dismissed.
    bool Run(const std::function<bool()>& done);

private:
    bool HandleKey(const MSG& msg);
    void MoveFocus(int step);

    HWND dialog;
    std::vector<HWND> tabOrder;
    int defaultId;
};

// The font of the dialogs and menus: DejaVu Sans at 11 pixels. The caller deletes it.
HFONT CreateDialogFont();

// Sizes `dialog` so that its client area is `client`, centred over the window of `owner` (the
// screen when there is none or it is hidden), kept on the screen.
void PlaceDialog(HWND dialog, HWND owner, SIZE client);

// A shown child control of `dialog` at `rect` (client coordinates) with the id `id`, drawn in
// `font`; NULL when it could not be made.
HWND MakeControl(HWND dialog, const char* className, const char* text, DWORD style, const RECT& rect, int id, HFONT font);

} // namespace pw::platform
