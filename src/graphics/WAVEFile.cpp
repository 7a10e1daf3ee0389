#include "graphics/WAVEFile.h"

#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Stream.h"
#include "graphics/Sound.h"

namespace {

const FileType fileType("Sound file", pw::foundation::FourCharCode("WAVE"), pw::foundation::FourCharCode("wav "));

} // namespace

PW_DEFINE_CLASS(WAVEFile, nullptr, nullptr, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(WAVEFile)

const FileType& WAVEFile::GetFileType()
{
    return fileType;
}

WAVEFile::WAVEFile(const SmartPtr<Stream>& file)
    : file(file)
{
}

// A longer file written before keeps no stale bytes after the sound.
void WAVEFile::Write(const SmartPtr<Smart>& object)
{
    Sound* sound = SmartCast<Sound>(object.Get());
    if (!sound)
        return;
    file->Seek(0, Stream::kFromStart);
    sound->Export(*file.Get(), Sound::wave);
    file->SetLength(file->GetMark());
}

SmartPtr<Smart> WAVEFile::Read()
{
    return SmartPtr<Smart>(new Sound(*file.operator->(), Sound::wave, false));
}

bool WAVEFile::CanWrite()
{
    return file->IsWritable();
}

bool WAVEFile::Accepts(const ClassInfo* record)
{
    return Sound::classInfo.IsKindOf(record);
}
