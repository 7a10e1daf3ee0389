#pragma once

#include "foundation/Fixed.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "graphics/Color.h"

class ArchiveScope;

// Older archives stored points, rectangles and colours with 16-bit values. Each reader takes the
// version from which the object being read stores the current form: when the scope's stored
// version is lower, it reads the old form.
//
//   point      current: h, v (32-bit each)             old: v, h (16-bit each)
//   rectangle  current: left, top, right, bottom       old: two old points, top-left first
//   colour     current: four 16-bit components         old: the first three; the fourth is 0

Point LegacyReadPoint(ArchiveScope& scope, Fixed version);
Rect LegacyReadRect(ArchiveScope& scope, Fixed version);
Color LegacyReadColor(ArchiveScope& scope, Fixed version);
