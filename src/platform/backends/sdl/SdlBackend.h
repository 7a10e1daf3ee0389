// The SDL backend: the windowed program's screen in an SDL2 window shown 1:1, its mouse and
// keyboard turned into input events, and the desktop's clipboard text.
#pragma once

#include "platform/backend/Backend.h"

namespace pw::platform {

extern const BackendDriver kSdlBackend;

} // namespace pw::platform
