#pragma once

#include "authoring/palettes/CToolPalette.h"
#include "authoring/palettes/TabBarView.h"
#include "authoring/panes/PaneForwarder.h"
#include "engine/CPlayer.h"
#include "foundation/Point.h"
#include "foundation/SoundResource.h"

#include <array>
#include <cstdint>

class CPanePlay;
class CTool;
class FileReference;
class GenericSignal;
class TallowWindow;

// The strip of tabs across the top of a page window: the child's whole navigation. 25 tabs in
// five sets, one set shown at a time, chosen by the application's tab-set selector (cells 28 to
// 32) or stepped by the bar's previous and next commands (1 and 2). Set s holds the tabs
// 3 + 5s to 7 + 5s. A tab shows the page, opens a media browser over the page on a folder,
// or starts an action: a new page, the kid tools in one of two modes, a sound recording, an
// e-mail link, back, forward, home, publishing. Tab 0 is the internal command that shows the set's
// first tab. While set 4 shows, the page plays and is started again whenever it stops.
//
// The window holds the tabs; the tabs keep a back-link to it, follow the application's active
// page pane (as a pane forwarder of the window) and listen to its player, to their five set
// palettes and to the selector. Commands for the page, the window and the application go out
// through the window's owners, as any view's commands do.
class TallowTabs : public TabBarView, public PlayerClient, public PaneForwarder {
public:
    static constexpr int16_t NUM_TAB_SETS = 5;
    static constexpr int16_t MAX_NUM_TABS = 5;
    static constexpr int16_t iFirstTab = 3;
    static constexpr int16_t iLastTab = 27;
    static constexpr int16_t kFirstSelectorCell = 28;
    // The set a new window shows.
    static constexpr int16_t kFirstSetShown = 1;
    // The set in which the page plays.
    static constexpr int16_t kPlayingSet = 4;

    // Kid sounds: the click of action tabs, selector cells and the set steps, and the sound of a
    // tab that shows the page or opens a browser.
    static constexpr int16_t kTabSound = 3;
    static constexpr int16_t kOpenSound = 4;

    // Made by the window (parent) before it adds the tabs; `selector` may be empty.
    TallowTabs(TallowWindow* window, const SmartPtr<CToolPalette>& selector);
    ~TallowTabs() override;

    // Runs tab or command `cmd`.
    void DoCommand(int16_t cmd) override;
    SmartPtr<CToolPalette> GetTabPalette(int16_t set) const;
    SmartPtr<CToolPalette> GetPagePalette(int16_t page) override { return GetTabPalette(page); }
    // Shows the set; entering set 4 starts the page playing, leaving it stops the page.
    void SelectTabSet(int16_t set);
    void SetPage(int16_t set) override { SelectTabSet(set); }
    int16_t GetCurrentSet() const { return GetPage(); }

    // Follows the page pane shown in the window, listening to its player.
    void SetPagePane(const SmartPtr<CPanePlay>& pane);
    SmartPtr<CPanePlay> GetPagePane() const { return pagePane; }
    // PaneForwarder: the application's new active pane.
    void SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& pane) override;

    // PlayerClient: only starting and stopping matter.
    void FrameNotice() override { }
    void PlayNotice() override { PlayingChanged(); }
    void AreaNotice(const SmartPtr<Area>&) override { }
    // In set 4 a page that stopped plays again.
    void PlayingChanged();

    // The tool of a tab, or empty.
    SmartPtr<CTool> GetTabTool(int16_t tab) const;
    // The click sound of the tabs, which the application also plays when it opens a new page.
    static SmartPtr<SoundResource> GetTabSound();
    static void PlayTabSound();

private:
    void PlayOpenSound();
    // Sends the command to the window's owners.
    void Send(const SmartPtr<GenericSignal>& signal);
    // Opens a browser on the folder over the page.
    void OpenBrowser(int16_t tab, const SmartPtr<FileReference>& folder, Point cellSize);
    void ShowKidTools(int32_t mode);

    TallowWindow* window;
    SmartPtr<View> tilePane;
    std::array<SmartPtr<CTool>, iLastTab - iFirstTab + 1> tools;
    std::array<SmartPtr<CToolPalette>, NUM_TAB_SETS> tabPalettes;
    SmartPtr<CPanePlay> pagePane;
    SmartPtr<CToolPalette> setSelector;
    SmartPtr<SoundResource> openSound;
};
