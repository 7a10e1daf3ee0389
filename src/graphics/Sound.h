#pragma once

#include "foundation/FileReference.h"
#include "foundation/Memory.h"
#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class App;
class ArchiveScope;
class Stream;

// The framework's sound: the whole image of a RIFF WAVE file held in memory (the native kind), or
// a reference to a sound file on disk that is played by path. AIFF images are converted to WAVE
// when they come in and back when they go out. Sounds are stored in object files as their loop bit
// and WAVE image; a sound that only refers to a file is stored empty. Playing goes through one
// current SoundChannel, so starting a sound replaces the one before.
class Sound : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Sound)
    PW_COPY_SLOTS

public:
    // Kinds of sound data.
    static constexpr uint8_t wave = 0;
    static constexpr uint8_t aiff = 1;
    static constexpr uint8_t snd = 2;

    static const PersistentVersion version;

    // An empty sound.
    Sound();
    // A sound played from the file; no data.
    Sound(const SmartPtr<FileReference>& file, bool loop);
    // The sound in `source` of the given kind (see Import).
    Sound(Stream& source, uint8_t kind, bool loop);
    // Reads the stored form (scope opened with `version`).
    explicit Sound(ArchiveScope& scope);
    Sound(const Sound& other);
    Sound& operator=(const Sound& other);

    // A WAVE source (whatever kind is named) is the image from the mark to the end; an AIFF one
    // is converted from the whole stream. Either must give what the devices play (PCM of 8 or 16
    // bits in one or two channels, plain or extensible) with a RIFF size that fits the bytes, or
    // the corrupt-file message is thrown and the sound keeps its data.
    void Import(Stream& source, uint8_t kind);
    // Writes the image, converted to `kind` when that differs; a conversion to snd fails the
    // assertion "!convertIt || type != Sound::snd".
    void Export(Stream& target, uint8_t kind);

    uint8_t GetType() const { return wave; }
    bool NeedsConversion(uint8_t kind) const { return kind != GetType(); }
    bool IsEmpty() const { return data.Size() == 0; }
    Memory& GetData() { return data; }
    SmartPtr<FileReference> GetFileReference() const { return file; }
    // Inverts the loop bit first when `toggle`; answers the loop bit.
    bool ToggleLoop(bool toggle);

    // The bytes the platform reads when the image is played from memory (8 + the RIFF size), or 0
    // when the data is not a RIFF WAVE image that holds them.
    uint32_t PlayableSize() const;

    // Makes a new channel for this sound the current channel and starts it.
    void Play(bool flag);
    static void PlayFrom(const SmartPtr<Sound>& sound);
    // Silences and releases the current channel.
    static void StopSound();
    // Runs the recording dialog with every chore suspended; the recorded sound, or an empty
    // handle when the user cancelled.
    static SmartPtr<Sound> Record(App& app);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    uint32_t GetObjectSize() override;

private:
    static constexpr uint8_t kLoop = 1;

    SmartPtr<FileReference> file;
    Memory data;
    uint8_t flags { 0 };
};

namespace pw::graphics {

// What the window floor lends Sound::Record: builds the sound-recording dialog, shows and centres
// it, hands it to the application, starts the recorder and polls the dialog until it ends;
// answers the dialog's sound, empty when it was cancelled.
using RecordingDialogRunner = SmartPtr<Sound> (*)(App& app);
void SetRecordingDialogRunner(RecordingDialogRunner runner);

} // namespace pw::graphics
