#include "platform/gdi/DibFormat.h"

#include "platform/gdi/Bitmap.h"

namespace pw::platform::gdi {

std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* info)
{
    if (!info)
        return std::nullopt;
    const BITMAPINFOHEADER& header = info->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biCompression != BI_RGB || header.biWidth <= 0
        || header.biHeight == 0 || header.biHeight == INT32_MIN || !Bitmap::IsSupportedDepth(header.biBitCount))
        return std::nullopt;
    DibFormat format;
    format.width = header.biWidth;
    format.height = header.biHeight < 0 ? -header.biHeight : header.biHeight;
    format.depth = header.biBitCount;
    format.topDown = header.biHeight < 0;
    format.rowBytes = RowBytes(format.width, format.depth, 4);
    if (format.rowBytes > Bitmap::kMaxBytes / static_cast<size_t>(format.height))
        return std::nullopt;
    size_t colors = 0;
    if (format.depth <= 8) {
        size_t most = size_t(1) << format.depth;
        colors = header.biClrUsed == 0 || header.biClrUsed > most ? most : header.biClrUsed;
    }
    const auto* entries = reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const uint8_t*>(info) + header.biSize);
    format.table = std::span<const RGBQUAD>(entries, colors);
    format.headerBytes = header.biSize + colors * sizeof(RGBQUAD);
    return format;
}

Surface DibFormat::Over(const void* bits) const
{
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.depth = depth;
    surface.table = table;
    auto* base = static_cast<uint8_t*>(const_cast<void*>(bits));
    ptrdiff_t stride = static_cast<ptrdiff_t>(rowBytes);
    if (topDown) {
        surface.top = base;
        surface.stride = stride;
    } else {
        surface.top = base + stride * (height - 1);
        surface.stride = -stride;
    }
    return surface;
}

} // namespace pw::platform::gdi
