// Every window the child can drag by its caption stays where it can be taken again and closed:
// dragged far past each edge of the 640 x 480 screen, the page window, the Save As, Open and
// Record dialogs, the big-button column and the kid tools keep their whole caption, close box
// included, on the screen.
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/palettes/CToolsDir.h"

#include "TabNumbers.h"
#include "TallowAppFixture.h"
#include "platform/user/menus/MenuTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

using namespace apptest;

namespace driver = pw::platform::testing;


class ReachableWindowsTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        tallow->InstallMenus();
    }

    // The drags of one window, one after another: far right, far down, far left, far up. Each
    // step looks at where the last drag left the window and starts the next; false when done.
    bool DragStep(HWND hwnd, size_t& step)
    {
        static constexpr POINT kDrags[] = { { 2000, 0 }, { 0, 2000 }, { -2000, 0 }, { 0, -2000 } };
        if (step > 0)
            ExpectCaptionOnScreen(hwnd, kDrags[step - 1]);
        if (step == std::size(kDrags))
            return false;
        POINT caption = GrabPoint(hwnd);
        EXPECT_EQ(WindowFromPoint(caption), hwnd) << "the caption shows at " << caption.x << "," << caption.y;
        driver::Drag(caption.x, caption.y, caption.x + kDrags[step].x, caption.y + kDrags[step].y);
        ++step;
        return true;
    }
    // Where a child takes the caption: just left of the close box (the title's end may lie under a
    // floating window), or on the title of a window without one.
    static POINT GrabPoint(HWND hwnd)
    {
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU))
            return driver::CaptionPoint(hwnd);
        POINT box = driver::CloseBoxPoint(hwnd);
        return POINT { box.x - 24, box.y };
    }
    static void ExpectCaptionOnScreen(HWND hwnd, POINT by)
    {
        SCOPED_TRACE("dragged by " + std::to_string(by.x) + "," + std::to_string(by.y));
        const RECT screen { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
        RECT shown {};
        GetWindowRect(hwnd, &shown);
        EXPECT_GE(shown.left, screen.left);
        EXPECT_LE(shown.right, screen.right);
        std::vector<POINT> caption { driver::CaptionPoint(hwnd) };
        if (GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU)
            caption.push_back(driver::CloseBoxPoint(hwnd));
        for (POINT at : caption) {
            EXPECT_TRUE(at.x >= screen.left && at.x < screen.right && at.y >= screen.top && at.y < screen.bottom)
                << at.x << "," << at.y;
        }
    }
    // Drags a window that stays open, then puts it back for the next case.
    void DragFarOff(const SmartPtr<Window>& dragged)
    {
        ASSERT_TRUE(dragged.Valid());
        const Rect before = dragged->GetRect();
        for (size_t step = 0; DragStep(dragged->GetFrame()->GetOSWindow(), step);)
            driver::RunUntilIdle();
        dragged->SetFrame(before);
        driver::RunUntilIdle();
    }
    // Opens a modal window with `open`, drags the window `find` answers while it is up, then
    // closes it with Esc.
    void DragFarOffWhileOpen(const std::function<HWND()>& find, const std::function<void()>& open)
    {
        size_t step = 0;
        bool closed = false;
        driver::SetIdleHandler([&] {
            HWND hwnd = find();
            if (!hwnd || closed)
                return false;
            if (!DragStep(hwnd, step)) {
                driver::TypeKey(VK_ESCAPE);
                closed = true;
            }
            return true;
        });
        open();
        driver::SetIdleHandler(nullptr);
        EXPECT_TRUE(closed) << "the window came up and was dragged";
    }
    // The file dialog of that title, shown on the desktop, as the menu entry brings it up.
    void DragFileDialog(const char* title, const std::string& entry)
    {
        driver::ShowDialogs(true);
        DragFarOffWhileOpen([title] { return FindWindowA(nullptr, title); },
            [&] { driver::ChooseMenuCommand(mainWindow, MenuCommand(entry)); });
        driver::ShowDialogs(false);
    }
};

TEST_F(ReachableWindowsTest, EveryWindowDraggedFarOffKeepsItsCaptionOnTheScreen)
{
    const struct {
        const char* name;
        std::function<void()> drag;
    } cases[] = {
        { "the page window", [&] { DragFarOff(window.Get()); } },
        { "the big-button column", [&] { DragFarOff(tallow->GetTabSetWindow()); } },
        { "the Record dialog",
            [&] {
                ClickSelector(kPaintSoundSet);
                DragFarOffWhileOpen([&] { return RecordDialog(); }, [&] { ClickTab(kRecordTab); });
            } },
        { "the Save As dialog", [&] { DragFileDialog("Save As", "Save As\x85"); } },
        { "the Open dialog", [&] { DragFileDialog("Open", "Open\x85"); } },
        { "the kid tools",
            [&] {
                ClickSelector(kPaintSoundSet);
                ClickTab(kPaintTab);
                DragFarOff(CTumblerApp::GetTools().Get());
            } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.drag();
    }
}

} // namespace
