#include "foundation/EditableList.h"

#include "foundation/SmartList.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

TEST(EditableList, CopiesShareTheItemsAndKeepNameAndClasses)
{
    SmartList<Tracked> items;
    const ClassInfo* const classes[] = { &Photo::classInfo, &Sketch::classInfo, nullptr };
    SmartPtr<EditableList> list(new EditableList(items, String("Choices"), nullptr, classes));
    SmartList<Tracked> others;
    SmartPtr<EditableList> target(new EditableList(others, String("Other"), nullptr));
    ASSERT_TRUE(target->CanCopyFrom(list.Get()));
    target->CopyFrom(list.Get());
    items.Append(new Tracked(1));
    EXPECT_EQ(target->GetItems().NumItems(), 1u);
    EXPECT_EQ(*target->GetFullName().Get(), String("Choices"));
    ASSERT_EQ(target->GetItemClasses().NumItems(), 2u);
    EXPECT_EQ(target->GetItemClasses()[2], &Sketch::classInfo);
    Tracked other;
    EXPECT_FALSE(target->CanCopyFrom(&other));
}

} // namespace
