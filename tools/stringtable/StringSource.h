// The text form of the program's string table, and the C++ source the build makes of it.
// A source file holds lines `<decimal id> "<text>"`; see resources/strings/README.md.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw::tools {

struct StringSourceEntry {
    uint32_t id { 0 };
    std::string text;
    int line { 0 };
};

struct StringSourceError {
    int line { 0 };
    std::string message;
};

struct ParsedStringSource {
    std::vector<StringSourceEntry> entries;
    std::vector<StringSourceError> errors;
};

// Reads one source file. Every malformed line gives an error and no entry; parsing goes on, so
// one run reports all of a file's faults. Duplicates within the file are errors too.
ParsedStringSource ParseStringSource(std::string_view source);

// The C++ source defining pw::platform::ProgramStrings() over `entries`, which must be sorted by
// id without duplicates.
std::string GenerateStringTable(const std::vector<StringSourceEntry>& entries);

} // namespace pw::tools
