#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// One entry of a file dialog's filter: the name shown ("Bitmaps (*.bmp)") and its patterns
// ("*.bmp;*.dib").
struct FilterPair {
    std::string name;
    std::string patterns;

    bool operator==(const FilterPair&) const = default;
};

// The filter string of OPENFILENAMEA ("Name\0*.ext\0...\0\0") as pairs, and the matching of file
// names against a pair's patterns. Patterns are separated by ';', take '*' and '?', and compare
// without regard to case; "*.*" matches every name, with or without a dot, as on Windows.
class FileFilter {
public:
    // The pairs of a filter string; NULL gives none. A name without its pattern ends the list.
    static std::vector<FilterPair> Parse(const char* filter);

    static bool Matches(std::string_view patterns, std::string_view fileName);
    static bool MatchesPattern(std::string_view pattern, std::string_view fileName);
};

} // namespace pw::platform
