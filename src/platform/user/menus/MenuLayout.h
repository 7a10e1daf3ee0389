#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace pw::platform {

// Where the parts of a menu go: the titles of a bar laid out in rows across its width, and the
// items of a drop-down stacked in a raised frame with a column for the check mark, the label, and
// the text after a tab right-aligned in its own column. Rectangles are relative to the bar's or
// the drop-down's top-left corner. Text is measured in the menu font (MenuFont).
struct BarLayout {
    std::vector<RECT> items;
    int height { 0 };
};

struct DropDownLayout {
    std::vector<RECT> items;
    SIZE size {};
    int labelLeft { 0 };
    // The right edge of the shortcut column.
    int shortcutRight { 0 };
};

class MenuLayout {
public:
    // One row of the bar: the height GetSystemMetrics(SM_CYMENU) reports.
    static constexpr int kBarRowHeight = 19;
    static constexpr int kItemHeight = 18;
    static constexpr int kSeparatorHeight = 8;
    // The drop-down's raised frame.
    static constexpr int kFrame = 3;

    // A bar `width` pixels wide; an empty bar still takes one row. A dead menu gives no items.
    static BarLayout LayOutBar(HMENU bar, int width);
    static DropDownLayout LayOutDropDown(HMENU menu);

    // The index of the rectangle holding `point`, or -1.
    static int ItemAt(const std::vector<RECT>& items, POINT point);

    // A title split at its first tab: the label, and the text shown right-aligned after it.
    static std::string_view LabelOf(std::string_view title);
    static std::string_view ShortcutOf(std::string_view title);

    // Titles mark their mnemonic with '&' ("&File" shows F underlined and opens with Alt+F); "&&"
    // shows one '&'. The text as shown, and the marked character in upper case (0: none).
    static std::string ShownText(std::string_view title);
    static char MnemonicOf(std::string_view title);
};

// The font menus draw in (DejaVu Sans, 11 pixels), selected into a DC while the object lives.
class MenuFont {
public:
    explicit MenuFont(HDC hdc);
    ~MenuFont();
    MenuFont(const MenuFont&) = delete;
    MenuFont& operator=(const MenuFont&) = delete;

    int Width(std::string_view text) const;

private:
    HDC hdc;
    HFONT font;
    HGDIOBJ previous;
};

} // namespace pw::platform
