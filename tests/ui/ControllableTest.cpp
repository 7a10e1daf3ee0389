#include "foundation/SmartPtr.h"
#include "ui/Controllable.h"
#include "ui/TextClient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> heard;

class Client : public TextClient {
public:
    explicit Client(std::string name)
        : name(std::move(name))
    {
    }

    void RevealRange(const int32_t* range) override
    {
        heard.push_back(name + ":" + std::to_string(range[0]) + "," + std::to_string(range[1]) + ","
            + std::to_string(range[2]));
        if (unlinkFrom)
            unlinkFrom->ToggleLink(this);
    }
    void TargetChanged(void*) override { heard.push_back(name + ":changed"); }

    std::string name;
    Controllable* unlinkFrom { nullptr };
};

class Counter : public Controllable, public SmartImplementation {
    PW_CLASS_INFO(Counter)

public:
    void GetRange(int32_t argument, int32_t* first, int32_t* second) override
    {
        heard.push_back("range " + std::to_string(argument));
        *first = 1;
        *second = 9;
    }
    int32_t GetPageSize(int32_t) override { return 0; }
    void TakeValue(int32_t) override { }
    int32_t GetValueFor(int32_t tag) override
    {
        heard.push_back("value " + std::to_string(tag));
        return tag * 10;
    }
};

PW_DEFINE_CLASS(Counter, nullptr, nullptr, Controllable, SmartImplementation)

} // namespace

TEST(Controllable, BroadcastsReachTheNewestLinkFirstAndToggleUnlinks)
{
    heard.clear();
    SmartPtr<Counter> target = new Counter;
    Client a("a"), b("b"), c("c");
    target->ToggleLink(&a);
    target->ToggleLink(&b);
    target->ToggleLink(&c);
    target->ToggleLink(&b); // linked twice: gone again
    target->Broadcast(1, 2, 3);
    target->BroadcastChange();
    EXPECT_EQ(heard, (std::vector<std::string> { "c:1,2,3", "a:1,2,3", "c:changed", "a:changed" }));
    EXPECT_EQ(target->NumLinks(), 2u);
}

TEST(Controllable, ClientsUnlinkingThemselvesDuringABroadcastAreToldOnce)
{
    heard.clear();
    SmartPtr<Counter> target = new Counter;
    Client a("a"), b("b"), c("c");
    for (Client* client : { &a, &b, &c }) {
        client->unlinkFrom = target.Get();
        target->ToggleLink(client);
    }
    target->Broadcast(7, 8, 9);
    EXPECT_EQ(heard, (std::vector<std::string> { "c:7,8,9", "b:7,8,9", "a:7,8,9" }));
    EXPECT_EQ(target->NumLinks(), 0u);
}

TEST(Controllable, QueryAsksTheRangeThenAnswersTheValue)
{
    heard.clear();
    SmartPtr<Counter> target = new Counter;
    EXPECT_EQ(target->Query(4), 40);
    EXPECT_EQ(heard, (std::vector<std::string> { "range 4", "value 4" }));
}
