#include "authoring/tools/CTool.h"

#include "authoring/resources/KidResources.h"
#include "authoring/tools/CLassoTool.h"
#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "graphics/DisplayPort.h"
#include "graphics/Sound.h"
#include "graphics/SoundChannel.h"
#include "ui/Cursor.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"
#include "foundation/Failure.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

// The sound the application's channel plays now, or null.
Smart* Playing()
{
    SmartPtr<SoundChannel> channel = SoundChannel::GetCurrent();
    return channel.Valid() ? channel->GetSound().Get() : nullptr;
}

// The cursor shown now.
HCURSOR Shown()
{
    HCURSOR shown = SetCursor(nullptr);
    SetCursor(shown);
    return shown;
}

Smart* KidSound(int16_t number)
{
    return KidResources::Lookup(number)->Get().Get();
}

// A tool with three options that records how it is asked to draw them.
class OptionTool : public CTool {
public:
    OptionTool()
        : CTool(102, nullptr, false, nullptr)
    {
    }
    void SetOption(int16_t, int16_t value) override { option = value; }
    int16_t GetOption(int16_t) override { return option; }
    int16_t CountOptions(int16_t) override { return 3; }
    void Apply(DisplayPort&, const Rect&) override { drawn.push_back(option); }

    int16_t option { 1 };
    std::vector<int16_t> drawn;
};

} // namespace

using KidResourcesTest = AuthoringTest;

// The palette layouts by number: sizes and the kid pictures each names; numbers outside the table
// fail the assertion "false", and numbers outside a set are refused by the set.
TEST_F(KidResourcesTest, PaletteLayoutsComeFromTheTableByNumber)
{
    struct Case {
        int16_t palette;
        int16_t rows, columns, width, height;
        int16_t normal, selected, disabled; // -1: none
    } cases[] = {
        { 201, 1, 7, 30, 25, 20, 21, -1 },
        { 202, 3, 2, 25, 25, 30, 31, -1 },
        { 204, 2, 1, 22, 17, 50, 51, -1 },
        { 206, 1, 1, 66, 33, 60, 61, 62 },
        { 213, 1, 3, 100, 34, 130, 131, -1 },
        { 300, 2, 7, 35, 35, 2000, -1, -1 },
        { 301, 2, 10, 35, 35, 2010, -1, -1 },
        { 302, 4, 8, 35, 35, -1, -1, -1 },
        { 304, 2, 2, 35, 35, 2040, -1, -1 },
        { 305, 3, 8, 35, 35, -1, -1, -1 },
        { 307, 2, 9, 35, 35, -1, -1, -1 },
        { 308, 2, 3, 35, 35, -1, -1, -1 },
        { 310, 2, 5, 35, 35, -1, -1, -1 },
    };
    auto number = [](const SmartPtr<ImageResource>& picture) { return picture.Valid() ? picture->GetNumber() : -1; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.palette);
        std::unique_ptr<ButtonGrid> grid = KidResources::MakeButtonGrid(c.palette);
        EXPECT_EQ(grid->rows, c.rows);
        EXPECT_EQ(grid->columns, c.columns);
        EXPECT_EQ(grid->cellWidth, c.width);
        EXPECT_EQ(grid->cellHeight, c.height);
        EXPECT_EQ(number(grid->normalPicture), c.normal);
        EXPECT_EQ(number(grid->selectedPicture), c.selected);
        EXPECT_EQ(number(grid->disabledPicture), c.disabled);
        EXPECT_TRUE(grid->cellNumbers.empty());
        if (grid->normalPicture.Valid()) {
            EXPECT_EQ(grid->normalPicture, KidResources::LookupImage(c.normal)) << "one handle per number";
        }
    }
    for (int16_t missing : { 200, 205, 207, 209, 214, 299, 303, 311 }) {
        SCOPED_TRACE(missing);
        EXPECT_EQ(Failure([&] { KidResources::MakeButtonGrid(missing); }), "false");
    }
    for (int16_t outside : { -1, 4000 }) {
        SCOPED_TRACE(outside);
        EXPECT_EQ(Failure([&] { KidResources::LookupImage(outside); }), "Resource id not in this set of resources.");
    }
    char text[256];
    EXPECT_EQ(Failure([&] { KidResources::GetString(text, 200); }), "Resource id not in this set of resources.");
}

