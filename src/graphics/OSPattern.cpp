#include "graphics/OSPattern.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"

#include <cstring>

namespace {

void CheckByteCount(uint32_t bytes)
{
    if (bytes != static_cast<uint32_t>(patternSize.h))
        AssertionFailed("bytes == patternSize.x", PW_HERE);
}

} // namespace

OSPattern::OSPattern()
    : block(new uint8_t[patternSize.h]())
{
}

void OSPattern::GetPattern(void* destination, uint32_t bytes) const
{
    CheckByteCount(bytes);
    std::memcpy(destination, block.get(), bytes);
}

void OSPattern::SetPattern(const void* source, uint32_t bytes)
{
    CheckByteCount(bytes);
    std::memcpy(block.get(), source, bytes);
}

// A one-bit bitmap's rows are padded to 16-bit words, so each pattern row takes the first byte of
// its word. The brush keeps its own copy of the bits, so the bitmap goes at once.
HBRUSH OSPattern::CreateBrush() const
{
    uint8_t scratch[16] = {};
    for (int row = 0; row < patternSize.v; ++row)
        scratch[2 * row] = block[row];
    HBITMAP bitmap = CreateBitmap(patternSize.h, patternSize.v, 1, 1, scratch);
    CheckNotNull(bitmap, PW_HERE);
    HBRUSH brush = CreatePatternBrush(bitmap);
    if (!brush) {
        // The check reports the brush's failure, not the clean-up's.
        DWORD error = GetLastError();
        DeleteObject(bitmap);
        SetLastError(error);
    }
    CheckNotNull(brush, PW_HERE);
    CheckCall(DeleteObject(bitmap), PW_HERE);
    return brush;
}
