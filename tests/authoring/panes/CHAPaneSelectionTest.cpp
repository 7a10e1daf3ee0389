#include "authoring/panes/CHAPane.h"

#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class Selection : public PaneTest {
protected:
    std::string Run()
    {
        int16_t first = 0;
        int16_t last = 0;
        pane->GetStoredRun(first, last);
        return std::to_string(first) + ".." + std::to_string(last);
    }

    // The selected sprites by their index in the page.
    std::string Selected()
    {
        SmartList<CSprite> list = pane->GetSelectedSprites();
        std::string text;
        for (uint32_t i = 1; i <= list.NumItems(); ++i) {
            for (int16_t index = 0; index < int16_t(group->NumSprites()); ++index) {
                if (group->GetSprite(index) == list.Item(i))
                    text += std::to_string(index);
            }
        }
        return text;
    }

    void ClearAll()
    {
        pane->SelectObject(nullptr, false);
        pane->SetSelectionMode(0);
    }

    std::string Shown(int32_t v, int32_t from, int32_t to)
    {
        return ShownRow(page->GetFrame()->GetOSWindow(), v, from, to);
    }
};

} // namespace

// The frame run as the selected sprites allow it: an empty run stays an insertion point unless a
// sprite is selected, the run is cut to the movie, narrowed or widened to the frames where the
// selected sprites show, and a sprite shown in none of them leaves the selection.
TEST_F(Selection, SelectFramesReproducesTheExamples)
{
    CSprite* late = AddSprite(Rect(10, 10, 20, 20), 6, 3);
    CSprite* middle = AddSprite(Rect(30, 10, 40, 20), 3, 2);
    CSprite* early = AddSprite(Rect(50, 10, 60, 20), 0, 2);
    struct Case {
        const char* name;
        int16_t storedFirst, storedLast;
        std::vector<CSprite*> selected;
        int16_t first, last;
        const char* run;
        size_t selectedAfter;
    } cases[] = {
        { "a last below first - 1 takes the stored last", 3, 4, {}, 5, 2, "5..4", 0 },
        { "an empty run with a sprite selected is one frame", 0, 0, { middle }, 4, 3, "4..4", 1 },
        { "an empty run with nothing selected is an insertion point", 0, 0, {}, 4, 3, "4..3", 0 },
        { "the run is cut to the movie", 0, 0, {}, 0, 99, "0..9", 0 },
        { "narrowed to the frames the sprite shows in", 0, 0, { late }, 2, 9, "6..8", 1 },
        { "widened by a second sprite", 0, 0, { late, middle }, 2, 9, "3..8", 2 },
        { "a sprite in none of the frames goes", 0, 0, { early }, 2, 9, "9..8", 0 },
        { "a negative first takes the stored first", 2, 5, {}, -1, 7, "2..7", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClearAll();
        pane->SelectFrames(c.storedFirst, c.storedLast);
        ASSERT_EQ(Run(), std::to_string(c.storedFirst) + ".." + std::to_string(c.storedLast));
        for (CSprite* sprite : c.selected)
            pane->SelectObject(sprite, true);
        pane->SelectFrames(c.first, c.last);
        EXPECT_EQ(Run(), c.run);
        EXPECT_EQ(pane->GetSelectedSprites().NumItems(), c.selectedAfter);
    }
}

// Modes move down as the run narrows; the player goes into the run; the clients hear once per
// change and never of a run or mode that stays.
TEST_F(Selection, ModesFollowTheRunAndClientsHearOncePerChange)
{
    SelectionCounter counter;
    pane->ToggleSelectionClient(&counter);
    struct Step {
        const char* name;
        int32_t setMode;
        int16_t first, last;
        int32_t mode;
        int16_t frame;
        int notices;
    } steps[] = {
        { "all frames stay all frames", 2, 0, 9, 2, 0, 2 },
        { "a narrower run makes mode 1", -1, 2, 5, 1, 2, 3 },
        { "the same run again tells nobody", -1, 2, 5, 1, 2, 3 },
        { "one frame makes mode 0", -1, 4, 4, 0, 4, 4 },
        { "mode 0 with a longer run makes mode 1", -1, 4, 6, 1, 4, 5 },
        { "the same mode again tells nobody", 1, 4, 6, 1, 4, 5 },
        { "current to the end keeps a run to the end", 3, 4, 9, 3, 4, 7 },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.setMode >= 0)
            pane->SetSelectionMode(s.setMode);
        pane->SelectFrames(s.first, s.last);
        EXPECT_EQ(pane->GetSelectionMode(), s.mode);
        EXPECT_EQ(show->GetPlayer()->GetFrame(), s.frame);
        EXPECT_EQ(pane->GetCurrentFrame(), s.frame);
        EXPECT_EQ(counter.count, s.notices);
    }
    pane->ToggleSelectionClient(&counter);
}

