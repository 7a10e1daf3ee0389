// Splits fuzz input into the pieces a socket might deliver it in, so the readers of received
// bytes meet every split: a line cut anywhere, a line end in a piece of its own, several replies
// in one piece. Two seed bytes choose the sizes, from 1 byte up to 64.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pw::fuzz {

// The sizes of the pieces of `size` bytes, in order; they add up to `size`.
inline std::vector<size_t> ChunkSizes(uint8_t seed, uint8_t step, size_t size)
{
    std::vector<size_t> sizes;
    uint32_t state = seed;
    for (size_t done = 0; done < size;) {
        state = state * 33 + step + 1;
        size_t piece = 1 + (state >> 3) % (1 + seed % 64);
        if (piece > size - done)
            piece = size - done;
        sizes.push_back(piece);
        done += piece;
    }
    return sizes;
}

// The line and reply sizes a reply reader is tried with: its own when `choice` is 0, else small
// ones that short inputs pass.
struct ReplyLimits {
    size_t line;
    size_t reply;
};

inline ReplyLimits ChooseReplyLimits(uint8_t choice, size_t line, size_t reply)
{
    if (choice == 0)
        return { line, reply };
    return { 1 + (choice & 0x1Fu) * 4u, 1 + (choice >> 5) * 96u };
}

} // namespace pw::fuzz
