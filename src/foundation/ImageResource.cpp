#include "foundation/ImageResource.h"

#include "foundation/Checks.h"
#include "foundation/Resources.h"

PW_DEFINE_CLASS(ImageResource, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(ImageResource)

ImageResource::ImageResource(Resources* owner, int16_t number)
    : owner(owner)
    , number(number)
{
    RegisterPurgeable(this);
}

ImageResource::~ImageResource()
{
    UnregisterPurgeable(this);
}

SmartPtr<Smart> ImageResource::Get()
{
    if (!loaded.Valid()) {
        CheckNotNull(owner, PW_HERE);
        loaded = owner->GetStandardBitmap(number);
    }
    return loaded;
}

Point ImageResource::GetSize()
{
    CheckNotNull(owner, PW_HERE);
    return owner->GetBitmapSize(number);
}

void ImageResource::Purge(uint32_t)
{
    if (loaded.Valid() && !loaded->IsShared())
        loaded = nullptr;
}
