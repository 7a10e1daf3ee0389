#include "graphics/Image.h"

#include "foundation/ArchiveScope.h"
#include "graphics/Area.h"

PW_DEFINE_CLASS(Image, nullptr, nullptr, Persistent)
PW_DEFINE_NO_COPY_SLOTS(Image)

constinit const PersistentVersion Image::version { &Image::classInfo, Fixed(0, 0), Fixed(1, 0), nullptr };

Image::Image(const Image& other)
    : Smart()
    , Persistent(other)
{
}

Image& Image::operator=(const Image& other)
{
    Persistent::operator=(other);
    return *this;
}

void Image::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
}

SmartPtr<Area> Image::GetArea()
{
    return SmartPtr<Area>(new Area(GetBounds()));
}

SmartPtr<Area> Image::GetUpdateArea()
{
    return SmartPtr<Area>(new Area);
}

void Image::AddChannel(ImageChannel* channel)
{
    channels.Append(channel);
}

void Image::RemoveChannel(ImageChannel* channel)
{
    uint32_t index = channels.IndexOf(channel);
    if (index != 0)
        channels.DeleteItems(index, 1);
}
