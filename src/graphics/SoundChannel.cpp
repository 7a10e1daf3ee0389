#include "graphics/SoundChannel.h"

#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "foundation/Utilities.h"
#include "graphics/Sound.h"
#include "graphics/WAVEFile.h"
#include "graphics/WinVersion.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cstring>

bool soundOff = false;

namespace {

// Held for the whole run: a channel still current at exit stays reachable.
SmartPtr<SoundChannel>& CurrentChannel()
{
    static auto* current = new SmartPtr<SoundChannel>;
    return *current;
}

// The channel whose sound the platform plays now, or null; never a counted reference.
SoundChannel* soundingChannel = nullptr;

uint32_t ReadLE32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8
        | static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// How long the image plays: its "data" bytes (as far as the image holds them) over the "fmt "
// chunk's bytes per second. 0 when either is missing or the rate is 0.
uint32_t PlayingTime(const uint8_t* image, uint32_t size)
{
    uint32_t bytesPerSecond = 0;
    uint64_t dataLength = 0;
    bool haveData = false;
    for (uint64_t at = 12; at + 8 <= size;) {
        uint32_t chunkSize = ReadLE32(image + at + 4);
        uint64_t body = at + 8;
        uint64_t inImage = std::min<uint64_t>(chunkSize, size - body);
        if (std::memcmp(image + at, "fmt ", 4) == 0 && inImage >= 16)
            bytesPerSecond = ReadLE32(image + body + 8);
        if (std::memcmp(image + at, "data", 4) == 0 && !haveData) {
            dataLength = inImage;
            haveData = true;
        }
        at = body + chunkSize + (chunkSize & 1);
    }
    if (bytesPerSecond == 0 || !haveData)
        return 0;
    return static_cast<uint32_t>(std::min<uint64_t>(dataLength * 1000 / bytesPerSecond, UINT32_MAX));
}

} // namespace

PW_DEFINE_CLASS(SoundChannel, nullptr, nullptr, Track, Chore)
PW_DEFINE_COPY_SLOTS(SoundChannel)

SoundChannel::SoundChannel(const SmartPtr<Sound>& sound)
    : Chore(kPeriod, true, 0)
    , sound(sound)
{
}

SoundChannel::SoundChannel(const SoundChannel& other)
    : Smart()
    , Track(other)
    , Chore(kPeriod, true, 0)
    , sound(other.sound)
    , flags(other.flags)
{
}

SoundChannel& SoundChannel::operator=(const SoundChannel& other)
{
    sound = other.sound;
    flags = other.flags;
    return *this;
}

SoundChannel::~SoundChannel()
{
    if (soundingChannel == this)
        soundingChannel = nullptr;
}

SmartPtr<SoundChannel> SoundChannel::GetCurrent()
{
    return CurrentChannel();
}

void SoundChannel::SetCurrent(const SmartPtr<SoundChannel>& channel)
{
    CurrentChannel() = channel;
}

// What the platform call answers is not examined; the error it may leave is cleared.
bool SoundChannel::Start(bool)
{
    if (soundOff)
        return false;
    int64_t time = -1;
    try {
        time = PlaySound();
    } catch (Exception* exception) {
        SmartPtr<Exception> hold(exception);
        exception->Display(2);
        return false;
    }
    ClearOSError();
    if (time < 0)
        return false;
    flags |= kPlaying;
    soundingChannel = this;
    startTick = GetTickCount();
    endMarker = static_cast<uint32_t>(time);
    return true;
}

int64_t SoundChannel::PlaySound()
{
    SmartPtr<FileReference> file = sound->GetFileReference();
    if (file.Valid()) {
        sndPlaySoundA(file->Path(), SND_ASYNC | SND_NODEFAULT);
        return 0;
    }
    // The platform reads 8 + the RIFF size bytes of an image: only an image that holds them plays.
    uint32_t size = sound->PlayableSize();
    if (size == 0)
        return -1;
    Memory& data = sound->GetData();
    uint32_t time = PlayingTime(static_cast<const uint8_t*>(data.Ptr()), size);
    if (!IsWin31Only()) {
        data.Lock();
        sndPlaySoundA(static_cast<LPCSTR>(data.Ptr()), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
        data.Unlock();
        return time;
    }
    FileReference startup = FileReference::StartupFolder();
    SmartPtr<FileReference> folder = FileReference::FileReferenceInFolder(startup, String("Data"), false);
    SmartPtr<FileReference> temporary = FileReference::FileReferenceCreate(WAVEFile::GetFileType(),
        FileCreatorType::Unknown(), *folder.Get(), String("wavTemp"), true);
    {
        SmartPtr<File> written(new File(*temporary.Get(), File::kRead | File::kWrite));
        written->Write(data.Ptr(), data.Size());
        written->SetLength(data.Size());
    }
    sndPlaySoundA(temporary->Path(), SND_ASYNC | SND_NODEFAULT);
    return time;
}

void SoundChannel::Stop()
{
    flags &= static_cast<uint8_t>(~kPlaying);
    endMarker = 0;
    if (soundingChannel == this) {
        soundingChannel = nullptr;
        sndPlaySoundA(nullptr, 0);
        ClearOSError();
    }
}

void SoundChannel::Run()
{
    if (endMarker == 0 || (IsPlaying() && GetTickCount() - startTick < endMarker))
        return;
    flags &= static_cast<uint8_t>(~kPlaying);
    endMarker = 0;
    if (soundingChannel == this)
        soundingChannel = nullptr;
    if (sound->ToggleLoop(false) && !(flags & kNoReplay)) {
        Start(true);
        return;
    }
    if (!IsShared())
        Chore::Stop();
}
