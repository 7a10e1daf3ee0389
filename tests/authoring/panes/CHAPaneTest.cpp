#include "authoring/panes/CHAPane.h"

#include "authoring/palettes/CToolsDir.h"
#include "engine/CHAApp.h"
#include "foundation/Scribe.h"
#include "ui/Task.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class Pane : public PaneTest { };

class NothingTask : public Task, public SmartImplementation {
    PW_CLASS_INFO(NothingTask)

public:
    void Do() override { }
    void Undo() override { }
    void Redo() override { }
};

PW_DEFINE_CLASS(NothingTask, nullptr, nullptr, Task, SmartImplementation)

// A tools window whose only animation tool is the default tool 3 (cell 1).
class DefaultTools : public CToolsDir {
public:
    DefaultTools()
        : CToolsDir(KidResources::Lookup(2))
    {
        animationPalette = new CToolPalette(this, RowGrid(1), 1);
        paintPalette = new CToolPalette(this, RowGrid(1), 8);
        for (const SmartPtr<CToolPalette>& palette : { animationPalette, paintPalette }) {
            AddChild(SmartPtr<View>(palette.Get()));
            palette->Show(false);
        }
    }
    int16_t IndexOfToolNumber(int32_t number) override { return number == 3 ? 1 : 0; }
    SmartPtr<Tool> ToolAt(int16_t index) override { return index == 1 ? SmartPtr<Tool>(three.Get()) : nullptr; }
    SmartPtr<CTool> three = new CTool(3, nullptr, false, nullptr);
};

} // namespace

// The movie is as large as the pane from the start and follows every resize of its window.
TEST_F(Pane, TheMovieTakesThePaneSizeAtOnceAndOnEveryResize)
{
    Rect bounds(0, 0, 0, 0);
    group->GetBounds(bounds);
    EXPECT_EQ(Text(bounds), Text(pane->GetBounds()));
    EXPECT_EQ(Text(bounds), "0,0,200,150");
    page->SetSize(260, 190);
    driver::RunUntilIdle();
    group->GetBounds(bounds);
    Point size = pane->GetBounds().Size();
    EXPECT_EQ(Text(bounds), Text(Rect(0, 0, size.h, size.v)));
    EXPECT_NE(Text(bounds), "0,0,200,150");
}

// The frame range by mode, stored run, current frame and overview flag.
TEST_F(Pane, FrameRangeFollowsTheModeAndTheOverviewFlag)
{
    struct Case {
        const char* name;
        int16_t runFirst, runLast, current;
        int32_t mode;
        uint8_t overview;
        bool exact;
        const char* expected;
    } cases[] = {
        { "all frames", 2, 5, 3, 2, 0, false, "0..9" },
        { "the run", 2, 5, 3, 1, 0, false, "2..5" },
        { "the current frame", 2, 5, 3, 0, 0, false, "3..3" },
        { "exact takes the run", 2, 5, 3, 0, 0, true, "2..5" },
        { "current to the end", 2, 5, 3, 3, 0, false, "3..9" },
        { "current to the end under the overview", 2, 5, 3, 3, 1, false, "3..3" },
        { "an insertion point is raised", 5, 4, 5, 1, 0, false, "5..5" },
        { "an insertion point stays under the overview", 5, 4, 5, 1, 1, false, "5..4" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pane->SetSelectionMode(0);
        pane->SelectFrames(0, 0);
        pane->SelectFrames(c.runFirst, c.runLast);
        show->GetPlayer()->GoToFrame(c.current);
        pane->SetSelectionMode(c.mode);
        pw::authoring::gOverviewShown = c.overview;
        int16_t first = -9;
        int16_t last = -9;
        pane->GetFrameRange(first, last, c.exact);
        pw::authoring::gOverviewShown = 0;
        EXPECT_EQ(std::to_string(first) + ".." + std::to_string(last), c.expected);
        EXPECT_EQ(pane->GetCurrentFrame(), c.current);
    }
}

// The after-edit step posts the task as the window's undo step and tells the window; after the
// attach tools the default tool is current again; sprites left without frames go.
TEST_F(Pane, AfterEditPostsTheTaskRestoresTheDefaultToolAndDropsEmptySprites)
{
    CSprite* kept = AddSprite(Rect(10, 10, 30, 30), 0, 2);
    CSprite* empty = AddSprite(Rect(50, 10, 70, 30), 0, 2);
    empty->HideFrames(0, 2);
    empty->TrimHidden(0);
    ASSERT_EQ(group->NumSprites(), 2u);

    int changes = page->changes;
    pane->AfterEdit(nullptr);
    EXPECT_FALSE(page->HasUndoTask()) << "no task, no undo step";
    EXPECT_EQ(page->changes, changes + 1);
    EXPECT_EQ(group->NumSprites(), 1u);
    EXPECT_EQ(group->GetSprite(0), kept);

    SmartPtr<DefaultTools> tools = new DefaultTools;
    tools->SetPane(pane.Get());
    for (int32_t number : { 14, 19, 22, 10 }) {
        SCOPED_TRACE(number);
        UseTool(number);
        pane->AfterEdit(SmartPtr<Task>(new NothingTask));
        EXPECT_TRUE(page->HasUndoTask());
        auto* current = SmartCast<CTool>(app->GetCurrentTool().Get());
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->GetNumber(), number == 10 ? 10 : 3);
    }
    tools->SetPane(nullptr);
}

