// A fixture for control tests: a shown parent pop-up at the desktop's origin (so client, window
// and desktop coordinates agree) that logs the notifications its controls send, and helpers to
// make controls and to click at their client points.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pw::platform::tests {

struct Notification {
    UINT message;
    WORD code;
    WORD value; // the control id (WM_COMMAND) or the position word (WM_HSCROLL, WM_VSCROLL)
    HWND control;
    uint64_t ms; // virtual time when it came

    bool operator==(const Notification& other) const
    {
        return message == other.message && code == other.code && value == other.value && control == other.control;
    }
};

class ControlFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND MakeControl(const char* className, DWORD style, RECT rect, const char* text = "", int id = kControlId);

    // A client point of a control as a desktop point; clicking one and running until idle.
    static POINT OnScreen(HWND control, POINT client);
    static POINT Centre(HWND control, RECT client);
    static void ClickAt(POINT desktop);

    // Notifications of one kind (all when 0), their codes, and how many came with a code.
    std::vector<Notification> Notifications(UINT message = 0) const;
    std::vector<WORD> Codes(UINT message = 0) const;
    size_t CountOf(UINT message, WORD code) const;

    HWND parent { nullptr };

public:
    static constexpr int kControlId = 42;
    static inline std::vector<Notification> log;
    // Called for every notification after it is logged (a parent that answers scroll requests).
    static inline std::function<void(const Notification&)> onNotify;
};

// The text of a window through GetWindowTextA.
std::string TextOf(HWND hwnd);

} // namespace pw::platform::tests
