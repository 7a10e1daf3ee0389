// The program's entry: the framework main with the web-site builder's application.
#include <windows.h>

#include "app/TallowApp.h"
#include "ui/AppMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AppMain(instance, previous, commandLine, showCommand, MakeApplication);
}
