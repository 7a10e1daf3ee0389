#include "graphics/DDBitMap.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/ColorTable.h"

PW_DEFINE_CLASS(DDBitMap, &pw::foundation::CreateFunction<DDBitMap>, nullptr, OSBitMap)
PW_DEFINE_COPY_SLOTS(DDBitMap)

DDBitMap::DDBitMap(const DDBitMap& other)
    : Smart()
    , OSBitMap(other)
{
    if (!other.IsInitialized())
        return;
    CreateHandle();
    CopyPixelsFrom(other);
    CheckValid();
}

DDBitMap& DDBitMap::operator=(const DDBitMap& other)
{
    if (this == &other)
        return *this;
    Clear();
    cachedBits.reset();
    caching = false;
    OSBitMap::operator=(other);
    if (other.IsInitialized()) {
        CreateHandle();
        CopyPixelsFrom(other);
        CheckValid();
    }
    return *this;
}

DDBitMap::~DDBitMap() = default;

void DDBitMap::CreateHandle()
{
    Point size = GetSize();
    HBITMAP bitmap = CreateBitmap(size.h, size.v, 1, static_cast<UINT>(GetBitDepth()), nullptr);
    CheckNotNull(bitmap, PW_HERE);
    SetHandle(bitmap);
}

// Everything is put back before a failure is reported.
void DDBitMap::Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination)
{
    CheckNotNull(dc, PW_HERE);
    int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    CheckNonZero(static_cast<uintptr_t>(previousMode), PW_HERE);
    HDC memory = CreateCompatibleDC(dc);
    CheckNotNull(memory, PW_HERE);
    HGDIOBJ previous = SelectObject(memory, GetHandle());
    if (!previous) {
        DeleteDC(memory);
        CheckNotNull(previous, PW_HERE);
    }
    BOOL copied;
    {
        PaletteScope selection(memory, palette);
        Point sourceSize = source.Size();
        Point destinationSize = destination.Size();
        copied = StretchBlt(dc, destination.left, destination.top, destinationSize.h, destinationSize.v, memory,
            source.left, source.top, sourceSize.h, sourceSize.v, SRCCOPY);
        if (GetLastError() == ERROR_INVALID_PARAMETER)
            SetLastError(0);
    }
    SelectObject(memory, previous);
    BOOL deleted = DeleteDC(memory);
    int restored = SetStretchBltMode(dc, previousMode);
    CheckCall(copied != FALSE, PW_HERE);
    CheckCall(deleted != FALSE, PW_HERE);
    CheckNonZero(static_cast<uintptr_t>(restored), PW_HERE);
}

HBRUSH DDBitMap::MakePatternBrush()
{
    HBRUSH brush = CreatePatternBrush(GetHandle());
    CheckNotNull(brush, PW_HERE);
    return brush;
}

HDC DDBitMap::GetDC()
{
    if (oldBitMap)
        AssertionFailed("oldBitMap == NULL", PW_HERE);
    HDC dc = CreateCompatibleDC(nullptr);
    CheckNotNull(dc, PW_HERE);
    HGDIOBJ previous = SelectObject(dc, GetHandle());
    if (!previous) {
        DeleteDC(dc);
        CheckNotNull(previous, PW_HERE);
    }
    oldBitMap = previous;
    if (GetBitDepth() == 8)
        SelectPalette(dc, ColorTable::GetStandardPalette(), FALSE);
    return dc;
}

void DDBitMap::ReleaseDC(HDC dc)
{
    SelectObject(dc, oldBitMap);
    oldBitMap = nullptr;
    CheckCall(DeleteDC(dc) != FALSE, PW_HERE);
}

uint32_t DDBitMap::BytesPerRow(int16_t rowDepth) const
{
    uint64_t bits = static_cast<uint64_t>(GetSize().h) * static_cast<uint64_t>(rowDepth ? rowDepth : GetBitDepth());
    return static_cast<uint32_t>((bits + 15) / 16 * 2);
}

uint8_t* DDBitMap::LockBits(bool& isCopy)
{
    if (!caching)
        return OSBitMap::LockBits(isCopy);
    if (!cachedBits) {
        std::unique_ptr<uint8_t[]> copy(new uint8_t[GetByteSize()]);
        GetBits(copy.get(), GetByteSize());
        cachedBits = std::move(copy);
    }
    isCopy = true;
    return cachedBits.get();
}

void DDBitMap::UnlockBits(bool modified, uint8_t* bits, bool isCopy)
{
    if (!caching) {
        OSBitMap::UnlockBits(modified, bits, isCopy);
        return;
    }
    if (cachedBits.get() != bits)
        AssertionFailed("!caching || cachedBits == bits", PW_HERE);
    if (modified)
        SetBits(bits, GetByteSize());
}

void DDBitMap::SetCaching(bool on)
{
    caching = on;
    if (!on)
        cachedBits.reset();
}

void DDBitMap::SetBits(const void* source, uint32_t bytes)
{
    if (bytes != GetByteSize())
        AssertionFailed("bytes == (long) GetByteSize()", PW_HERE);
    LONG copied = SetBitmapBits(GetHandle(), bytes, source);
    CheckCall(copied == static_cast<LONG>(bytes), PW_HERE);
}

void DDBitMap::GetBits(void* destination, uint32_t bytes) const
{
    if (bytes != GetByteSize())
        AssertionFailed("bytes == (long) GetByteSize()", PW_HERE);
    LONG copied = GetBitmapBits(GetHandle(), static_cast<LONG>(bytes), destination);
    CheckCall(copied == static_cast<LONG>(bytes), PW_HERE);
}

// The DC goes back before a failure is reported, with the error the copy left.
void DDBitMap::DrawParallelogram(HDC dc, OSBitMap* mask, const Rect& source, const Rect& destination)
{
    HDC own = GetDC();
    POINT corners[3] = { { destination.left, destination.top }, { destination.right, destination.top },
        { destination.left, destination.bottom } };
    Point size = source.Size();
    BOOL drawn = PlgBlt(dc, corners, own, source.left, source.top, size.h, size.v, mask ? mask->GetHandle() : nullptr,
        source.left, source.top);
    DWORD error = drawn ? NO_ERROR : GetLastError();
    ReleaseDC(own);
    SetLastError(error);
    CheckCall(drawn != FALSE, PW_HERE);
}
