#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pw::platform::user {

// What a list box holds: its strings, the one selected item (or none) and the first item shown.
// Indexes are 0-based; -1 means none. The list box control owns one per window.
class ListBoxModel {
public:
    // Adds a string at the end, or in case-insensitive order when `sorted`; returns its index.
    int Add(std::string_view item, bool sorted);
    void Clear();

    int Count() const { return static_cast<int>(items.size()); }
    bool IsValid(int index) const { return index >= 0 && index < Count(); }
    // The item's text; call only with a valid index.
    const std::string& Item(int index) const { return items[static_cast<size_t>(index)]; }

    int Selection() const { return selection; }
    // Selects a valid index, or none with -1; false (selection kept) for any other index.
    bool Select(int index);

    int TopIndex() const { return top; }
    // Scrolls so that `index` is the first item shown, as far as `rows` visible rows allow.
    void SetTopIndex(int index, int rows);
    // Scrolls the least needed to show `index` within `rows` rows.
    void Reveal(int index, int rows);
    // The largest top index that still fills `rows` rows.
    int MaxTopIndex(int rows) const;

private:
    std::vector<std::string> items;
    int selection { -1 };
    int top { 0 };
};

} // namespace pw::platform::user
