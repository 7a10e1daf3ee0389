#pragma once

#include "foundation/Chore.h"
#include "foundation/Rect.h"
#include "foundation/TypedArray.h"

#include <cstdint>

class View;

// Draws the cells of a film strip a few at a time in the background: its owner (the frame
// overview, the browser) queues the cells that need drawing, and every tick the chore hands them,
// oldest first, to the owner's callback for up to half a second. A slice that runs out leaves the
// rest for the next tick and makes the ticks come every millisecond from then on. The owner holds
// the chore and stops it before it goes; the chore keeps a plain pointer back.
class CChoreStrips : public Chore {
    PW_CLASS_INFO(CChoreStrips)

public:
    // Draws one cell (a value of the owner's choosing) within the owner's bounds; answering true
    // drops every cell still queued.
    using Callback = bool (*)(View* owner, int32_t cell, const Rect& bounds);

    static constexpr uint32_t kPeriod = 200;
    static constexpr uint32_t kSlice = 500;

    CChoreStrips(View* owner, Callback callback);

    // Queues the cell at the end; a cell already queued moves there, so none is queued twice.
    void MoveToEnd(int32_t cell);
    void Perform() override;

    uint32_t NumQueued() const { return queue.NumItems(); }
    int32_t Queued(uint32_t index) const { return queue[index]; }

private:
    View* owner;
    Callback callback;
    LongArray queue;
};
