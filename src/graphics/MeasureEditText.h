#pragma once

#include "foundation/Point.h"

#include <windows.h>

#include <cstdint>

class TextStyle;

// The size of text as a multi-line edit control has laid it out: for each of the control's lines
// the width of its characters followed by one "I" in the style's font; the result is the widest
// line's width and the sum of the line heights, (0, 0) for no text. `chars` is the control's text.
Point MeasureEditText(HWND edit, const char* chars, int32_t length, TextStyle& style);
