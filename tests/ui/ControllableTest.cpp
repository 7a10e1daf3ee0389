#include "foundation/SmartPtr.h"
#include "ui/Controllable.h"
#include "ui/TextClient.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> heard;

// A linked control that logs what reaches it and may unlink itself when told.
class Client : public TextClient {
public:
    Client(const char* name, Controllable* leaving = nullptr)
        : name(name)
        , leaving(leaving)
    {
    }
    void RevealRange(const int32_t* range) override
    {
        heard.push_back(name + std::to_string(range[0] + range[1] + range[2]));
        if (leaving)
            leaving->ToggleLink(this);
    }
    void TargetChanged(void*) override { heard.push_back(name + " changed"); }

    std::string name;
    Controllable* leaving;
};

class Target : public Controllable, public SmartImplementation {
    PW_CLASS_INFO(Target)

public:
    void GetRange(int32_t argument, int32_t* first, int32_t*) override { *first = argument; }
    int32_t GetPageSize(int32_t) override { return 0; }
    void TakeValue(int32_t) override { }
    int32_t GetValueFor(int32_t tag) override { return tag * 10; }
};

PW_DEFINE_CLASS(Target, nullptr, nullptr, Controllable, SmartImplementation)

} // namespace

TEST(Controllable, BroadcastsReachTheNewestLinkFirstEvenWhenClientsUnlinkThemselves)
{
    heard.clear();
    SmartPtr<Target> target = new Target;
    Client a("a"), b("b"), c("c");
    for (Client* client : { &a, &b, &c, &b }) // b linked twice: gone again
        target->ToggleLink(client);
    target->Broadcast(1, 2, 3);
    target->BroadcastChange();
    EXPECT_EQ(heard, (std::vector<std::string> { "c6", "a6", "c changed", "a changed" }));
    EXPECT_EQ(target->Query(4), 40);

    heard.clear();
    Client x("x", target.Get()), y("y", target.Get());
    target->ToggleLink(&x);
    target->ToggleLink(&y);
    target->Broadcast(0, 0, 1);
    EXPECT_EQ(heard, (std::vector<std::string> { "y1", "x1", "c1", "a1" })) << "each told once";
    EXPECT_EQ(target->NumLinks(), 2u);
}
