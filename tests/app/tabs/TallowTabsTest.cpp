// The media tabs of the page window: the set a new window shows, what every tab sends and plays,
// the browser each folder tab opens over the page and replaces, the kid tools the paint tabs show,
// the playing set, the set steps and the selector's cells.
#include "app/tabs/TallowTabs.h"

#include "app/BuildMenus.h"
#include "app/MenuCommands.h"
#include "app/TallowWindow.h"
#include "app/links/LinkSignal.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/CTool.h"
#include "engine/CFWDecorator.h"
#include "engine/NumberCommandHandler.h"
#include "ui/AppSignals.h"
#include "ui/WindowOwner.h"

#include "../TallowAppFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <typeinfo>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;

// Takes every numbered command it is sent, recording the number.
class NumberRecorder : public SmartImplementation, public NumberCommandHandler {
    PW_CLASS_INFO(NumberRecorder)

public:
    void DoCommand(int32_t number, int32_t) override { numbers.push_back(number); }
    int32_t GetCommandStatus(int32_t) override { return kEnabled; }
    std::vector<int32_t> numbers;
};

PW_DEFINE_CLASS(NumberRecorder, nullptr, nullptr, SmartImplementation, NumberCommandHandler)

// An owner of the page window that writes down each command the window's views send, in words.
class CommandRecorder : public WindowOwner {
public:
    void WindowChanged(void*) override { }
    void TaskDone(const SmartPtr<Task>&) override { }
    void WindowOpened(const SmartPtr<Window>&) override { }
    void WindowClosed(const SmartPtr<Window>&) override { }
    void WindowCommand(const SmartPtr<GenericSignal>& signal) override
    {
        GenericSignal& sent = *signal.Get();
        SmartPtr<GenericSignal> publish = pw::app::MakeMenuSignal(pw::app::MenuCommand::kPublish);
        const GenericSignal& publishSignal = *publish.Get();
        SmartPtr<NumberRecorder> handler = new NumberRecorder;
        if (dynamic_cast<pw::app::NumberCommandSignal*>(&sent)) {
            sent.Send(handler.Get());
            Add("command " + std::to_string(handler->numbers.at(0)));
        } else if (auto* navigate = dynamic_cast<NavigateSignal*>(&sent)) {
            Add("navigate " + std::to_string(navigate->GetNumber()));
        } else if (auto* record = dynamic_cast<RecordSoundSignal*>(&sent)) {
            Add("record " + std::to_string(record->GetTool()->GetNumber()));
        } else if (dynamic_cast<LinkSignal*>(&sent)) {
            Add("link");
        } else if (dynamic_cast<pw::ui::NewDocumentSignal*>(&sent)) {
            Add("new page");
        } else if (typeid(sent) == typeid(publishSignal)) {
            Add("publish");
        } else {
            Add("other");
        }
    }
    void Add(const std::string& text) { sent += (sent.empty() ? "" : ", ") + text; }

    std::string sent;
};

// The start-up folder's media folders, each with one page named after it.
constexpr const char* kMediaFolders[] = { "Samples", "Backgrounds", "Dividers", "Pictures", "Yahoo", "CoolSites",
    "KidClubs" };

class TallowTabsTest : public apptest::PageWindowFixture {
protected:
    void SetUp() override
    {
        PageWindowFixture::SetUp();
        for (const char* folder : kMediaFolders) {
            std::filesystem::remove_all(driver::HostPath(std::string("plume/") + folder));
            driver::MakeHostFolder(std::string("plume/") + folder);
            driver::MakeHostFile(std::string("plume/") + folder + "/" + folder + ".mvi", "page");
        }
        Page("Kim");
        tabs = window->GetTabs();
        ASSERT_TRUE(tabs.Valid());
        driver::RunUntilIdle();
    }
    void TearDown() override
    {
        window->RemoveOwner(&recorder);
        tabs = nullptr;
        for (const char* folder : kMediaFolders)
            std::filesystem::remove_all(driver::HostPath(std::string("plume/") + folder));
        PageWindowFixture::TearDown();
    }

