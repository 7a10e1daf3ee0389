#include "foundation/SoundResource.h"

#include "foundation/Checks.h"
#include "foundation/Resources.h"

PW_DEFINE_CLASS(SoundResource, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(SoundResource)

SoundResource::SoundResource(Resources* owner, int16_t number)
    : owner(owner)
    , number(number)
{
    RegisterPurgeable(this);
}

SoundResource::~SoundResource()
{
    UnregisterPurgeable(this);
}

SmartPtr<Smart> SoundResource::Get()
{
    if (!loaded.Valid()) {
        CheckNotNull(owner, PW_HERE);
        loaded = owner->LoadSound(number);
    }
    return loaded;
}

void SoundResource::Purge(uint32_t)
{
    if (loaded.Valid() && !loaded->IsShared())
        loaded = nullptr;
}
