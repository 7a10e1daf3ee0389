#pragma once

#include "foundation/Rect.h"

#include <cstdint>

class CHAPane;
class CSprite;
class DisplayPort;

namespace pw::authoring {

// The crop tasks' feedback: the sprite drawn at the frame as it would show cropped to the
// rectangle (movie coordinates), its own crop put back afterwards.
void DrawCropped(CHAPane& pane, CSprite& sprite, int16_t frame, const Rect& crop, DisplayPort& port);

} // namespace pw::authoring
