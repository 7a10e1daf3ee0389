// The small interface between the platform floor and what shows it: the headless backend (tests,
// memory the tests read) or the SDL backend (a real window, mouse, keyboard, audio).
#pragma once

#include <windef.h>

namespace pw::platform {

// The module handle that names the program itself (LoadStringA(NULL, …) and WinMain's instance).
HINSTANCE ProgramInstance();

// Brings the platform up for the windowed program: real clock, SDL backend when a display is
// present (PLUMEWRIGHT_BACKEND=headless|sdl overrides); and takes it down at exit.
void StartProgramPlatform();
void StopProgramPlatform();

} // namespace pw::platform
