#include "ui/AppSignals.h"

#include "ui/Window.h"

namespace pw::ui {

int32_t AppSignal::Status(App& app)
{
    return app.IsBlocked() ? disabled : enabled;
}

NewDocumentSignal::NewDocumentSignal()
    : AppSignal(PW_HERE)
{
}

void NewDocumentSignal::Act(App& app)
{
    if (app.CanOpen())
        app.NewDocument();
}

} // namespace pw::ui

QuitSignal::QuitSignal()
    : AppSignal(PW_HERE)
{
}

void QuitSignal::Act(App& app)
{
    app.Quit(2);
}

OpenSignal::OpenSignal(int32_t mode)
    : AppSignal(PW_HERE)
    , mode(mode)
{
}

void OpenSignal::Act(App& app)
{
    app.Open(mode);
}

CloseSignal::CloseSignal()
    : AppSignal(PW_HERE)
{
}

int32_t CloseSignal::Status(App& app)
{
    return !app.IsBlocked() && app.FindWindowForView().Valid() ? enabled : disabled;
}

void CloseSignal::Act(App& app)
{
    app.CloseWindow(app.FindWindowForView(), 2);
}

namespace pw::ui {

SetToolSignal::SetToolSignal(const SmartPtr<Tool>& tool)
    : Signal(PW_HERE)
    , tool(tool)
{
}

void SetToolSignal::Act(App& app)
{
    app.SetCurrentTool(tool);
}

ClipTaskSignal::ClipTaskSignal(int32_t mode)
    : Signal(PW_HERE)
    , mode(mode)
{
}

int32_t ClipTaskSignal::Status(App& app)
{
    return app.CanRunViewTask(mode) ? enabled : disabled;
}

void ClipTaskSignal::Act(App& app)
{
    app.RunViewTask(mode);
}

} // namespace pw::ui
