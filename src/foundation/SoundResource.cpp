#include "foundation/SoundResource.h"

#include "foundation/Resources.h"

PW_DEFINE_CLASS(SoundResource, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(SoundResource)

SoundResource::SoundResource(Resources* owner, int16_t number)
    : CachedResource(owner, number)
{
}

SmartPtr<Smart> SoundResource::Load(Resources& owner, int16_t number)
{
    return owner.LoadSound(number);
}
