// The program's entry: until the window framework stands, it brings the platform up and ends cleanly.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
