#pragma once

#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"
#include "ui/View.h"

class Area;

// Brings an area of a buffered view's picture to the screen (a browser cell just redrawn into the
// buffer). Only a view with an off-screen picture takes it; the signal keeps its area alive.
class ViewAreaSignal : public Signal<View> {
public:
    explicit ViewAreaSignal(const SmartPtr<Area>& area);

protected:
    int32_t Status(View& view) override;
    void Act(View& view) override;

private:
    SmartPtr<Area> area;
};
