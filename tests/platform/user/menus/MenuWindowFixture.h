// A fixture for menu tests: a logging main window of a class named after the program's, whose
// class menu "MainMenu" gives it its bar, and the screen points of the bar's titles and of the
// items of the drop-downs they open.
#pragma once

#include "../WindowFixture.h"

namespace pw::platform::tests {

// "File" (New 10 "New\tcntl+N", a separator, Open 11 grayed) and "Edit" (Undo 90, "More" opening
// Deeper 95) on a bar.
struct SampleMenus {
    explicit SampleMenus(HMENU bar = CreateMenu());

    HMENU bar;
    HMENU file { CreatePopupMenu() };
    HMENU edit { CreatePopupMenu() };
    HMENU more { CreatePopupMenu() };
};

class MenuWindowFixture : public WindowFixture {
protected:
    void SetUp() override;

    // The main window: overlapped, shown at (20, 20), 400 x 300.
    HWND MakeMainWindow();

    // The sample menus on the main window's bar.
    void FillSampleBar(HWND hwnd);

    // Screen points: the middle of title `title` and of item `item` of the drop-down it opens.
    POINT TitlePoint(HWND hwnd, int title) const;
    POINT ItemPoint(HWND hwnd, int title, int item) const;

    // The drop-downs shown now.
    static std::vector<HWND> DropDowns();

    std::optional<SampleMenus> sample;
};

} // namespace pw::platform::tests
