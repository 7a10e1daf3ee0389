#pragma once

#include <cstdint>

namespace pw::ui {

// What a picker asks of the list view that shows its choices: which entry the user selected. The
// list view over an editable list implements it.
class ChoiceList {
public:
    virtual ~ChoiceList() = default;

    // The 1-based index of the selected entry, 0 when none is selected.
    virtual uint32_t SelectedIndex() const = 0;
};

} // namespace pw::ui
