#include "authoring/tasks/CMouseTask.h"

#include "ui/View.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(CMouseTask, nullptr, nullptr, Interactor, Task)
PW_DEFINE_NO_COPY_SLOTS(CMouseTask)

CMouseTask::CMouseTask(int32_t, const SmartPtr<View>& view)
    : view(view)
{
}

CMouseTask::~CMouseTask() = default;

bool CMouseTask::HandleMouse(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window)
{
    SmartPtr<View> from(window.Get());
    point = view->ConvertPoint(from, point.h, point.v);
    if (buttonDown && firstEvent) {
        startPoint = point;
        Begin(startPoint, modifiers);
        previousPoint = startPoint;
        firstEvent = false;
    } else if (buttonDown) {
        Track(point, previousPoint, startPoint, modifiers);
    } else if (!firstEvent) {
        End(point, previousPoint, startPoint, modifiers);
    }
    previousPoint = point;
    return buttonDown;
}

DisplayDevice& CMouseTask::GetPort()
{
    return view->GetDrawingDevice();
}
