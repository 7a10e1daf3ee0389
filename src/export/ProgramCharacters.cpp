#include "export/ProgramCharacters.h"

namespace pw::exporting {

namespace {

constexpr char32_t kUndefined = 0xFFFD;

// 0x80 .. 0x9F, the row where the set differs from Latin-1; 0 marks an undefined byte.
constexpr char32_t kHighRow[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The ASCII spellings of 0x80 .. 0xFF, sixteen a row.
constexpr const char* kSpellings[128] = {
    "", "", "", "f", "", "", "", "", "", "", "S", "", "OE", "", "Z", "", // 0x80
    "", "", "", "", "", "", "-", "-", "", "", "s", "", "oe", "", "z", "Y", // 0x90
    "_", "", "", "", "", "", "", "", "", "", "a", "", "", "", "", "", // 0xA0
    "", "", "2", "3", "", "u", "", "", "", "1", "o", "", "", "", "", "", // 0xB0
    "A", "A", "A", "A", "A", "A", "AE", "C", "E", "E", "E", "E", "I", "I", "I", "I", // 0xC0
    "D", "N", "O", "O", "O", "O", "O", "", "O", "U", "U", "U", "U", "Y", "TH", "ss", // 0xD0
    "a", "a", "a", "a", "a", "a", "ae", "c", "e", "e", "e", "e", "i", "i", "i", "i", // 0xE0
    "d", "n", "o", "o", "o", "o", "o", "", "o", "u", "u", "u", "u", "y", "th", "y", // 0xF0
};

} // namespace

char32_t UnicodeOf(uint8_t byte)
{
    if (byte < 0x80 || byte >= 0xA0)
        return byte;
    char32_t character = kHighRow[byte - 0x80];
    return character ? character : kUndefined;
}

const char* AsciiSpellingOf(uint8_t byte)
{
    return byte < 0x80 ? "" : kSpellings[byte - 0x80];
}

} // namespace pw::exporting
