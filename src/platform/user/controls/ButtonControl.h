#pragma once

#include <windows.h>

#include <string>

namespace pw::platform::user {

// The "BUTTON" class: push buttons (BS_PUSHBUTTON, BS_DEFPUSHBUTTON) and check boxes
// (BS_CHECKBOX, BS_AUTOCHECKBOX). A press captures the mouse and shows the button pushed while
// the mouse stays over it; a release over it clicks: an automatic check box toggles, then the
// parent gets WM_COMMAND with BN_CLICKED. Space clicks the focused button; BM_CLICK clicks too.
class ButtonControl {
public:
    // What a button looks like at one moment; Draw paints it into any DC.
    struct Look {
        DWORD type { BS_PUSHBUTTON };
        bool checked { false };
        bool pushed { false };
        bool focused { false };
        bool enabled { true };
        std::string text;
        HFONT font { nullptr };
    };

    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void Draw(HDC hdc, const RECT& client, const Look& look);
};

} // namespace pw::platform::user
