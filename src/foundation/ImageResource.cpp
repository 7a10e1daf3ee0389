#include "foundation/ImageResource.h"

#include "foundation/Resources.h"

PW_DEFINE_CLASS(ImageResource, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(ImageResource)

ImageResource::ImageResource(Resources* owner, int16_t number)
    : CachedResource(owner, number)
{
}

Point ImageResource::GetSize()
{
    return Owner().GetBitmapSize(GetNumber());
}

SmartPtr<Smart> ImageResource::Load(Resources& owner, int16_t number)
{
    return owner.GetStandardBitmap(number);
}
