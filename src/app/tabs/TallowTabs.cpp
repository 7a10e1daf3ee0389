#include "app/tabs/TallowTabs.h"

#include "app/BuildMenus.h"
#include "app/MenuCommands.h"
#include "app/MenuTable.h"
#include "app/TallowResources.h"
#include "app/TallowWindow.h"
#include "app/links/LinkSignal.h"
#include "authoring/application/CTumblerApp.h"
#include "authoring/browser/CBrowser.h"
#include "authoring/browser/CBrowserPane.h"
#include "authoring/palettes/CTilePane.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/ToolsWindowPane.h"
#include "authoring/resources/KidResources.h"
#include "authoring/resources/LoadedSound.h"
#include "authoring/tools/CTool.h"
#include "engine/CFWDecorator.h"
#include "engine/CPanePlay.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "graphics/Sound.h"

#include <windows.h>

#include <algorithm>

namespace {

enum class Action {
    kShowPage,
    kBrowse,
    kNewPage,
    kNone,
    kPaintTools,
    kSwitchTools,
    kRecordSound,
    kMailLink,
    kBack,
    kForward,
    kHome,
    kPublish,
};

// A browsing tab's folder: an application string naming a folder of the start-up folder, or the
// folder of the window's page.
constexpr int32_t kPageFolder = -1;
constexpr int32_t kNoFolder = -2;

struct Tab {
    int16_t number;
    Action action;
    int32_t folder;
    Point cell;
    // The tab's browser tool (a CTool number), 0 for none.
    int32_t tool;
};

constexpr Point kNoCell(0, 0);
constexpr Point kDefaultCell(80, 60);
constexpr Point kPictureCell(60, 60);
constexpr Point kDividerCell(160, 20);
constexpr Point kSiteListCell(160, 20);
constexpr Point kDirectoryCell(199, 75);
constexpr Point kClubCell(102, 48);
constexpr Point kPageCell(60, 45);

constexpr Tab kTabs[] = {
    { 3, Action::kShowPage, kNoFolder, kNoCell, 0 },
    { 4, Action::kBrowse, kPageFolder, kDefaultCell, 17 },
    { 5, Action::kBrowse, 4 /* "Samples" */, kDefaultCell, 21 },
    { 6, Action::kNewPage, kNoFolder, kNoCell, 0 },
    { 7, Action::kNone, kNoFolder, kNoCell, 0 },
    { 8, Action::kShowPage, kNoFolder, kNoCell, 0 },
    { 9, Action::kBrowse, 2 /* "Backgrounds" */, kDefaultCell, 20 },
    { 10, Action::kBrowse, 6 /* "Dividers" */, kDividerCell, 19 },
    { 11, Action::kBrowse, 1 /* "Pictures" */, kPictureCell, 19 },
    { 12, Action::kNone, kNoFolder, kNoCell, 0 },
    { 13, Action::kShowPage, kNoFolder, kNoCell, 0 },
    { 14, Action::kPaintTools, kNoFolder, kNoCell, 0 },
    { 15, Action::kSwitchTools, kNoFolder, kNoCell, 0 },
    { 16, Action::kRecordSound, kNoFolder, kNoCell, 14 },
    { 17, Action::kMailLink, kNoFolder, kNoCell, 14 },
    { 18, Action::kShowPage, kNoFolder, kNoCell, 0 },
    { 19, Action::kBrowse, kPageFolder, kPageCell, 14 },
    { 20, Action::kBrowse, 13 /* "Yahoo" */, kDirectoryCell, 22 },
    { 21, Action::kBrowse, 9 /* "CoolSites" */, kSiteListCell, 22 },
    { 22, Action::kBrowse, 10 /* "KidClubs" */, kClubCell, 22 },
    { 23, Action::kShowPage, kNoFolder, kNoCell, 0 },
    { 24, Action::kBack, kNoFolder, kNoCell, 0 },
    { 25, Action::kForward, kNoFolder, kNoCell, 0 },
    { 26, Action::kHome, kNoFolder, kNoCell, 0 },
    { 27, Action::kPublish, kNoFolder, kNoCell, 0 },
};
static_assert(std::size(kTabs) == TallowTabs::iLastTab - TallowTabs::iFirstTab + 1);
static_assert(
    TallowTabs::iLastTab - TallowTabs::iFirstTab + 1 == TallowTabs::NUM_TAB_SETS * TallowTabs::MAX_NUM_TABS);

// The browser tools: one object per number serves every tab that names it. Each starts with its
// first kid sound and takes the second (when there is one) as its pending sound.
struct ToolEntry {
    int32_t number;
    int16_t startSound;
    int16_t pendingSound;
};
constexpr int16_t kNoSound = -1;
constexpr ToolEntry kTools[] = {
    { 17, 20, kNoSound },
    { 21, 20, kNoSound },
    { 19, 0, 41 },
    { 20, 0, 41 },
    { 22, 0, 41 },
    { 14, 0, 43 },
};

// The button grid and first tab of each set.
struct TabSet {
    int16_t grid;
    int16_t first;
};
constexpr TabSet kSets[TallowTabs::NUM_TAB_SETS] = { { 404, 3 }, { 400, 8 }, { 401, 13 }, { 402, 18 }, { 403, 23 } };

const Tab* FindTab(int16_t number)
{
    if (number < TallowTabs::iFirstTab || number > TallowTabs::iLastTab)
        return nullptr;
    return &kTabs[number - TallowTabs::iFirstTab];
}

// The media folder an application string names, in the start-up folder (made when missing).
SmartPtr<FileReference> MediaFolder(int32_t name)
{
    char folder[MAX_PATH];
    TallowResources::GetString(folder, sizeof folder, name);
    return OpenStartupFile(folder);
}

void Play(const SmartPtr<SoundResource>& resource)
{
    if (SmartPtr<Sound> sound = pw::authoring::LoadedSound(resource); sound.Valid())
        Sound::PlayFrom(sound);
}

} // namespace

