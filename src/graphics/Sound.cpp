#include "graphics/Sound.h"

#include "foundation/Alert.h"
#include "foundation/Archive.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Chore.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/Resources.h"
#include "graphics/AudioFileConverter.h"
#include "graphics/SoundChannel.h"
#include "graphics/WAVEAudioFile.h"
#include "graphics/WAVEFile.h"
#include "graphics/WaveRecorder.h"

#include <cstdint>
#include <cstring>

namespace {

pw::graphics::RecordingDialogRunner recordingDialogRunner = nullptr;

Persistent* ReadSound(Archive& archive)
{
    ArchiveScope scope(archive, Sound::version);
    return new Sound(scope);
}

uint32_t ReadLE32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8
        | static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

// The bytes the platform reads of a RIFF WAVE image in memory: 8 + its RIFF size, when the block
// holds them; else 0.
uint32_t PlayableSizeOf(const Memory& block)
{
    const auto* bytes = static_cast<const uint8_t*>(block.Ptr());
    if (block.Size() < 12 || std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0)
        return 0;
    uint64_t size = 8 + static_cast<uint64_t>(ReadLE32(bytes + 4));
    return size <= block.Size() ? static_cast<uint32_t>(size) : 0;
}

// Playing reads the image as far as its RIFF size says, converting reads every chunk there is:
// a RIFF size short of the chunks the samples need is raised to them so both hear the same
// samples, and an extensible PCM format is named plain PCM, which is what it is.
void MakePlayable(MemoryStream& image)
{
    struct : pw::graphics::WAVEAudioFile {
        int HostOrder() const override { return kLittleEndian; }
    } reader;
    pw::graphics::AudioFormat format;
    image.Seek(0, Stream::kFromStart);
    // What the sound devices play: PCM of 8 or 16 bits in one or two channels.
    if (!reader.ReadWAVEHeader(image, format) || (format.bits != 8 && format.bits != 16) || format.channels > 2
        || format.rate > INT32_MAX)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    auto* bytes = static_cast<uint8_t*>(image.Block().Ptr());
    if (format.extensible) {
        bytes[format.formatOffset] = 1;
        bytes[format.formatOffset + 1] = 0;
    }
    uint32_t riffEnd = PlayableSizeOf(image.Block());
    if (riffEnd == 0)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (riffEnd < format.chunksEnd) {
        uint32_t size = format.chunksEnd - 8;
        for (int index = 0; index < 4; ++index)
            bytes[4 + index] = static_cast<uint8_t>(size >> (8 * index));
    }
}

// Entry 71 of the exception list is string 199.
void ShowOldFormatAlert()
{
    char text[kMessageSize];
    ComposeMessage(text, 71, nullptr, nullptr, nullptr, nullptr);
    Alert(Alert::kExclamation, Alert::kOk, text);
}

// The sounds of the resource sets, found as WAVE files: a reference on the older platform, the file's WAVE image on the
// newer one; the loop bit clear.
const bool soundMakersLent = [] {
    auto& services = pw::foundation::GetResourceServices();
    services.soundFileType = &WAVEFile::GetFileType();
    services.soundFromReference = [](const SmartPtr<FileReference>& reference) {
        return SmartPtr<Smart>(new Sound(reference, false));
    };
    services.soundFromFile = [](File& file) { return SmartPtr<Smart>(new Sound(file, Sound::wave, false)); };
    return true;
}();

} // namespace

PW_DEFINE_CLASS(Sound, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Sound)

constinit const PersistentVersion Sound::version { &Sound::classInfo, Fixed(0, 0), Fixed(1, 0), &ReadSound };

void pw::graphics::SetRecordingDialogRunner(RecordingDialogRunner runner)
{
    recordingDialogRunner = runner;
}

Sound::Sound() = default;

Sound::Sound(const SmartPtr<FileReference>& file, bool loop)
    : file(file)
    , flags(loop ? kLoop : 0)
{
}

Sound::Sound(Stream& source, uint8_t kind, bool loop)
    : flags(loop ? kLoop : 0)
{
    Import(source, kind);
}

// A version this program cannot read leaves an empty sound.
Sound::Sound(ArchiveScope& scope)
{
    if (scope.IsSkipped())
        return;
    Stream& stream = scope.GetStream();
    flags = stream.ReadByte() ? kLoop : 0;
    auto kind = static_cast<uint8_t>(stream.ReadByte());
    ReadBlock(data, stream);
    if (kind > snd)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (scope.GetVersion() < version.GetCurrentVersion() && kind == aiff) {
        // Its bytes cannot be played, and saved they would be taken for a WAVE image and refused
        // with the whole page: the sound is dropped, as the alert tells.
        ShowOldFormatAlert();
        data.SetSize(0);
    } else if (NeedsConversion(kind)) {
        MemoryStream stored(data);
        Import(stored, kind);
    } else if (data.Size() > 0) {
        // A stored image is held to what an imported one is, so that it plays when asked.
        MemoryStream stored(data);
        MakePlayable(stored);
        data.TakeFrom(stored.Block());
    }
}

