#include "graphics/ClippedImage.h"

#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

PW_DEFINE_CLASS(ClippedImage, nullptr, nullptr, Image, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(ClippedImage)

ClippedImage::ClippedImage(const SmartPtr<Image>& image, const SmartPtr<Area>& clip)
    : image(image)
    , clip(clip)
{
}

void ClippedImage::Draw(DisplayPort& port, int mode)
{
    if (!image.Valid())
        return;
    PortSaver saver(port, clip.Valid() ? *clip.Get() : Area::EmptyArea());
    image->Draw(port, mode);
}

Rect ClippedImage::GetBounds()
{
    return clip.Valid() ? clip->ComputeBounds() : Rect(0, 0, 0, 0);
}

SmartPtr<Area> ClippedImage::GetArea()
{
    if (!clip.Valid())
        return SmartPtr<Area>();
    return SmartPtr<Area>(new Area(*clip.Get()));
}

SmartPtr<ColorTable> ClippedImage::GetColorTable()
{
    return image.Valid() ? image->GetColorTable() : SmartPtr<ColorTable>();
}
