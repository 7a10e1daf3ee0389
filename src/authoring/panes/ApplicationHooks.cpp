#include "authoring/panes/ApplicationHooks.h"

#include "authoring/panes/ImportExport.h"
#include "authoring/panes/PaneForwarder.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"

namespace pw::authoring {

void InstallApplicationHooks()
{
    CHAApp::Hooks hooks;
    hooks.tellWindows = [](App& app, Smart* pane) { PaneForwarder::TellWindows(app, pane); };
    hooks.import = [](App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name,
                       const SmartPtr<CPanePlay>& pane) {
        if (ImportToClipboard(app, file, name))
            ImportObject(app.GetClipboard(), pane.Get(), 0, 0);
    };
    CHAApp::SetHooks(hooks);
}

} // namespace pw::authoring
