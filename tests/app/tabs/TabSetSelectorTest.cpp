// The tab-set window: its picture above the five set buttons, its place at the left of the frame
// with the page windows to its right, the first button's new page when no page is open, and the
// dialogs and close boxes it never covers.
#include "app/tabs/TabSetSelector.h"

#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "engine/CFWDecorator.h"
#include "foundation/Alert.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include "../TabNumbers.h"
#include "../TallowAppFixture.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <functional>
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

class TabSetColumnTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
        column = tallow->GetTabSetWindow()->GetFrame()->GetOSWindow();
    }

    // Drags a window by its caption (left of its close box, where there is one) by an offset.
    static void DragBy(HWND hwnd, int dx, int dy)
    {
        POINT box = driver::CloseBoxPoint(hwnd);
        POINT from = box.x >= 0 ? POINT { box.x - 24, box.y } : driver::CaptionPoint(hwnd);
        driver::Drag(from.x, from.y, from.x + dx, from.y + dy);
        driver::RunUntilIdle();
    }
    // A click at the point reaches the window (or one of its controls), not the column.
    static bool Reaches(HWND hwnd, POINT at)
    {
        HWND hit = WindowFromPoint(at);
        while (hit && hit != hwnd)
            hit = GetParent(hit);
        return hit == hwnd;
    }
    static void ExpectReachable(HWND hwnd, POINT at, const char* what)
    {
        ASSERT_GE(at.x, 0) << what;
        EXPECT_TRUE(Reaches(hwnd, at)) << what << " at " << at.x << "," << at.y << ": the column covers it";
    }
    // The dialog's close box and the button that ends it, and every other part of it, reachable
    // while it is up.
    static void ExpectDialogReachable(HWND dialog, const char* button)
    {
        ExpectReachable(dialog, driver::CloseBoxPoint(dialog), "the close box");
        HWND control = driver::FindWindowByTitle(button);
        ASSERT_TRUE(control && GetParent(control) == dialog) << button;
        RECT shown {};
        GetWindowRect(control, &shown);
        ExpectReachable(dialog, POINT { (shown.left + shown.right) / 2, (shown.top + shown.bottom) / 2 }, button);
        GetWindowRect(dialog, &shown);
        int covered = 0;
        for (LONG y = shown.top; y < shown.bottom; y += 8) {
            for (LONG x = shown.left; x < shown.right; x += 8)
                covered += Reaches(dialog, POINT { x, y }) ? 0 : 1;
        }
        EXPECT_EQ(covered, 0) << "points of the dialog under another window";
    }
    // Opens a modal window with `open`; while it is up, looks at the window `find` answers, then
    // ends it with Esc.
    static void LookWhileOpen(const std::function<HWND()>& find, const char* button, const std::function<void()>& open)
    {
        bool looked = false;
        driver::SetIdleHandler([&] {
            HWND hwnd = find();
            if (!hwnd || looked)
                return false;
            ExpectDialogReachable(hwnd, button);
            driver::TypeKey(VK_ESCAPE);
            looked = true;
            return true;
        });
        open();
        driver::SetIdleHandler(nullptr);
        EXPECT_TRUE(looked) << "the window came up";
    }

    HWND column { nullptr };
};

// Wherever the child has put the big-button column, it covers no dialog and never the page
// window's close box: a dialog comes up above it, the page window dragged under it stops with its
// close box beside it, and the column dragged onto that close box stops beside it.
TEST_F(TabSetColumnTest, TheColumnCoversNoDialogAndNoCloseBox)
{
    HWND page = window->GetFrame()->GetOSWindow();
    auto file = [&](const char* title, const char* button, const char* entry) {
        driver::ShowDialogs(true);
        LookWhileOpen([title] { return FindWindowA(nullptr, title); }, button,
            [&] { driver::ChooseMenuCommand(mainWindow, MenuCommand(entry)); });
        driver::ShowDialogs(false);
    };
    const struct {
        const char* name;
        // How far the column is dragged first (it starts at the left edge).
        int columnMove;
        std::function<void()> check;
    } cases[] = {
        { "the page window dragged against the left edge", 0,
            [&] {
                DragBy(page, -2000, 0);
                ExpectReachable(page, driver::CloseBoxPoint(page), "the close box");
            } },
        { "the page window dragged left under the column moved right", 340,
            [&] {
                DragBy(page, -2000, 0);
                ExpectReachable(page, driver::CloseBoxPoint(page), "the close box");
            } },
        { "the column dragged onto the page window's close box", 0,
            [&] {
                POINT box = driver::CloseBoxPoint(page);
                POINT grip = driver::CaptionPoint(column);
                RECT shown {};
                GetWindowRect(column, &shown);
                DragBy(column, box.x - (shown.left + shown.right) / 2, 0);
                ExpectReachable(page, driver::CloseBoxPoint(page), "the close box");
                EXPECT_NE(driver::CaptionPoint(column).x, grip.x) << "the column moved";
            } },
        { "Save As", 250, [&] { file("Save As", "Save", "Save As\x85"); } },
        { "Open", 250, [&] { file("Open", "Cancel", "Open\x85"); } },
        { "Record", 250,
            [&] {
                ClickSelector(apptest::kPaintSoundSet);
                LookWhileOpen([&] { return RecordDialog(); }, "Cancel", [&] { ClickTab(apptest::kRecordTab); });
            } },
        { "a message box", 250,
            [&] {
                driver::ShowDialogs(true);
                auto box = [] {
                    HWND ok = driver::FindWindowByTitle("OK");
                    return ok ? GetParent(ok) : nullptr;
                };
                LookWhileOpen(box, "OK",
                    [] { Alert(Alert::kExclamation, Alert::kOk, "Hello"); });
                driver::ShowDialogs(false);
            } },
    };
    const Rect home = tallow->GetTabSetWindow()->GetRect();
    const Rect pageHome = window->GetRect();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tallow->GetTabSetWindow()->SetFrame(home);
        window->SetFrame(pageHome);
        driver::RunUntilIdle();
        if (c.columnMove != 0)
            DragBy(column, c.columnMove, 0);
        c.check();
    }
}

} // namespace
