#pragma once

#include "platform/user/controls/ScrollBarGeometry.h"

#include <windows.h>

namespace pw::platform::user {

// The "SCROLLBAR" class (SBS_HORZ, SBS_VERT). It keeps a range and a position (SetScrollRange,
// SetScrollPos, GetScrollPos on SB_CTL) but never moves on its own: a press runs a modal
// tracking loop (timers, paints and posted messages keep running) that sends the parent
// WM_VSCROLL or WM_HSCROLL: a line or page code at once and again while the button is held over
// the same part, or SB_THUMBTRACK as the thumb is dragged and SB_THUMBPOSITION when it is let go,
// then SB_ENDSCROLL. The parent answers by setting the position.
class ScrollBarControl {
public:
    using Part = ScrollBarGeometry::Part;

    // What a bar looks like at one moment; Draw paints it into any DC.
    struct Look {
        bool vertical { true };
        bool enabled { true };
        ScrollRange range;
        // The part held down with the mouse over it (None when none is).
        Part pushed { Part::None };
        // While the thumb is dragged: where it is drawn, in pixels along the bar.
        int dragThumbStart { -1 };
    };

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void Draw(HDC hdc, const RECT& client, const Look& look);

    // Whether the window is a live scroll bar control (its procedure may be subclassed).
    static bool IsScrollBar(HWND hwnd);

    // The client rectangle of a part of a live scroll bar, empty when it has no such part (for
    // tests that click parts).
    static RECT PartRect(HWND hwnd, Part part);

    // Delays of the repeat while a line or page part is held, in milliseconds.
    static constexpr UINT kFirstRepeatDelay = 400;
    static constexpr UINT kRepeatPeriod = 100;
};

} // namespace pw::platform::user
