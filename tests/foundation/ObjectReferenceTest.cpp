#include "foundation/DirectReference.h"
#include "foundation/FieldReference.h"
#include "foundation/SimpleReference.h"

#include "Failure.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

using ObjectReferences = CountedObjects;

TEST_F(ObjectReferences, SimpleReferenceCopiesReferToTheSameObjectAndTakeNoReplacement)
{
    SmartPtr<Smart> object(new Tracked(3));
    SmartPtr<SimpleReference> copy = SmartPtr<SimpleReference>(new SimpleReference(object)).MakeCopy();
    ASSERT_TRUE(copy.Valid());
    copy->Set(new Tracked(4));
    EXPECT_EQ(copy->Get(), object.Get());
    Tracked target;
    EXPECT_EQ(SmartPtr<ObjectReference>(new DirectReference(&target))->Copy(), nullptr);
}

TEST_F(ObjectReferences, DirectReferenceEditsAWorkingCopyAndCommitsItIntoTheTarget)
{
    Tracked target(5);
    {
        SmartPtr<DirectReference> reference(new DirectReference(&target));
        Smart* first = reference->Get();
        ASSERT_NE(first, nullptr);
        EXPECT_NE(first, &target);
        EXPECT_EQ(reference->Get(), first);

        SmartCast<Tracked>(first)->value = 8;
        EXPECT_EQ(target.value, 5);
        EXPECT_TRUE(reference->Commit());
        EXPECT_EQ(target.value, 8);

        SmartPtr<Smart> replacement(new Tracked(11));
        EXPECT_TRUE(reference->Accepts(replacement));
        reference->Set(replacement);
        EXPECT_EQ(target.value, 11);
        EXPECT_EQ(reference->Get(), replacement.Get());

        SmartPtr<Smart> sample(new Sample(1));
        EXPECT_FALSE(reference->Accepts(sample));
        EXPECT_EQ(Failure([&] { reference->Accepts(nullptr); }), "data != NULL");
    }
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);

    SmartPtr<DirectReference> fresh(new DirectReference(&target));
    EXPECT_EQ(Failure([&] { fresh->Commit(); }), "data != NULL");
}

// An owner with one field that should hold a Sketch.
struct Owner : public Tracked {
    ~Owner() override { SmartRelease(field); }
    Smart* field { nullptr };
};

TEST_F(ObjectReferences, FieldReferenceStoresConvertedObjectsOfTheExpectedClassOnly)
{
    SmartPtr<Owner> owner(new Owner);
    SmartPtr<pw::foundation::FieldReference> reference(new pw::foundation::FieldReference(owner.Get(), &owner->field, &Sketch::classInfo));
    EXPECT_TRUE(reference->IsValid());
    EXPECT_EQ(reference->Get(), nullptr);
    struct Case {
        const char* name;
        SmartPtr<Smart> object;
        bool accepted;
        int fieldValue;
    } cases[] = {
        { "the class itself", new Sketch(4), true, 4 },
        { "a class that converts", new Photo(6), true, 7 },
        { "a class that does not convert", new Sample(9), false, 7 },
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reference->Accepts(c.object), c.accepted);
        reference->Set(c.object);
        ASSERT_NE(reference->Get(), nullptr);
        EXPECT_EQ(SmartCast<Sketch>(reference->Get())->value, c.fieldValue);
    }
    EXPECT_EQ(owner->field->ReferenceCount(), 1);

    // A field holding another class reads as empty.
    SmartRelease(owner->field);
    owner->field = new Photo(1);
    owner->field->AddReference();
    EXPECT_EQ(reference->Get(), nullptr);

    pw::foundation::FieldReference unbound(nullptr, nullptr, &Sketch::classInfo);
    EXPECT_FALSE(unbound.IsValid());
    EXPECT_FALSE(unbound.Accepts(SmartPtr<Smart>(new Sketch)));
}

} // namespace
