#pragma once

#include "export/LinkHREF.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartPtr.h"

class ArchiveScope;
class Sound;

// A link whose target is a sound: each time its HTML is written it saves the sound as a WAVE file
// beside the page, named after the page (with a number when the name is taken), lists the file
// with the page's files and writes that file's name as the target. Its name is "Sound". Copies
// share the sound.
//
// Stored form (version 1.0, oldest 1.0): the link's own scope nested inside, then the sound as an
// object reference (another class reads as no sound).
class SoundLink : public LinkHREF {
    PW_CLASS_INFO(SoundLink)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    explicit SoundLink(const SmartPtr<Sound>& sound);
    explicit SoundLink(ArchiveScope& scope);
    SoundLink(const SoundLink& other);
    SoundLink& operator=(const SoundLink& other);
    ~SoundLink() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    SmartPtr<Sound> GetSound() const { return sound; }

    // Makes the sound file and writes its name with extension. The file is in the list before it
    // is written, so a failed write still leaves it to the next export's deletion.
    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override;

private:
    SmartPtr<Sound> sound;
};
