#pragma once

#include "foundation/CachedResource.h"
#include "foundation/Point.h"

// A counted handle to the picture of one number of a resource set: a BMP file named by that number
// in the "Data" folder, or else the program's own bitmap of that number, loaded on first use and
// kept while memory allows (see CachedResource).
class ImageResource : public pw::foundation::CachedResource {
    PW_CLASS_INFO(ImageResource)
    PW_COPY_SLOTS

public:
    ImageResource(Resources* owner, int16_t number);

    // The picture's width and height, without keeping it.
    Point GetSize();

private:
    SmartPtr<Smart> Load(Resources& owner, int16_t number) override;
};
