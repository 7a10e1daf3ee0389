#pragma once

#include "foundation/String.h"

#include <cstdint>

// The small questions the editing code asks a child. None of them shows a window: a child is
// never stopped by a question, so each entry answers at once with the caller's proposal or a
// fixed choice.
namespace KidDialogs {

// Answers yes with the proposed value unchanged ("Insert Frames" inserts one frame, "Create
// Circular Motion" keeps its default).
bool AskNumber(const String& title, int16_t* value);
// The interpolation settings: the four sprite switches, the three spline switches and the
// sample count. Answers no and writes nothing.
bool AskInterpolation(bool* first, bool* second, bool* third, bool* fourth, bool* freeStart, bool* freeEnd,
    bool* closed, int16_t* samples);
// Whether to make a "text", "picture" or "object": answers no.
bool AskResourceKind(const String& kind);
// The kind of object a press makes, as a four-character code: a sprite ('SPRT') is made as a
// picture ('PICT'); every other code stays. Answers yes.
bool AskObjectKind(uint32_t* code);

} // namespace KidDialogs
