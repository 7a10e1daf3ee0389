// Reads arbitrary bytes as a PICT file through its scribe, at the picture's own size and at a
// size the first two bytes choose. Every read must end in a bitmap or a framework exception,
// never a crash, an out-of-bounds access, an oversized allocation or a leak. The start-up folder
// holds a standard palette, as the bitmaps the scribe renders need one.
#include "graphics/PICTFile.h"

#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"

#include "PaletteStartup.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = pw::fuzz::PrepareWithPalette();
    (void)prepared;
    if (size < 2 || size > (1u << 20))
        return 0;
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(data + 2, static_cast<uint32_t>(size - 2));
    try {
        PICTFile file(SmartPtr<Stream>(stream.Get()));
        file.Read();
        file.MakePreview(data[0] % 64, data[1] % 64);
    } catch (Exception*) {
    }
    CurrentException() = nullptr;
    return 0;
}
