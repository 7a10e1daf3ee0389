#pragma once

#include "authoring/browser/CBrowser.h"
#include "foundation/FileReference.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "ui/View.h"

class CTool;
class TabBarView;

// The view the media tabs lay over a page when a folder tab is clicked: a browser of the folder's
// files filling the view less a 15-pixel strip at the right and at the bottom, and a vertical
// scroll bar down the right edge. The page window keeps it as a subview until another browser
// replaces it or a tab that shows the page removes it; the view owns its browser.
class CBrowserPane : public View {
public:
    // `bounds` are the page pane's, so the view covers the page exactly; `owner` is the tabs view
    // the browser tells after a handled click.
    CBrowserPane(View* parent, const SmartPtr<FileReference>& folder, const SmartPtr<CTool>& tool, Point cellSize,
        const Rect& bounds, const SmartPtr<TabBarView>& owner);
    ~CBrowserPane() override;

    SmartPtr<CBrowser> GetBrowser() const { return browser; }
    // The strips the browser and the scroll bar leave (along the bottom and beside the bar) are
    // the pane's: filled in the browser's colour, so that nothing of the page or of the tab shown
    // before stays there.
    void DrawContent(DisplayPort& port, Area& area) override;

private:
    SmartPtr<CBrowser> browser;
};

// The item called `name` in the start-up folder. A missing item is reported with authoring
// message 202 naming it and is then created as an empty folder, so the answer always exists.
SmartPtr<FileReference> OpenStartupFile(const char* name);
