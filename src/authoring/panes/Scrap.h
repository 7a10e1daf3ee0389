#pragma once

#include "foundation/Clipboard.h"
#include "foundation/SmartPtr.h"

// The clipboard the editing panes ask when they decide whether a paste is available: the
// application's clipboard, bound when the application starts (BindScrap). Released at exit.
extern SmartPtr<Clipboard> gScrap;

namespace pw::authoring {

void BindScrap(const SmartPtr<Clipboard>& clipboard);

} // namespace pw::authoring
