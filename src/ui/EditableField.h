#pragma once

namespace pw::ui {

// What Tab in a dialog asks of a text field: whether a native edit control backs it, and to
// select all of its text. The editable text view implements it.
class EditableField {
public:
    virtual ~EditableField() = default;

    virtual bool HasEditControl() const = 0;
    // Selects characters 0 to 0x7FFF.
    virtual void SelectAll() = 0;
};

} // namespace pw::ui
