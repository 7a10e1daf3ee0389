#include "graphics/Pattern.h"

#include "foundation/Exception.h"
#include "foundation/Stream.h"

#include <cstring>

namespace {

constexpr uint8_t kStandardPatterns[Pattern::numStandardPatterns][Pattern::kRows] = {
    { 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 },
    { 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF },
    { 0x11, 0x44, 0x11, 0x44, 0x11, 0x44, 0x11, 0x44 },
    { 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55 },
    { 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77, 0xDD, 0x77 },
};

} // namespace

Pattern::Pattern(int pattern)
{
    if (pattern < 0)
        AssertionFailed("pattern >= 0", PW_HERE);
    if (pattern >= numStandardPatterns)
        AssertionFailed("pattern < numStandardPatterns", PW_HERE);
    Set(kStandardPatterns[pattern]);
}

void Pattern::Set(const uint8_t* source)
{
    std::memcpy(rows, source, kRows);
}

bool Pattern::Equals(const Pattern& other) const
{
    return std::memcmp(rows, other.rows, kRows) == 0;
}

void Pattern::ToStream(Stream& stream) const
{
    stream.Write(rows, kRows);
}

void Pattern::FromStream(Stream& stream)
{
    stream.Read(rows, kRows);
}
