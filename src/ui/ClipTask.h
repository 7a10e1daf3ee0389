#pragma once

#include "foundation/Clipboard.h"
#include "foundation/Point.h"
#include "foundation/SmartPtr.h"
#include "ui/Task.h"

#include <cstdint>

class View;

// A clipboard command on a view as an undoable task. Cut and copy put the view's selection on the
// application clipboard, keeping what it held before in the task's own clipboard; cut, replace and
// clear remove the selection, keeping it in the task's clipboard; paste and replace insert the
// application clipboard's contents. Undo puts everything back; the window alternates Undo and Redo.
// Every step but a copy's reports a change of the view, so that a document counts as modified.
class ClipTask : public Task, public SmartImplementation {
    PW_CLASS_INFO(ClipTask)
    PW_COPY_SLOTS

public:
    static constexpr int32_t kCut = 0;
    static constexpr int32_t kCopy = 1;
    static constexpr int32_t kPaste = 2;
    static constexpr int32_t kReplace = 3;
    static constexpr int32_t kClear = 4;

    // A mode outside 0 to 4 makes a task that does nothing. The point (0, 0) stands for no point.
    ClipTask(const SmartPtr<Clipboard>& appClip, const SmartPtr<View>& view, int32_t mode, intptr_t source,
        const Point& point);
    ClipTask(const ClipTask& other);
    ClipTask& operator=(const ClipTask& other);

    void Do() override;
    void Undo() override;
    void Redo() override;

private:
    static constexpr uint8_t kCopies = 0x01;
    static constexpr uint8_t kRemoves = 0x02;
    static constexpr uint8_t kPastes = 0x04;

    void ReportChange();

    SmartPtr<Clipboard> appClip;
    Clipboard ownClip;
    SmartPtr<View> view;
    // What the first Do took from the application clipboard: a redo pastes the same again.
    SmartPtr<Smart> pasted;
    intptr_t source;
    Point point;
    uint8_t capabilities { 0 };
    int32_t mode;
};
