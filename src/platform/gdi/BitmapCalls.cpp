// Bitmaps, DIBs and the blits between them.
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/Blitter.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Screen.h"
#include "platform/kernel/LastError.h"

#include <algorithm>
#include <cstring>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

HBITMAP AddBitmap(std::unique_ptr<Bitmap> bitmap)
{
    return bitmap ? static_cast<HBITMAP>(ObjectTable::Add(std::move(bitmap)))
                  : Fail(ERROR_NOT_ENOUGH_MEMORY, HBITMAP(nullptr));
}

// A bitmap whose pixels match what the DC draws on: the screen's 8-bit values, or the format of
// the bitmap a memory DC holds.
std::unique_ptr<Bitmap> MakeCompatible(const DeviceContext* dc, int width, int height)
{
    Bitmap* selected = dc ? dc->SelectedBitmap() : nullptr;
    if (!dc || (dc->type == DeviceContext::Type::Memory && selected && selected->depth == 1 && selected->IsStock()))
        return Bitmap::MakeDdb(width, height, 1);
    if (selected && selected->type == Bitmap::Type::DibSection)
        return Bitmap::Make(Bitmap::Type::DibSection, width, height, selected->depth, false, selected->table);
    return Bitmap::MakeDdb(width, height, selected ? selected->depth : 8);
}

// The colour table GetDIBits writes for a depth: the bitmap's own when it has one of that depth,
// else black and white, the 16 static VGA colours, or the system palette.
std::vector<RGBQUAD> TableFor(const Surface& source, int depth)
{
    size_t count = size_t(1) << depth;
    std::vector<RGBQUAD> table;
    if (source.IsIndexed() && source.depth == depth) {
        table.assign(source.table.begin(), source.table.end());
    } else if (depth == 1) {
        table = { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } };
    } else if (depth == 4) {
        auto statics = Screen::StaticColors();
        table.assign(statics.begin(), statics.begin() + 8);
        table.insert(table.end(), statics.end() - 8, statics.end());
    } else {
        auto system = Screen::SystemPalette();
        table.assign(system.begin(), system.end());
    }
    table.resize(count, RGBQUAD {});
    return table;
}

// Copies a bitmap's rows to or from the DDB layout: top-down, padded to 2 bytes (every stored row
// is at least that long).
LONG CopyDdbBits(Bitmap& bitmap, uint8_t* buffer, size_t bytes, bool toBitmap)
{
    Surface surface = bitmap.GetSurface();
    size_t row = RowBytes(bitmap.width, bitmap.depth, 2);
    size_t total = std::min(bytes, row * static_cast<size_t>(bitmap.height));
    for (size_t offset = 0, y = 0; offset < total; offset += row, ++y) {
        size_t n = std::min(row, total - offset);
        uint8_t* line = surface.Row(static_cast<int>(y));
        if (toBitmap)
            std::memcpy(line, buffer + offset, n);
        else
            std::memcpy(buffer + offset, line, n);
    }
    return static_cast<LONG>(total);
}

BOOL Blit(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc, int wSrc, int hSrc,
          DWORD rop)
{
    DeviceContext* dest = ObjectTable::Find<DeviceContext>(hdcDest);
    DeviceContext* source = ObjectTable::Find<DeviceContext>(hdcSrc);
    if (!dest || !source)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (rop != SRCCOPY)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (wDest == 0 || hDest == 0 || wSrc == 0 || hSrc == 0)
        return TRUE;
    POINT d = dest->Origin();
    POINT s = source->Origin();
    StretchCopy(dest->Target(), dest->DeviceClip(), 0LL + xDest + d.x, 0LL + yDest + d.y, wDest, hDest,
                source->Target(), 0LL + xSrc + s.x, 0LL + ySrc + s.y, wSrc, hSrc);
    return TRUE;
}

} // namespace

