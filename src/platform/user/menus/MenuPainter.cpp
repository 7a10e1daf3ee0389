#include "platform/user/menus/MenuPainter.h"

#include "platform/user/menus/Menu.h"

#include <string_view>

namespace pw::platform {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr COLORREF kSilver = RGB(192, 192, 192);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

void Fill(HDC hdc, const RECT& rect, COLORREF colour)
{
    HBRUSH brush = CreateSolidBrush(colour);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

// A ring one pixel wide just inside `r`: top and left in one colour, bottom and right in another.
void Ring(HDC hdc, const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    Fill(hdc, RECT { r.left, r.top, r.right, r.top + 1 }, topLeft);
    Fill(hdc, RECT { r.left, r.top, r.left + 1, r.bottom }, topLeft);
    Fill(hdc, RECT { r.left, r.bottom - 1, r.right, r.bottom }, bottomRight);
    Fill(hdc, RECT { r.right - 1, r.top, r.right, r.bottom }, bottomRight);
}

void Text(HDC hdc, std::string_view text, RECT rect, UINT align, COLORREF colour)
{
    SetTextColor(hdc, colour);
    // Without DT_NOPREFIX: "&x" shows x underlined, as the title's mnemonic.
    DrawTextA(hdc, text.data(), static_cast<int>(text.size()), &rect, align | DT_SINGLELINE | DT_VCENTER);
}

// Grayed text on the plain background is embossed: white one pixel down and right, grey on top.
void StateText(HDC hdc, std::string_view text, const RECT& rect, UINT align, const MenuItem& item, bool highlighted)
{
    if (!item.IsEnabled() && !highlighted) {
        Text(hdc, text, RECT { rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1 }, align, kWhite);
        Text(hdc, text, rect, align, kGrey);
        return;
    }
    Text(hdc, text, rect, align, !item.IsEnabled() ? kGrey : highlighted ? kWhite : kBlack);
}

void CheckMark(HDC hdc, int left, int centreY, COLORREF colour)
{
    // A tick two pixels thick: down three pixels, then up five.
    for (int i = 0; i < 7; ++i) {
        int y = i < 3 ? centreY - 1 + i : centreY + 1 - (i - 2);
        Fill(hdc, RECT { left + i, y, left + i + 1, y + 2 }, colour);
    }
}

void Arrow(HDC hdc, int left, int centreY, COLORREF colour)
{
    // A triangle pointing right, four pixels wide and seven high.
    for (int i = 0; i < 4; ++i)
        Fill(hdc, RECT { left + i, centreY - 3 + i, left + i + 1, centreY + 4 - i }, colour);
}

} // namespace

void MenuPainter::PaintBar(HDC hdc, HMENU bar, const RECT& area, int highlighted)
{
    Fill(hdc, area, kSilver);
    const Menu* menu = MenuTable::Find(bar);
    if (!menu)
        return;
    BarLayout layout = MenuLayout::LayOutBar(bar, area.right - area.left);
    MenuFont font(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = 0; i < layout.items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        const RECT& at = layout.items[i];
        RECT rect { at.left + area.left, at.top + area.top, at.right + area.left, at.bottom + area.top };
        bool lit = static_cast<int>(i) == highlighted;
        if (lit)
            Fill(hdc, rect, kNavy);
        StateText(hdc, MenuLayout::LabelOf(item.title), rect, DT_CENTER, item, lit);
    }
}

void MenuPainter::PaintDropDown(HDC hdc, HMENU handle, const DropDownLayout& layout, int highlighted)
{
    RECT bounds { 0, 0, layout.size.cx, layout.size.cy };
    Fill(hdc, bounds, kSilver);
    Ring(hdc, bounds, kSilver, kBlack);
    Ring(hdc, RECT { 1, 1, bounds.right - 1, bounds.bottom - 1 }, kWhite, kGrey);
    const Menu* menu = MenuTable::Find(handle);
    if (!menu)
        return;
    MenuFont font(hdc);
    SetBkMode(hdc, TRANSPARENT);
    for (size_t i = 0; i < layout.items.size() && i < menu->items.size(); ++i) {
        const MenuItem& item = menu->items[i];
        const RECT& rect = layout.items[i];
        int centreY = (rect.top + rect.bottom) / 2;
        if (item.kind == MenuItem::Kind::Separator) {
            Fill(hdc, RECT { rect.left + 1, centreY - 1, rect.right - 1, centreY }, kGrey);
            Fill(hdc, RECT { rect.left + 1, centreY, rect.right - 1, centreY + 1 }, kWhite);
            continue;
        }
        bool lit = static_cast<int>(i) == highlighted;
        if (lit)
            Fill(hdc, rect, kNavy);
        COLORREF mark = !item.IsEnabled() ? kGrey : lit ? kWhite : kBlack;
        if (item.IsChecked())
            CheckMark(hdc, rect.left + 5, centreY, mark);
        RECT label { layout.labelLeft, rect.top, layout.shortcutRight, rect.bottom };
        StateText(hdc, MenuLayout::LabelOf(item.title), label, DT_LEFT, item, lit);
        std::string_view shortcut = MenuLayout::ShortcutOf(item.title);
        if (!shortcut.empty())
            StateText(hdc, shortcut, label, DT_RIGHT, item, lit);
        if (item.kind == MenuItem::Kind::Popup)
            Arrow(hdc, rect.right - 10, centreY, mark);
    }
}

} // namespace pw::platform
