#pragma once

#include "foundation/SmartPtr.h"

class App;
class Window;

namespace pw::authoring {

class ToolsWindowPane;

}

// The part through which a window follows the application's active pane. Windows register their
// forwarders; when the active pane changes the application calls ForwardPane on every forwarder of
// its windows, from the last opened window to the first, and each hands the pane (empty when it is
// none or not an editing pane) to its holder's SetPane.
class PaneForwarder {
public:
    void ForwardPane(Smart* activePane);
    virtual void SetPane(const SmartPtr<pw::authoring::ToolsWindowPane>& pane) = 0;

    static void Register(Window* window, PaneForwarder* forwarder);
    static void Unregister(Window* window, PaneForwarder* forwarder);
    // Tells the forwarders of the application's windows, newest window first.
    static void TellWindows(App& app, Smart* activePane);

protected:
    ~PaneForwarder() = default;
};
