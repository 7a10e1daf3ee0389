#include "foundation/ArrayBlock.h"

#include <cstdint>

ArrayBlock::~ArrayBlock() = default;

void ArrayBlock::GrowTo(uint32_t wanted)
{
    int64_t difference = static_cast<int64_t>(wanted) - Size();
    if (difference == 0)
        return;
    int64_t step = Step();
    if (difference <= -step) {
        SetSize(wanted);
    } else if (difference < 0) {
        return;
    } else if (step > difference) {
        int64_t grown = Size() + step;
        SetSize(grown > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(grown));
    } else {
        SetSize(wanted);
    }
}
