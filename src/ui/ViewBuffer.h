#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "graphics/OffScreen.h"

namespace pw::ui {

// A view's off-screen buffer: an OffScreen the size of the view's bounds that remembers where its
// (0, 0) lies in window coordinates (the view's top-left corner), so that ports opened on it work
// in window coordinates, and the device the buffer is copied onto (the owner's device), so that a
// change inside nested buffers marks every device on the way to the window frame. The owning view
// keeps both in step.
class ViewBuffer : public OffScreen {
    PW_CLASS_INFO(ViewBuffer)

public:
    // Erased to white, in `outer`'s colour table.
    ViewBuffer(DisplayDevice& outer, const Rect& bounds);

    Point GetOrigin() const { return origin; }
    void SetOrigin(Point newOrigin) { origin = newOrigin; }
    DisplayDevice* GetOuter() const { return outer.Get(); }
    void SetOuter(DisplayDevice& device) { outer = &device; }

private:
    Point origin;
    SmartPtr<DisplayDevice> outer;
};

} // namespace pw::ui
