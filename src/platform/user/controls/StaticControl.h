#pragma once

#include <windows.h>

namespace pw::platform::user {

// The "STATIC" class: a text label on the grey face, aligned by SS_LEFT, SS_CENTER or SS_RIGHT,
// wrapped at words, with '&' prefixes unless SS_NOPREFIX.
class StaticControl {
public:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace pw::platform::user
