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
    // True when GrowTo(wanted) would leave the block as it is: it holds `wanted` bytes and is
    // less than one step larger.
    bool Keeps(uint32_t wanted) const { return wanted <= Size() && Size() - wanted < Step(); }

private:
    // Half the size, kept within 32 to 32,000 bytes.
    uint32_t Step() const
    {
        uint32_t half = Size() / 2;
        return half < 32 ? 32 : half > 32000 ? 32000 : half;
    }
};
