#include "authoring/dialogs/COverDir.h"

#include "authoring/panes/COverview.h"
#include "engine/CFWDecorator.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class OverDir : public PaneTest {
protected:
    void TearDown() override
    {
        if (dir.Valid()) {
            dir->GetOverview()->SetPane(SmartPtr<CHAPane>());
            dir->RemoveAllChildren();
            dir = nullptr;
        }
        PaneTest::TearDown();
    }
    SmartPtr<COverDir> dir;
};

} // namespace

// An empty rectangle becomes a strip 99 pixels high along the bottom of the usable frame; the
// overview leaves the scroll bars 15 pixels at the right and the bottom, and shows the pane.
TEST_F(OverDir, AnEmptyRectangleBecomesAStripAlongTheBottom)
{
    dir = new COverDir(pane, 3, true, Rect(0, 0, 0, 0));
    Rect frame(0, 0, 0, 0);
    CFWDecorator::Get().GetFrame(frame);
    RECT placed {};
    GetWindowRect(dir->GetFrame()->GetOSWindow(), &placed);
    EXPECT_EQ(placed.bottom - placed.top, 99);
    EXPECT_EQ(placed.right - placed.left, frame.right - frame.left) << "across the frame";
    Rect bounds = dir->GetBounds();
    Rect inside = dir->GetOverview()->GetBounds();
    EXPECT_EQ(inside.right, bounds.right - 15);
    EXPECT_EQ(inside.bottom, bounds.bottom - 15);
    EXPECT_EQ(dir->GetOverview()->GetPane().Get(), pane.Get());
}

// The toggle shows and hides the window and sets the overview-shown flag with it; commands go to
// the application, and asking about one is not carried out.
TEST_F(OverDir, TheToggleKeepsTheShownFlag)
{
    dir = new COverDir(pane, 3, true, Rect(10, 10, 300, 120));
    bool shown = dir->IsVisible();
    EXPECT_EQ(dir->ToggleShown(true), !shown);
    EXPECT_EQ(pw::authoring::gOverviewShown, shown ? 0 : 1);
    EXPECT_EQ(dir->ToggleShown(true), shown);
    EXPECT_EQ(pw::authoring::gOverviewShown, shown ? 1 : 0);
    dir->DoCommand(2031, 0);
    EXPECT_EQ(Commands(), (std::vector<int32_t> { 2031 }));
    driver::ScriptMessageBoxes({ IDOK });
    EXPECT_EQ(dir->GetCommandStatus(2031), 3);
}
