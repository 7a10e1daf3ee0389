// sndPlaySoundA: one sound at a time, played from a WAVE file or an in-memory RIFF image.
#include <fstream>
#include <iterator>
#include <new>

#include <mmsystem.h>
#include <winerror.h>

#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"
#include "platform/winmm/AudioDevice.h"
#include "platform/winmm/WaveImage.h"

using namespace pw::platform;
using namespace pw::platform::winmm;

namespace {

// Reads the file `path` names into `image`; 0 or the last error of the failure.
DWORD ReadSoundFile(char const* path, std::vector<uint8_t>& image)
{
    MappedPath mapped = PathMapper::Map(path);
    if (mapped.error)
        return mapped.error;
    if (mapped.kind != MappedPath::Kind::File)
        return ERROR_FILE_NOT_FOUND;
    std::ifstream file(mapped.hostPath, std::ios::binary);
    if (!file)
        return ERROR_ACCESS_DENIED;
    image.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return file.bad() ? ERROR_READ_FAULT : 0;
}

} // namespace

// Plays a WAVE file or (SND_MEMORY) a RIFF image asynchronously, replacing whatever was playing;
// the image is copied (or the file read) before returning. NULL stops the sound.
BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound)
{
    if (fuSound & ~(SND_ASYNC | SND_NODEFAULT | SND_MEMORY))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    AudioDevice& device = CurrentAudioDevice();
    if (!pszSound) {
        device.StopSound();
        return TRUE;
    }

    auto clip = std::make_shared<SoundClip>();
    clip->flags = fuSound;
    try {
        if (fuSound & SND_MEMORY) {
            // A memory image carries its own length: 8 + the RIFF chunk's size.
            auto const* image = reinterpret_cast<uint8_t const*>(pszSound);
            size_t size = RiffImageSize(image);
            if (size == 0)
                return Fail(ERROR_INVALID_PARAMETER, FALSE);
            clip->image.assign(image, image + size);
        } else {
            clip->path = pszSound;
            if (DWORD error = ReadSoundFile(pszSound, clip->image))
                return Fail(error, FALSE);
        }
    } catch (std::bad_alloc const&) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY, FALSE);
    }

    auto layout = ParseWaveImage(clip->image.data(), clip->image.size());
    if (!layout)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    clip->format = layout->format;
    clip->dataOffset = layout->dataOffset;
    clip->dataLength = layout->dataLength;
    if (!device.PlaySound(std::move(clip)))
        return Fail(ERROR_GEN_FAILURE, FALSE);
    return TRUE;
}
