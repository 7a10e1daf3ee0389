#pragma once

#include "ui/AppGlue.h"

#include <windows.h>

// The framework main: registers the window classes "MainWClass" (menu "MainMenu") and
// "ChildWClass", creates the main window "Plumewright" shown maximised, posts 0x801 (which makes
// the application through the factory and opens the first document) and runs the message loop
// until the application stops running. Answers the loop's exit code; start-up failures end the
// process (666 when the factory makes no application, 0 after a failed first document).
int AppMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand, AppGlue::Factory factory);

namespace pw::ui {

// The message the framework main posts once to make the application.
constexpr UINT kStartMessage = 0x801;
// The main window's window menu holds "About…" under this command, which the main window turns
// into menu command 1. The low four bits stay clear: WM_SYSCOMMAND keeps them for the platform.
constexpr UINT kAboutItem = 0x0010;

// The framework's one top-level window, or null before the framework main made it.
HWND MainWindow();
// The record of the running program (module, main window, shortcuts).
OsApp& ProgramRecord();

// Registers both window classes once for the platform's life; false when registering failed.
bool RegisterWindowClasses(HINSTANCE instance);
// Creates the main window (not shown) with "About…" in its window menu, and records it as the main
// window and the owner of alerts.
HWND CreateMainWindow(HINSTANCE instance);
// Builds the accelerator table from the shortcuts the menus added to the record.
void BuildAcceleratorTable();
// Message 0x801: makes the application and opens the first document, ending the process when
// either fails.
void StartUp();

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Socket notifications: the main window hands message 0x800 (the data connection's) and 0x802 (the
// control connection's) to the entry registered for it, with the socket in wParam and the event
// word in lParam. The network floor registers its entries; a message with none is ignored.
constexpr UINT kDataSocketMessage = 0x800;
constexpr UINT kControlSocketMessage = 0x802;
using SocketNotify = void (*)(WPARAM socket, LPARAM event);
void SetSocketNotify(UINT message, SocketNotify notify);
LRESULT CALLBACK ChildWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

} // namespace pw::ui

namespace pw::ui::testing {

// Puts the framework's process-wide state back for the next test on a fresh platform: the
// application released, the record emptied, the classes to be registered again.
void ResetFramework();

} // namespace pw::ui::testing
