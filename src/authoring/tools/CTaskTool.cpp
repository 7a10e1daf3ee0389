#include "authoring/tools/CTaskTool.h"

#include "authoring/tasks/CMouseTask.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "ui/AppSignals.h"
#include "ui/Cursor.h"
#include "ui/Window.h"

PW_DEFINE_CLASS(CTaskTool, nullptr, nullptr, CTool)

CTaskTool::CTaskTool(const SmartPtr<CMouseTask>& task, const SmartPtr<Tool>& previousTool)
    : CTool(0, nullptr, false, nullptr)
    , previousTool(previousTool)
{
    SetInteractor(SmartPtr<Interactor>(task.Get()));
    SetToolCursor(previousTool.Valid() ? previousTool->GetToolCursor() : SmartPtr<Cursor>());
}

CTaskTool::~CTaskTool() = default;

bool CTaskTool::CanCopyFrom(Smart* source)
{
    return SmartCast<CTaskTool>(source) != nullptr;
}

void CTaskTool::CopyFrom(Smart* source)
{
    CTaskTool* other = SmartCast<CTaskTool>(source);
    if (!other)
        AssertionFailed("castPtr", PW_HERE);
    previousTool = other->previousTool;
    SetInteractor(other->GetInteractor());
    SetToolCursor(other->GetToolCursor());
}

Smart* CTaskTool::Copy() const
{
    SmartPtr<Interactor> task = GetInteractor();
    return new CTaskTool(SmartCast<CMouseTask>(task.Get()), previousTool);
}

// Without a task there is nothing to start: the press is dropped, and the next move hands the
// current-tool place back.
bool CTaskTool::MouseDown(Point point, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    if (!GetInteractor().Valid())
        return true;
    SmartPtr<Interactor> interactor = GetInteractor();
    CheckNotNull(SmartCast<CMouseTask>(interactor.Get()), PW_HERE);
    Tool::MouseDown(point, modifiers, clicks, window);
    Changed();
    return true;
}

bool CTaskTool::MouseMoved(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window)
{
    Tool::MouseMoved(point, modifiers, buttonDown, window);
    if (GetInteractor().Valid()) {
        Changed();
        return true;
    }
    if (previousTool.Valid() && window.Valid())
        window->NotifyCommand(new pw::ui::SetToolSignal(previousTool));
    return true;
}

SmartPtr<Interactor> CTaskTool::MakeInteractor(Point, BitFlags, const SmartPtr<Window>&)
{
    AssertionFailed("false", PW_HERE);
}
