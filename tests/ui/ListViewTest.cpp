#include "ui/ListView.h"

#include "foundation/EditableList.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "ui/Picker.h"

#include "ControlFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A list of editables: strings name themselves.
SmartList<Smart> Entries(std::initializer_list<const char*> names)
{
    SmartList<Smart> list;
    for (const char* name : names)
        list.Append(SmartPtr<Smart>(new String(name)));
    return list;
}

std::vector<std::string> Rows(ListView& view)
{
    std::vector<std::string> rows;
    for (uint32_t row = 0; row < view.NumRows(); ++row) {
        char text[64] {};
        SendMessageA(view.GetListWindow(), LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
        rows.push_back(text);
    }
    return rows;
}

// The height of the list box's rows: its font's, the system font when it has none.
int RowHeight(ListView& view)
{
    HDC dc = CreateCompatibleDC(nullptr);
    auto font = reinterpret_cast<HFONT>(SendMessageA(view.GetListWindow(), WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics {};
    GetTextMetricsA(dc, &metrics);
    if (previous)
        SelectObject(dc, previous);
    DeleteDC(dc);
    return metrics.tmHeight;
}

class ChoosingPicker : public Picker {
public:
    explicit ChoosingPicker(const ListHandle& list)
        : Picker(list)
    {
    }
    void Picked(uint32_t index) override { picked.push_back(index); }
    std::vector<uint32_t> picked;
};

class ListViews : public controls::WithApplication {
protected:
    SmartPtr<ListView> Make(const ListHandle& items)
    {
        SmartPtr<EditableList> model = new EditableList(items, String("Things"), SmartPtr<Smart>());
        SmartPtr<View> view(model->MakeView(*window.Get()));
        auto* list = SmartCast<ListView>(view.Get());
        return SmartPtr<ListView>(list);
    }
};

} // namespace

TEST_F(ListViews, RowsNameTheEntriesAndFollowTheList)
{
    SmartList<Smart> entries = Entries({ "Cat", "Dog" });
    entries.Append(SmartPtr<Smart>(new Time(1, 2, 1999)));
    SmartPtr<ListView> view = Make(entries);
    ASSERT_TRUE(view.Valid());
    EXPECT_TRUE(window->GetChildren().Contains(view.Get()));
    EXPECT_EQ(Rows(*view.Get()), (std::vector<std::string> { "Cat", "Dog", "Time" }));
    EXPECT_EQ(view->SelectedIndex(), 0u);
    EXPECT_FALSE(view->GetSelectedEntry().Valid());

    view->Select(2);
    EXPECT_EQ(view->GetSelectedEntry().Get(), entries.GetItem(2));
    entries.Data()->DeleteItems(3, 1);
    entries.Append(SmartPtr<Smart>(new String("Bird")));
    EXPECT_EQ(Rows(*view.Get()), (std::vector<std::string> { "Cat", "Dog", "Bird" }));
    EXPECT_EQ(view->SelectedIndex(), 2u);
    entries.Data()->DeleteAll();
    EXPECT_EQ(view->NumRows(), 0u);
    EXPECT_EQ(view->SelectedIndex(), 0u);
}

// The press goes to the list box first and then through the picker's views, so the picker sees
// the row the press selected.
TEST_F(ListViews, APickerTakesTheRowItsListViewSelected)
{
    SmartList<String> colours;
    for (const char* name : { "Red", "Green", "Blue" })
        colours.Append(SmartPtr<String>(new String(name)));
    SmartPtr<ChoosingPicker> picker = new ChoosingPicker(colours);
    app->AddWindow(SmartPtr<Window>(picker.Get()), true);
    auto* view = SmartCast<ListView>(picker->GetListView().Get());
    ASSERT_NE(view, nullptr);
    pw::platform::testing::RunUntilIdle();
    ClickOn(view->GetListWindow(), 10, RowHeight(*view) * 2 + 3);
    EXPECT_EQ(picker->picked, std::vector<uint32_t> { 3 });
    EXPECT_TRUE(picker->IsClosed());
    EXPECT_FALSE(picker->WasCancelled());
}
