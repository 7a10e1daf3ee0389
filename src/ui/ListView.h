#pragma once

#include "foundation/EditableList.h"
#include "foundation/ListChange.h"
#include "foundation/ListHandle.h"
#include "foundation/SmartPtr.h"
#include "ui/ChoiceList.h"
#include "ui/NativeControl.h"
#include "ui/View.h"

#include <windows.h>

#include <cstdint>

// The entries of a list as the rows of a native list box over the view's bounds, one name a row:
// an editable entry's name, else its class's. The view follows the list as it changes. A press on
// a row selects it and then goes through the view tree as a press on any view does, so that a
// picker around the list sees the new selection. The context object and the item classes are kept
// for whoever made the view; the two option flags change nothing here.
class ListView : public View, public pw::ui::ChoiceList, public ListListener, public pw::ui::NativeControlClient {
    PW_CLASS_INFO(ListView)

public:
    // Over the container's bounds; the container adds it.
    ListView(View* container, const ListHandle& items, const SmartPtr<Smart>& context, const TypeList& itemClasses,
        bool firstFlag, bool secondFlag);
    // The editable list's items, context and classes.
    ListView(const SmartPtr<EditableList>& model, View* parent);
    ~ListView() override;

    // ChoiceList: 1-based, 0 when no row is selected.
    uint32_t SelectedIndex() const override;
    // The selected entry, or none.
    SmartPtr<Smart> GetSelectedEntry() const;
    // Selects entry `index` (0: none).
    void Select(uint32_t index);
    uint32_t NumRows() const;
    const ListHandle& GetItems() const { return items; }
    HWND GetListWindow() const { return list; }

    // View.
    void DrawContent(DisplayPort& port, Area& area) override;
    bool MouseDown(int32_t h, int32_t v, BitFlags modifiers, uint8_t clicks, const SmartPtr<Window>& window) override;
    void ActiveChanged(bool active) override;
    void AdjustBounds(int32_t dl, int32_t dt, int32_t dr, int32_t db) override;
    void Show(bool visible) override;

    // The list changed: the rows are made again, the selection kept where it still fits.
    void ListChanged(const ListChange& change) override;

protected:
    void ControlNotified(UINT message, uint32_t code, int32_t position) override;
    // The list box selects the row first; then the press goes to the frame.
    LRESULT ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC original) override;

private:
    void Fill();

    ListHandle items;
    SmartPtr<Smart> context;
    TypeList itemClasses;
    [[maybe_unused]] bool firstFlag;
    [[maybe_unused]] bool secondFlag;
    HWND list { nullptr };
};
