#pragma once

#include "foundation/Memory.h"

// The item store of generic arrays: a block that grows by at least half its size (32 to 32,000
// bytes) and ignores small shrinks, so repeated one-item inserts do not reallocate each time.
class ArrayBlock : public Memory {
public:
    ArrayBlock() = default;
    explicit ArrayBlock(uint32_t size)
        : Memory(size)
    {
    }
    ~ArrayBlock() override;

    // Makes the block hold at least `wanted` bytes by the step rule; 0 frees a block of at least
    // one step.
    void GrowTo(uint32_t wanted);
};
