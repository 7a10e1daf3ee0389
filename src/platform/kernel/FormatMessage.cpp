// FormatMessageA over a template string (FORMAT_MESSAGE_FROM_STRING). Inserts %1..%99 take the
// argument array's entries (a string by default, or the printf conversion between "!"s); the
// escapes keep their meaning (%0 ends the output, %n CR LF, %r CR, %t tab, "% ", "%.", "%!",
// "%%"); every other byte, line breaks included, is copied as it is: no width wrapping.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/kernel/LastError.h"

using pw::platform::Fail;

namespace {

enum class Outcome { Ok, BadTemplate, TooLong };

// Checks a printf conversion such as "s", "-8s", "04X", "lu" or "I64d": flags, width,
// precision, a length and one conversion character, nothing else.
bool IsConversion(std::string_view spec, bool& is64, char& conversion)
{
    size_t i = 0;
    while (i < spec.size() && std::strchr("-+ #0", spec[i]) != nullptr)
        ++i;
    while (i < spec.size() && spec[i] >= '0' && spec[i] <= '9')
        ++i;
    if (i < spec.size() && spec[i] == '.') {
        ++i;
        while (i < spec.size() && spec[i] >= '0' && spec[i] <= '9')
            ++i;
    }
    std::string_view rest = spec.substr(i);
    is64 = false;
    for (std::string_view length : { "I64", "ll", "l", "h" }) {
        if (rest.size() > length.size() && rest.substr(0, length.size()) == length) {
            is64 = length == "I64" || length == "ll";
            rest.remove_prefix(length.size());
            break;
        }
    }
    if (rest.size() != 1 || std::strchr("sdiuxXoc", rest[0]) == nullptr)
        return false;
    conversion = rest[0];
    return true;
}

// Formats one insert into `out`; fails when it would not fit in `room` bytes.
Outcome AppendInsert(std::string& out, std::string_view spec, DWORD_PTR value, size_t room)
{
    bool is64 = false;
    char conversion = 's';
    if (!IsConversion(spec, is64, conversion))
        return Outcome::BadTemplate;
    size_t lengthEnd = spec.find_first_of("Ilh");
    std::string format = "%";
    format += spec.substr(0, lengthEnd == std::string_view::npos ? spec.size() - 1 : lengthEnd);
    int needed = 0;
    std::string text;
    for (int pass = 0; pass < 2; ++pass) {
        char* buffer = pass == 0 ? nullptr : text.data();
        size_t capacity = pass == 0 ? 0 : text.size() + 1;
        if (conversion == 's') {
            const char* string = reinterpret_cast<const char*>(value);
            needed = std::snprintf(buffer, capacity, (format + "s").c_str(), string == nullptr ? "(null)" : string);
        } else if (conversion == 'c') {
            needed = std::snprintf(buffer, capacity, (format + "c").c_str(), static_cast<int>(static_cast<char>(value)));
        } else if (conversion == 'd' || conversion == 'i') {
            long long number = is64 ? static_cast<long long>(value) : static_cast<int32_t>(value);
            needed = std::snprintf(buffer, capacity, (format + "lld").c_str(), number);
        } else {
            unsigned long long number = is64 ? static_cast<unsigned long long>(value) : static_cast<uint32_t>(value);
            needed = std::snprintf(buffer, capacity, (format + "ll" + conversion).c_str(), number);
        }
        if (needed < 0)
            return Outcome::BadTemplate;
        if (static_cast<size_t>(needed) > room)
            return Outcome::TooLong;
        if (pass == 0)
            text.resize(static_cast<size_t>(needed));
    }
    out += text;
    return Outcome::Ok;
}

Outcome Expand(const char* p, bool ignoreInserts, const DWORD_PTR* args, size_t limit, std::string& out)
{
    while (*p != '\0' && out.size() < limit) {
        if (*p != '%') {
            out += *p++;
            continue;
        }
        const char* escape = p++;
        char c = *p;
        if (c == '\0' || c == '0')
            break;
        if (c >= '1' && c <= '9') {
            unsigned index = static_cast<unsigned>(*p++ - '0');
            if (*p >= '0' && *p <= '9')
                index = index * 10 + static_cast<unsigned>(*p++ - '0');
            std::string_view spec = "s";
            if (*p == '!') {
                const char* close = std::strchr(p + 1, '!');
                if (close == nullptr)
                    return Outcome::BadTemplate;
                spec = std::string_view(p + 1, static_cast<size_t>(close - p - 1));
                p = close + 1;
            }
            if (ignoreInserts) {
                out.append(escape, static_cast<size_t>(p - escape));
                continue;
            }
            if (args == nullptr)
                return Outcome::BadTemplate;
            Outcome outcome = AppendInsert(out, spec, args[index - 1], limit - out.size());
            if (outcome != Outcome::Ok)
                return outcome;
            continue;
        }
        ++p;
        switch (c) {
        case 'n':
            out += "\r\n";
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        default:
            // "% ", "%.", "%!", "%%" and any other escaped character stand for themselves.
            out += c;
            break;
        }
    }
    return out.size() < limit || *p == '\0' ? Outcome::Ok : Outcome::TooLong;
}

} // namespace

// Only FROM_STRING (with ARGUMENT_ARRAY or IGNORE_INSERTS) is supported. Returns the characters
// stored without the NUL; output that does not fit with its NUL in nSize returns 0 with 122 and
// leaves an empty string.
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD, DWORD, LPSTR lpBuffer, DWORD nSize, va_list* Arguments)
{
    constexpr DWORD kUnsupported = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM;
    if ((dwFlags & FORMAT_MESSAGE_FROM_STRING) == 0 || (dwFlags & kUnsupported) != 0 || lpSource == nullptr
        || lpBuffer == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, DWORD(0));
    bool ignoreInserts = (dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0;
    // The argument array is what the caller passed cast to va_list*; a real va_list is not read.
    const auto* args = (dwFlags & FORMAT_MESSAGE_ARGUMENT_ARRAY) ? reinterpret_cast<const DWORD_PTR*>(Arguments) : nullptr;
    std::string out;
    Outcome outcome = Expand(static_cast<const char*>(lpSource), ignoreInserts, args, nSize, out);
    if (outcome == Outcome::Ok && out.size() + 1 > nSize)
        outcome = Outcome::TooLong;
    if (outcome != Outcome::Ok) {
        if (nSize > 0)
            lpBuffer[0] = '\0';
        return Fail(outcome == Outcome::TooLong ? ERROR_INSUFFICIENT_BUFFER : ERROR_INVALID_PARAMETER, DWORD(0));
    }
    std::memcpy(lpBuffer, out.c_str(), out.size() + 1);
    return static_cast<DWORD>(out.size());
}
