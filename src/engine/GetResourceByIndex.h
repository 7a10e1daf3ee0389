#pragma once

#include "foundation/SmartPtr.h"

#include <cstdint>

class Smart;

// How many pictures the engine's resource table holds: index 1 is the picture shown for a sound
// made into a movie or sprite, index 4 the one shown for a link sprite.
inline constexpr int16_t kEngineResourceCount = 4;

// The engine's picture of that index (the engine set's bitmap 400 + index), loaded on first use
// and kept by the set's cache. An index outside 0 .. kEngineResourceCount fails with "Resource id
// not in this set of resources."; a picture that cannot be had with the missing-data-file error.
SmartPtr<Smart> GetResourceByIndex(int16_t index);
