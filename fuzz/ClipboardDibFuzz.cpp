// Feeds arbitrary bytes to the system clipboard as the packed DIB another program put there, then
// asks for them as a bitmap (which reads the DIB) and as a DIB again: nothing may crash or read
// outside the block, and a DIB that is refused must give no bitmap.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/user/clipboard/ClipboardTesting.h"
#include "platform/user/clipboard/PackedDib.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<uint8_t> bytes(data, data + size);
    if (!pw::platform::testing::PutSystemClipboardDib(bytes))
        std::abort();
    bool readable = pw::platform::ParsePackedDib(bytes.data(), bytes.size()).has_value();
    if (!OpenClipboard(nullptr))
        std::abort();
    HANDLE bitmap = GetClipboardData(CF_BITMAP);
    if (bitmap && !readable)
        std::abort();
    GetClipboardData(CF_DIB);
    EmptyClipboard();
    CloseClipboard();
    return 0;
}