    // Commands from the window go only to the recorder, not to the application.
    void RecordCommands()
    {
        window->RemoveOwner(tallow.Get());
        window->AddOwner(&recorder);
    }
    void Clear()
    {
        recorder.sent.clear();
        pw::platform::winmm::testing::ClearSoundLog();
    }
    // The folder of the browser over the page, from its entries; "" without a browser.
    std::string BrowsedFolder()
    {
        auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        if (!pane)
            return "";
        SmartPtr<CBrowser> browser = pane->GetBrowser();
        for (uint32_t i = 1; i <= browser->NumEntries(); ++i) {
            if (SmartPtr<FileReference> entry = browser->GetEntry(i); entry.Valid())
                return TextOf(entry->Parent()->Name());
        }
        return "(empty)";
    }
    // The kid tools' mode while they show, else -1.
    static int32_t KidToolsMode()
    {
        SmartPtr<CToolsDir> tools = CTumblerApp::GetTools();
        return tools->ToggleShown(false) ? tools->GetMode() : -1;
    }
    int16_t SelectedTab() { return tabs->GetTabPalette(tabs->GetCurrentSet())->GetSelectedTool(); }
    // Views of the window that are browsers.
    size_t BrowserViews()
    {
        size_t count = 0;
        const SmartList<View>& children = window->GetChildren();
        for (uint32_t i = 1; i <= children.NumItems(); ++i)
            count += dynamic_cast<CBrowserPane*>(children.Item(i)) != nullptr;
        return count;
    }

    SmartPtr<TallowTabs> tabs;
    CommandRecorder recorder;
};

TEST_F(TallowTabsTest, ANewWindowShowsTheSecondSetWithItsFirstTabPressed)
{
    EXPECT_EQ(tabs->GetCurrentSet(), 1);
    EXPECT_EQ(tallow->GetTabSelector()->GetSelectedTool(), 29);
    for (int16_t set = 0; set < TallowTabs::NUM_TAB_SETS; ++set)
        EXPECT_EQ(tabs->GetTabPalette(set)->IsVisible(), set == 1) << "set " << set;
    EXPECT_EQ(SelectedTab(), 8);
    HWND hwnd = window->GetFrame()->GetOSWindow();
    EXPECT_EQ(ShownRow(hwnd, 25, 0, 430), std::string(86, 'w') + std::string(344, 'g'))
        << "the pressed tab over the second set's strip";
}

