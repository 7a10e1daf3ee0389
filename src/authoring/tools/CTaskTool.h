#pragma once

#include "authoring/tools/CTool.h"

class CMouseTask;

// The temporary tool that carries one running mouse task: the pane that starts a task wraps it in
// a task tool and makes that the application's current tool, so every later event goes straight
// to the task; the move that ends the task makes the tool that was current before current again.
// Its number is 0 and it shows the previous tool's cursor.
class CTaskTool : public CTool {
    PW_CLASS_INFO(CTaskTool)
    PW_COPY_SLOTS

public:
    CTaskTool(const SmartPtr<CMouseTask>& task, const SmartPtr<Tool>& previousTool);
    ~CTaskTool() override;

    // The task takes the press; a task tool without a task ignores it.
    bool MouseDown(Point point, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // The task takes the move; when that ended it, the window's owner makes the previous tool
    // current again.
    bool MouseMoved(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window) override;
    // Fails the assertion "false": a task tool is never asked for an interactor.
    SmartPtr<Interactor> MakeInteractor(Point point, BitFlags modifiers, const SmartPtr<Window>& window) override;
    // The previous tool's cursor stays.
    void UpdateCursor() override { }

    SmartPtr<Tool> GetPreviousTool() const { return previousTool; }

private:
    SmartPtr<Tool> previousTool;
};
