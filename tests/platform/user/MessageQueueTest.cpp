#include "WindowFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/Window.h"

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class MessageQueue : public WindowFixture { };

std::vector<UINT> Numbers(const std::vector<MSG>& messages)
{
    std::vector<UINT> numbers;
    for (const MSG& msg : messages)
        numbers.push_back(msg.message);
    return numbers;
}

TEST_F(MessageQueue, PostedMessagesComeFirstThenQuitThenPaintThenTimer)
{
    HWND hwnd = MakeWindow(nullptr, WS_VISIBLE);
    SetTimer(hwnd, 1, 10, nullptr);
    driver::AdvanceClock(10);
    PostMessageA(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessageA(hwnd, WM_USER + 2, 0, 0);

    std::vector<MSG> first = PumpAll();
    EXPECT_EQ(Numbers(first), (std::vector<UINT> { WM_USER + 1, WM_USER + 2, WM_QUIT }));
    EXPECT_EQ(first.back().wParam, 3u);
    EXPECT_EQ(first.back().hwnd, nullptr);
    // Paint (validated by DefWindowProcA), then the timer's one tick.
    EXPECT_EQ(Numbers(PumpAll()), (std::vector<UINT> { WM_PAINT, WM_TIMER }));
    EXPECT_TRUE(PumpAll().empty());
}

TEST_F(MessageQueue, MessagesPostedWhileDispatchingStillComeBeforePaintAndTimer)
{
    HWND hwnd = MakeWindow(nullptr, WS_VISIBLE);
    SetTimer(hwnd, 1, 10, nullptr);
    driver::AdvanceClock(10);
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER)
            PostMessageA(hwnd, WM_USER + 1, 0, 0);
        return std::nullopt;
    };
    PostMessageA(hwnd, WM_USER, 0, 0);
    EXPECT_EQ(Numbers(PumpAll()), (std::vector<UINT> { WM_USER, WM_USER + 1, WM_PAINT, WM_TIMER }));
}

TEST_F(MessageQueue, PaintNobodyValidatesComesBackAtEveryEmptyQueue)
{
    HWND hwnd = MakeWindow(nullptr, WS_VISIBLE);
    answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_PAINT)
            return 0;
        return std::nullopt;
    };
    MSG msg;
    for (int round = 0; round < 3; ++round) {
        ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(msg.message, static_cast<UINT>(WM_PAINT));
        DispatchMessageA(&msg);
    }
    PostMessageA(hwnd, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    // Hidden windows are never painted.
    SetWindowLongA(hwnd, GWL_STYLE, 0);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PeekWithoutRemoveLeavesTheMessage)
{
    HWND hwnd = MakeWindow();
    PostMessageA(hwnd, WM_USER, 5, 6);
    PostQuitMessage(0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(msg.lParam, 6);
    // A quit taken by a peek is lost; one only looked at stays.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_TRUE(driver::QuitPending());
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(driver::QuitPending());
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, QuitIsKeptOnceAndEndsGetMessage)
{
    PostQuitMessage(1);
    PostQuitMessage(4);
    MSG msg;
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 4u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, ThreadMessagesAreRetrievedButDispatchNowhere)
{
    EXPECT_TRUE(PostMessageA(nullptr, WM_USER, 1, 2));
    std::vector<MSG> got = PumpAll();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].hwnd, nullptr);
    EXPECT_TRUE(log.empty());
}

TEST_F(MessageQueue, BadWindowsAreRefused)
{
    HWND dead = MakeWindow();
    DestroyWindow(dead);
    MSG msg {};
    struct Case {
        const char* name;
        std::function<LRESULT()> call;
        LRESULT result;
    };
    std::vector<Case> cases = {
        { "PostMessageA", [&] { return PostMessageA(dead, WM_USER, 0, 0); }, FALSE },
        { "SendMessageA", [&] { return SendMessageA(dead, WM_USER, 0, 0); }, 0 },
        { "GetMessageA", [&] { return GetMessageA(&msg, dead, 0, 0); }, -1 },
        { "PeekMessageA", [&] { return PeekMessageA(&msg, dead, 0, 0, PM_REMOVE); }, FALSE },
        { "DispatchMessageA", [&] {
             MSG stale { dead, WM_USER, 0, 0, 0, {} };
             return DispatchMessageA(&stale);
         },
            0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(c.call(), c.result);
        EXPECT_EQ(GetLastError(), 1400u);
    }
}

TEST_F(MessageQueue, FiltersChooseWindowsAndRanges)
{
    HWND parent = MakeWindow();
    HWND child = MakeWindow(parent);
    HWND other = MakeWindow();
    PostMessageA(other, WM_USER, 1, 0);
    PostMessageA(child, WM_USER + 5, 2, 0);
    PostMessageA(parent, WM_USER + 9, 3, 0);
    PostMessageA(nullptr, WM_USER, 4, 0);

    MSG msg;
    // A window filter passes the window and its descendants, never thread messages.
    ASSERT_TRUE(PeekMessageA(&msg, parent, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 6, WM_USER + 10, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, parent, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 4u);
}

TEST_F(MessageQueue, IdleGetMessageJumpsTheClockToTheNextTimer)
{
    HWND hwnd = MakeWindow();
    SetTimer(hwnd, 2, 500, nullptr);
    SetTimer(hwnd, 1, 300, nullptr);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_EQ(driver::ClockMs(), 300u);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_EQ(driver::ClockMs(), 500u);
}

} // namespace

} // namespace pw::platform::tests
