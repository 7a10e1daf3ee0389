#include "ControlFixture.h"

#include "platform/testing/TestDriver.h"

namespace pw::platform::tests {

namespace {

class ListBoxTest : public ControlFixture {
protected:
    // A list four items high in the default font, holding `count` items "item 0", "item 1", ...
    HWND MakeList(DWORD style, int count)
    {
        HWND list = MakeControl("LISTBOX", style, RECT { 10, 10, 130, 10 + 4 * kItemHeight });
        for (int i = 0; i < count; ++i)
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
        testing::RunUntilIdle();
        return list;
    }
    // A desktop point on item `row` rows below the top of the list.
    static POINT RowPoint(HWND list, int row, int x = 20) { return OnScreen(list, POINT { x, row * kItemHeight + 5 }); }

    // The default font's cell.
    static constexpr int kItemHeight = 16;
};

TEST_F(ListBoxTest, MessagesKeepTheItemsAndTheSelection)
{
    HWND list = MakeList(LBS_SORT, 0);
    for (const char* item : { "pear", "Apple", "fig" })
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(3, SendMessageA(list, LB_GETCOUNT, 0, 0));
    char text[16] = {};
    EXPECT_EQ(3, SendMessageA(list, LB_GETTEXT, 1, reinterpret_cast<LPARAM>(text)));
    EXPECT_STREQ("fig", text);
    EXPECT_EQ(5, SendMessageA(list, LB_GETTEXTLEN, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(list, LB_GETTEXTLEN, 3, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(list, LB_GETCURSEL, 0, 0));

    struct {
        const char* name;
        int index;
        LRESULT result;
        LRESULT selected;
    } const cases[] = {
        { "select", 2, 2, 2 },
        { "out of range keeps the selection", 3, LB_ERR, 2 },
        { "-1 removes it and answers LB_ERR", -1, LB_ERR, LB_ERR },
        { "select again", 0, 0, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.result, SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(c.index), 0));
        EXPECT_EQ(c.selected, SendMessageA(list, LB_GETCURSEL, 0, 0));
    }
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("apex"));
    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0)) << "an item added above moves the selection down";
    EXPECT_TRUE(log.empty()) << "messages do not notify";
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(LB_ERR, SendMessageA(list, LB_GETCURSEL, 0, 0));
}

TEST_F(ListBoxTest, ClicksSelectAndNotifyOnlyWithLbsNotify)
{
    struct {
        const char* name;
        DWORD style;
        std::vector<WORD> codes;
    } const cases[] = {
        { "notify", LBS_NOTIFY, { LBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK } },
        { "quiet", 0, {} },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        HWND list = MakeList(c.style, 3);
        ClickAt(RowPoint(list, 1));
        EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
        testing::AdvanceClock(1000); // not a double click
        ClickAt(RowPoint(list, 1)); // the same item again: no change
        testing::AdvanceClock(1000);
        POINT p = RowPoint(list, 2);
        testing::DoubleClick(p.x, p.y);
        testing::RunUntilIdle();
        EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0));
        ClickAt(RowPoint(list, 3)); // below the last item
        EXPECT_EQ(2, SendMessageA(list, LB_GETCURSEL, 0, 0));
        EXPECT_EQ(c.codes, Codes(WM_COMMAND));
        for (const auto& n : log)
            EXPECT_EQ(list, n.control);
        DestroyWindow(list);
    }
}

TEST_F(ListBoxTest, KeysMoveTheSelectionAndScrollItIntoView)
{
    HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL, 10);
    SetFocus(list);
    testing::TypeKey(VK_DOWN);
    testing::TypeKey(VK_DOWN);
    testing::RunUntilIdle();
    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
    testing::TypeKey(VK_END);
    testing::RunUntilIdle();
    EXPECT_EQ(9, SendMessageA(list, LB_GETCURSEL, 0, 0));
    EXPECT_EQ(6, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    testing::TypeKey(VK_HOME);
    testing::RunUntilIdle();
    EXPECT_EQ(0, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(4u, CountOf(WM_COMMAND, LBN_SELCHANGE));
}

TEST_F(ListBoxTest, ItsScrollBarShowsWhileTheItemsDoNotFit)
{
    HWND list = MakeList(LBS_NOTIFY | WS_VSCROLL, 4);
    RECT client {};
    GetClientRect(list, &client);
    POINT rightEdge = OnScreen(list, POINT { client.right - 4, client.bottom - 4 });
    EXPECT_EQ(list, WindowFromPoint(rightEdge)) << "four items fit: no scroll bar";

    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item 4"));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("item 5"));
    testing::RunUntilIdle();
    HWND bar = WindowFromPoint(rightEdge);
    ASSERT_NE(list, bar);
    EXPECT_EQ(list, GetParent(bar));
    int minTop = -1, maxTop = -1;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &minTop, &maxTop));
    EXPECT_EQ(2, maxTop) << "the bar's range is the top indexes";
    // The down arrow scrolls a line; the list sets the bar's position.
    ClickAt(rightEdge);
    EXPECT_EQ(1, SendMessageA(list, LB_GETTOPINDEX, 0, 0));
    EXPECT_EQ(1, GetScrollPos(bar, SB_CTL));
    // The rows moved: the first row now shows item 1.
    ClickAt(RowPoint(list, 0));
    EXPECT_EQ(1, SendMessageA(list, LB_GETCURSEL, 0, 0));
    EXPECT_TRUE(log.size() == 1 && log[0].code == LBN_SELCHANGE) << "the bar's requests go to the list";

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    testing::RunUntilIdle();
    EXPECT_EQ(list, WindowFromPoint(rightEdge)) << "emptied: the bar hides";
}

} // namespace

} // namespace pw::platform::tests
