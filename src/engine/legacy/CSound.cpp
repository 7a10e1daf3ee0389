#include "engine/legacy/CSound.h"

#include "engine/CResource.h"
#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(CSound, nullptr, nullptr, Persistent)
PW_DEFINE_COPY_SLOTS(CSound)

constinit const PersistentVersion CSound::version { &CSound::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CSound> };

// A skipped record (a version this program cannot read) gives no sound.
CSound::CSound(ArchiveScope& scope)
{
    SmartPtr<CResource> resource = pw::engine::ReadReference<CResource>(scope);
    if (resource.Valid())
        sound = SmartCast<Sound>(resource->GetObject().Get());
    else if (!scope.IsSkipped())
        AssertionFailed("data != NULL", PW_HERE);
    Stream& stream = scope.GetStream();
    stream.ReadLong();
    stream.ReadShort();
    stream.ReadShort();
    stream.ReadLong();
}

CSound& CSound::operator=(const CSound& other)
{
    sound = other.sound;
    return *this;
}

void CSound::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Exception::Warn(kNotImplemented, PW_HERE);
}

Sound* LegacySoundOf(const SmartPtr<CSound>& record)
{
    return record.Valid() ? record->sound.Get() : nullptr;
}

SmartList<Sound> LegacyConvertSoundList(const ListHandle& list)
{
    SmartList<Sound> sounds;
    for (uint32_t index = 1; index <= list.NumItems(); ++index)
        sounds.Append(LegacySoundOf(SmartCast<CSound>(list.GetItem(index))));
    return sounds;
}
