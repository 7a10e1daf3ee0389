#include "foundation/AssertionException.h"
#include "foundation/SmartPtr.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

struct Holder : public Tracked {
    SmartPtr<Tracked> held;
};

TEST(SmartPtr, DeletesExactlyWhenTheLastHandleGoes)
{
    int before = Tracked::live;
    auto* object = new Tracked;
    EXPECT_TRUE(object->Unreferenced());
    {
        SmartPtr<Tracked> first(object);
        {
            SmartPtr<Tracked> second = first;
            EXPECT_EQ(object->ReferenceCount(), 2);
            EXPECT_TRUE(object->IsShared());
        }
        EXPECT_EQ(Tracked::live, before + 1);
        EXPECT_EQ(object->ReferenceCount(), 1);
    }
    EXPECT_EQ(Tracked::live, before);
}

TEST(SmartPtr, AssignmentTakesTheNewObjectBeforeReleasingTheOld)
{
    int before = Tracked::live;
    SmartPtr<Tracked> a(new Tracked(1));
    SmartPtr<Tracked> b(new Tracked(2));
    Tracked* y = b.Get();
    a = b;
    EXPECT_EQ(Tracked::live, before + 1);
    EXPECT_EQ(y->ReferenceCount(), 2);
    EXPECT_EQ(a.Get(), y);

    // Same pointee, and self-assignment: no count moves.
    a = b;
    a = a;
    EXPECT_EQ(y->ReferenceCount(), 2);
}

TEST(SmartPtr, AssigningAHandleHeldByTheOldObjectKeepsItsObject)
{
    int before = Tracked::live;
    {
        auto* outer = new Holder;
        outer->held = new Tracked(7);
        SmartPtr<Tracked> handle(outer);
        // The old object (outer) dies during the assignment and takes its member handle with it.
        handle = outer->held;
        EXPECT_EQ(handle->value, 7);
        EXPECT_EQ(handle->ReferenceCount(), 1);
    }
    EXPECT_EQ(Tracked::live, before);
}

TEST(SmartPtr, EmptyHandleFailsTheDataAssertionOnlyWhenDereferenced)
{
    SmartPtr<Tracked> empty;
    EXPECT_FALSE(empty.Valid());
    try {
        (void)empty->value;
        FAIL() << "no assertion";
    } catch (Exception* exception) {
        auto* assertion = dynamic_cast<AssertionException*>(exception);
        ASSERT_NE(assertion, nullptr);
        EXPECT_EQ(assertion->GetExpression(), "data != NULL");
        EXPECT_EQ(assertion->GetFile(), "foundation/Smart.cpp");
    }
}

TEST(SmartImplementation, CountSaturatesAndPins)
{
    int before = Tracked::live;
    auto* object = new Tracked;
    for (int i = 0; i < 65535; ++i)
        object->AddReference();
    EXPECT_EQ(object->ReferenceCount(), 65535);
    object->AddReference();
    EXPECT_FALSE(object->RemoveReference());
    EXPECT_EQ(object->ReferenceCount(), 65535);
    {
        SmartPtr<Tracked> handle(object);
    }
    EXPECT_EQ(Tracked::live, before + 1);

    // An unbalanced release at 0 pins too, and never asks for deletion.
    Tracked stack;
    EXPECT_FALSE(stack.RemoveReference());
    EXPECT_EQ(stack.ReferenceCount(), 65535);
    delete object;
}

TEST(SmartImplementation, CopiesStartUnreferencedAndAssignmentMovesNoCounts)
{
    Tracked a;
    a.AddReference();
    a.AddReference();
    a.AddReference();
    Tracked copy(a);
    EXPECT_EQ(copy.ReferenceCount(), 0);
    Tracked b;
    b.AddReference();
    b = a;
    EXPECT_EQ(a.ReferenceCount(), 3);
    EXPECT_EQ(b.ReferenceCount(), 1);
}

TEST(SmartPtr, MakeCopyGivesAnIndependentObject)
{
    int before = Tracked::live;
    {
        SmartPtr<Tracked> original(new Tracked(5));
        SmartPtr<Tracked> copy = original.MakeCopy();
        ASSERT_TRUE(copy.Valid());
        EXPECT_NE(copy, original);
        EXPECT_EQ(copy->value, 5);
        EXPECT_EQ(copy->ReferenceCount(), 1);
        EXPECT_FALSE(SmartPtr<Tracked>().MakeCopy().Valid());

        // A class whose Copy answers null copies to an empty handle, and nothing leaks.
        SmartPtr<Smart> exception(static_cast<Smart*>(new AssertionException("x", "f", 1)));
        EXPECT_FALSE(exception.MakeCopy().Valid());
    }
    EXPECT_EQ(Tracked::live, before);
}

} // namespace
