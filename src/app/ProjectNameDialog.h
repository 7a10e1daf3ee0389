#pragma once

#include "foundation/SmartPtr.h"

class Dialog;
class String;

namespace pw::app {

// Application picture 420, the whole face of the project-name dialog.
inline constexpr int16_t kNameDialogPicture = 420;

// Fills `dialog` with the project-name dialog: its picture (when there is one), the name field
// over the picture's box, editing `name` in place, and an "OK" button that closes the window. The
// field is the dialog's focused child, so typing goes to it.
void BuildProjectNameDialog(Dialog& dialog, const SmartPtr<String>& name);

// Asks for the project's name in a modal dialog centred on the screen; `name` holds the text
// shown first and, afterwards, what was typed. False when the dialog was cancelled (Escape).
bool AskProjectName(const SmartPtr<String>& name);

} // namespace pw::app
