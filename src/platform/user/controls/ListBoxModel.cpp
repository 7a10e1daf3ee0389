#include "platform/user/controls/ListBoxModel.h"

#include <algorithm>
#include <cctype>

namespace pw::platform::user {

namespace {

bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

int ListBoxModel::Add(std::string_view item, bool sorted)
{
    auto at = items.end();
    if (sorted)
        at = std::upper_bound(items.begin(), items.end(), item,
            [](std::string_view value, const std::string& other) { return LessIgnoringCase(value, other); });
    int index = static_cast<int>(at - items.begin());
    items.insert(at, std::string(item));
    // An item inserted before the selection moves it down.
    if (selection >= index)
        ++selection;
    return index;
}

void ListBoxModel::Clear()
{
    items.clear();
    selection = -1;
    top = 0;
}

bool ListBoxModel::Select(int index)
{
    if (index != -1 && !IsValid(index))
        return false;
    selection = index;
    return true;
}

int ListBoxModel::MaxTopIndex(int rows) const
{
    return std::max(0, Count() - std::max(rows, 1));
}

void ListBoxModel::SetTopIndex(int index, int rows)
{
    top = std::clamp(index, 0, MaxTopIndex(rows));
}

void ListBoxModel::Reveal(int index, int rows)
{
    if (!IsValid(index))
        return;
    rows = std::max(rows, 1);
    if (index < top)
        SetTopIndex(index, rows);
    else if (index >= top + rows)
        SetTopIndex(index - rows + 1, rows);
}

} // namespace pw::platform::user
