#include "graphics/OSBitMap.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/DDBitMap.h"
#include "graphics/DIBSection.h"
#include "graphics/DIBitMap.h"
#include "graphics/PlatformConversions.h"
#include "graphics/WinVersion.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

// Rows of `width` pixels of `depth` bits padded to `alignBits`, in bytes.
uint64_t PaddedRow(int32_t width, int16_t depth, int alignBits)
{
    uint64_t bits = static_cast<uint64_t>(width) * static_cast<uint64_t>(depth);
    return (bits + alignBits - 1) / alignBits * (alignBits / 8);
}

// Frees a copy made by LockBits when the write-back throws.
struct CopyHolder {
    uint8_t* bits;
    ~CopyHolder() { delete[] bits; }
};

} // namespace

PW_DEFINE_CLASS(OSBitMap, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(OSBitMap)

OSBitMap::OSBitMap(const OSBitMap& other)
    : Smart()
    , SmartImplementation(other)
    , size(other.size)
    , depth(other.depth)
{
    if (other.header) {
        header = MakeHeader(size.h, size.v, depth);
        std::memcpy(header.get(), other.header.get(), kHeaderBytes);
    }
}

OSBitMap& OSBitMap::operator=(const OSBitMap& other)
{
    if (this == &other)
        return *this;
    size = other.size;
    depth = other.depth;
    header.reset();
    if (other.header) {
        header = MakeHeader(size.h, size.v, depth);
        std::memcpy(header.get(), other.header.get(), kHeaderBytes);
    }
    return *this;
}

// A handle that failed to come into being is not reported again here; a failed delete is shown
// without throwing.
OSBitMap::~OSBitMap()
{
    DeleteHandle();
}

void OSBitMap::DeleteHandle() noexcept
{
    if (handle && handle != reinterpret_cast<HBITMAP>(INVALID_HANDLE_VALUE))
        Verify(DeleteObject(handle) != FALSE, "DeleteObject(bitMap)", PW_HERE);
    handle = nullptr;
}

void OSBitMap::Clear() noexcept
{
    DeleteHandle();
    header.reset();
    size = Point(0, 0);
    depth = 0;
}

void OSBitMap::DrawAny(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination, uint32_t)
{
    Draw(dc, palette, source, destination);
}

uint32_t OSBitMap::BytesPerRow(int16_t rowDepth) const
{
    return static_cast<uint32_t>(PaddedRow(size.h, rowDepth ? rowDepth : depth, 32));
}

uint32_t OSBitMap::GetByteSize(int16_t rowDepth) const
{
    return static_cast<uint32_t>(size.v) * BytesPerRow(rowDepth);
}

size_t OSBitMap::RowOffset(int32_t row) const
{
    int32_t memoryRow = RowsTopDown() ? row : size.v - 1 - row;
    return static_cast<size_t>(memoryRow) * BytesPerRow();
}

void OSBitMap::InitFromHBITMAP(HBITMAP bitmap, HPALETTE palette, int16_t pixelDepth)
{
    if (IsInitialized())
        AssertionFailed("!IsInitialized()", PW_HERE);
    BITMAP description {};
    CheckNonZero(static_cast<uintptr_t>(GetObjectA(bitmap, sizeof(description), &description)), PW_HERE);
    CheckNonZero(static_cast<uintptr_t>(description.bmWidth), PW_HERE);
    CheckNonZero(static_cast<uintptr_t>(description.bmHeight), PW_HERE);
    Initialize(description.bmWidth, description.bmHeight,
        pixelDepth ? pixelDepth : static_cast<int16_t>(description.bmBitsPixel), palette);

    uint32_t bytes = GetByteSize();
    std::vector<uint8_t> pixels(bytes);
    if (IsWin31Only()) {
        LONG read = GetBitmapBits(bitmap, static_cast<LONG>(bytes), pixels.data());
        CheckCall(read == static_cast<LONG>(bytes), PW_HERE);
    } else {
        // GetDIBits writes the colour table after the header, so it gets a whole header block.
        std::unique_ptr<uint8_t[]> request = MakeHeader(size.h, size.v, depth);
        std::memcpy(request.get(), header.get(), kHeaderBytes);
        HDC screen = ::GetDC(nullptr);
        CheckNotNull(screen, PW_HERE);
        int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(size.v), pixels.data(),
            reinterpret_cast<BITMAPINFO*>(request.get()), DIB_RGB_COLORS);
        ::ReleaseDC(nullptr, screen);
        CheckCall(rows == size.v, PW_HERE);
    }
    SetBits(pixels.data(), bytes);
    CheckValid();
}

