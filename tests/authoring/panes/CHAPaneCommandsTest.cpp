#include "authoring/panes/CHAPane.h"

#include "authoring/panes/PaneCommandHooks.h"
#include "engine/CFrameIndex.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// Three sprites over the ten frames, A at the back; B is selected unless a test says otherwise.
class PaneCommands : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        a = AddSprite(Rect(10, 10, 30, 30), 0, kFrames, 1);
        b = AddSprite(Rect(40, 10, 60, 30), 0, kFrames, 2);
        c = AddSprite(Rect(70, 10, 90, 30), 0, kFrames, 3);
        pw::authoring::SetPaneCommandHooks({});
    }
    void TearDown() override
    {
        pw::authoring::SetPaneCommandHooks({});
        PaneTest::TearDown();
    }

    size_t Warnings() const
    {
        size_t count = 0;
        for (const auto& alert : driver::AlertLog())
            count += alert.text.find("Not implemented.") != std::string::npos;
        return count;
    }

    // The group's sprites from back to front, by name.
    std::string Order()
    {
        std::string text;
        for (int16_t i = 0; i < int16_t(group->NumSprites()); ++i)
            text += group->GetSprite(i) == a ? 'A' : group->GetSprite(i) == b ? 'B' : 'C';
        return text;
    }

    CSprite* a { nullptr };
    CSprite* b { nullptr };
    CSprite* c { nullptr };
};

} // namespace

// The status of every command the pane answers, stopped without a selection, stopped with B
// selected, and while the page plays.
TEST_F(PaneCommands, StatusFollowsSelectionPlaybackAndSettings)
{
    struct Case {
        int32_t number;
        int32_t none, selected, playing;
    } cases[] = {
        { 7, 3, 3, 3 }, { 16, 3, 3, 3 }, { 18, 3, 3, 3 }, { 21, 3, 3, 3 },
        { 2001, 0, 0, 0 }, { 2002, 0, 0, 0 }, { 2003, 0, 0, 0 }, { 2004, 0, 0, 0 },
        { 2005, 3, 3, 3 }, { 2006, 3, 3, 3 }, { 2010, 0, 0, 0 }, { 2011, 0, 0, 0 },
        { 2013, 3, 3, 3 }, { 2022, 3, 0, 3 }, { 2026, 3, 0, 3 }, { 2027, 3, 0, 3 },
        { 2030, 0, 0, 3 }, { 2031, 3, 3, 0 }, { 2032, 0, 0, 0 }, { 2034, 0, 0, 0 },
        { 2040, 0, 0, 0 }, { 2042, 1, 1, 1 }, { 2043, 0, 0, 0 }, { 2044, 0, 0, 0 },
        { 2046, 0, 0, 0 }, { 2072, 3, 3, 3 }, { 2073, 0, 0, 0 }, { 2074, 0, 0, 0 },
        { 3010, 0, 0, 3 }, { 3011, 0, 0, 3 }, { 3012, 0, 0, 3 }, { 3013, 0, 0, 3 },
        { 2999, 3, 3, 3 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.number);
        pane->SelectSprite(-1, false);
        EXPECT_EQ(pane->GetCommandStatus(k.number), k.none) << "nothing selected";
        pane->SetSelection(b);
        EXPECT_EQ(pane->GetCommandStatus(k.number), k.selected) << "B selected";
        pane->SelectSprite(-1, false);
        ASSERT_TRUE(show->GetPlayer()->Start());
        EXPECT_EQ(pane->GetCommandStatus(k.number), k.playing) << "playing";
        show->GetPlayer()->Stop();
    }
}

