#include "platform/user/clipboard/PackedDib.h"

#include "platform/kernel/LastError.h"

#include <cstring>

namespace pw::platform {

namespace {

constexpr uint64_t kMaxPixels = uint64_t { 1 } << 26;

} // namespace

std::optional<PackedDibLayout> ParsePackedDib(const void* data, size_t size)
{
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return std::nullopt;
    BITMAPINFOHEADER header;
    std::memcpy(&header, data, sizeof header);
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 || header.biCompression != BI_RGB)
        return std::nullopt;
    int depth = header.biBitCount;
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32)
        return std::nullopt;
    if (header.biWidth <= 0 || header.biHeight == 0 || header.biHeight == INT32_MIN)
        return std::nullopt;
    uint64_t width = static_cast<uint64_t>(header.biWidth);
    uint64_t rows = static_cast<uint64_t>(header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight);
    if (width * rows > kMaxPixels)
        return std::nullopt;
    uint64_t colors = header.biClrUsed;
    if (depth <= 8) {
        uint64_t most = uint64_t { 1 } << depth;
        if (colors == 0)
            colors = most;
        if (colors > most)
            return std::nullopt;
    } else if (colors > 256) {
        return std::nullopt;
    }
    uint64_t rowBytes = (width * static_cast<uint64_t>(depth) + 31) / 32 * 4;
    uint64_t bitsOffset = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD);
    uint64_t imageBytes = rowBytes * rows;
    if (bitsOffset + imageBytes > size)
        return std::nullopt;
    PackedDibLayout layout;
    layout.width = header.biWidth;
    layout.height = header.biHeight;
    layout.depth = depth;
    layout.colors = static_cast<uint32_t>(colors);
    layout.bitsOffset = static_cast<size_t>(bitsOffset);
    layout.imageBytes = static_cast<size_t>(imageBytes);
    return layout;
}

HGLOBAL PackedDibFromBitmap(HBITMAP bitmap)
{
    LastErrorKeeper keeper;
    BITMAP info {};
    if (GetObjectA(bitmap, sizeof info, &info) == 0 || info.bmWidth <= 0 || info.bmHeight <= 0)
        return nullptr;
    int depth = info.bmBitsPixel == 16 ? 24 : info.bmBitsPixel;
    size_t colors = depth <= 8 ? size_t { 1 } << depth : 0;
    size_t rowBytes = (static_cast<size_t>(info.bmWidth) * static_cast<size_t>(depth) + 31) / 32 * 4;
    size_t bitsOffset = sizeof(BITMAPINFOHEADER) + colors * sizeof(RGBQUAD);
    size_t total = bitsOffset + rowBytes * static_cast<size_t>(info.bmHeight);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
    if (!block)
        return nullptr;
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    BITMAPINFOHEADER header {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = info.bmWidth;
    header.biHeight = info.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(depth);
    header.biCompression = BI_RGB;
    std::memcpy(bytes, &header, sizeof header);
    HDC screen = GetDC(nullptr);
    int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), bytes + bitsOffset,
        reinterpret_cast<BITMAPINFO*>(bytes), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    GlobalUnlock(block);
    if (lines != info.bmHeight) {
        GlobalFree(block);
        return nullptr;
    }
    return block;
}

HBITMAP BitmapFromPackedDib(HGLOBAL block)
{
    LastErrorKeeper keeper;
    SIZE_T size = GlobalSize(block);
    const void* bytes = GlobalLock(block);
    if (!bytes)
        return nullptr;
    HBITMAP bitmap = nullptr;
    if (std::optional<PackedDibLayout> layout = ParsePackedDib(bytes, size)) {
        const auto* info = static_cast<const BITMAPINFO*>(bytes);
        HDC screen = GetDC(nullptr);
        bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, static_cast<const uint8_t*>(bytes) + layout->bitsOffset,
            info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
    }
    GlobalUnlock(block);
    return bitmap;
}

} // namespace pw::platform
