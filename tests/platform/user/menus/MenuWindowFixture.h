// A fixture for menu tests: a logging main window of a class named after the program's, whose
// class menu "MainMenu" gives it its bar, and the screen points of the bar's titles and of the
// items of the drop-downs they open.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <vector>

namespace pw::platform::tests {

struct Logged {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;

    bool operator==(const Logged&) const = default;
};

class MenuWindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The main window: overlapped, shown at (20, 20), 400 x 300.
    HWND MakeMainWindow();

    // A bar of "File" (New 10 "New\tcntl+N", a separator, Open 11 grayed) and "Edit" (Undo 90,
    // "More" opening Deeper 95) on the main window.
    void FillSampleBar(HWND hwnd);

    // Screen points: the middle of title `title` and of item `item` of the drop-down it opens.
    POINT TitlePoint(HWND hwnd, int title) const;
    POINT ItemPoint(HWND hwnd, int title, int item) const;

    // The drop-downs shown now.
    static std::vector<HWND> DropDowns();

    // The logged messages with these numbers.
    std::vector<Logged> Messages(std::initializer_list<UINT> only) const;

    HMENU file { nullptr };
    HMENU edit { nullptr };
    HMENU more { nullptr };

public:
    static inline std::vector<Logged> log;
    static inline std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> answer;
};

} // namespace pw::platform::tests
