#pragma once

#include <windows.h>

namespace pw::platform::user {

// Drawing the classic grey 3-D look of the controls with GDI calls: edges, glyphs and labels.
// Colours come from GetSysColor. Every helper leaves the DC's selections and colours as it
// found them.

enum class ArrowDirection { Up, Down, Left, Right };

COLORREF SysColor(int index);
RECT InsetRect(RECT rect, int by);
bool IsEmpty(const RECT& rect);

void FillColor(HDC hdc, const RECT& rect, COLORREF color);
// A one-pixel frame just inside `rect`: top and left in one colour, bottom and right in another.
void FrameColors(HDC hdc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
// Fills with a one-pixel checkerboard of two colours, aligned to the DC's origin.
void FillChecker(HDC hdc, const RECT& rect, COLORREF even, COLORREF odd);

// Two-pixel edges; each returns the rectangle inside them.
RECT DrawRaisedEdge(HDC hdc, const RECT& rect);
RECT DrawSunkenEdge(HDC hdc, const RECT& rect);
// A pressed push button or arrow: a flat shadow frame.
RECT DrawFlatEdge(HDC hdc, const RECT& rect);

// A filled triangle centred in `rect`; a disabled one is grey with a white shadow.
void DrawArrowGlyph(HDC hdc, const RECT& rect, ArrowDirection direction, bool enabled);
// The 7 x 7 check mark with its top-left corner at (left, top).
void DrawCheckGlyph(HDC hdc, int left, int top, COLORREF color);

// Draws a label with DrawTextA in the control's font (NULL: the DC's own), transparent; a
// disabled label is embossed grey. '&' prefixes apply unless `format` has DT_NOPREFIX.
void DrawLabel(HDC hdc, HFONT font, const char* text, RECT rect, UINT format, bool enabled);

// Selects a control's font into a DC for a scope (NULL selects nothing).
class FontScope {
public:
    FontScope(HDC hdc, HFONT font);
    ~FontScope();
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    HDC hdc;
    HGDIOBJ previous { nullptr };
};

} // namespace pw::platform::user
