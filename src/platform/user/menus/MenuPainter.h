#pragma once

#include "platform/user/menus/MenuLayout.h"

#include <windows.h>

namespace pw::platform {

// Draws menus in the classic grey look with GDI: the bar's titles (the open one in the highlight
// colour), and a drop-down's raised frame, items, separators, check marks, right-aligned shortcut
// texts and the arrows of items that open another menu. Grayed items are drawn embossed. A '&' in
// a title underlines the character after it (the mnemonic); "&&" draws one '&'.
class MenuPainter {
public:
    // `area` is the bar in `hdc`'s coordinates; `highlighted` the open title, or -1.
    static void PaintBar(HDC hdc, HMENU bar, const RECT& area, int highlighted);
    static void PaintDropDown(HDC hdc, HMENU menu, const DropDownLayout& layout, int highlighted);
};

} // namespace pw::platform
