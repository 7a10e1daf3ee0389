// Reads arbitrary bytes as a PICT file through its scribe, at the picture's own size and at a
// size the first two bytes choose. Every read must end in a bitmap or a framework exception,
// never a crash, an out-of-bounds access, an oversized allocation or a leak. The start-up folder
// holds a standard palette, as the bitmaps the scribe renders need one.
#include "graphics/PICTFile.h"

#include "foundation/Exception.h"
#include "foundation/MemoryStream.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/Reset.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

// A 256-entry palette file: a grey ramp.
void WritePalette()
{
    std::vector<uint8_t> file(1078, 0);
    const uint8_t header[] = { 'B', 'M', 0x36, 4, 0, 0, 0, 0, 0, 0, 0x36, 4, 0, 0, 40 };
    std::copy(std::begin(header), std::end(header), file.begin());
    for (int index = 0; index < 256; ++index)
        file[54 + 4 * index] = file[55 + 4 * index] = file[56 + 4 * index] = uint8_t(index);
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::filesystem::create_directories(data);
    std::ofstream(data / "standard.pal", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
}

bool Prepare()
{
    pw::platform::testing::ResetPlatform();
    pw::platform::testing::SetStartupFolder("c:\\plume");
    WritePalette();
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = Prepare();
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
