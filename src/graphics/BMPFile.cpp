#include "graphics/BMPFile.h"

#include "foundation/Exception.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Stream.h"
#include "graphics/BitMap.h"

namespace {

const FileType bmpFileType("BitMap File", 0, pw::foundation::FourCharCode("bmp "));

} // namespace

PW_DEFINE_CLASS(BMPFile, nullptr, nullptr, Scribe, SmartImplementation)
PW_DEFINE_COPY_SLOTS(BMPFile)

const FileType& BMPFile::GetFileType()
{
    return bmpFileType;
}

BMPFile::BMPFile(const SmartPtr<Stream>& file)
    : file(file)
{
}

void BMPFile::Write(const SmartPtr<Smart>&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

SmartPtr<Smart> BMPFile::Read()
{
    return SmartPtr<Smart>(new BitMap(*file.operator->(), false, 0));
}

bool BMPFile::CanWrite()
{
    return file->IsWritable();
}

bool BMPFile::Accepts(const ClassInfo* record)
{
    return record && record->IsKindOf(&BitMap::classInfo);
}
