#pragma once

#include <windows.h>

namespace pw::platform::user {

// The "EDIT" class: single-line, or multi-line with ES_MULTILINE (words wrap to the client width
// unless ES_AUTOHSCROLL). It keeps its own text (WM_SETTEXT, WM_GETTEXT, with the line breaks as
// given: CR LF from typing), lays it out in the font WM_SETFONT gives, and answers the EM_
// messages about lines and the selection. With the focus it shows a caret and takes typing,
// Backspace, Delete, arrows, Home and End (Shift selects), Return with ES_WANTRETURN, and
// Ctrl+A, C, X, V; the mouse places the caret, drags a selection and selects a word on a double
// click. Every change the user makes sends WM_COMMAND with EN_CHANGE to the parent. It keeps one
// level of undo (Ctrl+Z, WM_UNDO, EM_UNDO; EM_CANUNDO tells): the text before the last change
// that changed something, a run of typing or of deleting counting as one change; undoing twice
// redoes, and WM_SETTEXT forgets it. A single-line control given a mask character
// (EM_SETPASSWORDCHAR) shows that character for each of its own and refuses to copy or cut. Without
// ES_AUTOHSCROLL a single-line control refuses typing wider than itself; without ES_AUTOVSCROLL
// a multi-line one refuses lines below its bottom.
class EditControl {
public:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace pw::platform::user
