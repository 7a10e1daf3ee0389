#include "platform/user/controls/ListBoxModel.h"

#include <gtest/gtest.h>

using pw::platform::user::ListBoxModel;

namespace {

TEST(ListBoxModel, SortedAddsFindTheirPlaceWithoutRegardToCase)
{
    ListBoxModel list;
    EXPECT_EQ(0, list.Add("delta", true));
    EXPECT_EQ(0, list.Add("Alpha", true));
    EXPECT_EQ(1, list.Add("charlie", true));
    EXPECT_EQ(1, list.Add("bravo", true));
    EXPECT_EQ(4, list.Add("Echo", true));
    EXPECT_EQ(3, list.Add("Charlie", true)) << "equal items go after the ones there";
    ASSERT_EQ(6, list.Count());
    EXPECT_EQ("Alpha", list.Item(0));
    EXPECT_EQ("charlie", list.Item(2));
    EXPECT_EQ(6, list.Add("aaa", false)) << "unsorted adds go to the end";
}

TEST(ListBoxModel, SelectionFollowsItsItemAndRefusesBadIndexes)
{
    ListBoxModel list;
    list.Add("b", true);
    list.Add("c", true);
    EXPECT_TRUE(list.Select(1));
    list.Add("a", true);
    EXPECT_EQ(2, list.Selection()) << "an item added above moves the selection down";
    EXPECT_FALSE(list.Select(3));
    EXPECT_FALSE(list.Select(-2));
    EXPECT_EQ(2, list.Selection());
    EXPECT_TRUE(list.Select(-1));
    EXPECT_EQ(-1, list.Selection());
    list.Select(0);
    list.Clear();
    EXPECT_EQ(-1, list.Selection());
    EXPECT_EQ(0, list.TopIndex());
}

TEST(ListBoxModel, ScrollingKeepsRowsFilledAndRevealsItems)
{
    ListBoxModel list;
    for (int i = 0; i < 10; ++i)
        list.Add(std::to_string(i), false);
    struct {
        const char* name;
        int top;
        int reveal;
        int rows;
        int expectedTop;
    } const cases[] = {
        { "top clamps to fill the rows", 9, -1, 4, 6 },
        { "negative top", -3, -1, 4, 0 },
        { "reveal below scrolls least", 0, 7, 4, 4 },
        { "reveal above", 6, 2, 4, 2 },
        { "reveal visible stays", 3, 5, 4, 3 },
        { "more rows than items", 5, -1, 20, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        list.SetTopIndex(c.top, c.rows);
        if (c.reveal >= 0)
            list.Reveal(c.reveal, c.rows);
        EXPECT_EQ(c.expectedTop, list.TopIndex());
    }
}

} // namespace
