#include "ui/AppMain.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "graphics/ColorTable.h"
#include "ui/App.h"
#include "ui/OsApp.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

namespace {

bool classesRegistered = false;
bool started = false;
AppGlue::Factory applicationFactory = nullptr;

// A class that is there already (registered by an earlier start on the same platform) serves.
bool Register(const WNDCLASSA& windowClass)
{
    constexpr DWORD kClassAlreadyExists = 1410;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == kClassAlreadyExists;
}

void RealizeStandardPalette(HWND main)
{
    HPALETTE palette = ColorTable::GetStandardPalette();
    if (HDC dc = GetDC(main)) {
        HPALETTE old = SelectPalette(dc, palette, FALSE);
        RealizePalette(dc);
        SelectPalette(dc, old, FALSE);
        ReleaseDC(main, dc);
    }
}

// Dispatches one message, showing an exception that a procedure let through.
void Dispatch(MSG& msg)
{
    try {
        pw::ui::OsApp& record = pw::ui::ProgramRecord();
        if (record.acceleratorTable && TranslateAcceleratorA(record.mainWindow, record.acceleratorTable, &msg))
            return;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    }
}

} // namespace

namespace pw::ui {

OsApp& ProgramRecord()
{
    static OsApp record;
    return record;
}

HWND MainWindow()
{
    return ProgramRecord().mainWindow;
}

bool RegisterWindowClasses(HINSTANCE instance)
{
    if (classesRegistered)
        return true;
    WNDCLASSA main {};
    main.lpfnWndProc = MainWindowProc;
    main.hInstance = instance;
    main.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    main.lpszMenuName = "MainMenu";
    main.lpszClassName = "MainWClass";
    // Frames ask for double clicks, and have no class cursor, which would undo the tools' cursors.
    WNDCLASSA child {};
    child.style = CS_DBLCLKS;
    child.lpfnWndProc = ChildWindowProc;
    child.hInstance = instance;
    child.lpszClassName = "ChildWClass";
    classesRegistered = Register(main) && Register(child);
    return classesRegistered;
}

HWND CreateMainWindow(HINSTANCE instance)
{
    if (!RegisterWindowClasses(instance))
        return nullptr;
    HWND hwnd = CreateWindowExA(0, "MainWClass", "Plumewright", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 0, 630, 465,
        nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return nullptr;
    HMENU windowMenu = GetSystemMenu(hwnd, FALSE);
    AppendMenuA(windowMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(windowMenu, MF_STRING, kAboutItem, "&About\x85");
    ProgramRecord().instance = instance;
    ProgramRecord().mainWindow = hwnd;
    Alert::SetOwnerWindow(hwnd);
    return hwnd;
}

void BuildAcceleratorTable()
{
    OsApp& record = ProgramRecord();
    if (record.acceleratorTable || record.accelerators.empty())
        return;
    record.acceleratorTable
        = CreateAcceleratorTableA(record.accelerators.data(), static_cast<int>(record.accelerators.size()));
}

// The application is made on the first message, once the main window stands.
void StartUp()
{
    started = true;
    bool made = false;
    try {
        made = AppGlue::InitApplication(applicationFactory, &ProgramRecord());
    } catch (Exception* exception) {
        // Shown; with no application stored, the loop ends after this message.
        exception->Display(Alert::kStop);
        return;
    }
    if (!made)
        ExitProcess(666);
    try {
        BuildAcceleratorTable();
        AppGlue::StartApplication(true);
    } catch (Exception* exception) {
        // A cancelled start shows nothing.
        exception->Display(Alert::kStop);
        ExitProcess(0);
    }
}

} // namespace pw::ui

int AppMain(HINSTANCE instance, HINSTANCE, LPSTR, int, AppGlue::Factory factory)
{
    applicationFactory = factory;
    HWND main = pw::ui::CreateMainWindow(instance);
    if (!main)
        return 1;
    ShowWindow(main, SW_SHOWMAXIMIZED);
    Alert::EnableAlerts();
    // Without the standard palette nothing can be drawn: the reason is shown and the program ends.
    try {
        RealizeStandardPalette(main);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
        return 0;
    }
    PostMessageA(main, pw::ui::kStartMessage, 0, 0);
    MSG msg {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        Dispatch(msg);
        // Messages the platform sends before the start message find no application yet.
        if (started && !AppGlue::IsAppFlagSet())
            PostQuitMessage(0);
    }
    AppGlue::ExitApplication();
    return static_cast<int>(msg.wParam);
}

namespace pw::ui::testing {

void ResetFramework()
{
    AppGlue::ExitApplication();
    OsApp& record = ProgramRecord();
    record = OsApp {};
    classesRegistered = false;
    started = false;
    applicationFactory = nullptr;
    App::SetOsApp(nullptr);
    WindowFrame::SetOsApp(nullptr);
    pw::foundation::SetOsAppForTesting(nullptr);
    Alert::SetOwnerWindow(nullptr);
}

} // namespace pw::ui::testing
