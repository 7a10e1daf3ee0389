#include "foundation/AssertionException.h"
#include "foundation/SmartPtr.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

struct Holder : public Tracked {
    SmartPtr<Tracked> held;
};

using SmartPtrTest = CountedObjects;

TEST_F(SmartPtrTest, DeletesExactlyWhenTheLastHandleGoes)
{
    auto* object = new Tracked;
    EXPECT_TRUE(object->Unreferenced());
    SmartPtr<Tracked> first(object);
    {
        SmartPtr<Tracked> second = first;
        EXPECT_EQ(object->ReferenceCount(), 2);
        EXPECT_TRUE(object->IsShared());
    }
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);
    EXPECT_EQ(object->ReferenceCount(), 1);
}

TEST_F(SmartPtrTest, AssignmentTakesTheNewObjectBeforeReleasingTheOld)
{
    SmartPtr<Tracked> a(new Tracked(1));
    SmartPtr<Tracked> b(new Tracked(2));
    a = b;
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);
    EXPECT_EQ(a.Get(), b.Get());
    // Same pointee, and self-assignment: no count moves.
    a = b;
    SmartPtr<Tracked>& same = a;
    a = same;
    EXPECT_EQ(b->ReferenceCount(), 2);

    // The old object (outer) dies during the assignment and takes its member handle with it.
    auto* outer = new Holder;
    outer->held = new Tracked(7);
    SmartPtr<Tracked> handle(outer);
    handle = outer->held;
    EXPECT_EQ(handle->value, 7);
    EXPECT_EQ(handle->ReferenceCount(), 1);
}

TEST_F(SmartPtrTest, EmptyHandleFailsTheDataAssertionOnlyWhenDereferenced)
{
    SmartPtr<Tracked> empty;
    EXPECT_FALSE(empty.Valid());
    SmartPtr<Exception> failure;
    try {
        (void)empty->value;
    } catch (Exception* exception) {
        failure = exception;
    }
    auto* assertion = dynamic_cast<AssertionException*>(failure.Get());
    ASSERT_NE(assertion, nullptr);
    EXPECT_EQ(assertion->GetExpression(), "data != NULL");
    EXPECT_EQ(assertion->GetFile(), "foundation/Smart.cpp");
}

TEST_F(SmartPtrTest, CountSaturatesAndPins)
{
    auto* object = new Tracked;
    for (int i = 0; i < 65536; ++i)
        object->AddReference();
    EXPECT_FALSE(object->RemoveReference());
    EXPECT_EQ(object->ReferenceCount(), 65535);
    {
        SmartPtr<Tracked> handle(object);
    }
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);
    delete object;

    // An unbalanced release at 0 pins too, and never asks for deletion.
    Tracked stack;
    EXPECT_FALSE(stack.RemoveReference());
    EXPECT_EQ(stack.ReferenceCount(), 65535);
}

TEST_F(SmartPtrTest, CopiesStartUnreferencedAndAssignmentMovesNoCounts)
{
    SmartPtr<Tracked> original(new Tracked(5));
    SmartPtr<Tracked> copy = original.MakeCopy();
    ASSERT_TRUE(copy.Valid());
    EXPECT_NE(copy, original);
    EXPECT_EQ(copy->value, 5);
    EXPECT_EQ(copy->ReferenceCount(), 1);
    Tracked assigned;
    assigned = *original.Get();
    EXPECT_EQ(assigned.ReferenceCount(), 0);
    EXPECT_EQ(original->ReferenceCount(), 1);

    // No object, or a class whose Copy answers null, copies to an empty handle.
    EXPECT_FALSE(SmartPtr<Tracked>().MakeCopy().Valid());
    SmartPtr<Smart> exception(static_cast<Smart*>(new AssertionException("x", "f", 1)));
    EXPECT_FALSE(exception.MakeCopy().Valid());
}

} // namespace
