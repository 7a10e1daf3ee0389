#pragma once

#include "foundation/Rect.h"
#include "graphics/Color.h"

#include <cstdint>

class DisplayPort;

// Gradient fills of a port's rectangle between two colours, drawn as one-pixel strips. Kinds:
// 1 all in the first colour, 4 all in the second; 2 top to bottom, 3 bottom to top, 5 left to
// right, 6 right to left (each starting with the first colour); 7 to 10 draw nothing; any other
// kind fails with "No Such Gradient". The unit keeps no state.
namespace Gradient {

// Draws directly when the kind is 1 or 4 or the port's device is at least `minimumDepth` deep;
// otherwise through an off-screen buffer of that depth, which is then copied into the port.
void Draw(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind,
    int16_t minimumDepth);
void DrawDirect(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind);
// The strips of kinds 2, 3, 5 and 6; nothing when the rectangle has no rows (or columns) to step.
void DrawLinear(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind);
// Per-strip increments of red, green and blue as signed 16-bit values (truncated toward zero);
// the fourth component 0.
Color ColorStep(const Color& first, const Color& second, int32_t steps);
// Adds the step to red, green and blue with 16-bit wrap-around.
void AddStep(const Color& step, Color& color);

} // namespace Gradient
