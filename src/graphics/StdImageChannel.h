#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/Area.h"
#include "graphics/Image.h"
#include "graphics/ImageChannel.h"

// A channel that shows one image and follows its changes through two areas: the part of the
// device it may draw on (set by each Changed) and the part the image asked to redraw since the
// last Render. It registers itself with the image for its whole life.
class StdImageChannel : public ImageChannel, public SmartImplementation {
    PW_CLASS_INFO(StdImageChannel)
    PW_COPY_SLOTS

public:
    StdImageChannel(const SmartPtr<Image>& image, const SmartPtr<DisplayDevice>& target);
    ~StdImageChannel() override;

    // The visible area becomes `area`, from which the image's own update area is taken away.
    void Changed(DisplayDevice& device, Area& area) override;
    // Draws the image clipped to the visible part of `area` and of the pending area.
    void Render(DisplayPort& port, Area& area) override;
    Rect GetBounds() override { return image->GetBounds(); }

    // The image changed: `removed` no longer needs redrawing, `added` does; the device learns both.
    void ImageChanged(const Area& removed, const Area& added);

private:
    SmartPtr<Image> image;
    Area pendingArea;
    Area visibleArea;
};
