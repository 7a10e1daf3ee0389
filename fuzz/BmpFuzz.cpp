// Reads arbitrary bytes as a BMP file into a bitmap. Every read must end in a bitmap or a
// framework exception, never a crash, an out-of-bounds access, an oversized allocation or a leak.
// The first byte chooses whether a chroma key applies and which; the rest is the file. The
// program's start-up folder holds a standard palette, so 8-bit files go through the re-map.
#include "graphics/BitMap.h"

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
