#include "app/MenuCommands.h"

#include "engine/CPanePlay.h"
#include "foundation/Exception.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/String.h"
#include "graphics/AIFFFile.h"
#include "graphics/WAVEFile.h"
#include "ui/Window.h"

namespace {

// The rule of the commands that work on the front window: a window is open and nothing blocking
// is in front.
int32_t StatusWithAWindow(App& app)
{
    return !app.IsBlocked() && app.FindWindowForView().Valid() ? GenericSignal::enabled : GenericSignal::disabled;
}

} // namespace

ImportSignal::ImportSignal()
    : Signal(PW_HERE)
{
}

int32_t ImportSignal::Status(CHAApp& app)
{
    return StatusWithAWindow(app);
}

void ImportSignal::Act(CHAApp& app)
{
    // The open dialog of the pages and, as further types to pick, of the sound files: the
    // recording dialog sends a child whose sound card fails here with a '.wav' made elsewhere. A
    // cancel throws the silent UserCancelException.
    SmartList<FileType> types = app.GetFileTypes(3);
    if (types.NumItems() == 0)
        return;
    types.Append(new FileType(WAVEFile::GetFileType()));
    types.Append(new FileType(AIFFFile::GetFileType()));
    SmartPtr<FileReference> file = FileReference::FileReferenceFromDialogList(types);
    if (file.Valid())
        app.Import(file, SmartPtr<String>());
}

PublishSignal::PublishSignal()
    : Signal(PW_HERE)
{
}

int32_t PublishSignal::Status(TallowApp& app)
{
    return StatusWithAWindow(app);
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

PickColorSignal::PickColorSignal()
    : Signal(PW_HERE)
{
}

void UnavailableSignal::Send(Smart*)
{
    AssertionFailed("GetSignalStatus(watcher) != disabled", PW_HERE);
}

} // namespace pw::app
