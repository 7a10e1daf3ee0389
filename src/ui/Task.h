#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"

// An undoable operation: Do performs it the first time, Undo takes it back, Redo performs it again
// after Undo. Tasks are counted objects; the window that keeps a task as its one undo step holds
// it alive. Concrete tasks add SmartImplementation (or come to it through Interactor, as the mouse
// tasks of the editing layers do).
class Task : public virtual Smart {
    PW_CLASS_INFO(Task)

public:
    virtual void Do() = 0;
    virtual void Undo() = 0;
    virtual void Redo() = 0;

protected:
    Task() = default;
};
