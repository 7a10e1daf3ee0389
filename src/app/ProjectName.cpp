#include "app/ProjectName.h"

#include <algorithm>

namespace pw::app {

namespace {

constexpr int32_t kTooLong = 59;
constexpr int32_t kEmpty = 60;
constexpr int32_t kBadCharacters = 61;

bool IsLetterOrDigit(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

} // namespace

ProjectNameCheck CheckProjectName(const std::string& name, size_t limit, const std::string& defaultName)
{
    if (name.size() > limit)
        return { kTooLong, name.substr(0, limit > 0 ? limit - 1 : 0) };
    if (name.empty())
        return { kEmpty, defaultName };
    if (!std::all_of(name.begin(), name.end(), IsLetterOrDigit))
        return { kBadCharacters, defaultName };
    return { 0, name };
}

} // namespace pw::app
