#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class CShow;

// The small dialogs for children: the speed dialog, a real window, and the questions the editing
// code asks. None of the questions shows a window: a child is never stopped by a question, so each
// entry answers at once with the caller's proposal or a fixed choice.
namespace KidDialogs {

// The speed dialog's place on the screen (its inside is this size), and its scroll bar and button
// inside it.
inline constexpr Rect kDialogFrame { 100, 100, 500, 200 };
inline constexpr Rect kScrollBarRect { 20, 40, 380, 56 };
inline constexpr Rect kOKButtonRect { 300, 70, 380, 95 };

// Brings up the speed dialog: its scroll bar sets the page's frame rate between `minimum` and
// `maximum`, and "OK" closes it. Answers true.
bool MakeDialog(const SmartPtr<CShow>& target, int16_t minimum, int16_t maximum);

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
