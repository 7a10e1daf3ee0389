// The message-queue calls of USER: retrieval, dispatch, posting, sending and the quit message.
#include <windows.h>

#include "platform/kernel/Clock.h"
#include "platform/kernel/LastError.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/Timers.h"
#include "platform/user/Window.h"

using pw::platform::Fail;
using pw::platform::MessageFilter;
using pw::platform::MessageLoop;
using pw::platform::MessageQueue;
using pw::platform::WindowTable;

// Waits for the next message; 0 for WM_QUIT, -1 with the last error for a bad window or record.
BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax)
{
    if (!msg)
        return Fail(ERROR_INVALID_PARAMETER, -1);
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, -1);
    MessageFilter filter { hwnd, filterMin, filterMax };
    for (;;) {
        if (MessageQueue::Retrieve(*msg, filter, true))
            return msg->message == WM_QUIT ? FALSE : TRUE;
        // Nothing could ever come (a test's loop gone idle for good): end the loop as WM_QUIT would.
        if (!MessageLoop::WaitForWork()) {
            *msg = MSG { nullptr, WM_QUIT, 0, 0, 0, POINT {} };
            return FALSE;
        }
    }
}

// Like GetMessageA without waiting: FALSE when nothing waits. PM_NOREMOVE leaves the message.
BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMessage)
{
    if (!msg)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    MessageFilter filter { hwnd, filterMin, filterMax };
    return MessageQueue::Retrieve(*msg, filter, (removeMessage & PM_REMOVE) != 0) ? TRUE : FALSE;
}

// Calls the window procedure (or a WM_TIMER's TIMERPROC, also without a window) and returns its
// result. Only procedures given to SetTimer are called through lParam.
LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    if (!msg)
        return Fail(ERROR_INVALID_PARAMETER, LRESULT(0));
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        auto procedure = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (pw::platform::Timers::IsKnownProcedure(procedure))
            procedure(msg->hwnd, WM_TIMER, msg->wParam, pw::platform::Clock::TickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    if (!WindowTable::Find(msg->hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, LRESULT(0));
    return pw::platform::SendToWindow(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

// Appends a message to the queue (hwnd NULL: a thread message); FALSE with 1400 for a bad window.
BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd && !WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, FALSE);
    return MessageQueue::Post(hwnd, message, wParam, lParam);
}

// Calls the window procedure at once, nested in the caller; 0 with 1400 for a bad window.
LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!WindowTable::Find(hwnd))
        return Fail(ERROR_INVALID_WINDOW_HANDLE, LRESULT(0));
    return pw::platform::SendToWindow(hwnd, message, wParam, lParam);
}

// Makes GetMessageA answer WM_QUIT once no posted message remains; repeated calls keep one quit.
VOID WINAPI PostQuitMessage(int exitCode)
{
    MessageQueue::PostQuit(exitCode);
}
