#pragma once

#include "foundation/CachedResource.h"

// A counted handle to the sound of one number of a resource set: the sound file named by that
// number in the "Data" folder, loaded on first use and kept while memory allows (see
// CachedResource).
class SoundResource : public pw::foundation::CachedResource {
    PW_CLASS_INFO(SoundResource)
    PW_COPY_SLOTS

public:
    SoundResource(Resources* owner, int16_t number);

private:
    SmartPtr<Smart> Load(Resources& owner, int16_t number) override;
};
