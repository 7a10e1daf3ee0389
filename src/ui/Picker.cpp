#include "ui/Picker.h"

#include "foundation/Editable.h"
#include "foundation/Exception.h"
#include "foundation/String.h"
#include "ui/ChoiceList.h"

PW_DEFINE_CLASS(Picker, nullptr, nullptr, Dialog)

const ListHandle& Picker::Checked(const ListHandle& editables)
{
    if (!editables.Data()->AcceptsClass(&Editable::classInfo))
        AssertionFailed("editables != NULL", PW_HERE);
    return editables;
}

Picker::Picker(const ListHandle& list)
    : Dialog(1)
    , editables(Checked(list))
    , choices(new EditableList(editables, String("Choices"), SmartPtr<Smart>(), editables.Data()->GetItemClass()))
{
    listView = choices->MakeView(*this);
    if (listView.Valid() && !GetChildren().Contains(listView.Get()))
        AddChild(listView);
}

bool Picker::MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window)
{
    bool handled = View::MouseDown(h, v, modifiers, clicks, window);
    auto* list = dynamic_cast<pw::ui::ChoiceList*>(listView.Get());
    uint32_t index = list ? list->SelectedIndex() : 0;
    if (index != 0) {
        Picked(index);
        Close();
    }
    return handled;
}

void Picker::Picked(uint32_t)
{
}
