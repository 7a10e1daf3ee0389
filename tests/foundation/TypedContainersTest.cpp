#include "foundation/ArrayRange.h"
#include "foundation/SmartList.h"
#include "foundation/TypedArray.h"

#include "Failure.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

template <typename T>
std::vector<T> Walk(TypedArray<T>& array, uint32_t first, uint32_t last)
{
    std::vector<T> seen;
    for (ArrayRange<T> range(array, first, last); range.More(); range.Next())
        seen.push_back(*range.Current());
    return seen;
}

TEST(TypedArray, IndexesFromOneAndTogglesTheFirstMatch)
{
    TypedArray<int16_t> array;
    EXPECT_EQ(Failure([&] { array[0]; }), "Range error");
    for (int16_t value : { 5, 7, 5 })
        array.Append(value);
    EXPECT_EQ(array[3], 5);
    array.Toggle(5);
    array.Toggle(9);
    array.Toggle(9);
    EXPECT_EQ(Walk(array, 1, array.NumItems()), (std::vector<int16_t> { 7, 5 }));
    SmartPtr<Smart> copy(array.Copy());
    EXPECT_TRUE(dynamic_cast<TypedArray<int16_t>*>(copy.Get()));
}

TEST(ArrayRange, WalksItsRangeAndLocksTheArray)
{
    TypedArray<int32_t> array;
    EXPECT_TRUE(Walk(array, 1, 0).empty());
    for (int32_t value : { 1, 2, 3, 4 })
        array.Append(value);
    EXPECT_EQ(Walk(array, 2, 3), (std::vector<int32_t> { 2, 3 }));
    EXPECT_TRUE(Walk(array, 3, 2).empty());
    {
        ArrayRange<int32_t> range(array, 1);
        EXPECT_EQ(Failure([&] { array.Append(5); }), "lockCount == 0");
    }
    array.Append(5);
    EXPECT_EQ(array.NumItems(), 5u);
}

using SmartListTest = CountedObjects;

TEST_F(SmartListTest, TypedEntriesAndSharedCopies)
{
    SmartList<Sketch> sketches(5);
    EXPECT_EQ(sketches.Item(1), nullptr);
    EXPECT_EQ(sketches.Data()->GetItemClass(), &Sketch::classInfo);

    SmartList<Sketch> shared = sketches;
    SmartPtr<Sketch> sketch(new Sketch(3));
    shared.Append(sketch);
    shared.Append(SmartPtr<Sketch>());
    EXPECT_EQ(sketches.NumItems(), 7u);
    EXPECT_EQ(sketches.Item(6), sketch.Get());
    EXPECT_TRUE(sketches.Contains(sketch.Get()));

    // An entry of another class reads as null through the typed list only.
    Photo* photo = new Photo(1);
    sketches.Data()->ReplaceItems(photo, 1, 1);
    EXPECT_EQ(sketches.Item(1), nullptr);
    EXPECT_EQ(sketches.GetItem(1), static_cast<Smart*>(photo));

    sketches.Replace(sketch.Get(), 9, 2);
    EXPECT_EQ(sketches.NumItems(), 10u);
    EXPECT_EQ(sketches.Item(10), sketch.Get());
    EXPECT_EQ(sketch->ReferenceCount(), 4);
}

} // namespace
