#include "app/MenuCommands.h"

#include "engine/CPanePlay.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "ui/Window.h"

ImportSignal::ImportSignal()
    : Signal(PW_HERE)
{
}

int32_t ImportSignal::Status(CHAApp& app)
{
    return !app.IsBlocked() && app.FindWindowForView().Valid() ? enabled : disabled;
}

void ImportSignal::Act(CHAApp& app)
{
    // The open dialog of the import types; a cancel throws the silent UserCancelException.
    SmartPtr<FileReference> file = app.ChooseFile(3);
    if (file.Valid())
        app.Import(file, SmartPtr<String>());
}

PublishSignal::PublishSignal()
    : Signal(PW_HERE)
{
}

int32_t PublishSignal::Status(TallowApp& app)
{
    return !app.IsBlocked() && app.FindWindowForView().Valid() ? enabled : disabled;
}

void PublishSignal::Act(TallowApp& app)
{
    app.Publish();
}

namespace pw::app {

NumberCommandSignal::NumberCommandSignal(int32_t number)
    : Signal(PW_HERE)
    , number(number)
{
}

int32_t NumberCommandSignal::Status(NumberCommandHandler& handler)
{
    return handler.GetCommandStatus(number);
}

void NumberCommandSignal::Act(NumberCommandHandler& handler)
{
    handler.DoCommand(number, 0);
}

void UnavailableSignal::Send(Smart*)
{
    AssertionFailed("GetSignalStatus(watcher) != disabled", PW_HERE);
}

} // namespace pw::app
