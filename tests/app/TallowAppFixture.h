// The application made as the program makes it, over a test "Data" folder that holds the art the
// tab strips, the tab-set selector and the kid tools draw, and distinct tab and open sounds; the
// project's name dialog answered by typed keys.
#pragma once

#include "app/TallowApp.h"
#include "app/TallowResources.h"
#include "app/TallowWindow.h"
#include "app/tabs/TallowTabs.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/panes/CHAPane.h"
#include "engine/CFWDecorator.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/SoundChannel.h"
#include "ui/AppGlue.h"
#include "ui/Dialog.h"
#include "ui/DocWindow.h"
#include "ui/Menu.h"
#include "ui/MenuItem.h"
#include "ui/SoundDialog.h"
#include "ui/WindowFrame.h"

#include "authoring/AuthoringFixture.h"
#include "graphics/SoundBytes.h"
#include "platform/kernel/KernelTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace apptest {

namespace driver = pw::platform::testing;

// The picture colours of the five tab strips (set order) and of a pressed tab.
inline constexpr char kSetColors[] = { 'r', 'g', 'b', 'y', 'k' };
inline constexpr char kPressedColor = 'w';
// The sample bytes of the tab click and of the open sound: the recording device tells them apart
// by length.
inline constexpr size_t kTabSoundLength = 40;
inline constexpr size_t kOpenSoundLength = 80;

