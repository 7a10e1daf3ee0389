#pragma once

#include <cstdint>

// The frame number wrapped into 0 .. count - 1 (a true modulo, so -1 becomes count - 1); 0 when
// there are no frames.
inline int16_t WrapModulo(int32_t value, int32_t count)
{
    if (count <= 0)
        return 0;
    int32_t wrapped = value % count;
    return static_cast<int16_t>(wrapped < 0 ? wrapped + count : wrapped);
}
