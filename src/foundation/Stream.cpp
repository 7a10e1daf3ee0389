#include "foundation/Stream.h"

#include "foundation/BitBucket.h"
#include "foundation/Exception.h"


PW_DEFINE_CLASS(Stream, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Stream)

uint32_t Stream::SwapLong(uint32_t value) const
{
    if (!swap)
        return value;
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

uint16_t Stream::SwapShort(uint16_t value) const
{
    if (!swap)
        return value;
    return static_cast<uint16_t>((value >> 8) | (value << 8));
}

// The stored order is little-endian; bytes are assembled explicitly so the host order never leaks.
Stream& Stream::WriteByte(char value)
{
    Write(&value, 1);
    return *this;
}

char Stream::ReadByte()
{
    char value = 0;
    Read(&value, 1);
    return value;
}

Stream& Stream::WriteBool(bool value)
{
    return WriteByte(value ? 1 : 0);
}

uint8_t Stream::ReadBool()
{
    return static_cast<uint8_t>(ReadByte());
}

Stream& Stream::WriteShort(int16_t value)
{
    uint16_t bits = SwapShort(static_cast<uint16_t>(value));
    unsigned char bytes[2] = { static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8) };
    Write(bytes, 2);
    return *this;
}

int16_t Stream::ReadShort()
{
    unsigned char bytes[2] = {};
    Read(bytes, 2);
    return static_cast<int16_t>(SwapShort(static_cast<uint16_t>(bytes[0] | (bytes[1] << 8))));
}

Stream& Stream::WriteLong(int32_t value)
{
    uint32_t bits = SwapLong(static_cast<uint32_t>(value));
    unsigned char bytes[4] = { static_cast<unsigned char>(bits), static_cast<unsigned char>(bits >> 8),
        static_cast<unsigned char>(bits >> 16), static_cast<unsigned char>(bits >> 24) };
    Write(bytes, 4);
    return *this;
}

int32_t Stream::ReadLong()
{
    unsigned char bytes[4] = {};
    Read(bytes, 4);
    uint32_t bits = bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    return static_cast<int32_t>(SwapLong(bits));
}

Stream& Stream::WritePoint(int32_t h, int32_t v)
{
    return WriteLong(h).WriteLong(v);
}

Point Stream::ReadPoint()
{
    Point point;
    point.h = ReadLong();
    point.v = ReadLong();
    return point;
}

Stream& Stream::WriteRect(int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return WriteLong(left).WriteLong(top).WriteLong(right).WriteLong(bottom);
}

Rect Stream::ReadRect()
{
    Rect rect;
    rect.left = ReadLong();
    rect.top = ReadLong();
    rect.right = ReadLong();
    rect.bottom = ReadLong();
    return rect;
}

Stream& Stream::WriteDouble(double value)
{
    Write(&value, sizeof value);
    return *this;
}

double Stream::ReadDouble()
{
    double value = 0;
    Read(&value, sizeof value);
    return value;
}

bool Stream::AtEnd()
{
    return !(GetLength() > GetMark());
}

void Stream::CheckAvailable(uint64_t bytes)
{
    uint32_t mark = GetMark();
    uint32_t length = GetLength();
    uint64_t left = length > mark ? length - mark : 0;
    if (bytes <= left)
        return;
    char text[kMessageSize];
    ComposeMessage(text, 63, nullptr, nullptr, nullptr, nullptr);
    ThrowError(text, PW_HERE);
}

Stream& pw::foundation::NullStream()
{
    static BitBucket* stream = [] {
        auto* bucket = new BitBucket;
        Pin(*bucket);
        return bucket;
    }();
    return *stream;
}
