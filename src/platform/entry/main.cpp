// The process entry: brings the platform up and hands control to the program's WinMain.
#include <windows.h>

#include "platform/backend/Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

int main()
{
    pw::platform::StartProgramPlatform();
    char empty[] = "";
    int code = WinMain(pw::platform::ProgramInstance(), nullptr, empty, 10 /* SW_SHOWDEFAULT */);
    pw::platform::StopProgramPlatform();
    return code;
}
