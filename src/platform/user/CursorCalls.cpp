// Cursors: loading, choosing the one shown, and reading a cursor's image back.
#include <windows.h>

#include "platform/backend/Backend.h"
#include "platform/kernel/LastError.h"
#include "platform/user/Cursors.h"

#include <vector>

using pw::platform::CursorImage;
using pw::platform::Cursors;
using pw::platform::Fail;

namespace {

constexpr UINT kFirstSystemId = 32512;
constexpr DWORD kErrorInvalidCursorHandle = 1402;

bool IsProgramModule(HINSTANCE instance)
{
    return instance == pw::platform::ProgramInstance();
}

} // namespace

// A system cursor (NULL module, ids from 32512) or one of the program's (its module, ids below
// 32512, from the Data file "<id>.cur"); the same id gives the same shared handle. NULL with 1814
// for an id that names no cursor.
HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (!IS_INTRESOURCE(name))
        return Fail(ERROR_RESOURCE_NAME_NOT_FOUND, HCURSOR(nullptr));
    auto id = static_cast<UINT>(reinterpret_cast<ULONG_PTR>(name));
    HCURSOR cursor = nullptr;
    if (!instance && id >= kFirstSystemId)
        cursor = Cursors::System(id);
    else if (IsProgramModule(instance) && id < kFirstSystemId)
        cursor = Cursors::Program(id);
    return cursor ? cursor : Fail(ERROR_RESOURCE_NAME_NOT_FOUND, HCURSOR(nullptr));
}

// Shows the cursor at once (NULL hides it) and returns the previous one (NULL when none showed).
HCURSOR WINAPI SetCursor(HCURSOR cursor)
{
    if (cursor && !Cursors::Find(cursor))
        return Fail(kErrorInvalidCursorHandle, HCURSOR(nullptr));
    return Cursors::Set(cursor);
}

// A cursor's hot spot and its monochrome image: hbmMask is a 1-bit 32 x 64 bitmap, the AND mask
// above the XOR mask (clear: 1/0, black: 0/0, white: 0/1, inverted: 1/1); hbmColor is NULL. The
// caller owns the bitmap.
BOOL WINAPI GetIconInfo(HICON icon, PICONINFO info)
{
    const CursorImage* image = Cursors::Find(icon);
    if (!image)
        return Fail(kErrorInvalidCursorHandle, FALSE);
    if (!info)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    constexpr int kSize = CursorImage::kSize;
    // 1-bit rows padded to 16 bits: 4 bytes for 32 pixels; the leftmost pixel in the high bit.
    constexpr int kRowBytes = kSize / 8;
    std::vector<BYTE> bits(static_cast<size_t>(kRowBytes) * kSize * 2, 0);
    auto setBit = [&](int x, int row) { bits[static_cast<size_t>(row) * kRowBytes + x / 8] |= BYTE(0x80 >> (x % 8)); };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            CursorImage::Pixel pixel = x < image->width && y < image->height ? image->At(x, y) : CursorImage::Clear;
            if (pixel == CursorImage::Clear || pixel == CursorImage::Invert)
                setBit(x, y);
            if (pixel == CursorImage::White || pixel == CursorImage::Invert)
                setBit(x, kSize + y);
        }
    }
    HBITMAP mask = CreateBitmap(kSize, kSize * 2, 1, 1, bits.data());
    if (!mask)
        return FALSE;
    info->fIcon = FALSE;
    info->xHotspot = static_cast<DWORD>(image->hotSpot.x);
    info->yHotspot = static_cast<DWORD>(image->hotSpot.y);
    info->hbmMask = mask;
    info->hbmColor = nullptr;
    return TRUE;
}

// Cursors are shared and live as long as the program: destroying one does nothing.
BOOL WINAPI DestroyCursor(HCURSOR cursor)
{
    return Cursors::Find(cursor) ? TRUE : Fail(kErrorInvalidCursorHandle, FALSE);
}
