// Native controls inside framework windows. A control tells its parent of clicks, edits and
// scrolling; a frame whose window holds such controls is subclassed once, so that those
// notifications reach the view over the control instead of the menu-command entry.
#include "ui/NativeControl.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"

#include <map>

namespace {

// Identifiers above every menu command and accelerator the program defines.
constexpr uint32_t kFirstIdentifier = 0xC000;

struct Registry {
    std::map<HWND, pw::ui::NativeControlClient*> clients;
    std::map<HWND, WNDPROC> frames;
    // The controls' own procedures, for those whose input their clients follow.
    std::map<HWND, WNDPROC> followed;
    uint32_t nextIdentifier { kFirstIdentifier };
};

Registry& TheRegistry()
{
    static Registry registry;
    return registry;
}

bool IsNotification(UINT message)
{
    return message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL;
}

// The client is looked up again for each notification: a handler may destroy the control.
void Deliver(HWND control, UINT message, uint32_t code, int32_t position)
{
    auto found = TheRegistry().clients.find(control);
    if (found == TheRegistry().clients.end())
        return;
    try {
        found->second->ControlNotified(message, code, position);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    }
}

LRESULT CALLBACK FrameProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Registry& registry = TheRegistry();
    auto frame = registry.frames.find(hwnd);
    if (frame == registry.frames.end())
        return DefWindowProcA(hwnd, message, wParam, lParam);
    WNDPROC original = frame->second;
    HWND control = reinterpret_cast<HWND>(lParam);
    if (IsNotification(message) && control && registry.clients.count(control)) {
        // WM_COMMAND carries the notification in its high word; the scroll messages their code in
        // the low word and the thumb position in the high word.
        if (message == WM_COMMAND)
            Deliver(control, message, HIWORD(wParam), 0);
        else
            Deliver(control, message, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)));
        return 0;
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        registry.frames.erase(hwnd);
    }
    return CallWindowProcA(original, hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ControlProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Registry& registry = TheRegistry();
    auto original = registry.followed.find(hwnd);
    if (original == registry.followed.end())
        return DefWindowProcA(hwnd, message, wParam, lParam);
    WNDPROC procedure = original->second;
    auto client = registry.clients.find(hwnd);
    if (client == registry.clients.end())
        return CallWindowProcA(procedure, hwnd, message, wParam, lParam);
    try {
        return client->second->ControlMessage(hwnd, message, wParam, lParam, procedure);
    } catch (Exception* exception) {
        exception->Display(Alert::kStop);
    }
    return 0;
}

// A frame handle seen before may now name another window: the procedure in place decides.
void Subclass(HWND frame)
{
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(frame, GWLP_WNDPROC));
    if (current == &FrameProcedure)
        return;
    TheRegistry().frames[frame] = current;
    SetWindowLongPtrA(frame, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameProcedure));
}

} // namespace

namespace pw::ui {

HWND MakeNativeControl(HWND frame, const char* className, const char* text, DWORD style, const Rect& bounds,
    NativeControlClient* client)
{
    Registry& registry = TheRegistry();
    uint32_t identifier = registry.nextIdentifier++;
    if (registry.nextIdentifier == 0xFFFF)
        registry.nextIdentifier = kFirstIdentifier;
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, bounds.left, bounds.top,
        bounds.right - bounds.left, bounds.bottom - bounds.top, frame,
        reinterpret_cast<HMENU>(static_cast<uintptr_t>(identifier)), nullptr, nullptr);
    CheckNotNull(control, PW_HERE);
    Subclass(frame);
    registry.clients[control] = client;
    return control;
}

LRESULT NativeControlClient::ControlMessage(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
    WNDPROC original)
{
    return CallWindowProcA(original, control, message, wParam, lParam);
}

void ForgetNativeControl(HWND control)
{
    if (!control)
        return;
    Registry& registry = TheRegistry();
    registry.clients.erase(control);
    auto followed = registry.followed.find(control);
    if (followed != registry.followed.end()) {
        if (IsWindow(control))
            SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(followed->second));
        registry.followed.erase(followed);
    }
    if (IsWindow(control))
        DestroyWindow(control);
}

void FollowControlInput(HWND control)
{
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control, GWLP_WNDPROC));
    if (current == &ControlProcedure)
        return;
    TheRegistry().followed[control] = current;
    SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProcedure));
}

void PassPressToFrame(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND frame = GetParent(control);
    POINT point { static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam)) };
    ClientToScreen(control, &point);
    ScreenToClient(frame, &point);
    SendMessageA(frame, message, wParam, MAKELPARAM(point.x, point.y));
}

} // namespace pw::ui
