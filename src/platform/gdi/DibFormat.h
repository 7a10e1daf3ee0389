// What a BITMAPINFO says about the pixels that go with it: size, depth, row order and padding,
// and the colour table. Only uncompressed (BI_RGB) DIBs are drawn; 16 bits are 5-5-5.
#pragma once

#include "platform/gdi/Surface.h"

#include <windows.h>

#include <cstddef>
#include <optional>
#include <span>

namespace pw::platform::gdi {

struct DibFormat {
    int width = 0;
    int height = 0; // always positive; the order is in topDown
    int depth = 0;
    bool topDown = false;
    size_t rowBytes = 0; // padded to 4 bytes
    // biClrUsed entries (at most 2^depth), or 2^depth when it is 0; none above 8 bits. They are
    // the header's own, valid while it is.
    std::span<const RGBQUAD> table;
    // Header and colour table: where the bits start in a packed DIB.
    size_t headerBytes = 0;

    size_t ImageBytes() const { return rowBytes * static_cast<size_t>(height); }
    // A surface over `bits` laid out as this format says.
    Surface Over(const void* bits) const;
};

// None when the header is missing, compressed, of another depth, or of an impossible size.
std::optional<DibFormat> ReadDibFormat(const BITMAPINFO* info);

} // namespace pw::platform::gdi
