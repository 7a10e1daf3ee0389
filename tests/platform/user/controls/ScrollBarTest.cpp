#include "ControlFixture.h"

#include "platform/testing/TestDriver.h"
#include "platform/user/controls/ScrollBarControl.h"

namespace pw::platform::tests {

namespace {

using Part = user::ScrollBarControl::Part;

class ScrollBarTest : public ControlFixture {
protected:
    // A vertical bar 16 x 200: arrows of 16, a track of 168 and a square thumb.
    HWND MakeBar(int minPos, int maxPos, int pos, DWORD style = SBS_VERT)
    {
        RECT rect = style == SBS_VERT ? RECT { 100, 10, 116, 210 } : RECT { 10, 100, 210, 116 };
        HWND bar = MakeControl("SCROLLBAR", style, rect);
        SetScrollRange(bar, SB_CTL, minPos, maxPos, FALSE);
        SetScrollPos(bar, SB_CTL, pos, TRUE);
        testing::RunUntilIdle();
        return bar;
    }
    static POINT PartPoint(HWND bar, Part part)
    {
        RECT rect = user::ScrollBarControl::PartRect(bar, part);
        EXPECT_LT(rect.left, rect.right) << "part " << static_cast<int>(part);
        return Centre(bar, rect);
    }
    // Presses at p and lets go once `ms` of virtual time have passed (the bar's loop waits on).
    static void HoldMouse(POINT p, uint64_t ms)
    {
        uint64_t start = testing::ClockMs();
        testing::SetIdleHandler([=] {
            if (testing::ClockMs() - start < ms)
                return false;
            testing::ReleaseMouse(p.x, p.y);
            testing::SetIdleHandler(nullptr);
            return true;
        });
        testing::PressMouse(p.x, p.y);
        testing::RunUntilIdle();
    }
};

TEST_F(ScrollBarTest, RangeAndPositionCallsClampAndReport)
{
    HWND bar = MakeBar(0, 100, 30);
    SetLastError(0);
    EXPECT_EQ(30, SetScrollPos(bar, SB_CTL, 250, TRUE));
    EXPECT_EQ(100, GetScrollPos(bar, SB_CTL));
    EXPECT_EQ(100, SetScrollPos(bar, SB_CTL, -5, FALSE));
    EXPECT_EQ(0, GetScrollPos(bar, SB_CTL));
    SetScrollPos(bar, SB_CTL, 80, FALSE);
    EXPECT_TRUE(SetScrollRange(bar, SB_CTL, 10, 50, TRUE));
    EXPECT_EQ(50, GetScrollPos(bar, SB_CTL)) << "a new range pulls the position in";
    int minPos = 0, maxPos = 0;
    EXPECT_TRUE(GetScrollRange(bar, SB_CTL, &minPos, &maxPos));
    EXPECT_EQ(10, minPos);
    EXPECT_EQ(50, maxPos);
    EXPECT_EQ(0u, GetLastError()) << "successful calls leave the last error alone";

    struct {
        const char* name;
        HWND hwnd;
        int bar;
        DWORD error;
    } const failures[] = {
        { "dead window", reinterpret_cast<HWND>(0x4444), SB_CTL, ERROR_INVALID_WINDOW_HANDLE },
        { "window scroll bar", bar, SB_VERT, ERROR_INVALID_PARAMETER },
        { "not a scroll bar", parent, SB_CTL, 1447 },
    };
    for (const auto& f : failures) {
        SCOPED_TRACE(f.name);
        SetLastError(0);
        EXPECT_EQ(0, GetScrollPos(f.hwnd, f.bar));
        EXPECT_EQ(f.error, GetLastError());
        EXPECT_FALSE(SetScrollRange(f.hwnd, f.bar, 0, 5, FALSE));
    }
    EXPECT_FALSE(SetScrollRange(bar, SB_CTL, -2, INT32_MAX, FALSE)) << "a span beyond MAXLONG";
}

TEST_F(ScrollBarTest, ClickingEachPartSendsItsCodeThenEndScroll)
{
    struct {
        const char* name;
        Part part;
        WORD code;
    } const cases[] = {
        { "line up", Part::LineUp, SB_LINEUP },
        { "page up", Part::PageUp, SB_PAGEUP },
        { "page down", Part::PageDown, SB_PAGEDOWN },
        { "line down", Part::LineDown, SB_LINEDOWN },
    };
    HWND bar = MakeBar(0, 100, 50);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        ClickAt(PartPoint(bar, c.part));
        EXPECT_EQ((std::vector<WORD> { c.code, SB_ENDSCROLL }), Codes());
        for (const auto& n : log) {
            EXPECT_EQ(static_cast<UINT>(WM_VSCROLL), n.message);
            EXPECT_EQ(bar, n.control);
        }
        EXPECT_EQ(50, GetScrollPos(bar, SB_CTL)) << "the bar never moves itself";
    }
}

TEST_F(ScrollBarTest, HoldingAPartRepeatsWhileTimersKeepRunning)
{
    HWND bar = MakeBar(0, 100, 50, SBS_HORZ);
    uint64_t start = testing::ClockMs();
    HoldMouse(PartPoint(bar, Part::LineDown), 650);
    std::vector<uint64_t> times;
    for (const auto& n : log) {
        EXPECT_EQ(static_cast<UINT>(WM_HSCROLL), n.message);
        if (n.code == SB_LINERIGHT)
            times.push_back(n.ms - start);
    }
    // At once, after the first delay, then at the repeat rate until the release.
    ASSERT_EQ(5u, times.size());
    EXPECT_LT(times[0], 5u);
    EXPECT_NEAR(400.0, static_cast<double>(times[1] - times[0]), 5.0);
    for (size_t i = 2; i < times.size(); ++i)
        EXPECT_NEAR(100.0, static_cast<double>(times[i] - times[i - 1]), 5.0);
    EXPECT_EQ(SB_ENDSCROLL, log.back().code);
}

TEST_F(ScrollBarTest, PagingStopsWhenTheThumbReachesTheMouse)
{
    HWND bar = MakeBar(0, 100, 0);
    // The parent pages by 10 as a program does.
    onNotify = [&](const Notification& n) {
        if (n.code == SB_PAGEDOWN)
            SetScrollPos(bar, SB_CTL, GetScrollPos(bar, SB_CTL) + 10, TRUE);
    };
    RECT track = user::ScrollBarControl::PartRect(bar, Part::PageDown);
    POINT p = OnScreen(bar, POINT { 8, track.top + (track.bottom - track.top) / 2 });
    HoldMouse(p, 3000);
    // Pages of 10 move the thumb 15.2 pixels each; at 60 it covers the mouse.
    EXPECT_EQ(60, GetScrollPos(bar, SB_CTL));
    RECT thumb = user::ScrollBarControl::PartRect(bar, Part::Thumb);
    POINT client = p;
    ScreenToClient(bar, &client);
    EXPECT_TRUE(client.y >= thumb.top && client.y < thumb.bottom) << "thumb " << thumb.top << ".." << thumb.bottom;
    EXPECT_EQ(SB_ENDSCROLL, log.back().code);
}

TEST_F(ScrollBarTest, DraggingTheThumbTracksThenSetsThePosition)
{
    HWND bar = MakeBar(0, 100, 0);
    POINT from = PartPoint(bar, Part::Thumb);
    testing::Drag(from.x, from.y, from.x, from.y + 400, 4);
    testing::RunUntilIdle();
    std::vector<Notification> got = Notifications(WM_VSCROLL);
    ASSERT_GE(got.size(), 3u);
    int last = 0;
    for (size_t i = 0; i + 2 < got.size(); ++i) {
        EXPECT_EQ(SB_THUMBTRACK, got[i].code);
        EXPECT_GT(got[i].value, last) << "positions grow as the thumb goes down";
        last = got[i].value;
    }
    EXPECT_EQ((Notification { WM_VSCROLL, SB_THUMBPOSITION, 100, bar, 0 }), got[got.size() - 2]);
    EXPECT_EQ(SB_ENDSCROLL, got.back().code);
    EXPECT_EQ(0, GetScrollPos(bar, SB_CTL)) << "the parent sets the position, not the bar";
}

} // namespace

} // namespace pw::platform::tests
