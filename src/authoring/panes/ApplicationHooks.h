#pragma once

namespace pw::authoring {

// Lends the animation application what only this floor knows: telling the windows' pane
// forwarders about the active pane, and the import of media files.
void InstallApplicationHooks();

} // namespace pw::authoring