// Toggles answer checked exactly while they are on; the front and back sprites cannot move
// further; a frame label enables 2072; the overview disables "select all frames".
TEST_F(PaneCommands, StatusOfTogglesEndsOfTheOrderLabelsAndTheOverview)
{
    ASSERT_TRUE(show->ToggleForward(false)) << "a new page loops";
    pane->DoCommand(2040, 0);
    pane->DoCommand(2042, 0);
    EXPECT_EQ(pane->GetCommandStatus(2040), 1);
    EXPECT_EQ(pane->GetCommandStatus(2042), 0);
    EXPECT_FALSE(show->ToggleForward(false));
    pane->DoCommand(2040, 0);
    pane->DoCommand(2042, 0);
    EXPECT_EQ(pane->GetCommandStatus(2040), 0);
    EXPECT_EQ(pane->GetCommandStatus(2042), 1);

    pane->SetSelection(c);
    EXPECT_EQ(pane->GetCommandStatus(2026), 3) << "C is in front";
    EXPECT_EQ(pane->GetCommandStatus(2027), 0);
    pane->SetSelection(a);
    EXPECT_EQ(pane->GetCommandStatus(2026), 0);
    EXPECT_EQ(pane->GetCommandStatus(2027), 3) << "A is at the back";

    group->GetFrameIndex()->SetName(6, String("six"));
    EXPECT_EQ(pane->GetCommandStatus(2072), 0);
    pw::authoring::gOverviewShown = 1;
    EXPECT_EQ(pane->GetCommandStatus(2003), 3);
}

// Every command but "back" stops a playing page first.
TEST_F(PaneCommands, EveryCommandButBackStopsPlayback)
{
    for (int32_t number : { 7, 16, 2001, 2003, 2004, 2026, 2031, 2032, 2034, 2040, 2042, 2043, 3010, 3013, 2999 }) {
        SCOPED_TRACE(number);
        if (number == 7 || number == 2999)
            driver::ScriptMessageBoxes({ IDOK });
        ASSERT_TRUE(show->GetPlayer()->Start());
        pane->DoCommand(number, 0);
        EXPECT_EQ(pane->IsPlaying(), number == 2034);
        show->GetPlayer()->Stop();
    }
}

// Inserting frames asks for the count (one unless the question says otherwise), puts blank
// frames at the range's first frame and selects them; a refused question changes nothing.
TEST_F(PaneCommands, InsertFramesSelectsTheNewFrames)
{
    struct Case {
        const char* name;
        bool answer;
        int16_t count;
        int16_t frames;
        const char* run;
    } cases[] = {
        { "refused", false, 3, 10, "4..4" },
        { "the proposed one", true, 1, 11, "4..4" },
        { "three", true, 3, 14, "4..6" },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        std::string asked;
        pw::authoring::PaneCommandHooks hooks;
        hooks.askNumber = [&](const char* title, int16_t& value) {
            asked = title;
            EXPECT_EQ(value, 1);
            value = k.count;
            return k.answer;
        };
        pw::authoring::SetPaneCommandHooks(hooks);
        pane->SelectSprite(-1, false);
        pane->SelectFrames(0, 0);
        pane->SelectFrames(4, 4);
        pane->DoCommand(2001, 0);
        EXPECT_EQ(asked, "Insert Frames");
        EXPECT_EQ(group->NumFrames(), k.frames);
        int16_t first = 0;
        int16_t last = 0;
        pane->GetStoredRun(first, last);
        EXPECT_EQ(std::to_string(first) + ".." + std::to_string(last), k.run);
        EXPECT_EQ(At(b, 4).IsEmpty(), k.answer) << "the new frames are blank";
        EXPECT_EQ(Text(At(b, static_cast<int16_t>(k.frames - 1))), "40,10,60,30") << "later frames move on";
    }
}

// Bringing forward takes the selection from its last sprite, sending backward from its first, so
// several selected sprites keep their order among themselves.
TEST_F(PaneCommands, OrderCommandsKeepTheSelectedSpritesInTheirOrder)
{
    struct Case {
        const char* name;
        int32_t number;
        std::vector<CSprite*> selected;
        const char* order;
    } cases[] = {
        { "A forward", 2026, { a }, "BAC" },
        { "C backward", 2027, { c }, "ACB" },
        { "A and B forward", 2026, { a, b }, "CAB" },
        { "B and C backward", 2027, { b, c }, "BCA" },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        while (Order() != "ABC")
            group->LowerSprite(group->GetSprite(1) == a ? a : group->GetSprite(2) == a ? a : b, -1);
        pane->SelectSprite(-1, false);
        for (CSprite* sprite : k.selected)
            pane->SelectObject(sprite, true);
        pane->DoCommand(k.number, 0);
        EXPECT_EQ(Order(), k.order);
    }
}

