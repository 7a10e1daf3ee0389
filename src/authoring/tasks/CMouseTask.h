#pragma once

#include "foundation/BitFlags.h"
#include "foundation/Point.h"
#include "foundation/SmartPtr.h"
#include "ui/Interactor.h"
#include "ui/Task.h"

#include <cstdint>

class DisplayDevice;
class View;

// The base of every editing operation that follows the mouse from a press to the release. It is
// the interactor of one drag (the task tool feeds it the events) and, once finished, the window's
// one undoable step. Subclasses give the three steps: Begin at the first press, Track at every
// later event with the button held, End at the first event with the button up. Points arrive in
// the coordinates of the view the task works in.
class CMouseTask : public Interactor, public Task {
    PW_CLASS_INFO(CMouseTask)
    PW_COPY_SLOTS

public:
    // Dispatches one event to Begin, Track or End; a release before any press runs nothing.
    // Answers `buttonDown`: true while the drag goes on.
    bool HandleMouse(Point point, BitFlags modifiers, bool buttonDown, const SmartPtr<Window>& window) override;
    // Each step may move the point it is given; the moved point becomes the previous point.
    virtual void Begin(Point& start, BitFlags modifiers) = 0;
    virtual void Track(Point& current, Point previous, Point start, BitFlags modifiers) = 0;
    virtual void End(Point& current, Point previous, Point start, BitFlags modifiers) = 0;
    // Where feedback is drawn: the view's buffer when it has one, else what it draws on.
    virtual DisplayDevice& GetPort();

    SmartPtr<View> GetView() const { return view; }

protected:
    // `number` names the kind of task for its subclasses; the base does not keep it.
    CMouseTask(int32_t number, const SmartPtr<View>& view);
    ~CMouseTask() override;

    Point startPoint;
    Point previousPoint;

private:
    bool firstEvent { true };
    SmartPtr<View> view;
};
