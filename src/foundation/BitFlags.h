#pragma once

#include <cstdint>

// The 32-bit modifier word that mouse operations receive by value (shift and the like).
struct BitFlags {
    uint32_t word { 0 };

    BitFlags() = default;
    constexpr explicit BitFlags(uint32_t word)
        : word(word)
    {
    }

    // True when bit n (0 to 31) is set; later bits are never set.
    constexpr bool IsSet(int n) const { return n >= 0 && n < 32 && ((word >> n) & 1u) != 0; }
};
