// Reads arbitrary bytes as a BMP file into a bitmap. Every read must end in a bitmap or a
// framework exception, never a crash, an out-of-bounds access, an oversized allocation or a leak.
// The first byte chooses whether a chroma key applies and which; the rest is the file. The
// program's start-up folder holds a standard palette, so 8-bit files go through the re-map.
#include "graphics/BitMap.h"

#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"

#include "PaletteStartup.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = pw::fuzz::PrepareWithPalette();
    (void)prepared;
    if (size < 1 || size > (1u << 20))
        return 0;
    MemoryStream stream;
    stream.Write(data + 1, static_cast<uint32_t>(size - 1));
    stream.Seek(0, Stream::kFromStart);
    try {
        SmartPtr<BitMap> bitmap = new BitMap(stream, data[0] & 1, data[0] >> 1);
        bitmap->GetPixelValue(0, 0);
    } catch (Exception*) {
    }
    return 0;
}
