#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "graphics/DisplayPort.h"

class DisplayDevice;

namespace pw::ui {

// A port over a rectangle of a view tree's coordinate space (the window's drawing surface) on any
// device of the tree: on a view's off-screen buffer it translates window coordinates into the
// buffer's own, which start at the buffer owner's top-left corner.
//
//     ViewPort port(view.GetDevice(), view.GetBounds());
//     port.InvertFrame(view.GetBounds(), 2);
class ViewPort : public DisplayPort {
public:
    ViewPort(DisplayDevice& device, const Rect& rect, int32_t drawMode = 0);

    // Where (0, 0) of the device lies in window coordinates: a view buffer's owner's top-left
    // corner, (0, 0) for every other device.
    static Point DeviceOrigin(DisplayDevice& device);
};

} // namespace pw::ui