// Lists of the kid set's sounds and pictures by number range: the cached handle of every number
// from first to last in increasing order, none when first is past last.
TEST_F(KidResourcesTest, ResourceListsHoldEveryNumberOfTheirRange)
{
    struct Case {
        int16_t first, last;
        std::vector<int16_t> numbers;
    } cases[] = {
        { 5, 3, {} },
        { 7, 7, { 7 } },
        { 20, 23, { 20, 21, 22, 23 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.first << " to " << c.last);
        SmartList<SoundResource> sounds = MakeSoundResourceList(c.first, c.last);
        SmartList<ImageResource> pictures = MakeImageResourceList(c.first, c.last);
        ASSERT_EQ(sounds.NumItems(), c.numbers.size());
        ASSERT_EQ(pictures.NumItems(), c.numbers.size());
        for (uint32_t index = 1; index <= sounds.NumItems(); ++index) {
            EXPECT_EQ(sounds.Item(index), KidResources::Lookup(c.numbers[index - 1]).Get());
            EXPECT_EQ(pictures.Item(index), KidResources::LookupImage(c.numbers[index - 1]).Get());
        }
    }
    EXPECT_EQ(Failure([] { MakeSoundResourceList(3998, 4000); }), "Resource id not in this set of resources.");
}

using CToolTest = AuthoringTest;

// The cursor follows the tool number (authoring cursor 200 + n); a cursor the Data folder lacks
// falls back to 201; the alternate mode takes 202 (so 201) on the tools that have it and is
// refused by the others; numbers outside the table keep the cursor they had.
TEST_F(CToolTest, ToolNumbersChooseCursorsWithTheFallBackTo201)
{
    for (auto [id, h] : { std::pair { 201, 0 }, { 208, 1 }, { 210, 2 }, { 219, 3 }, { 230, 0 } })
        PutCursor(id, h);
    auto cursor = [](int id) { return LoadCursorA(Resources::GetOsApp(), MAKEINTRESOURCE(id)); };
    struct Case {
        int32_t number;
        bool alt;
        int cursorId; // 0: the arrow it started with
        bool paint;
        bool hasAlt;
    } cases[] = {
        { 3, false, 0, false, true },
        { 3, true, 201, false, true },
        { 4, true, 0, false, false },
        { 8, false, 201, false, false },
        { 15, false, 201, false, true },
        { 18, true, 201, false, true },
        { 19, false, 230, false, false },
        { 22, false, 230, false, false },
        { 99, false, 0, false, false },
        { 100, false, 0, true, false },
        { 103, false, 210, true, false },
        { 106, false, 208, true, false },
        { 109, false, 219, true, false },
        { 110, false, 201, true, false },
        { 112, false, 0, true, false },
        { 113, false, 208, true, false },
        { 114, false, 0, true, false },
        { 115, false, 0, false, false },
    };
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        SmartPtr<CTool> tool = new CTool(c.number, nullptr, false, nullptr);
        tool->SetAltMode(c.alt);
        EXPECT_EQ(tool->InAltMode(), c.alt && c.hasAlt);
        EXPECT_EQ(tool->IsPaintTool(), c.paint);
        tool->UpdateCursor();
        EXPECT_EQ(tool->GetToolCursor()->GetHandle(), c.cursorId ? cursor(c.cursorId) : arrow);
    }
}

