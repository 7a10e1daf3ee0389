#pragma once

#include "foundation/Point.h"
#include "foundation/SmartPtr.h"

#include <windows.h>

#include <cstdint>

class App;

namespace pw::ui {

struct OsApp;

} // namespace pw::ui

// The only road from the window procedures to the application: the one global application handle
// and the entries the framework main and its two window procedures call. Every entry that needs an
// application or a window does nothing when there is none.
class AppGlue {
public:
    using Factory = App* (*)();

    // Makes the application through the factory and installs its menus; false when none was made.
    static bool InitApplication(Factory factory, pw::ui::OsApp* osApp);
    // Opens the first document when asked; exceptions pass to the caller.
    static void StartApplication(bool openFirst);
    // With a path, opens that file; without, a new document.
    static void OpenOrNewDocument(const char* path, bool flag);
    // After the message loop: the application lets go of its windows, then is let go itself, so
    // that both end while the platform that shows them is still up (a document window holds the
    // application as its format picker: without this they would keep each other).
    static void ExitApplication();

    // True while an application exists and runs.
    static bool IsAppFlagSet();
    static void QuitApplication(int32_t mode);
    static void AboutCommand();
    static void UpdateMenuStates();
    // A command number that no menu item carries is ignored.
    static void DoMenuCommand(uint32_t command, intptr_t argument);
    static void SetApplicationActive(bool active);
    static void KeyEvent(uint8_t character, uint32_t modifiers);
    static void MouseDownEvent(HWND window, const Point& point, uint32_t modifiers, uint8_t clicks);
    static void MouseMoveEvent(HWND window, const Point& point, uint32_t modifiers, bool buttonDown);
    // True when the press only activated (showed) the window and must not reach the tool.
    static bool ActivateWindowEvent(HWND window);
    static void PaintEvent(HWND window);
    static void SizeEvent(HWND window);
    static void MoveEvent(HWND window);
    static void CloseWindowEvent(HWND window, int32_t mode);

    // The global application handle.
    static SmartPtr<App>& Application();

    // What the network layer does when the program starts and ends (it lends both at start-up).
    static void SetNetworkHooks(void (*startup)(), void (*shutdown)());
};
