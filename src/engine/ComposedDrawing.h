#pragma once

#include "foundation/Rect.h"

#include <functional>

class DisplayPort;

namespace pw::engine {

// Runs `draw` on a port over an off-screen copy of `rect` (in `port`'s coordinates, cut to its
// clip), then copies the result onto `port`. Pictures that show the page through their white
// pixels are keyed copies, and only an off-screen target keys them out: drawn straight onto a
// window they would cover what lies beneath with white. A port that already draws off-screen is
// drawn on directly.
void DrawComposed(DisplayPort& port, const Rect& rect, const std::function<void(DisplayPort&)>& draw);

} // namespace pw::engine
