#include "platform/user/controls/ControlPaint.h"

#include <algorithm>

namespace pw::platform::user {

namespace {

// The check mark, one row a string.
constexpr const char* kCheckGlyph[] = {
    "......#",
    ".....##",
    "#...###",
    "##.###.",
    "#####..",
    ".###...",
    "..#....",
};

void FillRow(HDC hdc, int left, int right, int y, COLORREF color)
{
    FillColor(hdc, RECT { left, y, right, y + 1 }, color);
}

void FillColumn(HDC hdc, int x, int top, int bottom, COLORREF color)
{
    FillColor(hdc, RECT { x, top, x + 1, bottom }, color);
}

void DrawTriangle(HDC hdc, const RECT& rect, ArrowDirection direction, COLORREF color)
{
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    // Rows of 1, 3, 5, ... pixels; a third of the smaller side deep (4 rows in a 12-pixel face).
    int depth = std::max(1, (std::min(width, height) + 1) / 3);
    bool vertical = direction == ArrowDirection::Up || direction == ArrowDirection::Down;
    int centreX = rect.left + (width - 1) / 2;
    int centreY = rect.top + (height - 1) / 2;
    for (int i = 0; i < depth; ++i) {
        bool pointFirst = direction == ArrowDirection::Up || direction == ArrowDirection::Left;
        int step = pointFirst ? i : depth - 1 - i;
        if (vertical) {
            int y = centreY - depth / 2 + i;
            FillRow(hdc, centreX - step, centreX + step + 1, y, color);
        } else {
            int x = centreX - depth / 2 + i;
            FillColumn(hdc, x, centreY - step, centreY + step + 1, color);
        }
    }
}

} // namespace

COLORREF SysColor(int index)
{
    return GetSysColor(index);
}

RECT InsetRect(RECT rect, int by)
{
    return RECT { rect.left + by, rect.top + by, rect.right - by, rect.bottom - by };
}

bool IsEmpty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

void FillColor(HDC hdc, const RECT& rect, COLORREF color)
{
    if (IsEmpty(rect))
        return;
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(hdc, &rect, brush);
    DeleteObject(brush);
}

void FrameColors(HDC hdc, const RECT& rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (IsEmpty(rect))
        return;
    FillRow(hdc, rect.left, rect.right - 1, rect.top, topLeft);
    FillColumn(hdc, rect.left, rect.top, rect.bottom - 1, topLeft);
    FillRow(hdc, rect.left, rect.right, rect.bottom - 1, bottomRight);
    FillColumn(hdc, rect.right - 1, rect.top, rect.bottom - 1, bottomRight);
}

void FillChecker(HDC hdc, const RECT& rect, COLORREF even, COLORREF odd)
{
    if (IsEmpty(rect))
        return;
    // A 1-bit pattern paints its 0 bits in the text colour and its 1 bits in the background colour.
    static const WORD rows[8] = { 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA };
    HBITMAP pattern = CreateBitmap(8, 8, 1, 1, rows);
    HBRUSH brush = CreatePatternBrush(pattern);
    DeleteObject(pattern);
    COLORREF oldText = SetTextColor(hdc, even);
    COLORREF oldBack = SetBkColor(hdc, odd);
    FillRect(hdc, &rect, brush);
    SetTextColor(hdc, oldText);
    SetBkColor(hdc, oldBack);
    DeleteObject(brush);
}

RECT DrawRaisedEdge(HDC hdc, const RECT& rect)
{
    FrameColors(hdc, rect, SysColor(COLOR_3DHIGHLIGHT), SysColor(COLOR_3DDKSHADOW));
    RECT inner = InsetRect(rect, 1);
    FrameColors(hdc, inner, SysColor(COLOR_3DLIGHT), SysColor(COLOR_3DSHADOW));
    return InsetRect(inner, 1);
}

RECT DrawSunkenEdge(HDC hdc, const RECT& rect)
{
    FrameColors(hdc, rect, SysColor(COLOR_3DSHADOW), SysColor(COLOR_3DHIGHLIGHT));
    RECT inner = InsetRect(rect, 1);
    FrameColors(hdc, inner, SysColor(COLOR_3DDKSHADOW), SysColor(COLOR_3DLIGHT));
    return InsetRect(inner, 1);
}

RECT DrawFlatEdge(HDC hdc, const RECT& rect)
{
    COLORREF shadow = SysColor(COLOR_3DSHADOW);
    FrameColors(hdc, rect, shadow, shadow);
    return InsetRect(rect, 1);
}

void DrawArrowGlyph(HDC hdc, const RECT& rect, ArrowDirection direction, bool enabled)
{
    if (enabled) {
        DrawTriangle(hdc, rect, direction, SysColor(COLOR_BTNTEXT));
        return;
    }
    DrawTriangle(hdc, RECT { rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1 }, direction,
        SysColor(COLOR_3DHIGHLIGHT));
    DrawTriangle(hdc, rect, direction, SysColor(COLOR_3DSHADOW));
}

void DrawCheckGlyph(HDC hdc, int left, int top, COLORREF color)
{
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 7;) {
            if (kCheckGlyph[row][col] != '#') {
                ++col;
                continue;
            }
            int end = col;
            while (end < 7 && kCheckGlyph[row][end] == '#')
                ++end;
            FillRow(hdc, left + col, left + end, top + row, color);
            col = end;
        }
    }
}

void DrawLabel(HDC hdc, HFONT font, const char* text, RECT rect, UINT format, bool enabled)
{
    if (!text || !*text)
        return;
    FontScope scope(hdc, font);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldText;
    if (enabled) {
        oldText = SetTextColor(hdc, SysColor(COLOR_BTNTEXT));
    } else {
        oldText = SetTextColor(hdc, SysColor(COLOR_3DHIGHLIGHT));
        RECT shadow { rect.left + 1, rect.top + 1, rect.right + 1, rect.bottom + 1 };
        DrawTextA(hdc, text, -1, &shadow, format);
        SetTextColor(hdc, SysColor(COLOR_GRAYTEXT));
    }
    DrawTextA(hdc, text, -1, &rect, format);
    SetTextColor(hdc, oldText);
    SetBkMode(hdc, oldMode);
}

FontScope::FontScope(HDC hdc, HFONT font)
    : hdc(hdc)
{
    if (font)
        previous = SelectObject(hdc, font);
}

FontScope::~FontScope()
{
    if (previous)
        SelectObject(hdc, previous);
}

} // namespace pw::platform::user
