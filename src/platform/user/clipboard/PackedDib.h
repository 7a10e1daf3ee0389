// Packed device-independent bitmaps (a BITMAPINFOHEADER, its colour table, then the pixel rows) as
// the clipboard's CF_DIB data holds them, and the conversions between them and bitmap handles.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <optional>

namespace pw::platform {

struct PackedDibLayout {
    int32_t width { 0 };
    int32_t height { 0 }; // rows; the header's sign tells the order
    int depth { 0 };
    uint32_t colors { 0 };     // colour table entries
    size_t bitsOffset { 0 };   // where the rows start
    size_t imageBytes { 0 };   // rows padded to 32 bits
};

// The layout of a packed DIB of `size` bytes, or nullopt when the header is not one the floor
// reads (a 40-byte header, BI_RGB, depth 1, 4, 8, 16, 24 or 32, at most 2^26 pixels) or when its
// table and rows do not fit in the bytes given. Nothing is read beyond `size`.
std::optional<PackedDibLayout> ParsePackedDib(const void* data, size_t size);

// A new moveable global block holding the bitmap as a packed DIB (its own depth; 16 bits as 24),
// or NULL.
HGLOBAL PackedDibFromBitmap(HBITMAP bitmap);

// A new bitmap compatible with the screen made from a packed DIB block, or NULL when the block is
// not a readable packed DIB.
HBITMAP BitmapFromPackedDib(HGLOBAL block);

} // namespace pw::platform