// Selecting every sprite takes them from the front; a sprite that does not show in the selected
// frames is refused until SelectSprite fits it into them; under the overview nothing counts as
// selected.
TEST_F(Selection, SpritesAreSelectedAllOneOrFittedIntoTheFrames)
{
    AddSprite(Rect(10, 10, 20, 20), 0, 10);
    AddSprite(Rect(30, 10, 40, 20), 0, 10);
    CSprite* later = AddSprite(Rect(50, 10, 60, 20), 5, 2);
    SelectionCounter counter;
    pane->ToggleSelectionClient(&counter);

    pane->SelectObject(nullptr, true);
    EXPECT_EQ(Selected(), "210");
    pane->SelectObject(nullptr, false);
    EXPECT_EQ(Selected(), "");

    pane->SetSelection(later);
    EXPECT_EQ(Selected(), "") << "frame 0 does not show it";
    EXPECT_EQ(counter.count, 0);
    pane->SelectSprite(2, false);
    EXPECT_EQ(Selected(), "");
    pane->SelectSprite(2, true);
    EXPECT_EQ(Selected(), "2");
    EXPECT_TRUE(later->ShowsInFrames(0, 1)) << "fitted into the selected frame";
    EXPECT_EQ(counter.count, 1);
    pane->SetSelection(later);
    EXPECT_EQ(counter.count, 1) << "already the whole selection";
    pane->SelectSprite(0, false);
    EXPECT_EQ(Selected(), "0");
    EXPECT_EQ(counter.count, 2);

    pw::authoring::gOverviewShown = 1;
    EXPECT_EQ(Selected(), "");
    pw::authoring::gOverviewShown = 0;
    EXPECT_EQ(Selected(), "0");
    pane->ToggleSelectionClient(&counter);
}

// A handle is hit on the outer corner pixel, not in the middle of the rectangle.
TEST(CHAPaneHandles, HandlesAreHitInsideEachCorner)
{
    Rect r(0, 0, 20, 20);
    struct Case {
        Point p;
        bool hit;
    } cases[] = {
        { Point(0, 0), true }, { Point(19, 0), true }, { Point(19, 19), true }, { Point(0, 19), true },
        { Point(7, 7), true }, { Point(12, 12), true }, { Point(8, 8), false }, { Point(10, 10), false },
        { Point(11, 3), false }, { Point(20, 20), false }, { Point(-1, 0), false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(Text(c.p));
        EXPECT_EQ(CHAPane::HitsHandle(c.p, r), c.hit);
    }
}

// Four black squares inside the corners of a selected sprite, each 7 pixels across under the
// null pen; none while the page plays or the pane is not active.
TEST_F(Selection, SelectedSpritesShowHandlesOnlyWhileStoppedAndActive)
{
    AddSprite(Rect(10, 10, 30, 30), 0, 10);
    pane->SelectSprite(0, false);
    const char* marked[] = {
        "wwkkkkkkkrrrrrkkkkkkkrww",
        "wwrrrrrrrrrrrrrrrrrrrrww",
    };
    std::string plain = "wwrrrrrrrrrrrrrrrrrrrrww";
    struct Row {
        int32_t v;
        const char* expected;
    } rows[] = { { 10, marked[0] }, { 16, marked[0] }, { 17, marked[1] }, { 22, marked[0] }, { 28, marked[0] },
        { 29, marked[1] } };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.v);
        EXPECT_EQ(Shown(row.v, 8, 32), row.expected);
    }

    show->GetPlayer()->Start();
    driver::RunUntilIdle();
    EXPECT_EQ(Shown(10, 8, 32), plain) << "playing";
    show->GetPlayer()->Stop();
    driver::RunUntilIdle();
    EXPECT_EQ(Shown(10, 8, 32), marked[0]);
    pane->SetActive(false);
    driver::RunUntilIdle();
    EXPECT_EQ(Shown(10, 8, 32), plain) << "inactive";
}

// A press takes the sprite seen at the point, even over a selected one beneath it, but a
// selected sprite's corner handle, drawn over everything, takes that sprite.
TEST_F(Selection, APressTakesTheSpriteSeenOrASelectedSpritesHandle)
{
    AddSprite(Rect(10, 10, 50, 50), 0, 10);
    AddSprite(Rect(20, 20, 60, 60), 0, 10, 9);
    int16_t preferred = 0;
    int16_t top = 0;
    pane->HitTest(Point(30, 30), preferred, top);
    EXPECT_EQ(preferred, 1);
    EXPECT_EQ(top, 1);
    pane->SelectSprite(0, false);
    pane->HitTest(Point(30, 30), preferred, top);
    EXPECT_EQ(preferred, 1);
    EXPECT_EQ(top, 1);
    pane->HitTest(Point(45, 45), preferred, top);
    EXPECT_EQ(preferred, 0) << "the selected sprite's bottom-right handle";
    EXPECT_EQ(top, 1);
    pane->HitTest(Point(5, 5), preferred, top);
    EXPECT_EQ(preferred, -1);
    EXPECT_EQ(top, -1);
}
