#pragma once

#include "foundation/FileReference.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

class App;
class CPanePlay;

namespace pw::authoring {

// The application's import command: the file's media onto the clipboard, then pasted into the
// pane at (0, 0). A file that cannot be read is reported as opening it would be (its failure
// shown in a stop alert), and nothing changes.
void ImportCommand(App& app, const SmartPtr<FileReference>& file, const SmartPtr<String>& name,
    const SmartPtr<CPanePlay>& pane);

// Lends the animation application what only this floor knows: telling the windows' pane
// forwarders about the active pane, and the import of media files; and lends the engine's
// "Interpolating" edit the spline interpolater and the children's interpolation question.
void InstallApplicationHooks();

} // namespace pw::authoring
