#pragma once

#include "foundation/Point.h"
#include "foundation/Purgeable.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class Resources;

// A counted handle to the picture of one number of a resource set: a BMP file named by that number
// in the "Data" folder, or else the program's own bitmap of that number, loaded on first use and
// kept until memory runs short and nobody else holds it. The set keeps one handle per number; a
// failed load leaves it unloaded to try again.
class ImageResource : public SmartImplementation, public Purgeable {
    PW_CLASS_INFO(ImageResource)
    PW_COPY_SLOTS

public:
    ImageResource(Resources* owner, int16_t number);
    ~ImageResource() override;
    ImageResource(const ImageResource&) = delete;
    ImageResource& operator=(const ImageResource&) = delete;

    // The picture, loaded first when needed (the missing-data-file error when there is none).
    SmartPtr<Smart> Get();
    // The picture's width and height, without keeping it.
    Point GetSize();
    // Lets the picture go when only this handle holds it.
    void Purge(uint32_t bytesWanted) override;

    bool IsLoaded() const { return loaded.Valid(); }
    int16_t GetNumber() const { return number; }
    // The set goes before its handles: they then refuse to load.
    void Orphan() { owner = nullptr; }

private:
    SmartPtr<Smart> loaded;
    Resources* owner;
    int16_t number;
};
