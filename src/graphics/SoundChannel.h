#pragma once

#include "foundation/Chore.h"
#include "foundation/SmartPtr.h"
#include "graphics/Track.h"

#include <cstdint>

class Sound;

// The application's sound-off switch, toggled by a command of the animation application: while it
// is set, no channel starts playing.
extern bool soundOff;

// Plays one Sound through the platform's asynchronous sound call, which plays one sound at a time:
// a channel started replaces whatever was heard. A 20 ms chore watches for the end of a sound
// played from memory (its length follows from its format) and plays a looping sound again. One
// channel is the current channel, which Sound::Play replaces and Sound::StopSound empties.
// Releasing a channel does not cut its sound short; Stop does, while the sound is still the
// platform's.
class SoundChannel : public Track, public Chore {
    PW_CLASS_INFO(SoundChannel)
    PW_COPY_SLOTS

public:
    explicit SoundChannel(const SmartPtr<Sound>& sound);
    SoundChannel(const SoundChannel& other);
    SoundChannel& operator=(const SoundChannel& other);
    ~SoundChannel() override;

    // Plays the sound (the flag is not used); false while soundOff is set, for a sound that has
    // nothing the platform can play, or when making its temporary file failed (shown).
    bool Start(bool flag) override;
    bool IsPlaying() override { return flags & kPlaying; }
    // Clears the playing bit and silences the platform while it still plays this channel's sound.
    void Stop() override;
    // The chore's work: at the end of the sound, clears the playing bit and plays a looping sound
    // again; a channel whose sound ended and that no one else holds stops its chore.
    void Run();
    void Perform() override { Run(); }

    SmartPtr<Sound> GetSound() const { return sound; }

    static SmartPtr<SoundChannel> GetCurrent();
    static void SetCurrent(const SmartPtr<SoundChannel>& channel);

private:
    static constexpr uint32_t kPeriod = 20;
    static constexpr uint8_t kPlaying = 1;
    static constexpr uint8_t kNoReplay = 2;

    // Plays the sound's file, its image from memory, or (older platform) its image written to the
    // temporary file; answers the playing time in milliseconds, 0 when unknown, or -1 when there
    // is nothing to play.
    int64_t PlaySound();

    SmartPtr<Sound> sound;
    uint8_t flags { 0 };
    // When the sound started (tick count) and how long it plays; 0 when the end is unknown.
    uint32_t startTick { 0 };
    uint32_t endMarker { 0 };
};