// Each tab clicked from its own set: the sounds played ('t' the tab click, 'o' the open sound),
// the commands sent to the window's owners, the tab pressed afterwards, the browser over the page
// and the kid tools' mode (-1 hidden).
TEST_F(TallowTabsTest, EveryTabPlaysSendsAndShowsWhatItsRowSays)
{
    struct Row {
        int16_t tab;
        const char* sounds;
        const char* sent;
        int16_t pressed;
        const char* browsed;
        int32_t toolsMode;
    };
    const Row rows[] = {
        { 3, "o", "", 3, "", -1 },
        { 4, "o", "", 4, "Kim", -1 },
        { 5, "o", "", 5, "Samples", -1 },
        { 6, "t", "new page", 3, "", -1 },
        { 7, "", "", 3, "", -1 },
        { 8, "o", "", 8, "", -1 },
        { 9, "o", "", 9, "Backgrounds", -1 },
        { 10, "o", "", 10, "Dividers", -1 },
        { 11, "o", "", 11, "Pictures", -1 },
        { 12, "", "", 8, "", -1 },
        { 13, "o", "", 13, "", -1 },
        { 14, "t", "", 14, "", 2 },
        { 15, "t", "", 15, "", 3 },
        { 16, "t", "record 14", 13, "", -1 },
        { 17, "t", "link", 13, "", -1 },
        { 18, "o", "", 18, "", -1 },
        { 19, "o", "", 19, "Kim", -1 },
        { 20, "o", "", 20, "Yahoo", -1 },
        { 21, "o", "", 21, "CoolSites", -1 },
        { 22, "o", "", 22, "KidClubs", -1 },
        { 23, "o", "", 23, "", -1 },
        { 24, "t", "navigate 0", 23, "", -1 },
        { 25, "t", "navigate 1", 23, "", -1 },
        { 26, "t", "navigate 2", 23, "", -1 },
        { 27, "t", "publish", 23, "", -1 },
    };
    RecordCommands();
    for (const Row& row : rows) {
        SCOPED_TRACE("tab " + std::to_string(row.tab));
        tabs->SelectTabSet(static_cast<int16_t>((row.tab - TallowTabs::iFirstTab) / TallowTabs::MAX_NUM_TABS));
        Clear();
        tabs->DoCommand(row.tab);
        EXPECT_EQ(SoundsHeard(), row.sounds);
        EXPECT_EQ(recorder.sent, row.sent);
        EXPECT_EQ(SelectedTab(), row.pressed);
        EXPECT_EQ(BrowsedFolder(), row.browsed);
        EXPECT_EQ(KidToolsMode(), row.toolsMode);
        EXPECT_TRUE(driver::AlertLog().empty()) << driver::AlertLog().front().text;
    }
}

TEST_F(TallowTabsTest, TheBrowserToolsAreSharedAsTheTabsShareThem)
{
    struct Row {
        int16_t tab;
        int32_t tool;
        int16_t sameAs;
    };
    const Row rows[] = { { 4, 17, 0 }, { 5, 21, 0 }, { 9, 20, 0 }, { 10, 19, 0 }, { 11, 19, 10 }, { 16, 14, 0 },
        { 17, 14, 16 }, { 19, 14, 16 }, { 20, 22, 0 }, { 21, 22, 20 }, { 22, 22, 20 }, { 3, 0, 0 }, { 27, 0, 0 } };
    for (const Row& row : rows) {
        SCOPED_TRACE("tab " + std::to_string(row.tab));
        SmartPtr<CTool> tool = tabs->GetTabTool(row.tab);
        EXPECT_EQ(tool.Valid() ? tool->GetNumber() : 0, row.tool);
        if (row.sameAs) {
            EXPECT_EQ(tool.Get(), tabs->GetTabTool(row.sameAs).Get());
        }
    }
    EXPECT_NE(tabs->GetTabTool(9).Get(), tabs->GetTabTool(10).Get());
}

TEST_F(TallowTabsTest, ASecondFolderReplacesTheBrowserAndAPageTabRemovesIt)
{
    tabs->DoCommand(9);
    tabs->DoCommand(10);
    EXPECT_EQ(BrowserViews(), 1u);
    EXPECT_EQ(BrowsedFolder(), "Dividers");
    EXPECT_EQ(window->GetBrowserPane()->GetBounds(), window->GetPageArea()) << "the browser covers the page area";
    tabs->DoCommand(8);
    EXPECT_EQ(BrowserViews(), 0u);
    EXPECT_FALSE(window->GetBrowserPane().Valid());
}

