// A media folder of real page files beside the page pane of PaneTest, with an animation
// application running in place of the test application (its active pane the page's), and tabs
// that record the commands the browser sends them.
#pragma once

#include "authoring/browser/CBrowser.h"
#include "authoring/palettes/TabBarView.h"
#include "engine/CHAApp.h"
#include "engine/CLink.h"
#include "foundation/FileReference.h"
#include "foundation/Scribe.h"
#include "foundation/Time.h"
#include "ui/WindowFrame.h"
#include "ui/AppGlue.h"

#include "authoring/panes/PaneFixture.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace authoring {

class PagesApp : public CHAApp {
public:
    PagesApp()
        : CHAApp(SmartPtr<MenuBar>(), FileCreatorType("Test", 0x54657374))
    {
    }
    void NewDocument() override { }
    // Counts the files handed to the application's scribe factory.
    SmartPtr<Scribe> OpenScribe(const SmartPtr<FileReference>& file, uint8_t mode) override
    {
        ++scribesAsked;
        return CHAApp::OpenScribe(file, mode);
    }
    // Runs `afterPreview` once a page's preview was asked for, as another program might act then.
    SmartPtr<Smart> ImportFile(const SmartPtr<FileReference>& file, int32_t width, int32_t height) override
    {
        SmartPtr<Smart> preview = CHAApp::ImportFile(file, width, height);
        if (afterPreview)
            afterPreview();
        return preview;
    }
    int scribesAsked = 0;
    std::function<void()> afterPreview;
};

// Tabs that only record the commands they are sent.
class RecordingTabs : public TabBarView {
public:
    explicit RecordingTabs(View* parent)
        : TabBarView(parent, Rect(0, 0, 10, 10), 1)
    {
    }
    SmartPtr<CToolPalette> GetPagePalette(int16_t) override { return nullptr; }
    void DoCommand(int16_t command) override { commands.push_back(command); }
    std::vector<int16_t> commands;
};

class BrowserTest : public PaneTest {
protected:
    static constexpr Point kCell { 60, 45 };

    void SetUp() override
    {
        PaneTest::SetUp();
        pw::foundation::ForgetFolderPreviews();
        std::filesystem::create_directories(HostFolder());
        pages = new PagesApp;
        AppGlue::Application() = pages.Get();
        Window::SetApplication(pages.Get());
        pages->SetActivePane(pane.Get());
        tabs = new RecordingTabs(page.Get());
    }

    void TearDown() override
    {
        for (uint32_t i = pages->NumWindows(); i >= 1; --i) {
            SmartPtr<Window> window = pages->GetWindow(i);
            pages->RemoveWindow(window);
            window->Close();
        }
        pages->ClearActivePane(pane.Get());
        AppGlue::Application() = app;
        Window::SetApplication(app);
        tabs = nullptr;
        pages = nullptr;
        pw::foundation::ForgetFolderPreviews();
        PaneTest::TearDown();
    }

    static std::filesystem::path HostFolder()
    {
        return std::filesystem::path(driver::DriveRoot()) / "plume" / "Media";
    }
    static SmartPtr<FileReference> Folder() { return new FileReference("c:\\plume\\Media"); }
    static SmartPtr<FileReference> File(const std::string& name)
    {
        return new FileReference(("c:\\plume\\Media\\" + name).c_str());
    }

    // A page of `size` holding one sprite of a standard colour over its whole area, named `name`,
    // with a link at frame 0 when asked.
    void WritePage(const std::string& name, int color, bool linked = false, Point size = Point(80, 60),
        const char* spriteName = "picture")
    {
        SmartPtr<CMovieGroup> movie = new CMovieGroup(Rect(0, 0, size.h, size.v));
        SmartPtr<OffScreen> cel = new OffScreen(size.h, size.v, 8, Color(0), true);
        {
            DisplayPort port(*cel.Get(), cel->GetBounds(), 0);
            port.DrawRectangle(cel->GetBounds(), Color(color), Color(color), 1);
        }
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(cel->GetBitMap().Get()), true);
        int16_t index = movie->AddMovieAsSprite(0, 1, new CMoviePic(resource, true));
        CSprite* sprite = movie->GetSprite(index);
        sprite->SetName(new String(spriteName));
        if (linked) {
            SmartPtr<CLink> link = new CLink;
            sprite->SetLink(0, 1, link.Get());
        }
        SmartPtr<CShow> made = new CShow(movie.Get());
        std::ofstream(HostFolder() / name, std::ios::app).close();
        pages->OpenScribe(File(name), 3)->Write(SmartPtr<Smart>(made.Get()));
        made->Close();
    }

    static void WriteBytes(const std::string& name, const std::string& bytes)
    {
        std::ofstream(HostFolder() / name, std::ios::binary) << bytes;
    }

    SmartPtr<CBrowser> MakeBrowser(int32_t toolNumber, const Rect& bounds)
    {
        SmartPtr<CTool> tool = new CTool(toolNumber, nullptr, false, nullptr);
        SmartPtr<CBrowser> browser = new CBrowser(page.Get(), bounds, Folder(), tool, kCell);
        browser->SetOwner(Tabs());
        return browser;
    }

    // A click in the middle of the entry's picture.
    static bool ClickEntry(CBrowser& browser, uint32_t index)
    {
        Point middle = browser.CellRect(index).Center();
        return browser.MouseDown(middle.h, middle.v, BitFlags(), 1, SmartPtr<Window>());
    }

    // The sprites of the list on the application clipboard.
    SmartList<CSprite> ClipboardSprites()
    {
        SmartList<CSprite> sprites;
        auto* list = SmartCast<ListData>(pages->GetClipboard()->Contents().Get());
        for (uint32_t i = 1; list && i <= list->NumItems(); ++i) {
            if (auto* sprite = SmartCast<CSprite>(list->GetItem(i)))
                sprites.Append(sprite);
        }
        return sprites;
    }

    SmartPtr<TabBarView> Tabs() const { return SmartPtr<TabBarView>(tabs.Get()); }

    SmartPtr<PagesApp> pages;
    SmartPtr<RecordingTabs> tabs;
};

} // namespace authoring
