#include "platform/user/menus/DialogLoop.h"

#include "platform/user/Activation.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Modal.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/menus/MenuTracker.h"

#include <algorithm>

namespace pw::platform {

namespace {

constexpr int kFontHeight = 11;

bool IsPushButton(HWND hwnd)
{
    const Window* window = WindowTable::Find(hwnd);
    if (!window || !SameNameIgnoringCase(window->Class().Name(), "BUTTON"))
        return false;
    DWORD type = window->style & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

} // namespace

HFONT CreateDialogFont()
{
    return CreateFontA(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "MS Sans Serif");
}

void PlaceDialog(HWND dialog, HWND owner, SIZE client)
{
    RECT outer;
    RECT inner;
    GetWindowRect(dialog, &outer);
    GetClientRect(dialog, &inner);
    SIZE size { client.cx + (outer.right - outer.left) - inner.right, client.cy + (outer.bottom - outer.top) - inner.bottom };
    RECT screen { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    RECT area = screen;
    if (owner && IsWindowVisible(owner))
        GetWindowRect(owner, &area);
    LONG x = (area.left + area.right - size.cx) / 2;
    LONG y = (area.top + area.bottom - size.cy) / 2;
    x = std::max(screen.left, std::min(x, screen.right - size.cx));
    y = std::max(screen.top, std::min(y, screen.bottom - size.cy));
    MoveWindow(dialog, x, y, size.cx, size.cy, FALSE);
}

HWND MakeControl(HWND dialog, const char* className, const char* text, DWORD style, const RECT& rect, int id, HFONT font)
{
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE)), nullptr);
    if (control)
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

DialogLoop::DialogLoop(HWND dialog, std::vector<HWND> tabOrder, int defaultId)
    : dialog(dialog)
    , tabOrder(std::move(tabOrder))
    , defaultId(defaultId)
{
}

bool DialogLoop::Run(const std::function<bool()>& done)
{
    MenuTracker::Cancel();
    ModalScope scope(dialog);
    while (!done()) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            if (msg.message == WM_QUIT)
                return false;
            PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
            if (HandleKey(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
            continue;
        }
        if (MessageQueue::QuitPending() || !MessageLoop::WaitForWork())
            return false;
    }
    return true;
}

bool DialogLoop::HandleKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || !WindowTable::Find(dialog) || !Activation::IsWithin(msg.hwnd, dialog))
        return false;
    switch (msg.wParam) {
    case VK_TAB:
        MoveFocus(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return true;
    case VK_RETURN: {
        HWND focus = GetFocus();
        bool onButton = IsPushButton(focus);
        int id = onButton ? GetWindowLongA(focus, GWL_ID) : defaultId;
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), onButton ? reinterpret_cast<LPARAM>(focus) : 0);
        return true;
    }
    case VK_ESCAPE:
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return true;
    default:
        return false;
    }
}

void DialogLoop::MoveFocus(int step)
{
    if (tabOrder.empty())
        return;
    auto it = std::find(tabOrder.begin(), tabOrder.end(), GetFocus());
    int count = static_cast<int>(tabOrder.size());
    int index = it == tabOrder.end() ? (step > 0 ? -1 : 0) : static_cast<int>(it - tabOrder.begin());
    // Skips disabled and hidden controls, and gives up after one round.
    for (int tries = 0; tries < count; ++tries) {
        index = (index + step + count) % count;
        HWND next = tabOrder[static_cast<size_t>(index)];
        if (IsWindowVisible(next) && IsWindowEnabled(next)) {
            SetFocus(next);
            return;
        }
    }
}

} // namespace pw::platform