// Play starts from frame 0 at the last frame and deselects; stepping goes frame by frame, stops at
// either end; first and last frame jump; the application hears stop.
TEST_F(PaneCommands, PlayingAndSteppingThroughFrames)
{
    pane->SetSelection(b);
    show->GetPlayer()->GoToFrame(9);
    pane->DoCommand(2030, 0);
    EXPECT_TRUE(pane->IsPlaying());
    EXPECT_EQ(show->GetPlayer()->GetFrame(), 0);
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
    EXPECT_EQ(Commands(), std::vector<int32_t> { 2030 });
    Commands().clear();

    struct Step {
        int32_t number;
        int16_t frame;
    } steps[] = {
        { 3013, 1 }, { 3013, 2 }, { 3012, 1 }, { 3012, 0 }, { 3012, 0 }, { 3011, 9 }, { 3013, 9 }, { 3010, 0 },
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.number);
        pane->DoCommand(s.number, 0);
        EXPECT_FALSE(pane->IsPlaying());
        EXPECT_EQ(show->GetPlayer()->GetFrame(), s.frame);
        EXPECT_EQ(group->NumFrames(), kFrames) << "only an open editor grows the movie";
    }
    EXPECT_EQ(Commands(), std::vector<int32_t>(std::size(steps), 2031));
}

// Copying the last frame over the range makes each frame of the range show what the last shows;
// the movie keeps its length, and a one-frame range copies nothing.
TEST_F(PaneCommands, CopyLastFrameOverTheRange)
{
    for (int16_t f = 0; f < kFrames; ++f) {
        Rect place(40 + 10 * f, 10, 60 + 10 * f, 30);
        b->PlaceAtFrame(f, &place, nullptr);
    }
    pane->SelectSprite(-1, false);
    pane->SetSelectionMode(1);
    pane->SelectFrames(6, 6);
    pane->DoCommand(2073, 0);
    EXPECT_EQ(Text(At(b, 5)), "90,10,110,30") << "one frame: nothing copied";

    pane->SelectFrames(2, 5);
    pane->DoCommand(2073, 0);
    EXPECT_EQ(group->NumFrames(), kFrames);
    for (int16_t f = 2; f <= 5; ++f)
        EXPECT_EQ(Text(At(b, f)), "90,10,110,30") << f;
    EXPECT_EQ(Text(At(b, 1)), "50,10,70,30");
    EXPECT_EQ(Text(At(b, 6)), "100,10,120,30");
    EXPECT_EQ(Text(At(a, 3)), "10,10,30,30");
}

// Stretching asks for the new length with the old one proposed and hands a changed length on.
TEST_F(PaneCommands, StretchMotionAsksForTheLengthAndPassesAChangedOne)
{
    std::vector<std::string> calls;
    int16_t answer = 4;
    pw::authoring::PaneCommandHooks hooks;
    hooks.askNumber = [&](const char* title, int16_t& value) {
        calls.push_back(std::string(title) + " " + std::to_string(value));
        value = answer;
        return true;
    };
    hooks.stretchMotion = [&](CHAPane&, int16_t start, int16_t oldLength, int16_t newLength) {
        calls.push_back("stretch " + std::to_string(start) + " " + std::to_string(oldLength) + " "
            + std::to_string(newLength));
    };
    pw::authoring::SetPaneCommandHooks(hooks);
    pane->SelectSprite(-1, false);
    pane->SetSelectionMode(1);
    pane->SelectFrames(3, 6);
    pane->DoCommand(2074, 0);
    answer = 7;
    pane->DoCommand(2074, 0);
    EXPECT_EQ(calls, (std::vector<std::string> { "Stretch Motion 4", "Stretch Motion 4", "stretch 3 4 7" }));
}

// A negative command of kind 21 selects the labelled frame; the clipboard stubs warn twice and
// change nothing.
TEST_F(PaneCommands, FrameMarksSelectAndClipboardStubsOnlyWarn)
{
    group->GetFrameIndex()->SetName(7, String("seven"));
    pane->SelectSprite(-1, false);
    pane->DoCommand(-((21 << 16) | 1), 0);
    EXPECT_EQ(pane->GetCurrentFrame(), 7);

    for (int32_t number : { 18, 21, 2002, 2005, 2006, 2013 }) {
        SCOPED_TRACE(number);
        size_t before = Warnings();
        driver::ScriptMessageBoxes({ IDOK, IDOK });
        pane->DoCommand(number, 0);
        EXPECT_EQ(Warnings(), before + 2);
        EXPECT_EQ(group->NumFrames(), kFrames);
        EXPECT_EQ(group->NumSprites(), 3u);
    }
}
