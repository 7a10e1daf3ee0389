#pragma once

#include "platform/user/controls/EditModel.h"

#include <windows.h>

namespace pw::platform::user {

// An edit control's text as shown: the model laid out in the control's font across its client
// width, scrolled by whole lines down and by pixels across, with the selection highlighted and
// the caret drawn while the control has the focus. Text starts at the client area's top-left
// corner (no margins), one font cell a line. Owned by the EDIT procedure, one per window.
class EditView {
public:
    EditModel model;

    // The control's style bits (ES_MULTILINE, ES_AUTOHSCROLL, ES_READONLY) and font (NULL: the
    // DC's default); Format lays the text out again for them and the client size.
    DWORD style { 0 };
    HFONT font { nullptr };
    // Shown in place of every character when not 0 (EM_SETPASSWORDCHAR).
    char passwordChar { 0 };
    void Format(const RECT& client);

    int LineHeight() const { return lineHeight; }
    int FirstLine() const { return firstLine; }
    int XOffset() const { return xOffset; }
    bool IsMultiLine() const { return (style & ES_MULTILINE) != 0; }
    // Lines wholly or partly shown in the client area (at least one).
    int VisibleLines() const;
    // The width of the whole of line `line`'s text, in pixels.
    int LineWidth(size_t line) const;

    // Scrolls the least that shows the caret; keeps the scroll within the text.
    void RevealCaret();
    // The character nearest to a client point.
    size_t IndexAt(POINT point) const;

    bool focused { false };
    bool enabled { true };
    void Paint(HDC hdc) const;

private:
    void PaintLine(HDC hdc, size_t line, int y) const;

    RECT client {};
    int lineHeight { 16 };
    int firstLine { 0 };
    int xOffset { 0 };
};

} // namespace pw::platform::user