class TallowAppFixture : public authoring::AuthoringTest {
protected:
    void SetUp() override
    {
        AuthoringTest::SetUp();
        pw::app::testing::ResetTallowResources();
        PutArt();
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        driver::MakeHostFolder("plume/Projects");
        options = CHAApp::GetOptions();
        CHAApp::GetOptions() = CHAApp::Options { 1, 8, CHAApp::kNoSoundsBit | 0x04 };
        CShow::SetViewMaker(&CHAPane::Make);
        // The program-wide sound switch and window frame, as each run starts with them.
        soundOff = false;
        CFWDecorator::Get().GetFrame(frame);
        pw::foundation::ForgetFolderPreviews();
        // As a run starts: no scribe has chosen the current folder yet.
        pw::app::testing::ForgetScribeFolder();
        tallow = new TallowApp;
        // The running application, as start-up makes it: windows, panes and document windows
        // reach it through the glue.
        frameworkApp = AppGlue::Application();
        AppGlue::Application() = tallow.Get();
        Window::SetApplication(tallow.Get());
        DocWindow::SetDefaultFormatPicker(tallow.Get());
    }
    void TearDown() override
    {
        driver::SetIdleHandler(nullptr);
        answered = nullptr;
        DocWindow::SetDefaultFormatPicker(frameworkApp.Get());
        Window::SetApplication(app);
        AppGlue::Application() = frameworkApp;
        frameworkApp = nullptr;
        tallow = nullptr;
        // The children's application keeps its tools window in a class-wide handle; a new one
        // without tools lets it go while the platform is still up.
        SmartPtr<CTumblerApp>(new CTumblerApp(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374), nullptr));
        CHAApp::GetOptions() = options;
        CFWDecorator::Get().SetFrame(frame);
        // The browsed folders go with the test; so do their unsaved previews.
        pw::foundation::ForgetFolderPreviews();
        FileReference startup = FileReference::StartupFolder();
        FileReference::SetAsCurrentDirectory(startup);
        std::filesystem::remove_all(driver::HostPath("plume/Projects"));
        pw::app::testing::ResetTallowResources();
        AuthoringTest::TearDown();
    }

    static void PutArt()
    {
        // The kid tools window's paint palette and the selection tool's options.
        PutPicture(30, authoring::Plain('w', 50, 75));
        PutPicture(31, authoring::Plain('y', 50, 75));
        PutPicture(2040, authoring::Plain('w', 70, 70));
        // The buttons of the text tool's option rows.
        for (int16_t picture : { 2020, 2021, 2022 })
            PutPicture(picture, authoring::Plain('w', 20, 70));
        // The tab bar's own button.
        PutPicture(2030, authoring::Plain('k', 20, 50));
        for (int set = 0; set < 5; ++set) {
            PutPicture(501 + 10 * set, authoring::Plain(kSetColors[set], 430, 50));
            PutPicture(502 + 10 * set, authoring::Plain(kPressedColor, 430, 50));
        }
        PutPicture(551, authoring::Plain('b', 133, 390));
        PutPicture(552, authoring::Plain('y', 133, 390));
        PutPicture(553, authoring::Plain('g', 133, 30));
        PutSoundOf(3, kTabSoundLength);
        PutSoundOf(4, kOpenSoundLength);
    }
    static void PutSoundOf(int number, size_t length)
    {
        PutFile(std::to_string(1000 + number) + ".wav",
            sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(length, 0x80)));
    }

    // Each name dialog that opens gets the keys (Escape when they are empty).
    void AnswerNameDialogs(const std::string& keys) { AnswerNameDialogs(std::vector<std::string> { keys }); }
    // The name dialogs get the keys in turn, the last for every later dialog.
    void AnswerNameDialogs(const std::vector<std::string>& turns)
    {
        dialogs = 0;
        driver::SetIdleHandler([this, turns] {
            auto* dialog = dynamic_cast<Dialog*>(tallow->GetWindow(tallow->NumWindows()).Get());
            if (!dialog || dialog->IsClosed() || answered.Get() == dialog)
                return false;
            answered = dialog;
            const std::string& keys = turns[std::min<size_t>(size_t(dialogs), turns.size() - 1)];
            ++dialogs;
            if (keys.empty()) {
                driver::TypeKey(VK_ESCAPE);
            } else {
                driver::PressKey(VK_CONTROL);
                driver::TypeKey('A');
                driver::ReleaseKey(VK_CONTROL);
                driver::TypeText(keys);
            }
            return true;
        });
    }

    // Drags the floating window by its caption by each offset in turn (toward an edge and beyond);
    // after each drag the window lies wholly inside the main window's client area, its size kept.
    static void DragToTheEdges(HWND hwnd, std::initializer_list<POINT> offsets)
    {
        HWND main = GetParent(hwnd);
        ASSERT_NE(main, nullptr);
        RECT client {};
        GetClientRect(main, &client);
        POINT origin { 0, 0 };
        ClientToScreen(main, &origin);
        RECT before {};
        GetWindowRect(hwnd, &before);
        for (POINT by : offsets) {
            SCOPED_TRACE("dragged by " + std::to_string(by.x) + "," + std::to_string(by.y));
            POINT caption = driver::CaptionPoint(hwnd);
            ASSERT_GE(caption.x, 0);
            driver::Drag(caption.x, caption.y, caption.x + by.x, caption.y + by.y);
            driver::RunUntilIdle();
            RECT shown {};
            GetWindowRect(hwnd, &shown);
            EXPECT_GE(shown.left, origin.x);
            EXPECT_GE(shown.top, origin.y);
            EXPECT_LE(shown.right, origin.x + client.right);
            EXPECT_LE(shown.bottom, origin.y + client.bottom);
            EXPECT_EQ(shown.right - shown.left, before.right - before.left);
            EXPECT_EQ(shown.bottom - shown.top, before.bottom - before.top);
        }
    }

    // Clicks with the mouse, at a point of a window's content or at a tab of the set a page window
    // shows, and lets the program answer.
    static void ClickWindow(const SmartPtr<Window>& target, Point at)
    {
        Point origin = target->GetContentOrigin();
        driver::Click(origin.h + at.h, origin.v + at.v);
        driver::RunUntilIdle();
    }
    static void ClickTabOf(TallowWindow& page, int16_t tab)
    {
        Rect cell = page.GetTabs()->GetTabPalette(page.GetTabs()->GetCurrentSet())->GetCellRect(tab);
        ASSERT_FALSE(cell.IsEmpty()) << "tab " << tab << " shows";
        ClickWindow(&page, cell.Center());
    }

    // The command number of the menu entry with this title.
    uint32_t MenuCommand(const std::string& title)
    {
        for (uint32_t command = Menu::kFirstCommand; command < Menu::kFirstCommand + 5000; ++command) {
            SmartPtr<MenuItem> item = tallow->FindMenuItem(command);
            if (item.Valid() && pw::foundation::TextOf(item->Title()) == title)
                return command;
        }
        ADD_FAILURE() << "no entry " << title;
        return 0;
    }

    // The sounds played since the log was cleared, as 't' (tab click), 'o' (open) or '?'.
    static std::string SoundsHeard()
    {
        std::string heard;
        for (const auto& event : pw::platform::winmm::testing::SoundLog()) {
            if (event.kind != pw::platform::winmm::SoundEvent::Kind::Play)
                continue;
            heard += event.length == kTabSoundLength ? 't' : event.length == kOpenSoundLength ? 'o' : '?';
        }
        return heard;
    }

    SmartPtr<TallowApp> tallow;
    SmartPtr<App> frameworkApp;
    CHAApp::Options options;
    Rect frame { 0, 0, 0, 0 };
    int dialogs { 0 };
    // The dialog answered last, held so that its memory cannot serve a later dialog: a new dialog
    // at the same address would pass for it and never be answered.
    SmartPtr<Dialog> answered;
};

// A red picture (standard colour 7) of `width` x `height` in every frame of the group, as its next
// sprite.
inline void AddRedPicture(CMovieGroup& group, int32_t width, int32_t height)
{
    SmartPtr<OffScreen> picture = new OffScreen(width, height, 8, Color(0), true);
    {
        DisplayPort port(*picture.Get(), picture->GetBounds(), 0);
        port.DrawRectangle(picture->GetBounds(), Color(7), Color(7), 1);
    }
    group.AddMovieAsSprite(0, group.NumFrames(),
        new CMoviePic(new CResource(SmartPtr<Persistent>(picture->GetBitMap().Get()), true), true));
}

