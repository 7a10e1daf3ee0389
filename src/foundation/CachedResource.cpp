#include "foundation/CachedResource.h"

#include "foundation/Checks.h"

namespace pw::foundation {

CachedResource::CachedResource(Resources* owner, int16_t number)
    : owner(owner)
    , number(number)
{
    RegisterPurgeable(this);
}

CachedResource::~CachedResource()
{
    UnregisterPurgeable(this);
}

SmartPtr<Smart> CachedResource::Get()
{
    if (!loaded.Valid())
        loaded = Load(Owner(), number);
    return loaded;
}

void CachedResource::Purge(uint32_t)
{
    if (loaded.Valid() && !loaded->IsShared())
        loaded = nullptr;
}

Resources& CachedResource::Owner() const
{
    CheckNotNull(owner, PW_HERE);
    return *owner;
}

} // namespace pw::foundation
