#include "platform/comdlg/FileFilter.h"

#include <cctype>

namespace pw::platform {

namespace {

// A filter longer than this many pairs is taken to have lost its closing empty string.
constexpr size_t kMaxPairs = 256;

bool SameCharacter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

} // namespace

std::vector<FilterPair> FileFilter::Parse(const char* filter)
{
    std::vector<FilterPair> pairs;
    if (!filter)
        return pairs;
    const char* cursor = filter;
    while (*cursor && pairs.size() < kMaxPairs) {
        std::string name = cursor;
        cursor += name.size() + 1;
        if (!*cursor)
            break;
        std::string patterns = cursor;
        cursor += patterns.size() + 1;
        pairs.push_back(FilterPair { std::move(name), std::move(patterns) });
    }
    return pairs;
}

bool FileFilter::Matches(std::string_view patterns, std::string_view fileName)
{
    while (!patterns.empty()) {
        size_t end = patterns.find(';');
        std::string_view pattern = Trimmed(patterns.substr(0, end));
        if (!pattern.empty() && MatchesPattern(pattern, fileName))
            return true;
        if (end == std::string_view::npos)
            break;
        patterns.remove_prefix(end + 1);
    }
    return false;
}

bool FileFilter::MatchesPattern(std::string_view pattern, std::string_view fileName)
{
    // "name.*" also matches "name": a trailing ".*" asks for any extension, none included.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*"
        && MatchesPattern(pattern.substr(0, pattern.size() - 2), fileName))
        return true;
    // Greedy match with one backtrack point, the classic wildcard walk.
    size_t p = 0;
    size_t n = 0;
    size_t star = std::string_view::npos;
    size_t resume = 0;
    while (n < fileName.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || SameCharacter(pattern[p], fileName[n]))) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

} // namespace pw::platform
