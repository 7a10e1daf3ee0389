// The program's entry: the framework main with the animation application.
#include <windows.h>

#include "app/AnimationStart.h"
#include "ui/AppMain.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand)
{
    return AppMain(instance, previous, commandLine, showCommand, pw::app::MakeAnimationApp);
}
