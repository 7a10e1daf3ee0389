#pragma once

#include <cstdint>
#include <span>

namespace pw::platform {

// One string of the program's string table, compiled in from resources/strings/*.txt by the
// string-table generator. `text` holds `length` bytes (no NUL inside) and a NUL after them.
struct StringTableEntry {
    uint32_t id;
    uint32_t length;
    const char* text;
};

// The program's strings in ascending id order (generated source).
std::span<const StringTableEntry> ProgramStrings();

// What LoadStringA reads: the program's strings, or a test's table (sorted by id) until the reset.
std::span<const StringTableEntry> ActiveStrings();
void UseStringsForTesting(std::span<const StringTableEntry> strings);

} // namespace pw::platform
