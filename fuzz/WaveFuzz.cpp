// Reads arbitrary bytes as a WAVE or AIFF file. Every read must end in a sound (or the
// converter's refusal) or a framework exception, never a crash, an out-of-bounds access, an
// oversized allocation or a leak. The first byte chooses the way in: bit 0 the kind the Sound
// imports (WAVE as it is, or AIFF converted), bit 1 the converter directly with a small buffer.
// A sound that comes in is sent out as AIFF and read back, as saving and opening would.
#include "graphics/AudioFileConverter.h"
#include "graphics/Sound.h"

#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"

#include "platform/testing/Reset.h"

#include <cstddef>
#include <cstdint>

namespace {

bool Prepare()
{
    pw::platform::testing::ResetPlatform();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = Prepare();
    (void)prepared;
    if (size < 1 || size > (1u << 20))
        return 0;
    MemoryStream stream;
    stream.Write(data + 1, static_cast<uint32_t>(size - 1));
    stream.Seek(0, Stream::kFromStart);
    try {
        if (data[0] & 2) {
            MemoryStream out;
            AudioFileConverter converter(pw::graphics::AudioFile::kLittleEndian, 1 + data[0] / 4);
            if (converter.Convert(stream, out) == 1) {
                MemoryStream back;
                converter.Convert(out, back);
            }
            return 0;
        }
        SmartPtr<Sound> sound = new Sound(stream, data[0] & 1 ? Sound::aiff : Sound::wave, false);
        MemoryStream aiff;
        sound->Export(aiff, Sound::aiff);
        SmartPtr<Sound> again = new Sound(aiff, Sound::aiff, false);
    } catch (Exception*) {
    }
    return 0;
}
