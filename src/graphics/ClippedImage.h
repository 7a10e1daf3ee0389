#pragma once

#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "graphics/Area.h"
#include "graphics/Image.h"

// An image seen through a clip area: it draws the image clipped to the area and answers the area
// for its bounds and shape, whatever the size of the image behind it. It holds both by counted
// handles and stores nothing of them (it writes the empty Image scope).
class ClippedImage : public Image, public SmartImplementation {
    PW_CLASS_INFO(ClippedImage)
    PW_COPY_SLOTS

public:
    ClippedImage(const SmartPtr<Image>& image, const SmartPtr<Area>& clip);

    // The image's own drawing, with the port clipped to the area for the call.
    void Draw(DisplayPort& port, int mode) override;
    // The clip area's bounding rectangle ((0, 0, 0, 0) without one).
    Rect GetBounds() override;
    // A separate copy of the clip area that outlives this image; empty without a clip area.
    SmartPtr<Area> GetArea() override;
    SmartPtr<ColorTable> GetColorTable() override;

    const SmartPtr<Image>& GetImage() const { return image; }
    const SmartPtr<Area>& GetClip() const { return clip; }

private:
    SmartPtr<Image> image;
    SmartPtr<Area> clip;
};
