#include "authoring/panes/CChoreStrips.h"

#include "foundation/ClassInfo.h"
#include "ui/View.h"

PW_DEFINE_CLASS(CChoreStrips, nullptr, nullptr, Chore)

CChoreStrips::CChoreStrips(View* owner, Callback callback)
    : Chore(kPeriod, true, 0)
    , owner(owner)
    , callback(callback)
{
}

void CChoreStrips::MoveToEnd(int32_t cell)
{
    if (uint32_t index = queue.IndexOf(cell))
        queue.DeleteItems(index, 1);
    queue.Append(cell);
}

void CChoreStrips::Perform()
{
    Rect bounds = owner->GetBounds();
    uint32_t deadline = ::GetTickCount() + kSlice;
    while (::GetTickCount() <= deadline && queue.NumItems() > 0) {
        // Taken off before the drawing, which may queue cells (this one too) as it goes.
        int32_t cell = queue[1];
        queue.DeleteItems(1, 1);
        if (callback(owner, cell, bounds)) {
            if (queue.NumItems() > 0)
                queue.DeleteItems(1, queue.NumItems());
            return;
        }
    }
    if (queue.NumItems() > 0)
        SetPeriod(1);
}