TallowTabs::TallowTabs(TallowWindow* window, const SmartPtr<CToolPalette>& selector)
    : TabBarView(window, Rect(0, 0, 0, 0), NUM_TAB_SETS)
    , window(window)
    , setSelector(selector)
    , openSound(KidResources::Lookup(kOpenSound))
{
    tilePane = new CTilePane(this, false, false, 0);
    AddChild(tilePane);
    for (int16_t set = 0; set < NUM_TAB_SETS; ++set) {
        const TabSet& entry = kSets[set];
        tabPalettes[static_cast<size_t>(set)]
            = new CToolPalette(tilePane.Get(), TallowResources::MakeButtonGrid(entry.grid), entry.first);
        tilePane->AddChild(SmartPtr<View>(tabPalettes[static_cast<size_t>(set)].Get()));
    }
    // The bar's own button joins the row; the bar then shows set 0.
    Build(tilePane.Get(), false, nullptr);

    Point extent = static_cast<CTilePane*>(tilePane.Get())->Layout(0, 0);
    SetBounds(0, 0, extent.h, extent.v);
    tilePane->InvalidateView(false);
    Rect stacked = tabPalettes[0]->GetBounds();
    for (const SmartPtr<CToolPalette>& palette : tabPalettes)
        palette->SetBounds(stacked.left, stacked.top, stacked.right, stacked.bottom);

    for (const ToolEntry& entry : kTools) {
        SmartPtr<CTool> tool = new CTool(entry.number, KidResources::Lookup(entry.startSound), false,
            entry.pendingSound == kNoSound ? nullptr : KidResources::Lookup(entry.pendingSound));
        for (const Tab& tab : kTabs) {
            if (tab.tool == entry.number)
                tools[static_cast<size_t>(tab.number - iFirstTab)] = tool;
        }
    }

    for (const SmartPtr<CToolPalette>& palette : tabPalettes)
        palette->AddClient(this);
    if (setSelector.Valid()) {
        setSelector->AddClient(this);
        setSelector->SelectTool(kFirstSelectorCell + kFirstSetShown);
        int16_t selected = setSelector->GetSelectedTool();
        if (selected != kFirstSelectorCell)
            SelectTabSet(static_cast<int16_t>(selected - kFirstSelectorCell));
    }
    PaneForwarder::Register(window, this);
    // The page the window opened with is already the active one: it is not announced again.
    if (CHAApp* app = CHAApp::Get())
        ForwardPane(app->GetActivePane().Get());
}

