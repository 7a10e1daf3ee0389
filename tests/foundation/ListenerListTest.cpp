#include "foundation/ListenerList.h"

#include "TestObjects.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records its name and the subject's value into a shared log.
class Recorder : public Listener {
public:
    Recorder(std::string name, std::vector<std::string>& log)
        : name(std::move(name))
        , log(log)
    {
    }

    void Notified(SmartPtr<Smart> subject) override
    {
        auto* tracked = SmartCast<Tracked>(subject.Get());
        log.push_back(name + ":" + std::to_string(tracked ? tracked->value : -1));
        if (leaveOnNotify)
            list->Toggle(this);
    }

    std::string name;
    std::vector<std::string>& log;
    bool leaveOnNotify { false };
    ListenerList* list { nullptr };
};

TEST(ListenerList, NotifiesTheLastRegisteredFirst)
{
    std::vector<std::string> log;
    Recorder a("a", log), b("b", log), c("c", log);
    ListenerList list;
    SmartPtr<Smart> subject(new Tracked(4));
    list.Notify(subject);
    EXPECT_TRUE(log.empty());

    list.Toggle(&a);
    list.Toggle(&b);
    list.Toggle(&c);
    list.Notify(subject);
    EXPECT_EQ(log, (std::vector<std::string> { "c:4", "b:4", "a:4" }));
    EXPECT_EQ(subject->ReferenceCount(), 1);

    // Toggling out keeps the others in their order; toggling back in appends.
    list.Toggle(&b);
    list.Toggle(&b);
    log.clear();
    list.Notify(subject);
    EXPECT_EQ(log, (std::vector<std::string> { "b:4", "c:4", "a:4" }));
}

TEST(ListenerList, AListenerLeavingDuringANotificationDoesNotBreakIt)
{
    std::vector<std::string> log;
    Recorder a("a", log), b("b", log), c("c", log);
    ListenerList list;
    for (Recorder* r : { &a, &b, &c }) {
        r->list = &list;
        list.Toggle(r);
    }
    // The first one called (c) leaves; a first one left in front removes two at once.
    c.leaveOnNotify = true;
    list.Notify(nullptr);
    EXPECT_EQ(log, (std::vector<std::string> { "c:-1", "b:-1", "a:-1" }));
    EXPECT_EQ(list.NumListeners(), 2u);
    log.clear();
    b.leaveOnNotify = true;
    a.leaveOnNotify = true;
    list.Notify(nullptr);
    EXPECT_EQ(list.NumListeners(), 0u);
    EXPECT_EQ(log, (std::vector<std::string> { "b:-1", "a:-1" }));
}

} // namespace
