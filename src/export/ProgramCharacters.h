// The program's 8-bit character set (Windows-1252) as the export needs it: the Unicode character
// a byte stands for, written into pages as a character reference so that a page reads the same
// whatever character set a browser or server assumes, and the plain ASCII spelling of a letter,
// from which page files get names that every server, FTP path and browser takes as they are.
#pragma once

#include <cstdint>

namespace pw::exporting {

// The Unicode character of the byte; U+FFFD for the five bytes the set leaves undefined.
char32_t UnicodeOf(uint8_t byte);

// For a byte above 0x7F: its letter's ASCII spelling ("e" for é, "AE" for Æ, "ss" for ß), "_" for
// the no-break space, "-" for the dashes, and "" for every other sign. Bytes below 0x80 answer "".
const char* AsciiSpellingOf(uint8_t byte);

} // namespace pw::exporting