TallowTabs::~TallowTabs()
{
    for (const SmartPtr<CToolPalette>& palette : tabPalettes) {
        if (palette.Valid())
            palette->RemoveClient(this);
    }
    if (setSelector.Valid())
        setSelector->RemoveClient(this);
    SetPagePane(nullptr);
    PaneForwarder::Unregister(window, this);
}

SmartPtr<CToolPalette> TallowTabs::GetTabPalette(int16_t set) const
{
    if (set < 0 || set >= NUM_TAB_SETS)
        return nullptr;
    return tabPalettes[static_cast<size_t>(set)];
}

SmartPtr<CTool> TallowTabs::GetTabTool(int16_t tab) const
{
    if (tab < iFirstTab || tab > iLastTab)
        return nullptr;
    return tools[static_cast<size_t>(tab - iFirstTab)];
}

SmartPtr<SoundResource> TallowTabs::GetTabSound()
{
    return KidResources::Lookup(kTabSound);
}

void TallowTabs::PlayTabSound()
{
    Play(GetTabSound());
}

void TallowTabs::SelectTabSet(int16_t set)
{
    int16_t old = GetPage();
    TabBarView::SetPage(set);
    if (set == old) {
        if (SmartPtr<CToolPalette> palette = GetTabPalette(set); palette.Valid())
            palette->DrawWithSelection(0);
        return;
    }
    if (old == kPlayingSet) {
        Send(new pw::app::NumberCommandSignal(pw::authoring::ToolsWindowPane::kStopCommand));
        // Back at the page's first frame, which the export shows, the child's next edits reach
        // every frame, not only those after where the playing stopped.
        if (auto* editing = SmartCast<CHAPane>(pagePane.Get()))
            editing->SelectFrames(0, 0);
    }
    if (set == kPlayingSet)
        Send(new pw::app::NumberCommandSignal(pw::authoring::ToolsWindowPane::kPlayCommand));
}

void TallowTabs::DoCommand(int16_t cmd)
{
    SmartPtr<CToolPalette> palette = GetTabPalette(GetPage());
    int16_t previous = palette.Valid() ? palette->GetSelectedTool() : 0;
    if (SmartPtr<CToolsDir> kidTools = CTumblerApp::GetTools(); kidTools.Valid()) {
        if (kidTools->ToggleShown(false))
            kidTools->ToggleShown(true);
        kidTools->SetMode(0);
    }
    if (palette.Valid())
        palette->SelectTool(cmd == 0 ? kSets[GetPage()].first : cmd);

    if (cmd == 1 || cmd == 2) {
        PlayTabSound();
        TabBarView::DoCommand(cmd);
    } else if (cmd >= kFirstSelectorCell && cmd < kFirstSelectorCell + NUM_TAB_SETS) {
        PlayTabSound();
        if (setSelector.Valid())
            setSelector->SelectTool(cmd);
        SelectTabSet(static_cast<int16_t>(cmd - kFirstSelectorCell));
    } else if (cmd != 0) {
        const Tab* tab = FindTab(cmd);
        switch (tab ? tab->action : Action::kNone) {
        case Action::kShowPage:
            PlayOpenSound();
            RunPageAction();
            window->SetBrowserPane(nullptr);
            return;
        case Action::kBrowse:
            OpenBrowser(cmd, tab->folder == kPageFolder ? TallowWindow::GetPageFolder(*window) : MediaFolder(tab->folder),
                tab->cell);
            break;
        case Action::kNewPage:
        case Action::kPublish:
            PlayTabSound();
            Send(pw::app::MakeMenuSignal(tab->action == Action::kNewPage ? pw::app::MenuCommand::kNewPage
                                                                          : pw::app::MenuCommand::kPublish));
            DoCommand(0);
            return;
        case Action::kPaintTools:
        case Action::kSwitchTools:
            PlayTabSound();
            RunPageAction();
            window->SetBrowserPane(nullptr);
            ShowKidTools(tab->action == Action::kPaintTools ? 2 : 3);
            return;
        case Action::kRecordSound:
            PlayTabSound();
            if (palette.Valid()) {
                palette->DrawWithSelection(previous);
                palette->DrawWithSelection(cmd);
            }
            Send(new RecordSoundSignal(GetTabTool(cmd)));
            DoCommand(0);
            return;
        case Action::kMailLink:
            PlayTabSound();
            Send(new LinkSignal(1, GetTabTool(cmd)));
            DoCommand(0);
            return;
        case Action::kBack:
        case Action::kForward:
        case Action::kHome:
            PlayTabSound();
            Send(new NavigateSignal(tab->action == Action::kBack ? TallowWindow::kBack
                    : tab->action == Action::kForward            ? TallowWindow::kForward
                                                                 : TallowWindow::kHome));
            DoCommand(0);
            return;
        case Action::kNone:
            DoCommand(0);
            return;
        }
    } else {
        RunPageAction();
        window->SetBrowserPane(nullptr);
        return;
    }
    RunPageAction();
    Show(true);
}

