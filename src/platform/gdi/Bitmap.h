// What an HBITMAP names: pixels of one depth with the colour table that gives them colours.
//
// A DIB section keeps its rows bottom-up (positive height) or top-down, padded to 4 bytes, with
// the colour table of its BITMAPINFO, and hands its live bits to the caller. A device-dependent
// bitmap (CreateBitmap, CreateCompatibleBitmap) keeps top-down rows padded to 2 bytes; at 8 bits
// its values are system palette indexes, at 1 bit black and white. New pixels are 0.
// A bitmap can be selected into one memory DC at a time.
#pragma once

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/Surface.h"

#include <memory>
#include <vector>

namespace pw::platform::gdi {

class Bitmap : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Bitmap;

    enum class Type { DibSection, Ddb };

    // Null when the pixels would not fit in memory (more than kMaxBytes).
    static std::unique_ptr<Bitmap> Make(Type type, int width, int height, int depth, bool topDown,
                                        std::vector<RGBQUAD> table);
    // A DDB of `depth`: at 1 bit black and white, at 8 bits the system palette, deeper none.
    static std::unique_ptr<Bitmap> MakeDdb(int width, int height, int depth);

    static bool IsSupportedDepth(int depth);

    Surface GetSurface();
    uint8_t* Bits() { return bits.data(); }
    size_t ByteSize() const { return bits.size(); }

    const Type type;
    const int width;
    const int height;
    const int depth;
    const bool topDown;
    const size_t rowBytes;
    // The DIB section's colour table, or a DDB's black and white; empty for 8-bit DDBs, which show
    // the system palette as it is now.
    std::vector<RGBQUAD> table;
    // The memory DC that holds it selected, if any.
    HDC selectedInto = nullptr;

    static constexpr size_t kMaxBytes = size_t(1) << 28;

private:
    Bitmap(Type type, int width, int height, int depth, bool topDown, std::vector<RGBQUAD> table);

    std::vector<uint8_t> bits;
};

} // namespace pw::platform::gdi
