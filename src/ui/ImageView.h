#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "graphics/Image.h"
#include "ui/View.h"

// The simplest concrete view: one Image drawn with its top-left corner at the view's top-left
// corner, cut at the view's bounds. Image buttons are built on it. Changing the image does not
// redraw: the caller invalidates the view when the change must show.
class ImageView : public View {
    PW_CLASS_INFO(ImageView)

public:
    // A child of `parent` (not yet added) at `bounds`, sizing kSizeTopLeft, taking focus, drawing
    // on the parent's drawing device. The image may be empty.
    ImageView(View* parent, const Rect& bounds, const SmartPtr<Image>& image);

    void DrawContent(DisplayPort& port, Area& area) override;

    SmartPtr<Image> GetImage() const { return image; }
    void SetImage(const SmartPtr<Image>& newImage) { image = newImage; }

private:
    SmartPtr<Image> image;
};