// A project named "Kim" and its first page in the page window.
class PageWindowFixture : public TallowAppFixture {
protected:
    void SetUp() override
    {
        TallowAppFixture::SetUp();
        AnswerNameDialogs("Kim\n");
        tallow->NewDocument();
        window = SmartCast<TallowWindow>(tallow->FindWindowForView().Get());
        ASSERT_TRUE(window.Valid());
    }
    void TearDown() override
    {
        window = nullptr;
        TallowAppFixture::TearDown();
    }

    // A page file of the project, stored without its export.
    SmartPtr<FileReference> Page(const std::string& name)
    {
        SmartPtr<FileReference> project = tallow->GetProject().GetFolder();
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
            tallow->GetDocumentTypes()->GetFileType(), tallow->GetCreator(), *project.Get(), String(name.c_str()), true);
        SmartPtr<CShow> show = new CShow(new CMovieGroup(Rect(0, 0, 120, 90)));
        tallow->App::OpenScribe(file, 3)->Write(show.Get());
        show->Close();
        return file;
    }
    std::string Title() const { return pw::foundation::TextOf(*window->GetFrame()->GetTitle().Get()); }
    // The sound-recording dialog while it is up, or NULL.
    HWND RecordDialog()
    {
        for (uint32_t index = tallow->NumWindows(); index >= 1; --index) {
            auto* dialog = dynamic_cast<SoundDialog*>(tallow->GetWindow(index).Get());
            if (dialog && !dialog->IsClosed())
                return dialog->GetFrame()->GetOSWindow();
        }
        return nullptr;
    }

    // The page's editing pane.
    CHAPane* Pane() const { return window->GetPagePane(); }
    // A page point in the window's surface (the driver's coordinates).
    Point OnScreen(Point page) const
    {
        Point origin = window->GetContentOrigin();
        Rect pane = Pane()->GetBounds();
        return Point(origin.h + pane.left + page.h, origin.v + pane.top + page.v);
    }
    // A press and moves to each page point in turn, `kEventGap` ms apart as a hand moves, the
    // button held; answers where the mouse is (the driver's coordinates).
    Point HoldAndMove(Point from, std::initializer_list<Point> through)
    {
        Point at = OnScreen(from);
        pw::platform::testing::MoveMouse(at.h, at.v);
        pw::platform::testing::RunFor(kEventGap);
        pw::platform::testing::PressMouse(at.h, at.v);
        for (Point p : through) {
            pw::platform::testing::RunFor(kEventGap);
            at = OnScreen(p);
            pw::platform::testing::MoveMouse(at.h, at.v);
        }
        pw::platform::testing::RunFor(kEventGap);
        return at;
    }
    // HoldAndMove, then let go at the last point.
    void DragThrough(Point from, std::initializer_list<Point> through)
    {
        Point at = HoldAndMove(from, through);
        pw::platform::testing::ReleaseMouse(at.h, at.v);
        pw::platform::testing::RunUntilIdle();
    }
    static constexpr uint64_t kEventGap = 40;

    // Clicks with the mouse, at a tab of the set shown, a cell of the set selector, and lets the
    // program answer.
    void ClickTab(int16_t tab) { ClickTabOf(*window.Get(), tab); }
    void ClickSelector(int16_t cell)
    {
        ClickWindow(tallow->GetTabSetWindow(), tallow->GetTabSelector()->GetCellRect(cell).Center());
    }
    // Clicks the page at a point of its movie.
    void ClickPage(Point at)
    {
        Rect pane = Pane()->GetBounds();
        ClickWindow(window.Get(), Point(pane.left + at.h, pane.top + at.v));
    }
    // Clicks the entry of the browser over the page that shows the file of that name.
    void ClickEntry(const std::string& name)
    {
        auto* browserPane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(browserPane, nullptr) << "a browser lies over the page";
        SmartPtr<CBrowser> browser = browserPane->GetBrowser();
        driver::RunFor(2000);
        for (uint32_t i = 1; i <= browser->NumEntries(); ++i) {
            if (SmartPtr<FileReference> entry = browser->GetEntry(i);
                entry.Valid() && pw::foundation::TextOf(entry->Name()) == name) {
                ClickWindow(window.Get(), browser->CellRect(i).Center());
                return;
            }
        }
        ADD_FAILURE() << "no entry " << name;
    }
    // The selected picture, or none.
    CSprite* Selected() const
    {
        SmartList<CSprite> selected = Pane()->GetSelectedSprites();
        return selected.IsEmpty() ? nullptr : selected.Item(1);
    }
    // Clicks the one entry of the browser that lies over the page, once its previews are made; the
    // chosen entry shows the page again.
    void ClickOnlyEntry()
    {
        auto* browserPane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(browserPane, nullptr) << "a browser lies over the page";
        SmartPtr<CBrowser> browser = browserPane->GetBrowser();
        ASSERT_EQ(browser->NumEntries(), 1u);
        driver::RunFor(2000);
        ClickWindow(window.Get(), browser->CellRect(1).Center());
        ASSERT_FALSE(window->GetBrowserPane().Valid()) << "the chosen entry shows the page again";
    }

    SmartPtr<TallowWindow> window;
};

} // namespace apptest
