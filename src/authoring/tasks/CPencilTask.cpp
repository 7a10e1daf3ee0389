#include "authoring/tasks/CPencilTask.h"

#include "authoring/tools/PaintSettings.h"
#include "foundation/Exception.h"
#include "ui/View.h"

CPencilTask::CPencilTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen,
    const SmartPtr<CPenTool>& pen)
    : CPenTask(18, pane, offScreen, pen)
    , colour(pw::authoring::PaintSettings::Current().foreground)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CPencilTask::DrawSegment(DisplayPort&, Rect&, Point, Point, BitFlags)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
