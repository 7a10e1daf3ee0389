#pragma once

#include "authoring/tasks/CPaintTask.h"

// The bucket's task: at the press it fills the region of one colour around the pressed point of
// the picture with the current paint colours in the bucket's fill style; moving adds nothing.
class CFillTask : public CPaintTask {
public:
    CFillTask(const SmartPtr<CPixPane>& pane, const SmartPtr<OffScreen>& offScreen);

    void Begin(Point& start, BitFlags modifiers) override;
    void Track(Point&, Point, Point, BitFlags) override { }
};