void OSBitMap::Initialize(int32_t width, int32_t height, int16_t bitDepth, HPALETTE palette)
{
    if (IsInitialized())
        AssertionFailed("!IsInitialized()", PW_HERE);
    // Sizes are refused before anything is allocated for them.
    CheckCall(bitDepth == 1 || (bitDepth >= 2 && bitDepth <= 32 && bitDepth % 2 == 0), PW_HERE);
    CheckCall(width >= 1 && height >= 1, PW_HERE);
    CheckCall(PaddedRow(width, bitDepth, 32) * static_cast<uint64_t>(height) <= kMaxByteSize, PW_HERE);
    size = Point(width, height);
    depth = bitDepth;
    SetHeader(palette);
    CreateHandle();
    CheckValid();
}

void OSBitMap::Fill(const Color& color)
{
    RECT rect { 0, 0, size.h, size.v };
    HBRUSH brush = CreateSolidBrush(ColorToOSColor(color));
    CheckNotNull(brush, PW_HERE);
    HDC dc = GetDC();
    if (!dc) {
        DeleteObject(brush);
        CheckNotNull(dc, PW_HERE);
    }
    HGDIOBJ previous = SelectObject(dc, handle);
    int filled = FillRect(dc, &rect, brush);
    SelectObject(dc, previous);
    ReleaseDC(dc);
    DeleteObject(brush);
    CheckCall(filled != 0, PW_HERE);
}

uint8_t* OSBitMap::LockBits(bool& isCopy)
{
    uint32_t bytes = GetByteSize();
    CopyHolder copy { new uint8_t[bytes] };
    GetBits(copy.bits, bytes);
    isCopy = true;
    return std::exchange(copy.bits, nullptr);
}

void OSBitMap::UnlockBits(bool modified, uint8_t* bits, bool isCopy)
{
    if (!isCopy)
        return;
    CopyHolder copy { bits };
    if (modified)
        SetBits(bits, GetByteSize());
}

bool OSBitMap::RowsTopDown() const
{
    return false;
}

void OSBitMap::SetCaching(bool)
{
}

uint32_t OSBitMap::IndexOfColor(const Color&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return 0;
}

void OSBitMap::ChangePalette(HPALETTE palette, uint8_t* pixels)
{
    MapDIBToPalette(GetHeader(), palette, pixels, GetByteSize());
    SetHeader(palette);
}

void OSBitMap::CheckValid() const
{
    CheckCall(depth == 1 || (depth > 0 && depth <= 32 && depth % 2 == 0), PW_HERE);
    CheckCall(size.h >= 1 && size.v >= 1, PW_HERE);
    CheckNotNull(handle, PW_HERE);
}

std::unique_ptr<uint8_t[]> OSBitMap::MakeHeader(int32_t width, int32_t height, int16_t bitDepth)
{
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[kHeaderBytes]());
    if (!block)
        ThrowError("Out of memory for DIB header", PW_HERE);
    auto* info = reinterpret_cast<BITMAPINFOHEADER*>(block.get());
    info->biSize = sizeof(BITMAPINFOHEADER);
    info->biWidth = width;
    info->biHeight = height;
    info->biPlanes = 1;
    info->biBitCount = static_cast<WORD>(bitDepth);
    info->biCompression = BI_RGB;
    return block;
}

void OSBitMap::SetHeader(HPALETTE palette)
{
    std::unique_ptr<uint8_t[]> block = MakeHeader(size.h, size.v, depth);
    if (depth < 16 && palette) {
        UINT numColors = 1u << depth;
        if (numColors == 0)
            AssertionFailed("numColors > 0", PW_HERE);
        PALETTEENTRY entries[256] {};
        UINT count = GetPaletteEntries(palette, 0, std::min(numColors, 256u), entries);
        CheckNonZero(count, PW_HERE);
        RGBQUAD* colors = reinterpret_cast<BITMAPINFO*>(block.get())->bmiColors;
        for (UINT index = 0; index < count; ++index)
            colors[index] = RGBQUAD { entries[index].peBlue, entries[index].peGreen, entries[index].peRed, 0 };
    }
    header = std::move(block);
}

