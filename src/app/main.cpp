// The program's entry: the framework main with the framework's sample application, until the
// animation application takes its place.
#include <windows.h>

#include "ui/AppMain.h"
#include "ui/SampleApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AppMain(instance, previous, commandLine, showCommand, pw::ui::SampleApp::Make);
}
