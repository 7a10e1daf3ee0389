#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "graphics/OffScreen.h"

// A view's off-screen buffer: an OffScreen the size of the view's bounds that remembers where its
// (0, 0) lies in window coordinates (the view's top-left corner), so that ports opened on it work
// in window coordinates. The owning view keeps the origin in step when it moves.
class ViewBuffer : public OffScreen {
    PW_CLASS_INFO(ViewBuffer)

public:
    // Erased to white, in `like`'s colour table (the device the view draws on).
    ViewBuffer(DisplayDevice& like, const Rect& bounds);

    Point GetOrigin() const { return origin; }
    void SetOrigin(Point newOrigin) { origin = newOrigin; }

private:
    Point origin;
};
