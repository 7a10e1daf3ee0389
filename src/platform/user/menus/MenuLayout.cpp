#include "platform/user/menus/MenuLayout.h"

#include "platform/user/menus/DialogLoop.h"
#include "platform/user/menus/Menu.h"

#include <algorithm>
#include <cctype>

namespace pw::platform {

namespace {

constexpr int kBarPadding = 7;
constexpr int kCheckColumn = 18;
constexpr int kArrowColumn = 16;
constexpr int kShortcutGap = 16;
constexpr int kMinimumDropDownWidth = 60;

// A memory DC holding the menu font, for measuring outside painting.
class MeasuringDc {
public:
    MeasuringDc()
        : hdc(CreateCompatibleDC(nullptr))
        , font(hdc)
    {
    }
    ~MeasuringDc() { DeleteDC(hdc); }
    int Width(std::string_view text) const { return font.Width(MenuLayout::ShownText(text)); }

private:
    HDC hdc;
    MenuFont font;
};

} // namespace

MenuFont::MenuFont(HDC hdc)
    : hdc(hdc)
    , font(CreateDialogFont())
    , previous(SelectObject(hdc, font))
{
}

MenuFont::~MenuFont()
{
    SelectObject(hdc, previous);
    DeleteObject(font);
}

int MenuFont::Width(std::string_view text) const
{
    SIZE size {};
    if (text.empty() || !GetTextExtentPoint32A(hdc, text.data(), static_cast<int>(text.size()), &size))
        return 0;
    return size.cx;
}

BarLayout MenuLayout::LayOutBar(HMENU bar, int width)
{
    BarLayout layout;
    int rows = 1;
    if (const Menu* menu = MenuTable::Find(bar)) {
        MeasuringDc dc;
        int x = 0;
        for (const MenuItem& item : menu->items) {
            int itemWidth = dc.Width(LabelOf(item.title)) + 2 * kBarPadding;
            // A title that does not fit starts a new row, unless it is the first of its row.
            if (x > 0 && x + itemWidth > width) {
                x = 0;
                ++rows;
            }
            int top = (rows - 1) * kBarRowHeight;
            layout.items.push_back(RECT { x, top, x + itemWidth, top + kBarRowHeight });
            x += itemWidth;
        }
    }
    layout.height = rows * kBarRowHeight;
    return layout;
}

DropDownLayout MenuLayout::LayOutDropDown(HMENU handle)
{
    DropDownLayout layout;
    const Menu* menu = MenuTable::Find(handle);
    if (!menu)
        return layout;
    MeasuringDc dc;
    int labelWidth = 0;
    int shortcutWidth = 0;
    for (const MenuItem& item : menu->items) {
        labelWidth = std::max(labelWidth, dc.Width(LabelOf(item.title)));
        shortcutWidth = std::max(shortcutWidth, dc.Width(ShortcutOf(item.title)));
    }
    layout.labelLeft = kFrame + kCheckColumn;
    int width = layout.labelLeft + labelWidth + (shortcutWidth > 0 ? kShortcutGap + shortcutWidth : 0) + kArrowColumn + kFrame;
    width = std::max(width, kMinimumDropDownWidth);
    layout.shortcutRight = width - kFrame - kArrowColumn;
    int y = kFrame;
    for (const MenuItem& item : menu->items) {
        int height = item.kind == MenuItem::Kind::Separator ? kSeparatorHeight : kItemHeight;
        layout.items.push_back(RECT { kFrame, y, width - kFrame, y + height });
        y += height;
    }
    layout.size = SIZE { width, y + kFrame };
    return layout;
}

int MenuLayout::ItemAt(const std::vector<RECT>& items, POINT point)
{
    for (size_t i = 0; i < items.size(); ++i) {
        const RECT& r = items[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

std::string_view MenuLayout::LabelOf(std::string_view title)
{
    return title.substr(0, title.find('\t'));
}

std::string_view MenuLayout::ShortcutOf(std::string_view title)
{
    size_t tab = title.find('\t');
    return tab == std::string_view::npos ? std::string_view() : title.substr(tab + 1);
}

std::string MenuLayout::ShownText(std::string_view title)
{
    std::string shown;
    for (size_t i = 0; i < title.size(); ++i) {
        // A '&' at the end marks nothing and shows nothing, as DrawTextA draws it.
        if (title[i] == '&' && ++i == title.size())
            break;
        shown += title[i];
    }
    return shown;
}

char MenuLayout::MnemonicOf(std::string_view title)
{
    std::string_view label = LabelOf(title);
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&')
            continue;
        if (label[i + 1] != '&')
            return static_cast<char>(std::toupper(static_cast<unsigned char>(label[i + 1])));
        ++i;
    }
    return 0;
}

} // namespace pw::platform
