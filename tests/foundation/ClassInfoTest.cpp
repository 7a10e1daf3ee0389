#include "foundation/ClassInfo.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypeMisMatch.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

// A small hierarchy with a second parent, and a chain of conversions.
class Companion : public virtual Smart {
    PW_CLASS_INFO(Companion)
    PW_COPY_SLOTS
};

class Pet : public Companion {
    PW_CLASS_INFO(Pet)
    PW_COPY_SLOTS
};

class Animal : public Tracked {
    PW_CLASS_INFO(Animal)
    PW_COPY_SLOTS
};

class Dog : public Animal, public Pet {
    PW_CLASS_INFO(Dog)
    PW_COPY_SLOTS
};

class Poster : public Tracked {
    PW_CLASS_INFO(Poster)
    PW_COPY_SLOTS
};

class Stamp : public Tracked {
    PW_CLASS_INFO(Stamp)
    PW_COPY_SLOTS
};

namespace {

template <typename From, typename To>
bool Make(SmartPtr<Smart>& handle)
{
    From* source = SmartCast<From>(handle.Get());
    if (!source)
        return false;
    auto* made = new To;
    made->value = source->value + 1;
    handle = made;
    return true;
}

bool Refuse(SmartPtr<Smart>&)
{
    return false;
}

constexpr pw::foundation::ConversionEntry kPosterFrom[] = { { &Sketch::classInfo, &Make<Sketch, Poster>, nullptr }, { nullptr, nullptr, nullptr } };
constexpr pw::foundation::ConversionEntry kStampFrom[] = { { &Photo::classInfo, &Refuse, nullptr },
    { &Sketch::classInfo, &Make<Sketch, Stamp>, nullptr }, { nullptr, nullptr, nullptr } };

} // namespace

PW_DEFINE_CLASS(Companion, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Companion)
PW_DEFINE_CLASS(Pet, nullptr, nullptr, Companion)
PW_DEFINE_NO_COPY_SLOTS(Pet)
PW_DEFINE_CLASS(Animal, nullptr, nullptr, Tracked)
PW_DEFINE_COPY_SLOTS(Animal)
PW_DEFINE_CLASS(Dog, nullptr, nullptr, Animal, Pet)
PW_DEFINE_COPY_SLOTS(Dog)
PW_DEFINE_CLASS(Poster, nullptr, kPosterFrom, Tracked)
PW_DEFINE_COPY_SLOTS(Poster)
PW_DEFINE_CLASS(Stamp, nullptr, kStampFrom, Tracked)
PW_DEFINE_COPY_SLOTS(Stamp)

namespace {

TEST(ClassInfo, IsKindOfWalksEveryParentInOrder)
{
    struct Case {
        const char* name;
        const ClassInfo* record;
        const ClassInfo* asked;
        bool expected;
    } cases[] = {
        { "itself", &Dog::classInfo, &Dog::classInfo, true },
        { "Smart from any class", &Dog::classInfo, &Smart::classInfo, true },
        { "first parent's ancestor", &Dog::classInfo, &SmartImplementation::classInfo, true },
        { "grandparent through the second parent", &Dog::classInfo, &Companion::classInfo, true },
        { "unrelated", &Animal::classInfo, &Pet::classInfo, false },
        { "child from parent", &Animal::classInfo, &Dog::classInfo, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.record->IsKindOf(c.asked), c.expected);
    }
}

TEST(ClassInfo, CastsReachTheSecondParentsPart)
{
    Dog dog;
    Smart* smart = &dog;
    EXPECT_EQ(SmartCast<Pet>(smart), static_cast<Pet*>(&dog));
    EXPECT_EQ(SmartCast<Companion>(smart), static_cast<Companion*>(&dog));
    EXPECT_EQ(SmartCast<Animal>(smart), static_cast<Animal*>(&dog));
    EXPECT_EQ(SmartCast<Photo>(smart), nullptr);
    EXPECT_EQ(SmartCast<Pet>(nullptr), nullptr);
    EXPECT_EQ(Dog::classInfo.ToSmart(static_cast<Dog*>(&dog)), smart);
    // Only classes with a create function are made from their record.
    SmartPtr<Smart> made(Tracked::classInfo.CreateObject());
    EXPECT_TRUE(made.Valid() && made->IsKindOf(&Tracked::classInfo));
    EXPECT_EQ(Sketch::classInfo.CreateObject(), nullptr);
}

using Conversions = CountedObjects;

TEST_F(Conversions, ChainWithinTheDepth)
{
    SmartPtr<Smart> empty;
    EXPECT_TRUE(Poster::classInfo.CanConvert(empty, true, 4));
    EXPECT_FALSE(Poster::classInfo.Convert(empty, true, 4));

    SmartPtr<Smart> handle(new Photo(10));
    struct Case {
        const char* name;
        int depth;
        bool allow;
        bool expected;
    } cases[] = {
        { "depth 0 tests the class only", 0, true, false },
        { "one level is not enough for two steps", 1, true, false },
        { "not allowed", 4, false, false },
        { "two levels", 2, true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Poster::classInfo.CanConvert(handle, c.allow, c.depth), c.expected);
        SmartPtr<Smart> attempt = handle;
        EXPECT_EQ(Poster::classInfo.Convert(attempt, c.allow, c.depth), c.expected);
        EXPECT_EQ(attempt == handle, !c.expected);
    }
    SmartPtr<Smart> converted = handle;
    ASSERT_TRUE(ConvertTo(converted, &Poster::classInfo));
    EXPECT_EQ(SmartCast<Poster>(converted.Get())->value, 12);
    // The intermediate sketch is gone; the photo lives on in its handle.
    EXPECT_EQ(Tracked::live, trackedAtStart + 2);
}

TEST_F(Conversions, AFailedEntryLeavesTheHandleAndTheNextEntryIsTried)
{
    SmartPtr<Smart> handle(new Photo);
    Smart* photo = handle.Get();
    // The Photo entry refuses; the Sketch entry gets there in two steps.
    EXPECT_FALSE(Stamp::classInfo.Convert(handle, true, 1));
    EXPECT_EQ(handle.Get(), photo);
    EXPECT_TRUE(Stamp::classInfo.Convert(handle, true, 2));
    EXPECT_TRUE(handle->IsKindOf(&Stamp::classInfo));
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);
    SmartPtr<Smart> dog(new Dog);
    EXPECT_FALSE(ConvertTo(dog, &Stamp::classInfo));
    EXPECT_TRUE(dog->IsKindOf(&Dog::classInfo));
}

TEST_F(Conversions, CanConvertToLeavesAnUnreferencedObjectAlive)
{
    auto* photo = new Photo;
    EXPECT_TRUE(CanConvertTo(photo, &Poster::classInfo));
    EXPECT_FALSE(CanConvertTo(photo, &Dog::classInfo));
    EXPECT_EQ(photo->ReferenceCount(), 0);
    EXPECT_EQ(Tracked::live, trackedAtStart + 1);
    delete photo;
}

TEST(ClassInfo, CheckTypePassesNullsAndKindsOnly)
{
    Photo photo;
    CheckType(&photo, &Tracked::classInfo);
    CheckType(nullptr, &Dog::classInfo);
    CheckType(&photo, nullptr);
    SmartPtr<Exception> mismatch;
    try {
        CheckType(&photo, &Sketch::classInfo);
    } catch (Exception* exception) {
        mismatch = exception;
    }
    EXPECT_NE(SmartCast<TypeMisMatch>(mismatch.Get()), nullptr);
}

} // namespace
