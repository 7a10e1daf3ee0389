#pragma once

#include <cstdint>

namespace pw::authoring {

// What a pane that selects frames lends the tasks that work in it: a redone task selects the
// frames it changed. The animation editing pane provides it.
class FrameRangeSelector {
public:
    // Frames first..last become the pane's selection.
    virtual void SetFrameRange(int16_t first, int16_t last) = 0;

protected:
    ~FrameRangeSelector() = default;
};

} // namespace pw::authoring
