// Test hooks of menus, accelerators and the dialogs: choosing a menu command as a person would,
// the platform-probe override, and showing real dialogs under test. The platform reset puts every
// setting back.
#pragma once

#include <windows.h>

namespace pw::platform::testing {

// Chooses `command` from the menu bar of `hwnd` as a click would: WM_INITMENU (wParam the bar),
// then, when the item exists and is enabled after that, WM_COMMAND (HIWORD 0). True when the
// command was sent. Refused (false) while a modal box blocks the window.
bool ChooseMenuCommand(HWND hwnd, UINT command);

// While set, CreateAcceleratorTableA fails (NULL, last error 120), as on the old platform the
// program probes for with it.
void MakePlatformProbeFail(bool fails);

// Shows message boxes and file dialogs on the desktop instead of answering them from the script,
// so a test can answer them with injected clicks and keys.
void ShowDialogs(bool shown);

} // namespace pw::platform::testing
