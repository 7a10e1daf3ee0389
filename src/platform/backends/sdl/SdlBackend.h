// The SDL backend: the windowed program's desktop in a resizable SDL2 window, scaled to fit by whole
// multiples at start and letterboxed when resized (palette converted for display, the system
// cursor hidden since the platform draws its own), SDL's mouse and keyboard turned into input
// events in desktop pixels, the desktop's clipboard text, and the SDL sound device installed for
// the multimedia calls while it runs.
#pragma once

#include "platform/backend/Backend.h"

namespace pw::platform {

extern const BackendDriver kSdlBackend;

} // namespace pw::platform
