#include "graphics/ImageChannel.h"

PW_DEFINE_CLASS(ImageChannel, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(ImageChannel)

ImageChannel::ImageChannel(const SmartPtr<DisplayDevice>& target)
    : target(target)
{
}

ImageChannel::~ImageChannel() = default;
