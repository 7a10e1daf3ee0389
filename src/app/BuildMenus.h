#pragma once

#include "foundation/SmartPtr.h"

class MenuBar;

namespace pw::app {

// The application's menu bar, made in code from MenuTable: each entry with its command signal,
// "Undo" under the command number the windows retitle ("Undo" and "Redo"), the text view's own
// menu at the head of "Text".
SmartPtr<MenuBar> BuildMenus();

} // namespace pw::app
