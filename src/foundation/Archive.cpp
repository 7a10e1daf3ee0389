#include "foundation/Archive.h"

#include "foundation/Stream.h"

PW_DEFINE_CLASS(Archive, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Archive)

Archive& Archive::WriteObject(Persistent* object)
{
    return WriteLong(static_cast<int32_t>(IdOf(object)));
}

Archive& Archive::WriteLong(int32_t value)
{
    GetStream().WriteLong(value);
    return *this;
}

Persistent* Archive::ReadObject()
{
    return ObjectFor(static_cast<uint32_t>(ReadLong()));
}

int32_t Archive::ReadLong()
{
    return GetStream().ReadLong();
}

uint32_t Archive::GetMark()
{
    return GetStream().GetMark();
}
