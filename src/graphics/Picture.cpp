#include "graphics/Picture.h"

#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FourCharCode.h"
#include "foundation/Stream.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"

namespace {

Persistent* ReadPicture(Archive& archive)
{
    ArchiveScope scope(archive, Picture::version);
    return new Picture(scope);
}

constexpr uint32_t kPictType = pw::foundation::FourCharCode("PICT");

} // namespace

PW_DEFINE_CLASS(Picture, nullptr, nullptr, Image, SystemScrap, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Picture)

constinit const PersistentVersion Picture::version { &Picture::classInfo, Fixed(1, 0), Fixed(1, 0), &ReadPicture };

// The length is checked before anything is sized: a stream shorter than the header would
// otherwise ask for a block of nearly 4 GB.
Picture::Picture(Stream& source)
{
    source.Seek(0, Stream::kFromStart);
    uint32_t length = source.GetLength();
    if (length < kHeaderSize)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    source.Seek(static_cast<int32_t>(kHeaderSize), Stream::kFromStart);
    data.SetSize(length - kHeaderSize);
    if (!data.Ptr())
        AssertionFailed("macPicture", PW_HERE);
    source.Read(data.Ptr(), data.Size());
    if (auto* file = SmartCast<File>(&source))
        file->Flush();
    bounds = DisplayPort::PictureBounds(&depth);
}

Picture::Picture(ArchiveScope&)
    : depth(ScreenDepth())
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

Picture::Picture(const Picture& other)
    : Smart()
    , Image(other)
    , SystemScrap(other)
    , SmartImplementation(other)
    , bounds(other.bounds)
    , data(other.data)
    , depth(other.depth)
{
}

Picture& Picture::operator=(const Picture& other)
{
    if (this == &other)
        return *this;
    Image::operator=(other);
    bounds = other.bounds;
    data = other.data;
    depth = other.depth;
    return *this;
}

void Picture::Write(Archive&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void Picture::Draw(DisplayPort& port, int)
{
    port.DrawPictureData(data.Ptr(), bounds);
}

SmartPtr<ColorTable> Picture::GetColorTable()
{
    return ColorTable::Setup(static_cast<int16_t>(depth));
}

ScrapTypeList Picture::GetTypes()
{
    ScrapTypeList types;
    types.Append(kPictType);
    return types;
}

Memory& Picture::GetData(uint32_t)
{
    return data;
}

uint32_t Picture::GetObjectSize()
{
    return SmartImplementation::GetObjectSize() + data.Size();
}
