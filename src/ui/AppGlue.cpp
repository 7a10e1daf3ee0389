#include "ui/AppGlue.h"

#include "foundation/FileReference.h"
#include "foundation/Resources.h"
#include "foundation/SystemErrorException.h"
#include "ui/App.h"
#include "ui/DocWindow.h"
#include "ui/MenuItem.h"
#include "ui/OsApp.h"
#include "ui/Tool.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

namespace {

void (*networkStartup)() = nullptr;
void (*networkShutdown)() = nullptr;

App* TheApp()
{
    return AppGlue::Application().Get();
}

} // namespace

SmartPtr<App>& AppGlue::Application()
{
    static SmartPtr<App> application;
    return application;
}

void AppGlue::SetNetworkHooks(void (*startup)(), void (*shutdown)())
{
    networkStartup = startup;
    networkShutdown = shutdown;
}

bool AppGlue::InitApplication(Factory factory, pw::ui::OsApp* osApp)
{
    InitSystemErrorException();
    App::SetOsApp(osApp);
    Resources::SetOsApp(osApp ? osApp->instance : nullptr);
    WindowFrame::SetOsApp(osApp);
    if (networkStartup)
        networkStartup();
    Application() = factory ? factory() : nullptr;
    if (!Application().Valid())
        return false;
    Application()->InstallMenus();
    Window::SetApplication(TheApp());
    DocWindow::SetDefaultFormatPicker(Application().Get());
    return true;
}

void AppGlue::StartApplication(bool openFirst)
{
    if (openFirst)
        OpenOrNewDocument(nullptr, false);
}

void AppGlue::OpenOrNewDocument(const char* path, bool flag)
{
    App* app = TheApp();
    if (!app)
        return;
    if (path)
        app->OpenDocument(FileReference::FileReferenceFromPath(path), flag, false);
    else
        app->NewDocument();
}

void AppGlue::ExitApplication()
{
    if (networkShutdown)
        networkShutdown();
    if (!Application().Valid())
        return;
    Application()->RemoveAllWindows();
    Window::SetApplication(nullptr);
    DocWindow::SetDefaultFormatPicker(SmartPtr<FormatPicker>());
    Application() = SmartPtr<App>();
}

bool AppGlue::IsAppFlagSet()
{
    App* app = TheApp();
    return app && app->IsRunning();
}

void AppGlue::QuitApplication(int32_t mode)
{
    App* app = TheApp();
    if (app && !app->IsBlocked())
        app->Quit(mode);
}

void AppGlue::AboutCommand()
{
    App* app = TheApp();
    if (app && !app->IsBlocked())
        app->DoAbout();
}

void AppGlue::UpdateMenuStates()
{
    if (App* app = TheApp())
        app->EnableMenus(nullptr);
}

void AppGlue::DoMenuCommand(uint32_t command, intptr_t argument)
{
    SmartPtr<App> app = Application();
    if (!app.Valid())
        return;
    SmartPtr<MenuItem> item = app->FindMenuItem(command);
    // A number no item carries (a stray notification, a stale accelerator) is not a command.
    if (item.Valid())
        item->Select(argument, *app.Get());
}

void AppGlue::SetApplicationActive(bool active)
{
    if (App* app = TheApp())
        app->SetActive(active);
}

void AppGlue::KeyEvent(uint8_t character, uint32_t modifiers)
{
    SmartPtr<App> app = Application();
    if (!app.Valid())
        return;
    // A pop-up gesture (a colour or pattern chart) takes its Escape before any window.
    SmartPtr<Tool> tool = app->GetCurrentTool();
    if (tool.Valid() && tool->KeyTyped(character))
        return;
    SmartPtr<Window> front = app->FrontWindow();
    if (front.Valid() && front->KeyDown(character, static_cast<int32_t>(modifiers)))
        return;
    app->DoKey(character, modifiers);
}

void AppGlue::MouseDownEvent(HWND hwnd, const Point& point, uint32_t modifiers, uint8_t clicks)
{
    SmartPtr<App> app = Application();
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (!app.Valid() || !window.Valid())
        return;
    SmartPtr<Tool> tool = app->GetCurrentTool();
    tool->MouseMoved(point, BitFlags(modifiers), true, window);
    tool->MouseDown(point, BitFlags(modifiers), clicks, window);
}

void AppGlue::MouseMoveEvent(HWND hwnd, const Point& point, uint32_t modifiers, bool buttonDown)
{
    SmartPtr<App> app = Application();
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (!app.Valid() || !window.Valid())
        return;
    app->GetCurrentTool()->MouseMoved(point, BitFlags(modifiers), buttonDown, window);
}

bool AppGlue::ActivateWindowEvent(HWND hwnd)
{
    SmartPtr<App> app = Application();
    if (!hwnd || !app.Valid())
        return false;
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (!window.Valid())
        return false;
    return app->ActivateWindow(window);
}

void AppGlue::PaintEvent(HWND hwnd)
{
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (window.Valid())
        window->Draw();
}

void AppGlue::SizeEvent(HWND hwnd)
{
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (window.Valid())
        window->Resized();
}

void AppGlue::MoveEvent(HWND hwnd)
{
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (window.Valid())
        window->Moved();
}

void AppGlue::CloseWindowEvent(HWND hwnd, int32_t mode)
{
    SmartPtr<App> app = Application();
    SmartPtr<Window> window = Window::FromHandle(hwnd);
    if (app.Valid() && window.Valid() && !window->CloseBoxPressed())
        app->CloseWindow(window, mode);
}
