#include "ui/ListView.h"

#include "foundation/Checks.h"
#include "foundation/Editable.h"
#include "foundation/String.h"
#include "ui/WindowFrame.h"

#include <string>

PW_DEFINE_CLASS(ListView, nullptr, nullptr, View)

namespace {

std::string RowName(Smart* entry)
{
    if (auto* editable = SmartCast<Editable>(entry))
        return pw::foundation::TextOf(editable->GetName());
    return entry ? std::string(entry->GetClassInfo()->GetName()) : std::string();
}

// Editable lists lend their list view through this.
const bool listViewLent = [] {
    pw::foundation::GetEditableListServices().makeListView = [](View& container, const ListHandle& items,
                                                                 const SmartPtr<Smart>& context,
                                                                 const TypeList& itemClasses, bool first,
                                                                 bool second) -> View* {
        SmartPtr<View> view = new ListView(&container, items, context, itemClasses, first, second);
        container.AddChild(view);
        return view.Get();
    };
    return true;
}();

} // namespace

ListView::ListView(View* container, const ListHandle& items, const SmartPtr<Smart>& context,
    const TypeList& itemClasses, bool firstFlag, bool secondFlag)
    : View(container, container->GetBounds(), kSizeStretch, true, false)
    , items(items)
    , context(context)
    , itemClasses(itemClasses)
    , firstFlag(firstFlag)
    , secondFlag(secondFlag)
{
    list = pw::ui::MakeNativeControl(GetFrame()->GetOSWindow(), "LISTBOX", "", LBS_NOTIFY | WS_VSCROLL, GetBounds(),
        this);
    Fill();
    pw::ui::FollowControlInput(list);
    this->items.Data()->ToggleListener(this);
}

ListView::ListView(const SmartPtr<EditableList>& model, View* parent)
    : ListView(parent, model->GetItems(), model->GetContext(), model->GetItemClasses(), true, true)
{
}

ListView::~ListView()
{
    items.Data()->ToggleListener(this);
    pw::ui::ForgetNativeControl(list);
}

uint32_t ListView::SelectedIndex() const
{
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return selected == LB_ERR ? 0 : static_cast<uint32_t>(selected) + 1;
}

SmartPtr<Smart> ListView::GetSelectedEntry() const
{
    uint32_t index = SelectedIndex();
    return index != 0 ? SmartPtr<Smart>(items.GetItem(index)) : SmartPtr<Smart>();
}

void ListView::Select(uint32_t index)
{
    SendMessageA(list, LB_SETCURSEL, index == 0 ? static_cast<WPARAM>(-1) : index - 1, 0);
}

uint32_t ListView::NumRows() const
{
    return static_cast<uint32_t>(SendMessageA(list, LB_GETCOUNT, 0, 0));
}

void ListView::DrawContent(DisplayPort&, Area&)
{
    CheckCall(InvalidateRect(list, nullptr, FALSE), PW_HERE);
}

bool ListView::MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&)
{
    return true;
}

void ListView::ActiveChanged(bool active)
{
    if (active)
        SetFocus(list);
    else if (GetFocus() == list)
        SetFocus(GetParent(list));
}

void ListView::AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db)
{
    View::AdjustBounds(dl, dt, dr, db);
    Rect bounds = GetBounds();
    CheckCall(MoveWindow(list, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, TRUE),
        PW_HERE);
}

void ListView::Show(bool visible)
{
    View::Show(visible);
    ShowWindow(list, visible ? SW_SHOWNA : SW_HIDE);
}

void ListView::ListChanged(const ListChange&)
{
    uint32_t selected = SelectedIndex();
    Fill();
    if (selected <= NumRows())
        Select(selected);
}

void ListView::ControlNotified(UINT, uint32_t, int32_t)
{
}

LRESULT ListView::ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original)
{
    if (message != WM_LBUTTONDOWN && message != WM_LBUTTONDBLCLK)
        return CallWindowProcA(original, control, message, wParam, lParam);
    SmartPtr<View> hold(this);
    LRESULT result = CallWindowProcA(original, control, message, wParam, lParam);
    if (IsWindow(control))
        pw::ui::PassPressToFrame(control, message, wParam, lParam);
    return result;
}

void ListView::Fill()
{
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (uint32_t index = 1; index <= items.NumItems(); ++index) {
        std::string name = RowName(items.GetItem(index));
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
}
