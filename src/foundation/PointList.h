#pragma once

#include "foundation/Point.h"
#include "foundation/TypedArray.h"

// A 1-based growable array of 8-byte points (h, v), stored as a GenericArray.
using PointList = TypedArray<Point>;