void OSBitMap::CopyPixelsFrom(const OSBitMap& other)
{
    uint32_t bytes = GetByteSize();
    std::vector<uint8_t> pixels(bytes);
    other.GetBits(pixels.data(), bytes);
    SetBits(pixels.data(), bytes);
}

OSBitMap::PaletteScope::PaletteScope(HDC dc, HPALETTE palette)
    : dc(dc)
{
    if (!palette)
        return;
    HPALETTE old = SelectPalette(dc, palette, FALSE);
    CheckNotNull(old, PW_HERE);
    previous = old;
    RealizePalette(dc);
}

OSBitMap::PaletteScope::~PaletteScope()
{
    if (previous)
        SelectPalette(dc, previous, FALSE);
}

SmartPtr<OSBitMap> MakeOSBitMap(int16_t depth)
{
    if (!IsWin31Only())
        return SmartPtr<OSBitMap>(new DIBSection);
    if (depth == 8 || depth == 1)
        return SmartPtr<OSBitMap>(new DDBitMap);
    return SmartPtr<OSBitMap>(new DIBitMap);
}

SmartPtr<OSBitMap> NewOSBitMap(HBITMAP bitmap, HPALETTE palette, int16_t depth)
{
    int16_t kindDepth = depth;
    BITMAP description {};
    if (kindDepth == 0 && GetObjectA(bitmap, sizeof(description), &description))
        kindDepth = static_cast<int16_t>(description.bmBitsPixel);
    SmartPtr<OSBitMap> result = MakeOSBitMap(kindDepth);
    result->InitFromHBITMAP(bitmap, palette, depth);
    return result;
}

void MapDIBToPalette(const BITMAPINFO* header, HPALETTE palette, uint8_t* pixels, uint32_t byteCount)
{
    if (!header || !palette || !pixels)
        return;
    const BITMAPINFOHEADER& info = header->bmiHeader;
    uint32_t colors = info.biClrUsed;
    if (colors == 0 && info.biBitCount <= 8)
        colors = 1u << info.biBitCount;
    colors = std::min(colors, 256u);

    // Values without a colour keep their index.
    uint8_t translate[256];
    for (int index = 0; index < 256; ++index)
        translate[index] = static_cast<uint8_t>(index);
    for (uint32_t index = 0; index < colors; ++index) {
        const RGBQUAD& entry = header->bmiColors[index];
        UINT nearest = GetNearestPaletteIndex(palette, RGB(entry.rgbRed, entry.rgbGreen, entry.rgbBlue));
        CheckCall(nearest != CLR_INVALID, PW_HERE);
        translate[index] = static_cast<uint8_t>(nearest);
    }

    if (info.biCompression == BI_RGB) {
        if (info.biBitCount == 8) {
            for (uint32_t at = 0; at < byteCount; ++at)
                pixels[at] = translate[pixels[at]];
        } else if (info.biBitCount == 4) {
            for (uint32_t at = 0; at < byteCount; ++at) {
                uint8_t high = translate[pixels[at] >> 4] & 0x0F;
                uint8_t low = translate[pixels[at] & 0x0F] & 0x0F;
                pixels[at] = static_cast<uint8_t>((high << 4) | low);
            }
        }
        return;
    }
    if (info.biCompression != BI_RLE8)
        return;
    // Pairs of count and index, or 0 and an escape: 0 end of line, 1 end of bitmap, 2 a delta of
    // two bytes, n literal indexes padded to an even length.
    uint32_t at = 0;
    while (at + 1 < byteCount) {
        uint8_t count = pixels[at];
        uint8_t value = pixels[at + 1];
        at += 2;
        if (count != 0) {
            pixels[at - 1] = translate[value];
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            at += 2;
        } else if (value > 2) {
            for (uint32_t literal = 0; literal < value && at < byteCount; ++literal, ++at)
                pixels[at] = translate[pixels[at]];
            at += value & 1;
        }
    }
}
