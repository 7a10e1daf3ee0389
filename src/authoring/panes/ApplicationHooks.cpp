#include "authoring/panes/ApplicationHooks.h"

#include "authoring/application/CTumblerApp.h"
#include "authoring/dialogs/COverDir.h"
#include "authoring/dialogs/KidDialogs.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/motion/CSplineInterpolater.h"
#include "authoring/panes/CHAPane.h"
#include "authoring/panes/ImportExport.h"
#include "authoring/panes/PaneCommandHooks.h"
#include "authoring/panes/PaneForwarder.h"
#include "engine/CHAApp.h"
#include "engine/CMovieGroup.h"
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
    hooks.tellWindows = [](App& app, Smart* pane) {
        PaneForwarder::TellWindows(app, pane);
        // The tools window floats outside the application's window list, yet it must follow the
        // page pane too: it selects the default tools again after a browser's tool was used.
        if (CToolsDir* tools = CToolsDir::Get())
            tools->ForwardPane(pane);
    };
    hooks.import = &ImportCommand;
    CHAApp::SetHooks(hooks);
    pw::engine::SetSplineFactory([](bool freeStart, bool freeEnd, bool closed, int16_t samples) {
        return SmartPtr<CInterpolater>(new CSplineInterpolater(freeStart, freeEnd, closed, samples));
    });
    pw::engine::SetInterpolationDialog([](pw::engine::InterpolationSettings& settings) {
        bool* on = settings.switches;
        bool* spline = settings.spline;
        return KidDialogs::AskInterpolation(&on[0], &on[1], &on[2], &on[3], &spline[0], &spline[1], &spline[2],
            &settings.samples);
    });
    PaneCommandHooks commands;
    commands.askNumber = [](const char* title, int16_t& value) { return KidDialogs::AskNumber(String(title), &value); };
    commands.speedDialog = [](CShow& show) { KidDialogs::MakeDialog(SmartPtr<CShow>(&show), 1, 60); };
    commands.stretchMotion = [](CHAPane& pane, int16_t start, int16_t oldLength, int16_t newLength) {
        pane.StretchMotion(start, oldLength, newLength);
    };
    SetPaneCommandHooks(commands);
    // The overview directory is a floating palette window (kind 3) over the pane's frames.
    CTumblerApp::SetOverviewMaker([](CHAPane& pane, const Rect& frame) {
        return SmartPtr<Window>(new COverDir(SmartPtr<CHAPane>(&pane), 3, true, frame));
    });
}

} // namespace pw::authoring
