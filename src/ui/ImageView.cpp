#include "ui/ImageView.h"

#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"

PW_DEFINE_CLASS(ImageView, nullptr, nullptr, View)

ImageView::ImageView(View* parent, const Rect& bounds, const SmartPtr<Image>& image)
    : View(parent, bounds, kSizeTopLeft, true, false)
    , image(image)
{
}

// Clipping to the bounds and the redraw area is the rendering's, around this call.
void ImageView::DrawContent(DisplayPort& port, Area&)
{
    if (!image.Valid())
        return;
    Rect imageBounds = image->GetBounds();
    Rect viewBounds = GetBounds();
    Translation offset(viewBounds.left - imageBounds.left, viewBounds.top - imageBounds.top);
    PortSaverTransform saver(port, offset);
    image->Draw(port, 0);
}
