#pragma once

#include "authoring/panes/ToolsWindowPane.h"
#include "foundation/FileReference.h"
#include "foundation/Signal.h"
#include "foundation/SmartPtr.h"
#include "ui/DocWindow.h"

#include <cstdint>
#include <vector>

class CHAPane;
class CToolPalette;
class TallowTabs;

// The one window in which the child edits a page of the project: a document window with the
// media tabs across its top, at most one media browser lying over the page, and a history of the
// pages shown in it with back, forward and home. Its title names the page's folder and file
// ("MyProject:index"), or "Untitled Page" when the page has no file yet. A page that plays when
// another replaces it leaves the new one playing. The application makes it; the window holds its
// tabs and the browser shown, and the tabs keep a back-link to the window.
//
// The history holds the page files shown, oldest first. `historyIndex` is the 1-based position of
// the page shown (0 when it is not in the list) and `historyEnd` the position recorded last; a
// page opened away from the end of the history drops the entries after it, as a browser does.
class TallowWindow : public DocWindow {
    PW_CLASS_INFO(TallowWindow)

public:
    // The content size of a new window, without the tabs.
    static constexpr int32_t kContentWidth = 477;
    static constexpr int32_t kContentHeight = 337;
    // Navigation numbers.
    static constexpr int32_t kBack = 0;
    static constexpr int32_t kForward = 1;
    static constexpr int32_t kHome = 2;
    // The numbered command that starts a page pane playing.
    static constexpr int32_t kPlayCommand = pw::authoring::ToolsWindowPane::kPlayCommand;

    // `scribe` is the page's (a page scribe when the page has a file); `selector` the application's
    // tab-set selector, handed to the tabs (may be empty).
    TallowWindow(const SmartPtr<ObjectReference>& data, const SmartPtr<Scribe>& scribe,
        const SmartPtr<CToolPalette>& selector);
    ~TallowWindow() override;

    // Shows the view over the page in place of the browser shown; empty removes it.
    void SetBrowserPane(const SmartPtr<View>& pane);
    SmartPtr<View> GetBrowserPane() const { return browserPane; }
    // Back, forward or home, after the page agreed to be left; other numbers warn "Not
    // implemented.".
    void Navigate(int32_t n);
    // Opens the page file in this window as the Open command does (a root that is no page shows
    // the corrupt-file message and changes nothing).
    void OpenPage(const SmartPtr<FileReference>& file);
    // The folder of the window's page file; the current folder when it has none.
    static SmartPtr<FileReference> GetPageFolder(Window& window);
    SmartPtr<View> GetDocumentView() const { return GetContent(); }
    // The window below its tabs, where the page shows: as large as the page or larger (the
    // document view takes the size of the page it holds).
    Rect GetPageArea();
    // The editing pane of the page shown, or null.
    CHAPane* GetPagePane() const;
    SmartPtr<TallowTabs> GetTabs() const;

    // "Folder:name" of the page file, each name without its extension; "Untitled Page" without one.
    void SetTitleFromPage(const SmartPtr<FileReference>& page);

    // The history, oldest first, and its two positions (1-based; 0 none).
    const std::vector<SmartPtr<FileReference>>& GetHistory() const { return history; }

    // The kid tools' brushes are flushed before the page is stored.
    void Save(int32_t mode) override;
    // Records the page shown until now, titles the new one and keeps it playing when the old one
    // played.
    void SetDocument(const SmartPtr<ObjectReference>& data, const SmartPtr<Scribe>& scribe) override;
    // The kid tools window hides while the window is inactive and comes back with it.
    void ActiveChanged(bool active) override;
    // The page area round a page smaller than it is grey, so that it does not pass for page.
    void DrawContent(DisplayPort& port, Area& area) override;

private:
    // The page file of the window's page scribe, or empty.
    SmartPtr<FileReference> PageFile() const;
    void RecordHistory();
    // The 1-based position of the file in the history; 0 when it is not there.
    uint32_t HistoryPosition(FileReference& file) const;

    SmartPtr<TallowTabs> tabs;
    SmartPtr<View> browserPane;
    std::vector<SmartPtr<FileReference>> history;
    uint32_t historyIndex { 0 };
    uint32_t historyEnd { 0 };
    bool paletteWasShown { false };
};

// The back, forward and home command of the tabs, for the page window that receives it.
class NavigateSignal : public Signal<TallowWindow> {
public:
    explicit NavigateSignal(int32_t n);

    int32_t GetNumber() const { return number; }

protected:
    void Act(TallowWindow& window) override;

private:
    int32_t number;
};
