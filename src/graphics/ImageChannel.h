#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Rect.h"
#include "foundation/Smart.h"
#include "foundation/SmartPtr.h"
#include "graphics/DisplayDevice.h"

class Area;
class DisplayPort;

// Something that shows pictures on a display device: told when part of a device changed and asked
// to render into a port. Views and the animation player are channels; the channel holds the
// device it shows on.
class ImageChannel : public virtual Smart {
    PW_CLASS_INFO(ImageChannel)
    PW_COPY_SLOTS

public:
    // Part of `device` changed; a channel may take away from `area` what it redraws itself.
    virtual void Changed(DisplayDevice& device, Area& area) = 0;
    virtual void Render(DisplayPort& port, Area& area) = 0;
    virtual Rect GetBounds() = 0;

    const SmartPtr<DisplayDevice>& GetTarget() const { return target; }

protected:
    explicit ImageChannel(const SmartPtr<DisplayDevice>& target);
    ~ImageChannel() override;

    SmartPtr<DisplayDevice> target;
};
