#pragma once

#include <windows.h>

namespace pw::platform::user {

// The "LISTBOX" class, single selection: strings added with LB_ADDSTRING (in order with
// LBS_SORT), one selected by a click, a drag, the arrow keys or LB_SETCURSEL. With LBS_NOTIFY a
// change the user makes sends LBN_SELCHANGE to the parent and a double click on an item
// LBN_DBLCLK. With WS_VSCROLL a scroll bar control of its own shows at its right edge while the
// items do not all fit. Only whole rows show: a row that would be cut by the bottom edge is left
// blank until the list scrolls.
class ListBoxControl {
public:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Pixels between an item's text and the list's left edge.
    static constexpr int kTextMargin = 2;
};

} // namespace pw::platform::user
