// Reads arbitrary bytes as a BMP file, twice: from a stream into a bitmap, and from a file on the
// drive into a packed DIB. Every read must end in a bitmap or DIB or a framework exception, never a
// crash, an out-of-bounds access, an oversized allocation or a leak (of memory, a global block or
// a file handle). The first byte chooses whether a chroma key applies and which; the rest is the
// file. The program's start-up folder holds a standard palette, so 8-bit files go through the
// re-map.
#include "graphics/BitMap.h"
#include "graphics/DIBUtilities.h"

#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"

#include "PaletteStartup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

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

    std::filesystem::path file = std::filesystem::path(pw::platform::testing::DriveRoot()) / "fuzz.bmp";
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
    size_t blocks = pw::platform::testing::LiveGlobalBlocks();
    try {
        if (HGLOBAL dib = OpenDIB("c:\\fuzz.bmp"))
            GlobalFree(dib);
    } catch (Exception*) {
    }
    if (pw::platform::testing::LiveGlobalBlocks() != blocks || pw::platform::testing::LiveFileHandles() != 0)
        std::abort();
    return 0;
}
