#include "platform/kernel/CodePage.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <optional>

namespace pw::platform {

namespace {

// 0x80..0x9F; 0 marks the five undefined bytes.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The byte of each character above 0x7F the code page holds.
const std::map<char32_t, char>& BytesOfCharacters()
{
    static const std::map<char32_t, char> table = [] {
        std::map<char32_t, char> made;
        for (int c = 0x80; c <= 0xFF; ++c) {
            if (char32_t unicode = UnicodeOfByte(static_cast<unsigned char>(c)))
                made.emplace(unicode, static_cast<char>(c));
        }
        return made;
    }();
    return table;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The character of the UTF-8 sequence at `at`, moving `at` past it; nothing for a malformed,
// overlong or surrogate sequence, `at` then unmoved. Strict, so that one character has one
// spelling and a name read from the disk is one name.
std::optional<char32_t> DecodeUtf8(std::string_view text, size_t& at)
{
    auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        ++at;
        return lead;
    }
    size_t extra = (lead >> 5) == 0x6 ? 1 : (lead >> 4) == 0xE ? 2 : (lead >> 3) == 0x1E ? 3 : 0;
    if (extra == 0 || at + extra >= text.size())
        return std::nullopt;
    char32_t c = lead & (0x3F >> extra);
    for (size_t k = 1; k <= extra; ++k) {
        auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80)
            return std::nullopt;
        c = (c << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 4> kLeast = { 0, 0x80, 0x800, 0x10000 };
    if (c < kLeast[extra] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return std::nullopt;
    at += extra + 1;
    return c;
}

// The byte of a character in a name: the code page's own, or an undefined byte's control character.
std::optional<char> NameByteOf(char32_t c)
{
    if (c < 0x80)
        return static_cast<char>(c);
    if (c < 0xA0 && UnicodeOfByte(static_cast<unsigned char>(c)) == 0)
        return static_cast<char>(c);
    auto found = BytesOfCharacters().find(c);
    if (found == BytesOfCharacters().end())
        return std::nullopt;
    return found->second;
}

} // namespace

char32_t UnicodeOfByte(unsigned char c)
{
    return c >= 0x80 && c < 0xA0 ? kHighControls[c - 0x80] : c;
}

std::string Utf8FromProgramText(std::string_view text)
{
    std::string out;
    for (unsigned char c : text) {
        char32_t unicode = UnicodeOfByte(c);
        AppendUtf8(out, unicode ? unicode : U'?');
    }
    return out;
}

std::string ProgramTextFromUtf8(std::string_view text)
{
    std::string out;
    for (size_t at = 0; at < text.size();) {
        std::optional<char32_t> c = DecodeUtf8(text, at);
        if (!c) {
            out += '?';
            ++at;
            continue;
        }
        if (*c < 0x80) {
            out += static_cast<char>(*c);
        } else {
            auto found = BytesOfCharacters().find(*c);
            out += found != BytesOfCharacters().end() ? found->second : '?';
        }
    }
    return out;
}

std::string HostNameOf(std::string_view programName)
{
    std::string out;
    for (unsigned char c : programName) {
        char32_t unicode = UnicodeOfByte(c);
        AppendUtf8(out, unicode ? unicode : c);
    }
    return out;
}

bool IsAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string ProgramNameOf(std::string_view hostName)
{
    // Most names are plain ASCII, which reads as itself.
    if (IsAscii(hostName))
        return std::string(hostName);
    std::string out;
    for (size_t at = 0; at < hostName.size();) {
        std::optional<char32_t> c = DecodeUtf8(hostName, at);
        std::optional<char> byte = c ? NameByteOf(*c) : std::nullopt;
        if (!byte)
            return std::string(hostName);
        out += *byte;
    }
    return out;
}

} // namespace pw::platform
