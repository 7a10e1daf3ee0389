#include "graphics/DIBitMap.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"

#include <cstring>

PW_DEFINE_CLASS(DIBitMap, &pw::foundation::CreateFunction<DIBitMap>, nullptr, OSBitMap)
PW_DEFINE_COPY_SLOTS(DIBitMap)

DIBitMap::DIBitMap(const DIBitMap& other)
    : Smart()
    , OSBitMap(other)
{
    if (!other.IsInitialized())
        return;
    CreateHandle();
    std::memcpy(bits.get(), other.bits.get(), GetByteSize());
    CheckValid();
}

DIBitMap& DIBitMap::operator=(const DIBitMap& other)
{
    if (this == &other)
        return *this;
    Clear();
    bits.reset();
    OSBitMap::operator=(other);
    if (other.IsInitialized()) {
        CreateHandle();
        std::memcpy(bits.get(), other.bits.get(), GetByteSize());
        CheckValid();
    }
    return *this;
}

void DIBitMap::CreateHandle()
{
    bits.reset(new uint8_t[GetByteSize()]());
    HBITMAP placeholder = CreateBitmap(1, 1, 1, 1, nullptr);
    CheckNotNull(placeholder, PW_HERE);
    SetHandle(placeholder);
}

void DIBitMap::CheckValid() const
{
    OSBitMap::CheckValid();
    CheckNotNull(bits.get(), PW_HERE);
}

// Source rows are counted from the bottom line, as for every bottom-up DIB.
void DIBitMap::Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination)
{
    CheckNotNull(dc, PW_HERE);
    PaletteScope selection(dc, palette);
    Point sourceSize = source.Size();
    Point destinationSize = destination.Size();
    StretchDIBits(dc, destination.left, destination.top, destinationSize.h, destinationSize.v, source.left,
        GetSize().v - source.bottom, sourceSize.h, sourceSize.v, bits.get(), GetHeader(), DIB_RGB_COLORS, SRCCOPY);
}

void DIBitMap::CopyTransparent(OSBitMap&, const Rect&, const Rect&, uint32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

// The device bitmap exists only while the brush copies it.
HBRUSH DIBitMap::MakePatternBrush()
{
    HDC screen = ::GetDC(nullptr);
    CheckNotNull(screen, PW_HERE);
    HBITMAP device = CreateDIBitmap(screen, &GetHeader()->bmiHeader, CBM_INIT, bits.get(), GetHeader(), DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    CheckNotNull(device, PW_HERE);
    HBRUSH brush = CreatePatternBrush(device);
    DeleteObject(device);
    CheckNotNull(brush, PW_HERE);
    return brush;
}

HDC DIBitMap::GetDC()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

void DIBitMap::ReleaseDC(HDC)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

uint8_t* DIBitMap::LockBits(bool& isCopy)
{
    isCopy = false;
    return bits.get();
}

void DIBitMap::SetBits(const void* source, uint32_t bytes)
{
    if (bytes != GetByteSize())
        AssertionFailed("size == (long) GetByteSize()", PW_HERE);
    std::memcpy(bits.get(), source, bytes);
}

void DIBitMap::GetBits(void* destination, uint32_t bytes) const
{
    if (bytes < GetByteSize())
        AssertionFailed("size >= (long) GetByteSize()", PW_HERE);
    std::memcpy(destination, bits.get(), GetByteSize());
}