// Becoming active tells the application which controls to show: 2032 for a tool in its
// alternate mode, else 2031 while stopped and 2030 while playing; the pane is then the
// application's active pane.
TEST_F(Pane, ActivationTellsTheApplicationWhetherThePagePlays)
{
    struct Case {
        const char* name;
        bool altMode;
        bool playing;
        int32_t expected;
    } cases[] = {
        { "stopped", false, false, 2031 },
        { "playing", false, true, 2030 },
        { "alternate mode", true, true, 2032 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UseTool(3, c.altMode);
        if (c.playing)
            show->GetPlayer()->Start();
        pane->SetActive(false);
        Commands().clear();
        pane->SetActive(true);
        EXPECT_EQ(Commands(), std::vector<int32_t> { c.expected });
        EXPECT_TRUE(pane->IsActivePane() || !CHAApp::Get());
        show->GetPlayer()->Stop();
    }
}

// What the movie reports as changed in the shown frame is drawn again; a change in another frame
// is not.
TEST_F(Pane, ChangesTheMovieReportsAreRedrawn)
{
    CSprite* sprite = AddSprite(Rect(10, 10, 20, 20), 0, 2);
    HWND hwnd = page->GetFrame()->GetOSWindow();
    EXPECT_EQ(ShownRow(hwnd, 15, 5, 35), "wwwwwrrrrrrrrrrwwwwwwwwwwwwwww");
    Rect moved(20, 10, 30, 20);
    sprite->PlaceAtFrame(1, &moved, nullptr);
    sprite->PlaceAtFrame(0, &moved, nullptr);
    group->Changed(group.Get(), Rect(10, 10, 30, 20), 1);
    EXPECT_EQ(ShownRow(hwnd, 15, 5, 35), "wwwwwrrrrrrrrrrwwwwwwwwwwwwwww") << "another frame";
    group->Changed(group.Get(), Rect(10, 10, 30, 20), 0);
    EXPECT_EQ(ShownRow(hwnd, 15, 5, 35), "wwwwwwwwwwwwwwwrrrrrrrrrrwwwww");
}

// A page opened in a document window keeps its own size: the window fits around the pane.
TEST_F(Pane, APageOpensInAWindowOfItsOwnSize)
{
    CShow::SetViewMaker(&CHAPane::Make);
    SmartPtr<CShow> opened = new CShow(new CMovieGroup(Rect(0, 0, 300, 220)));
    SmartPtr<Window> window = app->MakeDocumentWindow(opened.Get(), SmartPtr<Scribe>());
    CShow::SetViewMaker(nullptr);
    Rect bounds(0, 0, 0, 0);
    opened->GetMovie()->GetBounds(bounds);
    EXPECT_EQ(Text(bounds), "0,0,300,220");
    ASSERT_EQ(window->GetChildren().NumItems(), 1u);
    View* content = window->GetChildren().Item(1);
    ASSERT_EQ(content->GetChildren().NumItems(), 1u);
    EXPECT_EQ(Text(content->GetChildren().Item(1)->GetBounds().Size()), "300,220");
    window->Close();
    opened->Close();
}