void TallowTabs::PlayOpenSound()
{
    Play(openSound);
}

void TallowTabs::Send(const SmartPtr<GenericSignal>& signal)
{
    NotifyCommand(signal);
}

void TallowTabs::OpenBrowser(int16_t tab, const SmartPtr<FileReference>& folder, Point cellSize)
{
    PlayOpenSound();
    if (!pagePane.Valid())
        return;
    // Over the window's whole page area, whatever the size of the page shown: a browser lays its
    // entries out alike in every page window of one size.
    SmartPtr<View> browser = new CBrowserPane(pagePane.Get(), folder, GetTabTool(tab), cellSize,
        window->GetPageArea(), SmartPtr<TabBarView>(this));
    window->SetBrowserPane(browser);
}

void TallowTabs::ShowKidTools(int32_t mode)
{
    SmartPtr<CToolsDir> kidTools = CTumblerApp::GetTools();
    if (!kidTools.Valid())
        return;
    kidTools->SetMode(mode);
    // Shown first: showing fits the window to the mode's palettes, and the placement needs that
    // size. Below the page window, pulled up where it would leave the frame.
    kidTools->ToggleShown(true);
    Rect below = window->GetRect();
    Rect rect = kidTools->GetRect();
    rect.Offset(below.left - rect.left, below.bottom - rect.top);
    Rect frame(0, 0, 0, 0);
    CFWDecorator::Get().GetFrame(frame);
    if (rect.bottom > frame.bottom)
        rect.Offset(0, frame.bottom - rect.bottom);
    CFWDecorator::Get().MoveView(*kidTools.Get(), rect, true);
}

void TallowTabs::SetPagePane(const SmartPtr<CPanePlay>& pane)
{
    if (pane == pagePane)
        return;
    if (pagePane.Valid())
        pagePane->GetPlayer().RemoveOrAppendClient(this);
    pagePane = pane;
    if (pagePane.Valid())
        pagePane->GetPlayer().RemoveOrAppendClient(this);
    // A child's page has no frame controls: what the child paints, writes, places or moves goes
    // on from the frame shown to the page's last, so that a page that moves keeps it all along.
    if (auto* editing = SmartCast<CHAPane>(pagePane.Get()))
        editing->SetSelectionMode(3);
}

void TallowTabs::SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& pane)
{
    SetPagePane(SmartCast<CPanePlay>(pane.Get()));
}

void TallowTabs::PlayingChanged()
{
    if (pagePane.Valid() && !pagePane->IsPlaying() && GetPage() == kPlayingSet)
        Send(new pw::app::NumberCommandSignal(pw::authoring::ToolsWindowPane::kPlayCommand));
}
