#include "foundation/Signal.h"

#include "foundation/SmartPtr.h"

#include "Failure.h"
#include "TestObjects.h"

#include <gtest/gtest.h>

namespace {

// Adds its amount to the watcher's value; enabled only while the value is below the limit.
class AddSignal : public Signal<Tracked> {
public:
    AddSignal(int amount, int limit)
        : Signal(PW_HERE)
        , amount(amount)
        , limit(limit)
    {
    }

protected:
    int32_t Status(Tracked& watcher) override { return watcher.value < limit ? enabled : disabled; }
    void Act(Tracked& watcher) override { watcher.value += amount; }

private:
    int amount;
    int limit;
};

TEST(Signal, StatusFollowsTheWatchersClassAndTest)
{
    SmartPtr<GenericSignal> add(new AddSignal(1, 5));
    SmartPtr<Tracked> low(new Tracked(1));
    SmartPtr<Tracked> high(new Tracked(9));
    SmartPtr<Photo> derived(new Photo(0));
    SmartPtr<Sample> unrelated(new Sample(1));
    struct Case {
        const char* name;
        Smart* watcher;
        int32_t expected;
    } cases[] = {
        { "null watcher", nullptr, GenericSignal::disabled },
        { "unrelated class", unrelated.Get(), GenericSignal::disabled },
        { "the class, test passes", low.Get(), GenericSignal::enabled },
        { "the class, test fails", high.Get(), GenericSignal::disabled },
        { "a derived class", derived.Get(), GenericSignal::enabled },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(add->GetSignalStatus(c.watcher), c.expected);
    }
}

TEST(Signal, SendActsOnEnabledWatchersAndRefusesDisabledOnes)
{
    SmartPtr<GenericSignal> add(new AddSignal(2, 5));
    SmartPtr<Photo> derived(new Photo(3));
    add->Send(derived.Get());
    EXPECT_EQ(derived->value, 5);

    // Now at the limit: the same signal refuses without touching the watcher.
    std::string failure;
    try {
        add->Send(derived.Get());
    } catch (Exception* exception) {
        auto* assertion = dynamic_cast<AssertionException*>(exception);
        ASSERT_NE(assertion, nullptr);
        failure = assertion->GetExpression();
        EXPECT_NE(assertion->GetFile().find("SignalTest.cpp"), std::string::npos);
    }
    EXPECT_EQ(failure, "GetSignalStatus(watcher) != disabled");
    EXPECT_EQ(derived->value, 5);

    SmartPtr<Sample> unrelated(new Sample(1));
    EXPECT_EQ(Failure([&] { add->Send(unrelated.Get()); }), "GetSignalStatus(watcher) != disabled");
    EXPECT_EQ(Failure([&] { add->Send(nullptr); }), "GetSignalStatus(watcher) != disabled");
}

} // namespace
