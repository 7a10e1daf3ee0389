#include "ui/TypePicker.h"

#include "FrameworkFixture.h"

#include "foundation/AssertionException.h"
#include "foundation/MessageException.h"
#include "ui/WindowFrame.h"

using namespace uitest;
namespace driver = pw::platform::testing;

// Two classes a picker can make.
class Apple : public SmartImplementation {
    PW_CLASS_INFO(Apple)
    PW_COPY_SLOTS
};
class Pear : public SmartImplementation {
    PW_CLASS_INFO(Pear)
    PW_COPY_SLOTS
};
PW_DEFINE_CLASS(Apple, &pw::foundation::CreateFunction<Apple>, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Apple)
PW_DEFINE_CLASS(Pear, &pw::foundation::CreateFunction<Pear>, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Pear)

namespace {

// Where picked objects go: the names of their classes, in order.
class Basket : public ObjectReference {
public:
    Smart* Get() override { return nullptr; }
    bool IsValid() override { return false; }
    bool Commit() override { return true; }
    void Set(const SmartPtr<Smart>& object) override { received += object->GetClassInfo()->GetName(); }
    bool Accepts(const SmartPtr<Smart>&) override { return true; }

    std::string received;
};

std::string Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (Exception* exception) {
        if (auto* assertion = dynamic_cast<AssertionException*>(exception))
            return assertion->GetExpression();
        const std::string& text = dynamic_cast<MessageException*>(exception)->GetText();
        return text.substr(0, text.find('\r'));
    }
    return "nothing";
}

using TypePickerTest = FrameworkTest;

TEST_F(TypePickerTest, PickMakesTheOnlyClassAtOnceAndRefusesAnEmptyList)
{
    const ClassInfo* none[] = { nullptr };
    const ClassInfo* one[] = { &Pear::classInfo, nullptr };
    const ClassInfo* two[] = { &Apple::classInfo, &Pear::classInfo, nullptr };
    struct Case {
        const ClassInfo* const* records;
        const char* failure;
        const char* made;
    } cases[] = {
        { none, "There are no pre-defined choices.  You'll have to paste something.", "" },
        { nullptr, "There are no pre-defined choices.  You'll have to paste something.", "" },
        { one, "nothing", "Pear" },
        { two, "This won't really add the window", "" },
    };
    size_t windows = driver::LiveWindowCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.failure);
        SmartPtr<Basket> basket(new Basket);
        EXPECT_EQ(Failure([&] { TypePicker::Pick(TypePicker::MakeTypeList(c.records), basket.Get()); }), c.failure);
        EXPECT_EQ(basket->received, c.made);
        EXPECT_EQ(driver::LiveWindowCount(), windows);
    }
    EXPECT_EQ(Failure([] { SmartPtr<Picker> picker(new Picker(SmartList<Apple>())); }), "editables != NULL");
}

TEST_F(TypePickerTest, AClickOnAnEntryMakesItsClassAndClosesThePicker)
{
    const ClassInfo* records[] = { &Apple::classInfo, &Pear::classInfo, nullptr };
    SmartPtr<Basket> basket(new Basket);
    SmartPtr<TypePicker> picker(new TypePicker(TypePicker::MakeTypeList(records), basket.Get()));
    app->AddWindow(picker.Get(), true);
    Rect client = picker->GetFrame()->GetContentBounds();
    driver::Click(client.left + 30, client.top + 100); // below the rows of the list: nothing picked
    driver::RunUntilIdle();
    EXPECT_FALSE(picker->IsClosed());
    driver::Click(client.left + 30, client.top + 25);
    driver::RunUntilIdle();
    EXPECT_TRUE(picker->IsClosed());
    EXPECT_FALSE(picker->WasCancelled());
    EXPECT_EQ(basket->received, "Pear");
}

} // namespace
