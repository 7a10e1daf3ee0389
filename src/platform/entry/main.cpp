// The process entry: brings the platform up and hands control to the program's WinMain.
#include <windows.h>

#include "platform/backend/Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);

int main()
{
    if (!pw::platform::StartProgramPlatform())
        return 1;
    char empty[] = "";
    int code = WinMain(pw::platform::ProgramInstance(), nullptr, empty, SW_SHOWDEFAULT);
    pw::platform::StopProgramPlatform();
    return code;
}