// The first page and a new page fill the window's page area; a smaller page opened into it shows
// on grey, not on white that would pass for page. Over each of them the Pictures tab lays its
// browser over the whole page area, so that its entries lie where they lay before.
TEST_F(TallowTabsTest, EveryPageFillsThePageAreaOrShowsOnGreyAndBrowsersLieAlike)
{
    const Rect area = window->GetPageArea();
    ASSERT_EQ(area, window->GetDocumentView()->GetBounds()) << "the first page fills it";
    HWND hwnd = window->GetFrame()->GetOSWindow();
    auto greyAt = [&](Point at) {
        pw::platform::Frame shown = driver::ReadClientArea(hwnd);
        const pw::platform::PaletteColor& rgb = shown.palette[shown.At(at.h, at.v)];
        return rgb.red == 0x80 && rgb.green == 0x80 && rgb.blue == 0x80;
    };
    struct Case {
        const char* name;
        std::function<void()> show;
        bool fills;
    } cases[] = {
        { "the first page", [] {}, true },
        { "a new page", [&] { ClickSelector(28); ClickTab(6); }, true },
        { "a smaller page", [&] { window->OpenPage(Page("Small")); }, false },
        { "the home page, made when missing", [&] { ClickSelector(32); ClickTab(26); }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.show();
        driver::RunUntilIdle();
        Rect page = window->GetPagePane()->GetBounds();
        EXPECT_EQ(page == area, c.fills);
        EXPECT_EQ(page.TopLeft(), area.TopLeft());
        EXPECT_FALSE(greyAt(Point(page.left + 5, page.top + 5))) << "the page";
        EXPECT_EQ(greyAt(Point(area.right - 5, area.bottom - 5)), !c.fills) << "beside the page";
        ClickSelector(29);
        ClickTab(11);
        auto* browser = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->GetBounds(), area) << "over the whole page area";
        ClickTab(8);
    }
}

TEST_F(TallowTabsTest, AMissingMediaFolderIsReportedOnceAndMade)
{
    std::filesystem::remove_all(driver::HostPath("plume/Pictures"));
    driver::ScriptMessageBoxes({ IDOK });
    tabs->DoCommand(11);
    ASSERT_EQ(driver::AlertLog().size(), 1u);
    EXPECT_NE(driver::AlertLog()[0].text.find("\"Pictures\""), std::string::npos) << driver::AlertLog()[0].text;
    EXPECT_TRUE(std::filesystem::is_directory(driver::HostPath("plume/Pictures")));
    EXPECT_EQ(BrowsedFolder(), "(empty)");
    tabs->DoCommand(8);
    tabs->DoCommand(11);
    EXPECT_EQ(driver::AlertLog().size(), 1u) << "the folder is there now";
}

// The paint tabs put the kid tools under the page window, pulled up to stay inside the frame; they
// go away while the page window is inactive and come back with it.
TEST_F(TallowTabsTest, ThePaintTabsShowTheKidToolsBelowThePage)
{
    tabs->DoCommand(14);
    SmartPtr<CToolsDir> kidTools = CTumblerApp::GetTools();
    ASSERT_EQ(KidToolsMode(), 2);
    Rect page = window->GetRect();
    Rect tools = kidTools->GetRect();
    Rect frame(0, 0, 0, 0);
    CFWDecorator::Get().GetFrame(frame);
    EXPECT_EQ(tools.left, page.left);
    EXPECT_EQ(tools.top, std::min(page.bottom, frame.bottom - (tools.bottom - tools.top)));

    window->SetActive(false);
    EXPECT_EQ(KidToolsMode(), -1);
    window->SetActive(true);
    EXPECT_EQ(KidToolsMode(), 2);
    tabs->DoCommand(13);
    EXPECT_EQ(KidToolsMode(), -1) << "a page tab puts them away";
    window->SetActive(false);
    window->SetActive(true);
    EXPECT_EQ(KidToolsMode(), -1) << "and they stay away";
}

// The kid tools keep their frame each time the Paint tab shows them, and the frame of the text
// options under them each time the Write tab does (their tools' changes are the kid tools' own
// test); dragged toward any edge and beyond, they stay wholly inside the main window.
TEST_F(TallowTabsTest, TheKidToolsKeepTheirFrameAndStayOnTheScreen)
{
    SmartPtr<CToolsDir> kidTools = CTumblerApp::GetTools();
    tabs->DoCommand(TallowTabs::kFirstSelectorCell + 2);
    std::map<int16_t, Rect> frames;
    for (int16_t tab : { 15, 14, 15, 14 }) {
        tabs->DoCommand(tab);
        driver::RunUntilIdle();
        frames.emplace(tab, kidTools->GetRect());
        EXPECT_EQ(kidTools->GetRect(), frames.at(tab)) << "tab " << tab;
    }
    DragToTheEdges(kidTools->GetFrame()->GetOSWindow(),
        { POINT { 2000, 0 }, POINT { 0, 2000 }, POINT { -2000, 0 }, POINT { 0, -2000 } });
}

