#pragma once

#include "foundation/SmartPtr.h"
#include "graphics/TextStyle.h"

class CTool;

namespace pw::authoring {

// Lends the engine's resource movies their editing views: a picture pane over a picture movie's
// cel, a text pane over a text movie's. Called by every animation pane as it is made.
void RegisterMovieEditors();

// The style a new text takes: a copy of the text tool's (the current tool when it is the text
// tool, else the shared one), so that later option changes reach only the text being edited.
SmartPtr<TextStyle> NewTextStyle(CTool& current);

} // namespace pw::authoring
