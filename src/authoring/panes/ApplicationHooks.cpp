#include "authoring/panes/ApplicationHooks.h"

#include "authoring/panes/ImportExport.h"
#include "authoring/panes/PaneForwarder.h"
#include "engine/CHAApp.h"
#include "engine/CPanePlay.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"

namespace pw::authoring {

void ImportCommand(App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name,
    const SmartPtr<CPanePlay>& pane)
{
    try {
        if (ImportToClipboard(app, file, name))
            ImportObject(app.GetClipboard(), pane.Get(), 0, 0);
    } catch (Exception* exception) {
        // Held while shown: the alert's loop may run chores that replace the current exception.
        SmartPtr<Exception> hold(exception);
        exception->Display(Alert::kStop);
    }
}

void InstallApplicationHooks()
{
    CHAApp::Hooks hooks;
    hooks.tellWindows = [](App& app, Smart* pane) { PaneForwarder::TellWindows(app, pane); };
    hooks.import = &ImportCommand;
    CHAApp::SetHooks(hooks);
}

} // namespace pw::authoring