// Entering the playing set starts the page, which plays again whenever it stops; leaving stops it.
TEST_F(TallowTabsTest, TheLastSetKeepsThePagePlayingAndLeavingItStopsThePage)
{
    CHAPane* pane = window->GetPagePane();
    ASSERT_NE(pane, nullptr);
    ASSERT_EQ(tabs->GetPagePane().Get(), static_cast<CPanePlay*>(pane)) << "the tabs follow the page";
    tabs->DoCommand(TallowTabs::kFirstSelectorCell + 4);
    EXPECT_EQ(tabs->GetCurrentSet(), 4);
    EXPECT_TRUE(pane->IsPlaying());
    pane->GetPlayer()->Stop();
    EXPECT_TRUE(pane->IsPlaying()) << "started again";
    tabs->DoCommand(TallowTabs::kFirstSelectorCell + 3);
    EXPECT_FALSE(pane->IsPlaying());
    pane->GetPlayer()->Start();
    pane->GetPlayer()->Stop();
    EXPECT_FALSE(pane->IsPlaying()) << "other sets let the page stop";
}

// The previous and next steps go round the five sets; a selector cell shows its set.
TEST_F(TallowTabsTest, StepsGoRoundTheSetsAndSelectorCellsChooseThem)
{
    RecordCommands();
    const struct {
        int16_t command;
        int16_t set;
        const char* sent;
    } steps[] = {
        { 2, 2, "" },
        { 2, 3, "" },
        { 2, 4, "command 2030" },
        { 2, 0, "command 2031" },
        { 1, 4, "command 2030" },
        { 29, 1, "command 2031" },
        { 28, 0, "" },
        { 31, 3, "" },
    };
    for (const auto& step : steps) {
        SCOPED_TRACE("command " + std::to_string(step.command));
        Clear();
        tabs->DoCommand(step.command);
        EXPECT_EQ(tabs->GetCurrentSet(), step.set);
        EXPECT_EQ(SelectedTab(), TallowTabs::iFirstTab + TallowTabs::MAX_NUM_TABS * step.set);
        EXPECT_EQ(recorder.sent, step.sent);
        EXPECT_EQ(SoundsHeard(), "t");
        for (int16_t set = 0; set < TallowTabs::NUM_TAB_SETS; ++set)
            EXPECT_EQ(tabs->GetTabPalette(set)->IsVisible(), set == step.set) << "set " << set;
    }
}

// The selector's cell of the set shown, clicked again, goes back to the set's first tab and takes
// the browser away, and the page neither starts nor stops.
TEST_F(TallowTabsTest, TheSelectorCellOfTheSetShownReturnsToItsFirstTab)
{
    tabs->DoCommand(9);
    ASSERT_EQ(BrowsedFolder(), "Backgrounds");
    RecordCommands();
    Clear();
    SmartPtr<CToolPalette> selector = tallow->GetTabSelector();
    Rect cell = selector->GetCellRect(29);
    Point origin = tallow->GetTabSetWindow()->GetContentOrigin();
    driver::Click(origin.h + cell.left + 10, origin.v + cell.top + 10);
    driver::RunUntilIdle();
    EXPECT_EQ(tabs->GetCurrentSet(), 1);
    EXPECT_EQ(SelectedTab(), 8);
    EXPECT_EQ(BrowsedFolder(), "");
    EXPECT_EQ(recorder.sent, "");
    EXPECT_EQ(SoundsHeard(), "t");
}

} // namespace
