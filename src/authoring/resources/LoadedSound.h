#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/SoundResource.h"

class Sound;

namespace pw::authoring {

// The resource's sound, loaded on first use; none when the resource is empty or its file is
// missing or unreadable, so that a lost sound file leaves the program silent instead of failing.
SmartPtr<Sound> LoadedSound(const SmartPtr<SoundResource>& resource);

} // namespace pw::authoring
