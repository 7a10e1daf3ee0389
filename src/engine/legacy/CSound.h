#pragma once

#include "foundation/ListHandle.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "graphics/Sound.h"

class ArchiveScope;

// A sound as older object files stored it, kept only to be read: a media reference whose object
// is the sound, and four values nothing uses. Writing warns "Not implemented." and stores nothing.
//
// Stored form (version 1.0): an object reference to a CResource, then a 32-bit, two 16-bit and a
// 32-bit value.
class CSound : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(CSound)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    CSound() = default;
    CSound(const CSound& other) = default;
    // A record without a media reference fails the assertion "data != NULL"; a reference to
    // something other than a sound gives no sound.
    explicit CSound(ArchiveScope& scope);
    CSound& operator=(const CSound& other);

    // Opens the scope and warns "Not implemented."; no fields are written.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

private:
    friend Sound* LegacySoundOf(const SmartPtr<CSound>& record);

    SmartPtr<Sound> sound;
};

// The record's sound, borrowed (no reference added); none for an empty handle.
Sound* LegacySoundOf(const SmartPtr<CSound>& record);
// A new list with one entry per entry of `list`: the sound of a CSound, an empty entry otherwise.
SmartList<Sound> LegacyConvertSoundList(const ListHandle& list);
