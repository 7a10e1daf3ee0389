// The program's own text is 8-bit Windows-1252, its code page; the host's text (the names on its
// disk, its clipboard, the characters typed on its keyboard) is UTF-8. The conversions between
// the two live here, so that every place the program meets the host converts alike.
#pragma once

#include <string>
#include <string_view>

namespace pw::platform {

// The Unicode character a code-page byte stands for: itself below 0x80 and from 0xA0, the table
// of 0x80..0x9F between, and 0 for the five bytes the code page leaves undefined.
char32_t UnicodeOfByte(unsigned char c);

// Text: a character the other side cannot hold becomes "?", and so does each byte of a malformed
// UTF-8 sequence.
std::string Utf8FromProgramText(std::string_view text);
std::string ProgramTextFromUtf8(std::string_view text);

// Names on disk. A program name is written in UTF-8, each undefined byte as the control character
// of the same number, so that every program name has one host spelling and reads back unchanged.
// A host name reads as the program name it spells when it is UTF-8 of characters the code page
// holds; any other host name (one written in the code page itself, as names were before, or one
// spelling characters the code page lacks) reads as its bytes, which find it again.
std::string HostNameOf(std::string_view programName);
// True for text of bytes below 0x80, which is the same in the code page and in UTF-8.
bool IsAscii(std::string_view text);
std::string ProgramNameOf(std::string_view hostName);

} // namespace pw::platform
