#include "StringSource.h"

#include <map>

namespace pw::tools {

namespace {

// String resource ids are 16-bit.
constexpr uint32_t kMaxId = 0xFFFF;

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// Parses the quoted text starting at line[pos] == '"'; on success pos is just past the closing quote.
bool ParseQuoted(std::string_view line, size_t& pos, std::string& text, std::string& error)
{
    for (++pos; pos < line.size(); ++pos) {
        auto c = static_cast<unsigned char>(line[pos]);
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            if ((c < 0x20 && c != '\t') || c >= 0x7F) {
                error = "raw byte " + std::to_string(c) + " in the text: write it as \\xHH";
                return false;
            }
            text += static_cast<char>(c);
            continue;
        }
        if (++pos >= line.size())
            break;
        switch (line[pos]) {
        case 'n': text += '\n'; break;
        case 'r': text += '\r'; break;
        case 't': text += '\t'; break;
        case '\\': text += '\\'; break;
        case '"': text += '"'; break;
        case 'x': {
            int high = pos + 1 < line.size() ? HexValue(line[pos + 1]) : -1;
            int low = pos + 2 < line.size() ? HexValue(line[pos + 2]) : -1;
            if (high < 0 || low < 0) {
                error = "\\x needs two hex digits";
                return false;
            }
            if (high == 0 && low == 0) {
                error = "\\x00 would end the string early";
                return false;
            }
            text += static_cast<char>(high * 16 + low);
            pos += 2;
            break;
        }
        default:
            error = std::string("unknown escape \\") + line[pos];
            return false;
        }
    }
    error = "the text has no closing quote";
    return false;
}

// Parses one non-blank, non-comment line into `entry`; returns an error message or "".
std::string ParseLine(std::string_view line, StringSourceEntry& entry)
{
    size_t pos = 0;
    uint64_t id = 0;
    while (pos < line.size() && line[pos] >= '0' && line[pos] <= '9') {
        id = id * 10 + static_cast<uint64_t>(line[pos] - '0');
        if (id > kMaxId)
            return "the id is above 65535";
        ++pos;
    }
    if (pos == 0)
        return "a line must start with a decimal id";
    size_t afterId = pos;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos == afterId || pos >= line.size() || line[pos] != '"')
        return "the id must be followed by blanks and a quoted text";
    std::string error;
    if (!ParseQuoted(line, pos, entry.text, error))
        return error;
    while (pos < line.size() && IsBlank(line[pos]))
        ++pos;
    if (pos < line.size() && line[pos] != '#')
        return "unexpected characters after the text";
    entry.id = static_cast<uint32_t>(id);
    return "";
}

void AppendLiteral(std::string& out, const std::string& text)
{
    static const char digits[] = "01234567";
    out += '"';
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\') {
            out += c;
            continue;
        }
        // Octal escapes take at most three digits, so the next character can never extend them.
        out += '\\';
        out += digits[(byte >> 6) & 7];
        out += digits[(byte >> 3) & 7];
        out += digits[byte & 7];
    }
    out += '"';
}

} // namespace

ParsedStringSource ParseStringSource(std::string_view source)
{
    ParsedStringSource result;
    std::map<uint32_t, int> seen;
    int lineNumber = 0;
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        std::string_view line = source.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        start = end == std::string_view::npos ? source.size() : end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first]))
            ++first;
        line.remove_prefix(first);
        if (line.empty() || line.front() == '#')
            continue;
        StringSourceEntry entry;
        entry.line = lineNumber;
        std::string error = ParseLine(line, entry);
        if (error.empty() && seen.contains(entry.id))
            error = "id " + std::to_string(entry.id) + " already given on line " + std::to_string(seen[entry.id]);
        if (!error.empty()) {
            result.errors.push_back(StringSourceError { lineNumber, error });
            continue;
        }
        seen[entry.id] = lineNumber;
        result.entries.push_back(std::move(entry));
    }
    return result;
}

std::string GenerateStringTable(const std::vector<StringSourceEntry>& entries)
{
    std::string out = "// Made by tools/stringtable from resources/strings; edit those files, not this one.\n"
                      "#include \"platform/user/StringTable.h\"\n\n"
                      "namespace pw::platform {\n\n";
    if (entries.empty()) {
        out += "std::span<const StringTableEntry> ProgramStrings()\n{\n    return {};\n}\n";
    } else {
        out += "namespace {\nconst StringTableEntry kStrings[] = {\n";
        for (const auto& entry : entries) {
            out += "    { " + std::to_string(entry.id) + ", " + std::to_string(entry.text.size()) + ", ";
            AppendLiteral(out, entry.text);
            out += " },\n";
        }
        out += "};\n} // namespace\n\n";
        out += "std::span<const StringTableEntry> ProgramStrings()\n{\n    return kStrings;\n}\n";
    }
    out += "\n} // namespace pw::platform\n";
    return out;
}

} // namespace pw::tools
