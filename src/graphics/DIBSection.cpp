#include "graphics/DIBSection.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"

#include <cstring>
#include <vector>

namespace {

// The screen DC for the span of one creation; given back however the creation ends.
class ScreenDC {
public:
    ScreenDC()
        : dc(::GetDC(nullptr))
    {
        CheckNotNull(dc, PW_HERE);
    }
    ~ScreenDC()
    {
        if (dc)
            ::ReleaseDC(nullptr, dc);
    }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;

    HDC Get() const { return dc; }
    // Gives the DC back now, reporting a failure.
    void Release()
    {
        int released = ::ReleaseDC(nullptr, dc);
        dc = nullptr;
        CheckCall(released != 0, PW_HERE);
    }

private:
    HDC dc;
};

} // namespace

PW_DEFINE_CLASS(DIBSection, &pw::foundation::CreateFunction<DIBSection>, nullptr, OSBitMap)
PW_DEFINE_COPY_SLOTS(DIBSection)

DIBSection::DIBSection(const DIBSection& other)
    : Smart()
    , OSBitMap(other)
{
    if (!other.IsInitialized())
        return;
    CreateHandle();
    std::memcpy(bits, other.bits, GetByteSize());
    CheckValid();
}

DIBSection& DIBSection::operator=(const DIBSection& other)
{
    if (this == &other)
        return *this;
    ReleaseSection();
    OSBitMap::operator=(other);
    if (other.IsInitialized()) {
        CreateHandle();
        std::memcpy(bits, other.bits, GetByteSize());
        CheckValid();
    }
    return *this;
}

DIBSection::~DIBSection()
{
    ReleaseSection();
}

void DIBSection::ReleaseSection() noexcept
{
    if (memoryDC) {
        SelectObject(memoryDC, previousBitMap);
        Verify(DeleteDC(memoryDC) != FALSE, "DeleteDC(memDC)", PW_HERE);
    }
    memoryDC = nullptr;
    previousBitMap = nullptr;
    bits = nullptr;
    DeleteHandle();
}

void DIBSection::CreateHandle()
{
    ScreenDC screen;
    void* sectionBits = nullptr;
    HBITMAP section = CreateDIBSection(screen.Get(), GetHeader(), DIB_RGB_COLORS, &sectionBits, nullptr, 0);
    CheckNotNull(section, PW_HERE);
    SetHandle(section);
    bits = static_cast<uint8_t*>(sectionBits);
    CheckNotNull(bits, PW_HERE);
    HDC dc = CreateCompatibleDC(screen.Get());
    CheckNotNull(dc, PW_HERE);
    HGDIOBJ previous = SelectObject(dc, section);
    if (!previous) {
        DeleteDC(dc);
        CheckNotNull(previous, PW_HERE);
    }
    memoryDC = dc;
    previousBitMap = previous;
    screen.Release();
}

void DIBSection::CheckValid() const
{
    OSBitMap::CheckValid();
    CheckNotNull(bits, PW_HERE);
    CheckNotNull(memoryDC, PW_HERE);
}

// Source rows are counted from the section's bottom line, as for every bottom-up DIB.
void DIBSection::Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination)
{
    CheckNotNull(dc, PW_HERE);
    PaletteScope selection(dc, palette);
    Point sourceSize = source.Size();
    Point destinationSize = destination.Size();
    StretchDIBits(dc, destination.left, destination.top, destinationSize.h, destinationSize.v, source.left,
        GetSize().v - source.bottom, sourceSize.h, sourceSize.v, bits, GetHeader(), DIB_RGB_COLORS, SRCCOPY);
}

// A packed DIB: the header, the colours of depths up to 8, then the pixels.
HBRUSH DIBSection::MakePatternBrush()
{
    uint32_t colorBytes = GetBitDepth() <= 8 ? NumColors() * sizeof(RGBQUAD) : 0;
    uint32_t headerBytes = sizeof(BITMAPINFOHEADER) + colorBytes;
    std::vector<uint8_t> packed(headerBytes + GetByteSize());
    std::memcpy(packed.data(), GetHeader(), headerBytes);
    std::memcpy(packed.data() + headerBytes, bits, GetByteSize());
    HBRUSH brush = CreateDIBPatternBrushPt(packed.data(), DIB_RGB_COLORS);
    CheckNotNull(brush, PW_HERE);
    return brush;
}

uint8_t* DIBSection::LockBits(bool& isCopy)
{
    isCopy = false;
    return bits;
}

void DIBSection::ChangePalette(HPALETTE palette, uint8_t* pixels)
{
    std::vector<uint8_t> remapped(pixels, pixels + GetByteSize());
    OSBitMap::ChangePalette(palette, remapped.data());
    ReleaseSection();
    CreateHandle();
    std::memcpy(bits, remapped.data(), remapped.size());
    CheckValid();
}

void DIBSection::SetBits(const void* source, uint32_t bytes)
{
    if (bytes > GetByteSize())
        AssertionFailed("(unsigned long)size <= GetByteSize()", PW_HERE);
    std::memcpy(bits, source, bytes);
}

void DIBSection::GetBits(void* destination, uint32_t bytes) const
{
    if (bytes < GetByteSize())
        AssertionFailed("(unsigned long)size >= GetByteSize()", PW_HERE);
    std::memcpy(destination, bits, GetByteSize());
}

void DIBSection::WriteBits(Stream& stream) const
{
    stream.Write(bits, GetByteSize());
}

void DIBSection::ReadBits(uint32_t bytes, Stream& stream)
{
    if (bytes > GetByteSize())
        AssertionFailed("bytes <= GetByteSize()", PW_HERE);
    stream.Read(bits, bytes);
}
