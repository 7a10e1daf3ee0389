#include "authoring/panes/PaneForwarder.h"

#include "authoring/panes/ToolsWindowPane.h"
#include "ui/App.h"
#include "ui/Window.h"

#include <algorithm>
#include <map>
#include <vector>

namespace {

std::map<Window*, std::vector<PaneForwarder*>>& Registry()
{
    static std::map<Window*, std::vector<PaneForwarder*>> registry;
    return registry;
}

} // namespace

void PaneForwarder::ForwardPane(Smart* activePane)
{
    SetPane(SmartPtr<pw::authoring::ToolsWindowPane>(dynamic_cast<pw::authoring::ToolsWindowPane*>(activePane)));
}

void PaneForwarder::Register(Window* window, PaneForwarder* forwarder)
{
    Registry()[window].push_back(forwarder);
}

void PaneForwarder::Unregister(Window* window, PaneForwarder* forwarder)
{
    auto found = Registry().find(window);
    if (found == Registry().end())
        return;
    std::vector<PaneForwarder*>& list = found->second;
    list.erase(std::remove(list.begin(), list.end(), forwarder), list.end());
    if (list.empty())
        Registry().erase(found);
}

void PaneForwarder::TellWindows(App& app, Smart* activePane)
{
    for (uint32_t i = app.NumWindows(); i >= 1; --i) {
        SmartPtr<Window> window = app.GetWindow(i);
        auto found = Registry().find(window.Get());
        if (found == Registry().end())
            continue;
        std::vector<PaneForwarder*> forwarders = found->second;
        for (PaneForwarder* forwarder : forwarders)
            forwarder->ForwardPane(activePane);
    }
}
