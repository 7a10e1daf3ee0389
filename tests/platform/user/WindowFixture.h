// A fixture for USER tests: registered classes whose procedure logs every message and lets the
// test answer any of them, and helpers to make windows of them.
#pragma once

#include "../gdi/GdiTestSupport.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace pw::platform::tests {

struct Delivered {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    bool operator==(const Delivered&) const = default;
};

class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Registers another class with the logging procedure and 8 extra bytes.
    static void RegisterLoggingClass(const char* name, UINT style = 0, const char* menuName = nullptr,
        HBRUSH background = nullptr);

    // A window of the logging class; visible windows start out needing paint.
    HWND MakeWindow(HWND parent = nullptr, DWORD style = 0, const char* title = "");
    // A shown window at `rect`: a child of `parent`, else a frameless pop-up.
    static HWND Popup(RECT rect, HWND parent = nullptr, const char* className = kClassName, DWORD exStyle = 0);

    // The messages delivered so far with these numbers (all when empty).
    std::vector<Delivered> Messages(std::initializer_list<UINT> only = {}) const;
    std::vector<UINT> MessageNumbers(std::initializer_list<UINT> only = {}) const;

public:
    // Answers a message instead of DefWindowProcA when it returns a value.
    static inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> answer;
    static inline std::vector<Delivered> log;
    static constexpr const char* kClassName = "TestWClass";
};

// Pumps with PeekMessageA(PM_REMOVE) and dispatches until nothing is left; returns the messages
// in retrieval order.
std::vector<MSG> PumpAll();

using gditest::RectText;
RECT WindowRectOf(HWND hwnd);

} // namespace pw::platform::tests
