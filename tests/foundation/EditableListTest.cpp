#include "foundation/EditableList.h"

#include "foundation/SmartList.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

TEST(EditableList, CopiesShareTheItemsAndKeepNameAndClasses)
{
    SmartList<Tracked> items;
    SmartPtr<Tracked> context(new Tracked(9));
    const ClassInfo* const classes[] = { &Photo::classInfo, &Sketch::classInfo, nullptr };
    SmartPtr<EditableList> list(new EditableList(items, String("Choices"), context.Get(), classes));
    SmartPtr<EditableList> copy = list.MakeCopy();
    ASSERT_TRUE(copy.Valid());

    items.Append(new Tracked(1));
    EXPECT_EQ(copy->GetItems().NumItems(), 1u);
    EXPECT_EQ(copy->GetName(), String("Choices"));
    EXPECT_EQ(copy->GetContext().Get(), context.Get());
    ASSERT_EQ(copy->GetItemClasses().NumItems(), 2u);
    EXPECT_EQ(copy->GetItemClasses()[1], &Photo::classInfo);
    EXPECT_EQ(copy->GetItemClasses()[2], &Sketch::classInfo);
    EXPECT_EQ(EditableList(items, String("x"), nullptr).GetItemClasses().NumItems(), 0u);
    EXPECT_EQ(*copy->GetFullName().Get(), String("Choices"));

    SmartList<Tracked> others;
    SmartPtr<EditableList> target(new EditableList(others, String("Other"), nullptr));
    ASSERT_TRUE(target->CanCopyFrom(list.Get()));
    target->CopyFrom(list.Get());
    EXPECT_EQ(target->GetItems().Data(), items.Data());
    EXPECT_EQ(target->GetName(), String("Choices"));
    EXPECT_FALSE(target->CanCopyFrom(context.Get()));
}

} // namespace
