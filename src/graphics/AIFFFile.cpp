#include "graphics/AIFFFile.h"

#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Stream.h"
#include "graphics/Sound.h"

namespace {

const FileType fileType("AIFF Sound", pw::foundation::FourCharCode("AIFF"), pw::foundation::FourCharCode("IFF "));

} // namespace

PW_DEFINE_CLASS(AIFFFile, nullptr, nullptr, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(AIFFFile)

const FileType& AIFFFile::GetFileType()
{
    return fileType;
}

AIFFFile::AIFFFile(const SmartPtr<Stream>& file)
    : file(file)
{
}

// A longer file written before keeps no stale bytes after the sound.
void AIFFFile::Write(const SmartPtr<Smart>& object)
{
    Sound* sound = SmartCast<Sound>(object.Get());
    if (!sound)
        return;
    file->Seek(0, Stream::kFromStart);
    sound->Export(*file.Get(), Sound::aiff);
    file->SetLength(file->GetMark());
}

SmartPtr<Smart> AIFFFile::Read()
{
    return SmartPtr<Smart>(new Sound(*file.operator->(), Sound::aiff, false));
}

bool AIFFFile::CanWrite()
{
    return file->IsWritable();
}

bool AIFFFile::Accepts(const ClassInfo* record)
{
    return Sound::classInfo.IsKindOf(record);
}
