#pragma once

#include "graphics/Color.h"
#include "graphics/Pattern.h"

#include <cstdint>

namespace pw::authoring {

// The current paint every paint tool shares: the foreground and background colours (a patterned
// paint lays the pattern's set bits in the first and the rest in the second), the erase colour
// (what the eraser, a cleared selection and a lifted selection leave behind), the current
// pattern and the bucket's fill style (a gradient kind). The colour and pattern selectors write
// them, the dropper writes the foreground colour; they hold for the whole run.
struct PaintSettings {
    Color foreground { Color(1) };
    Color background { Color(0) };
    Color erase { Color(0) };
    // Solid: the platform's pattern brushes give clear bits the foreground colour (as the pattern
    // pictures are read, black bits clear), so the all-clear pattern paints the foreground alone.
    Pattern pattern { Pattern(0) };
    int16_t fillStyle { 1 };

    static PaintSettings& Current();
    // Back to the values a run starts with (black on white, white erase, solid, fill style 1).
    static void Reset();
};

} // namespace pw::authoring
