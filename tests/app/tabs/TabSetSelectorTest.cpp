// The tab-set window: its picture above the five set buttons, its place at the left of the frame
// with the page windows to its right, and the first button's new page when no page is open.
#include "app/tabs/TabSetSelector.h"

#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "engine/CFWDecorator.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include "../TallowAppFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

namespace driver = pw::platform::testing;

using TabSetSelectorTest = apptest::TallowAppFixture;

TEST_F(TabSetSelectorTest, TheButtonsBeginWhereThePictureEnds)
{
    for (int height : { 30, 12 }) {
        SCOPED_TRACE(height);
        pw::app::testing::ResetTallowResources();
        PutPicture(553, authoring::Plain('g', 133, height));
        SmartPtr<Window> panel = new Window(SmartPtr<String>(), 5, false, false, Window::defaultSize);
        SmartPtr<CToolPalette> selector = pw::app::SetUpTabSetSelector(*panel.Get());
        EXPECT_EQ(selector->GetBounds(), Rect(0, height, 133, height + 5 * 78));
        EXPECT_EQ(selector->GetFirst(), 28);
        EXPECT_EQ(selector->GetCount(), 5);
    }
}

TEST_F(TabSetSelectorTest, TheWindowStandsAtTheLeftAndPageWindowsOpenRightOfIt)
{
    SmartPtr<Window> panel = tallow->GetTabSetWindow();
    EXPECT_EQ(panel->GetFrame()->GetContentBounds().Size(), Point(133, 30 + 5 * 78));
    HWND hwnd = panel->GetFrame()->GetOSWindow();
    EXPECT_EQ(ShownRow(hwnd, 10, 0, 133), std::string(133, 'g')) << "the picture";
    EXPECT_EQ(ShownRow(hwnd, 30 + 40, 0, 133), std::string(133, 'y')) << "the first button, pressed";
    EXPECT_EQ(ShownRow(hwnd, 30 + 78 + 40, 0, 133), std::string(133, 'b')) << "the second button";

    AnswerNameDialogs("Kim\n");
    tallow->NewDocument();
    SmartPtr<Window> page = tallow->FindWindowForView();
    ASSERT_TRUE(page.Valid());
    EXPECT_GE(page->GetRect().left, panel->GetRect().right + 5);
    EXPECT_EQ(tallow->GetTabSelector()->GetSelectedTool(), 29) << "the page's tabs chose their set";
}

// Dragged by its caption toward every edge and beyond, the column stays wholly inside the main
// window, and its buttons still take presses.
TEST_F(TabSetSelectorTest, ADraggedColumnStaysWhollyOnTheScreen)
{
    SmartPtr<Window> panel = tallow->GetTabSetWindow();
    DragToTheEdges(panel->GetFrame()->GetOSWindow(),
        { POINT { 2000, 0 }, POINT { 0, 2000 }, POINT { -2000, 0 }, POINT { 0, -2000 }, POINT { 900, 900 } });
    // In the bottom-right corner now: the first button still opens the first page.
    AnswerNameDialogs("Kim\n");
    Point content = panel->GetContentOrigin();
    Point first = tallow->GetTabSelector()->GetCellRect(28).Center();
    driver::Click(content.h + first.h, content.v + first.v);
    driver::RunUntilIdle();
    EXPECT_EQ(tallow->NumWindows(), 2u) << "a page window beside the tab-set window";
}

// A press on the first button: with no page window a tab click and a new page; with one, only
// the tabs hear it.
TEST_F(TabSetSelectorTest, TheFirstButtonOpensAPageOnlyWhenNoneIsOpen)
{
    AnswerNameDialogs("Kim\n");
    SmartPtr<CToolPalette> selector = tallow->GetTabSelector();
    Point origin = tallow->GetTabSetWindow()->GetContentOrigin();
    Rect cell = selector->GetCellRect(28);
    auto press = [&] {
        pw::platform::winmm::testing::ClearSoundLog();
        driver::Click(origin.h + cell.left + 10, origin.v + cell.top + 10);
        driver::RunUntilIdle();
    };
    press();
    EXPECT_EQ(tallow->NumWindows(), 2u) << "a page window beside the tab-set window";
    EXPECT_EQ(SoundsHeard(), "t");
    auto* page = dynamic_cast<TallowWindow*>(tallow->FindWindowForView().Get());
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(page->GetTabs()->GetCurrentSet(), 0) << "the page shows the row of the button pressed";
    EXPECT_EQ(selector->GetSelectedTool(), 28) << "and that button is the one lit";

    press();
    EXPECT_EQ(tallow->NumWindows(), 2u) << "no second page";
    EXPECT_EQ(page->GetTabs()->GetCurrentSet(), 0) << "the tabs showed the first set";
    EXPECT_EQ(SoundsHeard(), "t") << "the tabs' click only";
}

// A page window closed and opened again, over and over, comes up wholly inside the main window
// every time, however far the cascade has gone.
TEST_F(TabSetSelectorTest, APageWindowOpenedAgainAndAgainComesUpWhollyInsideTheMainWindow)
{
    AnswerNameDialogs("Kim\n");
    Point origin = tallow->GetTabSetWindow()->GetContentOrigin();
    Point first = tallow->GetTabSelector()->GetCellRect(28).Center();
    Rect screen = WindowFrame::ScreenRect();
    for (int round = 1; round <= 6; ++round) {
        SCOPED_TRACE("opened " + std::to_string(round) + " times");
        driver::Click(origin.h + first.h, origin.v + first.v);
        driver::RunUntilIdle();
        SmartPtr<Window> page = tallow->FindWindowForView();
        ASSERT_TRUE(page.Valid());
        Rect shown = page->GetRect();
        EXPECT_GE(shown.left, screen.left);
        EXPECT_GE(shown.top, screen.top);
        EXPECT_LE(shown.right, screen.right);
        EXPECT_LE(shown.bottom, screen.bottom);
        driver::ClickCloseBox(page->GetFrame()->GetOSWindow());
        driver::RunUntilIdle();
        ASSERT_FALSE(tallow->FindWindowForView().Valid()) << "the page window closed";
    }
}

} // namespace