Sound::Sound(const Sound& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , file(other.file)
    , data(other.data)
    , flags(other.flags)
{
}

Sound& Sound::operator=(const Sound& other)
{
    if (this == &other)
        return *this;
    file = other.file;
    data = other.data;
    flags = other.flags;
    return *this;
}

// Whatever the bytes are, an import either leaves a sound the devices can play or throws the
// corrupt-file message: a conversion that fails is a damaged file too.
void Sound::Import(Stream& source, uint8_t kind)
{
    uint32_t length = source.GetLength();
    uint32_t mark = source.GetMark();
    char form[12] = {};
    if (length > mark && length - mark >= 12) {
        source.Read(form, 12);
        source.Seek(static_cast<int32_t>(mark), Stream::kFromStart);
    }
    // A WAVE file under another name is read as what it is; anything else must be the kind named.
    if (std::memcmp(form, "RIFF", 4) == 0 && std::memcmp(form + 8, "WAVE", 4) == 0)
        kind = wave;
    else if (kind == aiff && !(std::memcmp(form, "FORM", 4) == 0 && std::memcmp(form + 8, "AIFF", 4) == 0))
        pw::foundation::ThrowCorruptFile(PW_HERE);
    MemoryStream image(length);
    if (!NeedsConversion(kind)) {
        image.SetLength(mark < length ? length - mark : 0);
        if (image.GetLength() > 0)
            source.Read(image.Block().Ptr(), image.GetLength());
    } else {
        AudioFileConverter converter(pw::graphics::AudioFile::kLittleEndian, length);
        if (converter.Convert(source, image) != 1)
            pw::foundation::ThrowCorruptFile(PW_HERE);
    }
    image.Block().SetSize(image.GetLength());
    MakePlayable(image);
    data.TakeFrom(image.Block());
}

void Sound::Export(Stream& target, uint8_t kind)
{
    bool convertIt = NeedsConversion(kind);
    if (convertIt && kind == snd)
        AssertionFailed("!convertIt || type != Sound::snd", PW_HERE);
    if (!convertIt) {
        if (data.Size() == 0)
            return;
        data.Lock();
        target.Write(data.Ptr(), data.Size());
        data.Unlock();
        return;
    }
    MemoryStream source(data);
    AudioFileConverter converter(pw::graphics::AudioFile::kLittleEndian, data.Size());
    CheckCall(converter.Convert(source, target) == 1, PW_HERE);
}

bool Sound::ToggleLoop(bool toggle)
{
    if (toggle)
        flags ^= kLoop;
    return flags & kLoop;
}

uint32_t Sound::PlayableSize() const
{
    return PlayableSizeOf(data);
}

// A sound no handle holds (on the stack, a member) would be deleted by the channel's handle when
// the channel goes; such a sound plays a copy of itself.
void Sound::Play(bool flag)
{
    SmartPtr<Sound> self(Unreferenced() ? new Sound(*this) : this);
    SmartPtr<SoundChannel> channel(new SoundChannel(self));
    SoundChannel::SetCurrent(channel);
    channel->Start(flag);
}

void Sound::PlayFrom(const SmartPtr<Sound>& sound)
{
    if (sound.Valid())
        sound->Play(true);
}

void Sound::StopSound()
{
    SmartPtr<SoundChannel> current = SoundChannel::GetCurrent();
    SoundChannel::SetCurrent(nullptr);
    if (current.Valid())
        current->Stop();
}

// Every chore stays suspended while the dialog runs; the recorder is shut down and the chores
// resumed however the dialog ends, an exception included.
SmartPtr<Sound> Sound::Record(App& app)
{
    PauseAllChores();
    struct Restore {
        ~Restore()
        {
            WaveShutdown();
            ResumeAllChores();
        }
    } restore;
    CheckNotNull(reinterpret_cast<const void*>(recordingDialogRunner), PW_HERE);
    return recordingDialogRunner(app);
}

void Sound::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteByte(static_cast<char>(flags & kLoop));
    stream.WriteByte(static_cast<char>(GetType()));
    WriteBlock(data, stream);
}

uint32_t Sound::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + data.Size();
}