// Rows bottom-up for a positive height (top-down for a negative one), padded to 4 bytes; *ppvBits
// receives the live pixels, all 0 at first.
HBITMAP WINAPI CreateDIBSection(HDC, const BITMAPINFO* pbmi, UINT usage, VOID** ppvBits, HANDLE hSection, DWORD)
{
    if (ppvBits)
        *ppvBits = nullptr;
    std::optional<DibFormat> format = ReadDibFormat(pbmi);
    if (!format || usage != DIB_RGB_COLORS || hSection)
        return Fail(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    auto bitmap = Bitmap::Make(Bitmap::Type::DibSection, format->width, format->height, format->depth,
                               format->topDown, std::vector<RGBQUAD>(format->table.begin(), format->table.end()));
    if (bitmap && ppvBits)
        *ppvBits = bitmap->Bits();
    return AddBitmap(std::move(bitmap));
}

// A DDB: top-down rows padded to 2 bytes (NULL bits: all 0); 8-bit values are system palette
// indexes.
HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitCount, const VOID* lpBits)
{
    if (nWidth <= 0 || nHeight <= 0 || nPlanes != 1
        || (nBitCount != 1 && nBitCount != 8 && nBitCount != 16 && nBitCount != 24 && nBitCount != 32))
        return Fail(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    auto bitmap = Bitmap::MakeDdb(nWidth, nHeight, static_cast<int>(nBitCount));
    if (bitmap && lpBits)
        std::memcpy(bitmap->Bits(), lpBits, bitmap->ByteSize());
    return AddBitmap(std::move(bitmap));
}

// A bitmap of the DC's format: 8 bits for the screen and window DCs, the held bitmap's format
// for a memory DC.
HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int cx, int cy)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, HBITMAP(nullptr));
    if (cx <= 0 || cy <= 0)
        return Fail(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    return AddBitmap(MakeCompatible(dc, cx, cy));
}

// A bitmap compatible with the DC (monochrome without one), initialised from the DIB's colours
// matched to the nearest values when CBM_INIT is given.
HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* pbmih, DWORD flInit, const VOID* pjBits,
                              const BITMAPINFO* pbmi, UINT iUsage)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (hdc && !dc)
        return Fail(ERROR_INVALID_HANDLE, HBITMAP(nullptr));
    if (!pbmih || pbmih->biWidth <= 0 || pbmih->biHeight == 0 || pbmih->biHeight == INT32_MIN)
        return Fail(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    int height = pbmih->biHeight < 0 ? -pbmih->biHeight : pbmih->biHeight;
    std::optional<DibFormat> format;
    if (flInit & CBM_INIT) {
        format = ReadDibFormat(pbmi);
        if (!format || !pjBits || iUsage != DIB_RGB_COLORS)
            return Fail(ERROR_INVALID_PARAMETER, HBITMAP(nullptr));
    }
    auto bitmap = MakeCompatible(dc, pbmih->biWidth, height);
    if (bitmap && format) {
        Surface target = bitmap->GetSurface();
        RegionData all(0, 0, target.width, target.height);
        StretchCopy(target, all, 0, 0, format->width, format->height, format->Over(pjBits), 0, 0, format->width,
                    format->height);
    }
    return AddBitmap(std::move(bitmap));
}

// Converts scan lines [start, start + cLines) (counted from the bottom for a bottom-up request)
// to the request's depth, writing 2^depth colour entries after its header; returns the lines.
int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT cLines, LPVOID lpvBits, LPBITMAPINFO lpbmi, UINT usage)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(hbm);
    if (!ObjectTable::Find<DeviceContext>(hdc) || !bitmap)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (!lpbmi || usage != DIB_RGB_COLORS)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    BITMAPINFOHEADER& header = lpbmi->bmiHeader;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth != bitmap->width || header.biCompression != BI_RGB
        || !Bitmap::IsSupportedDepth(header.biBitCount) || header.biHeight == 0)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    Surface source = bitmap->GetSurface();
    int depth = header.biBitCount;
    bool topDown = header.biHeight < 0;
    std::vector<RGBQUAD> table;
    if (depth <= 8) {
        table = TableFor(source, depth);
        std::memcpy(reinterpret_cast<uint8_t*>(lpbmi) + header.biSize, table.data(), table.size() * sizeof(RGBQUAD));
    }
    size_t rowBytes = RowBytes(bitmap->width, depth, 4);
    header.biSizeImage = static_cast<DWORD>(rowBytes * static_cast<size_t>(bitmap->height));
    if (!lpvBits)
        return bitmap->height;
    if (start >= static_cast<UINT>(bitmap->height))
        return 0;
    int lines = static_cast<int>(std::min<UINT>(cLines, static_cast<UINT>(bitmap->height) - start));
    Surface target;
    target.width = bitmap->width;
    target.height = lines;
    target.depth = depth;
    target.table = table;
    auto* base = static_cast<uint8_t*>(lpvBits);
    int firstRow = topDown ? static_cast<int>(start) : bitmap->height - static_cast<int>(start) - lines;
    if (topDown) {
        target.top = base;
        target.stride = static_cast<ptrdiff_t>(rowBytes);
    } else {
        target.top = base + static_cast<ptrdiff_t>(rowBytes) * (lines - 1);
        target.stride = -static_cast<ptrdiff_t>(rowBytes);
    }
    // Padding bytes are written as zeros.
    for (int y = 0; y < lines; ++y)
        std::memset(target.Row(y), 0, rowBytes);
    RegionData all(0, 0, target.width, target.height);
    StretchCopy(target, all, 0, 0, target.width, lines, source, 0, firstRow, target.width, lines);
    return lines;
}

