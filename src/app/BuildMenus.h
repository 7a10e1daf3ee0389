#pragma once

#include "app/MenuTable.h"
#include "foundation/SmartPtr.h"

class GenericSignal;
class MenuBar;

namespace pw::app {

// The application's menu bar, made in code from MenuTable: each entry with its command signal,
// "Undo" under the command number the windows retitle ("Undo" and "Redo"), the text view's own
// menu at the head of "Text".
SmartPtr<MenuBar> BuildMenus();

// A new signal of the command an entry carries (the media tabs send the New Page and Publish
// commands as the menu does).
SmartPtr<GenericSignal> MakeMenuSignal(MenuCommand command);

} // namespace pw::app
