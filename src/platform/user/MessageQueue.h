#pragma once

#include <windows.h>

#include <cstddef>

namespace pw::platform {

// What a retrieval accepts: a window (and its descendants) or all, and a message range (0, 0 = all).
struct MessageFilter {
    HWND hwnd { nullptr };
    UINT first { 0 };
    UINT last { 0 };

    bool Accepts(UINT message) const { return (first == 0 && last == 0) || (message >= first && message <= last); }
};

// The thread's one message queue. Posted messages wait here in FIFO order; WM_QUIT, input,
// WM_PAINT and WM_TIMER are not stored but made at retrieval when nothing of higher rank waits:
// posted messages, then the quit, then input (InputRouter), then paint for a window whose update
// region is not empty, then a due timer.
class MessageQueue {
public:
    // Appends a posted message; FALSE with the last error set when the queue is full.
    static BOOL Post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void PostQuit(int exitCode);

    // Takes (or, without `remove`, copies) the next message in retrieval order. Never waits.
    static bool Retrieve(MSG& msg, const MessageFilter& filter, bool remove);

    // Drops the posted messages of a window that is being destroyed.
    static void DiscardFor(HWND hwnd);

    static bool QuitPending(int* exitCode = nullptr);
    static size_t PostedCount();
};

} // namespace pw::platform