// The pixels as top-down rows padded to 2 bytes; returns the bytes copied.
LONG WINAPI GetBitmapBits(HBITMAP hbit, LONG cb, LPVOID lpvBits)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(hbit);
    if (!bitmap)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (cb <= 0 || !lpvBits)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    return CopyDdbBits(*bitmap, static_cast<uint8_t*>(lpvBits), static_cast<size_t>(cb), false);
}

LONG WINAPI SetBitmapBits(HBITMAP hbm, DWORD cb, const VOID* pvBits)
{
    Bitmap* bitmap = ObjectTable::Find<Bitmap>(hbm);
    if (!bitmap)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (cb == 0 || !pvBits)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    return CopyDdbBits(*bitmap, static_cast<uint8_t*>(const_cast<VOID*>(pvBits)), cb, true);
}

// For a bottom-up DIB ySrc counts from the bottom line (lower-left origin). Returns the source
// lines, 0 on failure.
int WINAPI StretchDIBits(HDC hdc, int xDest, int yDest, int DestWidth, int DestHeight, int xSrc, int ySrc,
                         int SrcWidth, int SrcHeight, const VOID* lpBits, const BITMAPINFO* lpbmi, UINT iUsage,
                         DWORD rop)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, 0);
    std::optional<DibFormat> format = ReadDibFormat(lpbmi);
    if (!format || !lpBits || iUsage != DIB_RGB_COLORS || rop != SRCCOPY)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    // A bottom-up source counts rows from its last line: rows ySrc .. ySrc + h - 1 from the bottom
    // for a positive height, ySrc + h + 1 .. ySrc for a negative one, turned into top-down rows.
    long long sourceTop = ySrc;
    if (!format->topDown) {
        long long last = static_cast<long long>(format->height) - 1;
        sourceTop = SrcHeight < 0 ? last - ySrc - SrcHeight - 1 : last - ySrc - SrcHeight + 1;
    }
    POINT origin = dc->Origin();
    if (!StretchCopy(dc->Target(), dc->DeviceClip(), 0LL + xDest + origin.x, 0LL + yDest + origin.y, DestWidth,
                     DestHeight, format->Over(lpBits), xSrc, sourceTop, SrcWidth, SrcHeight))
        return Fail(ERROR_INVALID_PARAMETER, 0);
    return SrcHeight < 0 ? -SrcHeight : SrcHeight;
}

// SRCCOPY only; the source's colours are matched to the destination.
BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return Blit(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

// Nearest-neighbour scaling in every stretch mode; opposite signs of the extents mirror.
BOOL WINAPI StretchBlt(HDC hdcDest, int xDest, int yDest, int wDest, int hDest, HDC hdcSrc, int xSrc, int ySrc,
                       int wSrc, int hSrc, DWORD rop)
{
    return Blit(hdcDest, xDest, yDest, wDest, hDest, hdcSrc, xSrc, ySrc, wSrc, hSrc, rop);
}

// The source onto lpPoint's parallelogram (a tiled 1-bit mask lets its 1 bits through); FALSE with
// 6 for a bad DC or mask, 87 for no points, a negative extent or a deeper mask; empty draws nothing.
BOOL WINAPI PlgBlt(HDC hdcDest, const POINT* lpPoint, HDC hdcSrc, int xSrc, int ySrc, int width, int height,
                   HBITMAP hbmMask, int xMask, int yMask)
{
    DeviceContext* dest = ObjectTable::Find<DeviceContext>(hdcDest);
    DeviceContext* source = ObjectTable::Find<DeviceContext>(hdcSrc);
    if (!dest || !source)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!lpPoint || width < 0 || height < 0)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    Surface maskSurface;
    if (hbmMask) {
        Bitmap* mask = ObjectTable::Find<Bitmap>(hbmMask);
        if (!mask)
            return Fail(ERROR_INVALID_HANDLE, FALSE);
        if (mask->depth != 1)
            return Fail(ERROR_INVALID_PARAMETER, FALSE);
        maskSurface = mask->GetSurface();
    }
    if (width == 0 || height == 0)
        return TRUE;
    POINT d = dest->Origin();
    POINT s = source->Origin();
    const long long corners[3][2] = { { 0LL + lpPoint[0].x + d.x, 0LL + lpPoint[0].y + d.y },
        { 0LL + lpPoint[1].x + d.x, 0LL + lpPoint[1].y + d.y }, { 0LL + lpPoint[2].x + d.x, 0LL + lpPoint[2].y + d.y } };
    ParallelogramCopy(dest->Target(), dest->DeviceClip(), corners, source->Target(), 0LL + xSrc + s.x,
                      0LL + ySrc + s.y, width, height, hbmMask ? &maskSurface : nullptr, xMask, yMask);
    return TRUE;
}
