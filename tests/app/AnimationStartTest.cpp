// The program as it starts today: the animation application in the framework main, driven from
// the keyboard as a child would (F10, Down, Return chooses File > New Page), its page windows read
// back from the desktop; and the pages it opens from files.
#include "app/AnimationStart.h"

#include "engine/CFWDecorator.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "engine/CShow.h"
#include "engine/ShowFileType.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/AppMain.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include "../ui/FrameworkFixture.h"
#include "platform/kernel/KernelTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;

std::string Text(const Rect& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x"
        + std::to_string(r.bottom - r.top);
}

// The application the program makes, over a cascade that starts afresh in this main window (the
// decorator is shared by the whole process).
App* MakeFreshApp()
{
    Rect client = WindowFrame::ScreenRect();
    CFWDecorator::Get().SetFrame(Rect(client.left + 2, client.top + 2, client.right - 2, client.bottom - 2));
    return pw::app::MakeAnimationApp();
}

using Snapshot = std::vector<std::string>;

// Each page window of the application, in the order opened: its rectangle in the main window and
// its caption.
Snapshot PageWindows()
{
    Snapshot seen;
    SmartPtr<App> app = AppGlue::Application();
    for (uint32_t i = 1; i <= app->NumWindows(); ++i) {
        SmartPtr<Window> window = app->GetWindow(i);
        char caption[64] = "";
        GetWindowTextA(window->GetFrame()->GetOSWindow(), caption, sizeof caption);
        seen.push_back(Text(window->GetRect()) + " " + caption);
    }
    return seen;
}

// Starts the program in an empty start-up folder (no sample page: its first page is a new one)
// and opens new pages from the keyboard up to `last`; answers the page windows as they were with
// `first` to `last` pages open.
std::vector<Snapshot> OpenPages(uint32_t first, uint32_t last)
{
    uitest::InstallPalette();
    std::vector<Snapshot> snapshots;
    driver::SetIdleHandler([&] {
        SmartPtr<App> app = AppGlue::Application();
        if (!app.Valid() || snapshots.size() > last - first)
            return false;
        if (app->NumWindows() >= first)
            snapshots.push_back(PageWindows());
        if (app->NumWindows() < last) {
            for (UINT key : { VK_F10, VK_DOWN, VK_RETURN })
                driver::TypeKey(key);
        } else {
            PostMessageA(pw::ui::MainWindow(), WM_CLOSE, 0, 0);
        }
        return true;
    });
    char empty[] = "";
    AppMain(nullptr, nullptr, empty, SW_SHOWDEFAULT, &MakeFreshApp);
    driver::SetIdleHandler(nullptr);
    return snapshots;
}

// The cascade: the first three windows at start, start + step and start + 2 step (step 4, 22),
// later ones one step on while they fit the frame, else back at the start. The frame is the main
// window's client area 2 pixels in; the cascade starts 18 pixels below its top.
TEST(AnimationStart, NewPagesCascadeWithTheirTitles)
{
    const std::vector<Snapshot> expected = {
        { "2,20 356x374 Untitled Page", "6,42 356x374 Untitled Page", "10,64 356x374 Untitled Page" },
        { "2,20 356x374 Untitled Page", "6,42 356x374 Untitled Page", "10,64 356x374 Untitled Page",
            "2,20 356x374 Untitled Page" },
        { "2,20 356x374 Untitled Page", "6,42 356x374 Untitled Page", "10,64 356x374 Untitled Page",
            "2,20 356x374 Untitled Page", "6,42 356x374 Untitled Page" },
    };
    std::vector<Snapshot> seen = OpenPages(3, 5);
    ASSERT_EQ(seen.size(), expected.size());
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(std::to_string(i + 3) + " pages");
        EXPECT_EQ(seen[i], expected[i]);
    }
}

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// The animation application as start-up makes it, over the main window, without its first page.
class OpeningPages : public ::testing::Test {
protected:
    void SetUp() override
    {
        uitest::InstallPalette();
        Alert::EnableAlerts();
        HWND mainWindow = pw::ui::CreateMainWindow(nullptr);
        ASSERT_NE(mainWindow, nullptr);
        ShowWindow(mainWindow, SW_SHOWMAXIMIZED);
        ASSERT_TRUE(AppGlue::InitApplication(&pw::app::MakeAnimationApp, &pw::ui::ProgramRecord()));
        app = CHAApp::Get();
        ASSERT_NE(app, nullptr);
    }

    void TearDown() override { pw::foundation::SetAlertsEnabled(false); }

    // A new page as saved, its header's root id at bytes 21 to 24.
    std::string SavedPage()
    {
        SmartPtr<MemoryStream> stream = new MemoryStream;
        SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(app->MakeModel().Get());
        std::string bytes(stream->GetLength(), '\0');
        stream->Seek(0, Stream::kFromStart);
        stream->Read(bytes.data(), uint32_t(bytes.size()));
        return bytes;
    }

    CHAApp* app { nullptr };
};

// A damaged header may name any stored object as the root (id 0: the last one). Whichever way the
// application opens a page, an object that is no page gives the corrupt-file message and opens
// nothing; the page itself opens without a word.
TEST_F(OpeningPages, AFileWhoseRootIsNoPageOpensNothing)
{
    const struct {
        const char* name;
        uint8_t rootId;
        bool opens;
    } cases[] = { { "the page as saved", 1, true }, { "root id 0", 0, false }, { "root id 2", 2, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = SavedPage();
        ASSERT_EQ(bytes.substr(21, 4), std::string("\1\0\0\0", 4));
        bytes[21] = static_cast<char>(c.rootId);
        driver::MakeHostFile("plume/Projects/page.mvi", bytes);
        SmartPtr<FileReference> file = new FileReference("c:\\plume\\Projects\\page.mvi");
        std::vector<std::string> expected;
        if (!c.opens)
            expected = { kCorrupt, kCorrupt };

        driver::ScriptMessageBoxes({ IDOK, IDOK });
        size_t alerts = driver::AlertLog().size();
        uint32_t windows = app->NumWindows();
        app->OpenDocument(file, false, false);
        EXPECT_EQ(app->NumWindows(), windows + (c.opens ? 1 : 0));
        EXPECT_EQ(app->OpenIntoActivePane(*file.Get()).Valid(), c.opens);
        std::vector<std::string> shown;
        for (size_t n = alerts; n < driver::AlertLog().size(); ++n)
            shown.push_back(driver::AlertLog()[n].text.substr(0, driver::AlertLog()[n].text.find('\r')));
        EXPECT_EQ(shown, expected);
    }
}

} // namespace
