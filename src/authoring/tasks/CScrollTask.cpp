#include "authoring/tasks/CScrollTask.h"

#include "authoring/panes/CHAPane.h"
#include "engine/CMovieGroup.h"
#include "foundation/Exception.h"

#include <algorithm>

CScrollTask::CScrollTask(const SmartPtr<CHAPane>& pane, int32_t kind)
    : CMouseTask(kind, pane.Get())
    , pane(pane)
{
}

void CScrollTask::Do()
{
    CMovieGroup* group = pane->GetGroup();
    if (!group)
        return;
    int16_t first = 0;
    int16_t last = 0;
    pane->GetFrameRange(first, last, false);
    last = std::max(first, last);
    for (int32_t frame = first; frame <= last; ++frame)
        group->OffsetFrame(static_cast<int16_t>(frame), offset);
}

void CScrollTask::Undo()
{
    offset = Point(-offset.h, -offset.v);
    pane->InvalidateView(false);
    Do();
}

void CScrollTask::Redo()
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
