#pragma once

#include "foundation/EditableList.h"
#include "foundation/ListHandle.h"
#include "foundation/SmartPtr.h"
#include "ui/Dialog.h"

#include <cstdint>

// A dialog that lists editable objects under the heading "Choices" and reports the one the user
// clicks: the press goes to the list view, and once the list view has a selected entry the picker
// calls Picked with its position and closes (so WasCancelled stays false; Escape still cancels).
// The list view is the one the editable list makes; the picker keeps the list model alive as long
// as the view that shows it.
class Picker : public Dialog {
    PW_CLASS_INFO(Picker)

public:
    // The list's item class must be Editable or derived from it (assertion "editables != NULL").
    explicit Picker(const ListHandle& editables);

    // Answers what the view tree answered; a press that leaves an entry selected picks it.
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    // Told the 1-based position of the chosen entry; nothing here.
    virtual void Picked(uint32_t index);

    const ListHandle& GetEditables() const { return editables; }
    // The list view, or empty when the window floor lends none.
    SmartPtr<View> GetListView() const { return listView; }

private:
    static const ListHandle& Checked(const ListHandle& editables);

    SmartPtr<View> listView;
    ListHandle editables;
    SmartPtr<EditableList> choices;
};
