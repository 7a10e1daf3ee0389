#include "graphics/PICTFile.h"

#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Stream.h"
#include "graphics/BitMap.h"
#include "graphics/Picture.h"

namespace {

const FileType pictFileType("PICT Picture", pw::foundation::FourCharCode("PICT"), 0);

} // namespace

PW_DEFINE_CLASS(PICTFile, nullptr, nullptr, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(PICTFile)

const FileType& PICTFile::GetFileType()
{
    return pictFileType;
}

PICTFile::PICTFile(const SmartPtr<Stream>& stream)
    : stream(stream)
{
}

// Reading is all this scribe does, so a picture on a disk that cannot be written still opens.
PICTFile::PICTFile(FileReference& file)
    : stream(new File(file, File::kRead))
{
}

void PICTFile::Write(const SmartPtr<Smart>& object)
{
    if (SmartCast<Picture>(object.Get()))
        Exception::Warn(kNotImplemented, PW_HERE);
}

SmartPtr<Smart> PICTFile::Read()
{
    SmartPtr<Picture> picture = new Picture(*stream.Get());
    return SmartPtr<Smart>(BitMap::RenderImage(*picture.Get()).Get());
}

bool PICTFile::CanWrite()
{
    return stream->IsWritable();
}

bool PICTFile::Accepts(const ClassInfo* record)
{
    return record && record->IsKindOf(&BitMap::classInfo);
}

SmartPtr<Smart> PICTFile::MakePreview(int32_t width, int32_t height)
{
    SmartPtr<Picture> picture = new Picture(*stream.Get());
    return SmartPtr<Smart>(BitMap::RenderImage(*picture.Get(), width, height).Get());
}
