// A fixture for USER tests: one registered class whose procedure logs every message and lets the
// test answer any of them, and helpers to make windows of it.
#pragma once

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

    // A window of the logging class; visible windows start out needing paint.
    HWND MakeWindow(HWND parent = nullptr, DWORD style = 0, const char* title = "");

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

} // namespace pw::platform::tests
