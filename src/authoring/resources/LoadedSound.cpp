#include "authoring/resources/LoadedSound.h"

#include "foundation/Exception.h"
#include "graphics/Sound.h"

namespace pw::authoring {

SmartPtr<Sound> LoadedSound(const SmartPtr<SoundResource>& resource)
{
    if (!resource.Valid())
        return nullptr;
    try {
        SmartPtr<Smart> loaded = resource->Get();
        return SmartCast<Sound>(loaded.Get());
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        return nullptr;
    }
}

} // namespace pw::authoring
