#include "ui/TypePicker.h"

#include "FrameworkFixture.h"

#include "foundation/AssertionException.h"
#include "foundation/MessageException.h"
#include "ui/ChoiceList.h"
#include "ui/WindowFrame.h"

#include <functional>
#include <string>
#include <vector>

using namespace uitest;
namespace driver = pw::platform::testing;

// Two classes the picker can make, one it cannot.
class Apple : public SmartImplementation {
    PW_CLASS_INFO(Apple)
    PW_COPY_SLOTS
};
class Pear : public SmartImplementation {
    PW_CLASS_INFO(Pear)
    PW_COPY_SLOTS
};
class Stone : public SmartImplementation {
    PW_CLASS_INFO(Stone)
    PW_COPY_SLOTS
};

PW_DEFINE_CLASS(Apple, &pw::foundation::CreateFunction<Apple>, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Apple)
PW_DEFINE_CLASS(Pear, &pw::foundation::CreateFunction<Pear>, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Pear)
PW_DEFINE_CLASS(Stone, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Stone)

namespace {

// Where a picked object goes: it records every object handed to it.
class Basket : public ObjectReference {
public:
    Smart* Get() override { return received.empty() ? nullptr : received.back().Get(); }
    bool IsValid() override { return !received.empty(); }
    bool Commit() override { return true; }
    void Set(const SmartPtr<Smart>& object) override { received.push_back(object); }
    bool Accepts(const SmartPtr<Smart>&) override { return true; }

    std::vector<SmartPtr<Smart>> received;
};

// The list view lent to editable lists for these tests: one 20-pixel row per item from the top of
// the container; a press on a row selects it, a press below the rows selects nothing.
class RowList : public View, public ChoiceList {
public:
    RowList(View& container, const ListHandle& items)
        : View(&container, container.GetBounds(), kSizeStretch, true, false)
        , items(items)
    {
    }

    bool MouseDown(int32_t, int32_t v, BitFlags, uint8_t, const SmartPtr<Window>&) override
    {
        uint32_t row = static_cast<uint32_t>(v - GetBounds().top) / 20 + 1;
        selected = row <= items.NumItems() ? row : 0;
        return true;
    }
    uint32_t SelectedIndex() const override { return selected; }

    ListHandle items;
    uint32_t selected { 0 };
};

View* MakeRowList(View& container, const ListHandle& items, const SmartPtr<Smart>&, const TypeList&, bool, bool)
{
    SmartPtr<View> view(new RowList(container, items));
    container.AddChild(view);
    return view.Get();
}

std::string Failure(const std::function<void()>& action)
{
    try {
        action();
    } catch (Exception* exception) {
        auto* message = dynamic_cast<MessageException*>(exception);
        if (auto* assertion = dynamic_cast<AssertionException*>(exception))
            return "assertion " + assertion->GetExpression();
        return message ? message->GetText().substr(0, message->GetText().find('\r')) : "other exception";
    }
    return "nothing";
}

class TypePickerTest : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        saved = pw::foundation::GetEditableListServices().makeListView;
        pw::foundation::GetEditableListServices().makeListView = &MakeRowList;
    }

    void TearDown() override
    {
        pw::foundation::GetEditableListServices().makeListView = saved;
        FrameworkTest::TearDown();
    }

    decltype(pw::foundation::EditableListServices::makeListView) saved { nullptr };
};

TEST_F(TypePickerTest, PickMakesTheOnlyClassAtOnceAndRefusesAnEmptyList)
{
    const ClassInfo* none[] = { nullptr };
    const ClassInfo* one[] = { &Pear::classInfo, nullptr };
    const ClassInfo* two[] = { &Apple::classInfo, &Pear::classInfo, nullptr };
    struct Case {
        const char* name;
        const ClassInfo* const* records;
        const char* failure;
        size_t made;
    } cases[] = {
        { "no class", none, "There are no pre-defined choices.  You'll have to paste something.", 0 },
        { "a null array", nullptr, "There are no pre-defined choices.  You'll have to paste something.", 0 },
        { "one class", one, "nothing", 1 },
        { "two classes", two, "This won't really add the window", 0 },
    };
    size_t windows = driver::LiveWindowCount();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Basket> basket(new Basket);
        EXPECT_EQ(Failure([&] { TypePicker::Pick(TypePicker::MakeTypeList(c.records), basket.Get()); }), c.failure);
        ASSERT_EQ(basket->received.size(), c.made);
        if (c.made) {
            EXPECT_NE(SmartCast<Pear>(basket->received[0].Get()), nullptr);
        }
        EXPECT_EQ(driver::LiveWindowCount(), windows);
    }
}

TEST_F(TypePickerTest, AClickOnAnEntryMakesItsClassAndClosesThePicker)
{
    const ClassInfo* records[] = { &Apple::classInfo, &Pear::classInfo, &Stone::classInfo, nullptr };
    SmartPtr<Basket> basket(new Basket);
    SmartPtr<TypePicker> picker(new TypePicker(TypePicker::MakeTypeList(records), basket.Get()));
    ListHandle names = picker->GetEditables();
    ASSERT_EQ(names.NumItems(), 3u);
    char name[32];
    SmartCast<String>(names.GetItem(2))->GetCString(name, sizeof name);
    EXPECT_STREQ(name, "Pear");
    app->AddWindow(picker.Get(), true);
    Rect client = picker->GetFrame()->GetContentBounds();

    // Below the rows nothing is selected and the picker stays.
    driver::Click(client.left + 30, client.top + 100);
    driver::RunUntilIdle();
    EXPECT_FALSE(picker->IsClosed());
    EXPECT_TRUE(basket->received.empty());

    driver::Click(client.left + 30, client.top + 25);
    driver::RunUntilIdle();
    EXPECT_TRUE(picker->IsClosed());
    EXPECT_FALSE(picker->WasCancelled());
    ASSERT_EQ(basket->received.size(), 1u);
    EXPECT_NE(SmartCast<Pear>(basket->received[0].Get()), nullptr);

    // A class with nothing to make it gives the target nothing; Escape cancels.
    SmartPtr<TypePicker> other(new TypePicker(TypePicker::MakeTypeList(records), basket.Get()));
    other->Picked(3);
    EXPECT_EQ(basket->received.size(), 1u);
    other->KeyDown(27, 0);
    EXPECT_TRUE(other->WasCancelled());
}

TEST_F(TypePickerTest, APickerNeedsAListOfEditables)
{
    SmartList<Apple> apples;
    EXPECT_EQ(Failure([&] { SmartPtr<Picker> picker(new Picker(apples)); }), "assertion editables != NULL");
    SmartList<String> strings;
    strings.Append(new String("one"));
    SmartPtr<Picker> picker(new Picker(strings));
    EXPECT_TRUE(picker->GetListView().Valid());
    picker->Close();
}

} // namespace
