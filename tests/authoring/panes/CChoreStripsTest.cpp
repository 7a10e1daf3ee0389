#include "authoring/panes/CChoreStrips.h"

#include "ui/View.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

#include <vector>

using namespace authoring;

namespace {

// What the callback saw, and how it behaves: each cell takes `cost` ms of the clock, and the cell
// `stopAt` stops the strip.
struct Drawing {
    std::vector<int32_t> cells;
    uint64_t cost { 0 };
    int32_t stopAt { -1 };
    Rect bounds { 0, 0, 0, 0 };
};
Drawing* gDrawing = nullptr;

bool Draw(View*, int32_t cell, const Rect& bounds)
{
    gDrawing->cells.push_back(cell);
    gDrawing->bounds = bounds;
    if (gDrawing->cost)
        driver::AdvanceClock(gDrawing->cost);
    return cell == gDrawing->stopAt;
}

class Strips : public AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        gDrawing = &drawing;
        window = new UndoWindow;
        owner = new View(window.Get(), Rect(10, 20, 110, 70), 0, false, false);
        chore = new CChoreStrips(owner.Get(), &Draw);
    }
    void TearDown() override
    {
        chore->Stop();
        chore = nullptr;
        owner = nullptr;
        window = nullptr;
        gDrawing = nullptr;
        AuthoringTest::TearDown();
    }
    std::vector<int32_t> Queue() const
    {
        std::vector<int32_t> cells;
        for (uint32_t i = 1; i <= chore->NumQueued(); ++i)
            cells.push_back(chore->Queued(i));
        return cells;
    }

    Drawing drawing;
    SmartPtr<UndoWindow> window;
    SmartPtr<View> owner;
    SmartPtr<CChoreStrips> chore;
};

} // namespace

TEST_F(Strips, ACellIsQueuedOnceAtItsLatestPlace)
{
    for (int32_t cell : { 1, 2, 3, 1, 2, 1 })
        chore->MoveToEnd(cell);
    EXPECT_EQ(Queue(), (std::vector<int32_t> { 3, 2, 1 }));
}

// Every tick draws what is queued, oldest first, within the owner's bounds; a callback that says
// stop drops the rest.
TEST_F(Strips, TicksDrawTheQueueUntilTheOwnerSaysStop)
{
    for (int32_t cell : { 4, 5, 6 })
        chore->MoveToEnd(cell);
    driver::RunFor(CChoreStrips::kPeriod + 10);
    EXPECT_EQ(drawing.cells, (std::vector<int32_t> { 4, 5, 6 }));
    EXPECT_EQ(Text(drawing.bounds), "10,20,110,70");
    EXPECT_EQ(chore->GetPeriod(), CChoreStrips::kPeriod);

    drawing.cells.clear();
    drawing.stopAt = 7;
    for (int32_t cell : { 7, 8, 9 })
        chore->MoveToEnd(cell);
    driver::RunFor(CChoreStrips::kPeriod + 10);
    EXPECT_EQ(drawing.cells, (std::vector<int32_t> { 7 }));
    EXPECT_TRUE(Queue().empty());
}

// Drawing that runs past half a second leaves the rest for the next tick, which then comes at
// once and keeps coming every millisecond.
TEST_F(Strips, ALongSliceLeavesTheRestForQuickTicks)
{
    drawing.cost = 200;
    for (int32_t cell : { 1, 2, 3, 4, 5 })
        chore->MoveToEnd(cell);
    chore->Perform();
    EXPECT_EQ(drawing.cells, (std::vector<int32_t> { 1, 2, 3 })) << "at 0, 200 and 400 ms; 600 is past";
    EXPECT_EQ(Queue(), (std::vector<int32_t> { 4, 5 }));
    EXPECT_EQ(chore->GetPeriod(), 1u);
    drawing.cost = 0;
    // A 1 ms period: the platform's shortest timer interval (10 ms) brings the next tick.
    driver::RunFor(20);
    EXPECT_EQ(drawing.cells, (std::vector<int32_t> { 1, 2, 3, 4, 5 }));
    EXPECT_EQ(chore->GetPeriod(), 1u) << "the period stays short";
}
