// The rows of a bitmap's pixels, for benchmarks that check that two ways of drawing left the
// same bytes.
#pragma once

#include "graphics/BitMap.h"
#include "graphics/OSBitMap.h"

#include <cstdint>
#include <vector>

namespace bench {

// The start of each row of `bitmap`'s pixels, top row first.
inline std::vector<uint8_t*> Rows(BitMap& bitmap)
{
    std::vector<uint8_t*> rows;
    OSBitMap* bits = bitmap.GetOSBitMap();
    bool copied = false;
    uint8_t* base = bits->LockBits(copied);
    bits->UnlockBits(false, base, copied);
    for (int32_t row = 0; row < bitmap.GetBounds().bottom; ++row)
        rows.push_back(base + bits->RowOffset(row));
    return rows;
}

} // namespace bench