// The cursor as mouse moves through the real window set it: over a stopped page and elsewhere
// in a document window the tool's own; over a playing page 405 where a click would do something
// and 404 elsewhere on it, whatever the tool; beside the page pane, and anywhere in a floating
// window, the arrow. A hidden page pane is not on the window's active chain and counts for nothing.
TEST_F(CToolTest, OverAPlayingPageTheCursorIs404Or405WhateverTheTool)
{
    for (auto [id, h] : { std::pair { 210, 1 }, { 404, 2 }, { 405, 3 } })
        PutCursor(id, h);
    auto cursor = [](int id) { return id ? LoadCursorA(Resources::GetOsApp(), MAKEINTRESOURCE(id)) : LoadCursorA(nullptr, IDC_ARROW); };
    SmartPtr<CTool> bucket = new CTool(103, nullptr, false, nullptr);
    SmartPtr<CTool> move = new CTool(3, nullptr, false, nullptr);
    move->SetAltMode(true);

    SmartPtr<Window> page = Open("page", 0).Get();
    SmartPtr<PagePane> pane = new PagePane(page.Get(), Rect(0, 0, 100, 100));
    page->AddChild(SmartPtr<View>(pane.Get()));
    page->Show(true);
    driver::RunUntilIdle();
    Rect sprite = pane->AddLinkedSprite();
    ASSERT_TRUE(Rect(0, 0, 100, 100).Contains(sprite.left, sprite.top) && !sprite.IsEmpty())
        << sprite.left << "," << sprite.top << "," << sprite.right << "," << sprite.bottom;
    Point onSprite = sprite.Center();
    Point onPage(sprite.right + 20, sprite.bottom + 20);
    Point beside(150, 120);
    auto moveTo = [&](const SmartPtr<Window>& window, Point at) {
        Point origin = window->GetContentOrigin();
        driver::MoveMouse(origin.h + at.h, origin.v + at.v);
        driver::RunUntilIdle();
        return Shown();
    };

    struct Case {
        const char* what;
        CTool* tool;
        bool playing;
        Point at;
        int cursorId; // 0: the arrow
    } cases[] = {
        { "stopped, on a sprite", bucket.Get(), false, onSprite, 210 },
        { "stopped, on the page", bucket.Get(), false, onPage, 210 },
        { "stopped, beside the page", bucket.Get(), false, beside, 0 },
        { "playing, on a sprite with a link", bucket.Get(), true, onSprite, 405 },
        { "playing, on the page", bucket.Get(), true, onPage, 404 },
        { "playing, on the page's far corner", bucket.Get(), true, Point(100, 100), 404 },
        { "playing, another tool on a sprite", move.Get(), true, onSprite, 405 },
        { "playing, another tool on the page", move.Get(), true, onPage, 404 },
        { "playing, beside the page", bucket.Get(), true, beside, 0 },
        { "stopped again, another tool", move.Get(), false, onSprite, 201 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        app->SetCurrentTool(SmartPtr<Tool>(c.tool));
        if (c.playing)
            ASSERT_TRUE(pane->GetPlayer()->Start());
        else
            pane->GetPlayer()->Stop();
        EXPECT_EQ(moveTo(page, c.at), cursor(c.cursorId));
    }

    app->SetCurrentTool(SmartPtr<Tool>(bucket.Get()));
    pane->GetPlayer()->Start();
    pane->Show(false);
    EXPECT_EQ(moveTo(page, onSprite), cursor(210)) << "a hidden pane";

    SmartPtr<Window> palette = Open("palette", 3).Get();
    SmartPtr<PagePane> floating = new PagePane(palette.Get(), Rect(0, 0, 100, 100));
    palette->AddChild(SmartPtr<View>(floating.Get()));
    palette->Show(true);
    floating->AddLinkedSprite();
    floating->GetPlayer()->Start();
    EXPECT_EQ(moveTo(palette, onSprite), cursor(0)) << "a playing page in a floating window";
    floating->Show(false);
    EXPECT_EQ(moveTo(palette, onSprite), cursor(0)) << "a floating window";
}

// The start sound is silent in the alternate mode; the pending sound plays once when due, never
// for a tool made while sounds were off (even after they are on again), and not while they are
// off; a missing sound file leaves the tool silent.
TEST_F(CToolTest, StartAndPendingSoundsPlayUnderTheirRules)
{
    for (int number : { 20, 40 })
        PutSound(number);
    SmartPtr<CTool> move = new CTool(3, KidResources::Lookup(20), true, KidResources::Lookup(40));
    move->PlayStartSound();
    EXPECT_EQ(Playing(), KidSound(20));
    CTool::StopSound();
    move->SetAltMode(true);
    move->PlayStartSound();
    EXPECT_EQ(Playing(), nullptr) << "silent in the alternate mode";

    move->PlayPendingSound();
    EXPECT_EQ(Playing(), nullptr) << "not due";
    move->SetSoundPending(true);
    move->PlayPendingSound();
    EXPECT_EQ(Playing(), KidSound(40));
    EXPECT_FALSE(move->IsSoundPending());
    CTool::StopSound();
    move->PlayPendingSound();
    EXPECT_EQ(Playing(), nullptr) << "played once";

    move->SetSoundPending(true);
    CTool::SetSoundsOffOption(true);
    move->PlayPendingSound();
    EXPECT_EQ(Playing(), nullptr) << "sounds off";
    EXPECT_FALSE(move->IsSoundPending());

    SmartPtr<CTool> madeSilent = new CTool(15, nullptr, false, KidResources::Lookup(40));
    CTool::SetSoundsOffOption(false);
    madeSilent->SetSoundPending(true);
    madeSilent->PlayPendingSound();
    EXPECT_EQ(Playing(), nullptr) << "made while sounds were off";

    SmartPtr<CTool> missing = new CTool(18, KidResources::Lookup(23), true, KidResources::Lookup(41));
    missing->SetSoundPending(true);
    missing->PlayStartSound();
    missing->PlayPendingSound();
    EXPECT_EQ(Playing(), nullptr);
}

// Every tool built on a start sound with looping asked for leaves it looping, however many share it.
TEST_F(CToolTest, ToolsSharingALoopedStartSoundLeaveItLooping)
{
    PutSound(22);
    SmartPtr<SoundResource> scale = KidResources::Lookup(22);
    SmartPtr<CTool> first = new CTool(15, scale, true, nullptr);
    SmartPtr<CTool> second = new CTool(15, scale, true, nullptr);
    EXPECT_TRUE(SmartCast<Sound>(scale->Get().Get())->ToggleLoop(false));
}

// An option value is drawn with the option set for the moment and the tool's own put back; values
// outside 1 to the option count draw nothing; a tool without options warns and draws nothing.
TEST_F(CToolTest, ApplyWithOptionDrawsOneValueAndRestoresTheOption)
{
    SmartPtr<OptionTool> tool = new OptionTool;
    SmartPtr<Window> page = Open("page", 0).Get();
    DisplayPort port(*page->GetFrame().Get(), Rect(0, 0, 10, 10), 0);
    tool->option = 2;
    for (int16_t value : { 0, 1, 3, 4, -1 })
        tool->ApplyWithOption(port, Rect(0, 0, 10, 10), 0, value);
    EXPECT_EQ(tool->drawn, (std::vector<int16_t> { 1, 3 }));
    EXPECT_EQ(tool->option, 2);

    SmartPtr<CTool> plain = new CTool(3, nullptr, false, nullptr);
    driver::ScriptMessageBoxes({ IDOK });
    plain->ApplyWithOption(port, Rect(0, 0, 10, 10), 0, 1);
    ASSERT_FALSE(driver::AlertLog().empty());
    EXPECT_NE(driver::AlertLog().back().text.find("Not implemented."), std::string::npos);
}

// The selection tool keeps a mode from 1 to 4 and ignores other values.
TEST_F(CToolTest, TheSelectionToolKeepsAModeFromOneToFour)
{
    SmartPtr<CLassoTool> lasso = new CLassoTool;
    EXPECT_EQ(lasso->GetNumber(), 111);
    EXPECT_EQ(lasso->GetOption(0), 1);
    for (auto [value, mode] : { std::pair<int16_t, int16_t> { 4, 4 }, { 5, 4 }, { 0, 4 }, { 2, 2 } }) {
        lasso->SetOption(0, value);
        EXPECT_EQ(lasso->GetOption(0), mode) << value;
    }
}
