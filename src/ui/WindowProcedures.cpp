// The framework's two window procedures: the main window's (start-up, quit requests, menu
// commands, activation of the whole application) and the frames' (paint, size, close, keys and the
// mouse of every framework window). Both hand events to the application glue and catch what it
// throws: framework exceptions are shown once, other failures show the serious-error alert.
#include "ui/AppMain.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "ui/App.h"
#include "ui/EventSupport.h"
#include "ui/MenuItem.h"
#include "ui/OsApp.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include <exception>

namespace {

constexpr const char* kSeriousError = "A VERY SERIOUS error has occured!\nThe system may now be unstable\n"
                                      "Please save your work and exit the program as soon as possible";

void MenuCommand(WPARAM wParam, LPARAM lParam)
{
    UINT command = LOWORD(wParam);
    if (HIWORD(wParam) == 1) {
        // An accelerator acts only for an item that the menu would let the user choose.
        AppGlue::UpdateMenuStates();
        SmartPtr<App> app = AppGlue::Application();
        SmartPtr<MenuItem> item = app.Valid() ? app->FindMenuItem(command) : SmartPtr<MenuItem>();
        if (item.Valid() && (item->GetState() & MenuItem::kDisabled))
            return;
    }
    if (command == 1) {
        AppGlue::AboutCommand();
        return;
    }
    AppGlue::DoMenuCommand(command, lParam);
}

pw::ui::SocketNotify socketNotify[2] = {};

LRESULT MainMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case pw::ui::kDataSocketMessage:
    case pw::ui::kControlSocketMessage:
        if (pw::ui::SocketNotify notify = socketNotify[message == pw::ui::kControlSocketMessage])
            notify(wParam, lParam);
        return 0;
    case pw::ui::kStartMessage:
        pw::ui::StartUp();
        return 0;
    case WM_CLOSE:
        // The loop ends after this message when the application agreed to quit; a refusal keeps
        // the program and its documents.
        AppGlue::QuitApplication(2);
        return 0;
    case WM_COMMAND:
        MenuCommand(wParam, lParam);
        return 0;
    case WM_SYSCOMMAND:
        // The window menu's About entry is menu command 1.
        if ((wParam & 0xFFF0) == pw::ui::kAboutItem) {
            MenuCommand(MAKEWPARAM(1, 0), 0);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_INITMENU:
        AppGlue::UpdateMenuStates();
        return 0;
    case WM_ACTIVATEAPP:
        AppGlue::SetApplicationActive(wParam != 0);
        return 0;
    case WM_DESTROY:
        if (hwnd == pw::ui::ProgramRecord().mainWindow) {
            pw::ui::ProgramRecord().mainWindow = nullptr;
            PostQuitMessage(0);
        }
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

bool IsButtonDown(UINT message)
{
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool IsDoubleClick(UINT message)
{
    return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

// A frame raised or shown by a click on its frame activates its window. Activation raises the
// frame itself, which comes back here: that echo is not an activation of its own.
void PositionChanged(HWND hwnd, LPARAM lParam)
{
    static bool activating = false;
    const WINDOWPOS* position = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (activating || !position || (position->flags & SWP_NOZORDER) || (position->flags & SWP_HIDEWINDOW))
        return;
    if (!IsWindowVisible(hwnd))
        return;
    activating = true;
    try {
        AppGlue::ActivateWindowEvent(hwnd);
    } catch (...) {
        activating = false;
        throw;
    }
    activating = false;
}

LRESULT ChildMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsButtonDown(message) || IsDoubleClick(message)) {
        SetCapture(hwnd);
        if (!AppGlue::ActivateWindowEvent(hwnd))
            AppGlue::MouseDownEvent(hwnd, MakeMouseEvent(hwnd, lParam), MakeModifiers(wParam), IsDoubleClick(message) ? 2 : 1);
        return 0;
    }
    if (message == WM_MOUSEMOVE || IsButtonUp(message)) {
        bool buttonDown = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != 0;
        if (IsButtonUp(message))
            ReleaseCapture();
        else if (buttonDown && GetCapture() && GetCapture() != hwnd)
            return 0;
        AppGlue::MouseMoveEvent(hwnd, MakeMouseEvent(hwnd, lParam), MakeModifiers(wParam), buttonDown);
        return 0;
    }
    switch (message) {
    case WM_PAINT:
        if (!Window::FromHandle(hwnd).Valid())
            break;
        AppGlue::PaintEvent(hwnd);
        return 0;
    case WM_SIZE:
        AppGlue::SizeEvent(hwnd);
        return 0;
    case WM_MOVE:
        AppGlue::MoveEvent(hwnd);
        return 0;
    case WM_CLOSE:
        AppGlue::CloseWindowEvent(hwnd, 2);
        return 0;
    case WM_CHAR:
        AppGlue::KeyEvent(static_cast<uint8_t>(wParam), 0);
        return 0;
    case WM_KEYDOWN:
        // Keys with a character come again as WM_CHAR; only the others are passed on here.
        if (uint8_t key = MakeKeyCode(wParam)) {
            AppGlue::KeyEvent(key, kKeyPressModifier);
            return 0;
        }
        break;
    case WM_WINDOWPOSCHANGED:
        PositionChanged(hwnd, lParam);
        break;
    case WM_COMMAND:
        AppGlue::DoMenuCommand(LOWORD(wParam), lParam);
        return 0;
    case WM_DESTROY:
        if (WindowFrame* frame = WindowFrame::FromHandle(hwnd))
            frame->NativeDestroyed();
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

namespace pw::ui {

void SetSocketNotify(UINT message, SocketNotify notify)
{
    if (message == kDataSocketMessage || message == kControlSocketMessage)
        socketNotify[message == kControlSocketMessage] = notify;
}

LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return MainMessage(hwnd, message, wParam, lParam);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    } catch (const std::exception&) {
        Alert(Alert::kStop, Alert::kOk, kSeriousError);
    }
    return 0;
}

LRESULT CALLBACK ChildWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return ChildMessage(hwnd, message, wParam, lParam);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    } catch (const std::exception&) {
        Alert(Alert::kStop, Alert::kOk, kSeriousError);
    }
    // A paint that failed before it began would come back at every empty queue.
    if (message == WM_PAINT)
        ValidateRect(hwnd, nullptr);
    return 0;
}

} // namespace pw::ui
