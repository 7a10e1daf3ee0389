// Whether a dialog's texts show whole, read back from the screen: each static text's ink ends
// inside the part of its view that shows and spans the width the text takes on its lines; each
// field's text starts at its left margin and ends inside the field, as wide as the text is.
#pragma once

#include "foundation/String.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "ui/Dialog.h"
#include "ui/TextView.h"
#include "ui/WindowFrame.h"

#include "platform/testing/TestDriver.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace dialogtest {

// The box around the pixels of `rect` that differ from its bottom right pixel (the background);
// empty when there are none.
inline Rect InkBox(pw::platform::Frame& shown, const Rect& rect)
{
    uint8_t background = shown.At(rect.right - 1, rect.bottom - 1);
    Rect ink(rect.right, rect.bottom, rect.left, rect.top);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (shown.At(x, y) != background)
                ink = Rect(std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1), std::max(ink.bottom, y + 1));
    return ink.IsEmpty() ? Rect(0, 0, 0, 0) : ink;
}

// How wide the ink of a line of text is, drawn in the style with all the room it wants.
inline int32_t LineInkWidth(const std::string& text, TextStyle& style)
{
    constexpr Rect kRoom(0, 0, 800, 40);
    OffScreen buffer(kRoom.right, kRoom.bottom, 8, Color(0), true);
    {
        DisplayPort port(buffer, kRoom, 0);
        port.DrawText(text.c_str(), int32_t(text.size()), kRoom, style);
    }
    BitMap& drawn = *buffer.GetBitMap().Get();
    uint32_t background = drawn.GetPixelValue(kRoom.right - 1, kRoom.bottom - 1);
    int32_t left = kRoom.right;
    int32_t right = 0;
    for (int32_t y = 0; y < kRoom.bottom; ++y)
        for (int32_t x = 0; x < kRoom.right; ++x)
            if (drawn.GetPixelValue(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x + 1);
            }
    return std::max(right - left, 0);
}

// The part of a static text's view that shows: its bounds, cut at the left edge of any field that
// lies over it.
inline Rect ShownPart(HWND dialog, const Rect& bounds, const std::vector<HWND>& fields)
{
    Rect shown = bounds;
    for (HWND field : fields) {
        RECT r {};
        GetWindowRect(field, &r);
        POINT topLeft { r.left, r.top };
        POINT bottomRight { r.right, r.bottom };
        ScreenToClient(dialog, &topLeft);
        ScreenToClient(dialog, &bottomRight);
        Rect over(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y);
        if (!over.Intersect(shown).IsEmpty() && over.left > shown.left)
            shown.right = std::min(shown.right, over.left);
    }
    return shown;
}

// A static text is whole when its ink ends before the right and bottom edges of the part of its
// view that shows; a text that fits on one line shows as wide as that line (a cut one is
// narrower), a longer one fits the view's height when laid out at its width and shows its last
// line.
inline bool StaticTextWhole(pw::platform::Frame& screen, const Rect& shown, TextView& view, const std::string& text)
{
    Rect bounds = view.GetBounds();
    Rect ink = InkBox(screen, shown);
    TextStyle& style = *view.GetStyle().Get();
    int32_t length = int32_t(text.size());
    int32_t width = bounds.right - bounds.left;
    if (ink.IsEmpty() || ink.right >= shown.right || ink.bottom >= shown.bottom)
        return false;
    if (text.find('\n') == std::string::npos) {
        int32_t oneLine = LineInkWidth(text, style);
        if (oneLine < width)
            return ink.right - ink.left == oneLine;
    }
    Point laidOut = DisplayPort::MeasureDrawnText(text.c_str(), length, style, width);
    int32_t lineHeight = DisplayPort::MeasureDrawnText("X", 1, style, 0).v;
    return laidOut.v <= bounds.bottom - bounds.top && ink.bottom >= bounds.top + laidOut.v - lineHeight;
}

// A field is whole when its text (or its mask), in the field's font, shows unscrolled and uncut:
// the ink starts at the left margin, ends inside the field and spans the text's width.
inline bool FieldTextWhole(HWND field)
{
    char text[512] = "";
    int length = GetWindowTextA(field, text, sizeof text);
    if (length == 0)
        return true;
    if (char mask = char(SendMessageA(field, EM_GETPASSWORDCHAR, 0, 0)))
        std::fill(text, text + length, mask);
    HDC dc = GetDC(field);
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(field, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    SIZE size {};
    GetTextExtentPoint32A(dc, text, length, &size);
    if (previous)
        SelectObject(dc, previous);
    ReleaseDC(field, dc);
    RECT client {};
    GetClientRect(field, &client);
    pw::platform::Frame screen = pw::platform::testing::ReadClientArea(field);
    Rect ink = InkBox(screen, Rect(0, 0, client.right, client.bottom));
    return !ink.IsEmpty() && ink.left <= 4 && ink.right < client.right && ink.right - ink.left >= size.cx - 2;
}

// The texts of the dialog that do not show whole (a field's marked "field: "); empty when every
// one does.
inline std::vector<std::string> TextsNotWhole(Dialog& dialog)
{
    HWND window = dialog.GetFrame()->GetOSWindow();
    pw::platform::Frame screen = pw::platform::testing::ReadClientArea(window);
    std::vector<TextView*> texts;
    std::vector<HWND> fields;
    const SmartList<View>& children = dialog.GetChildren();
    for (uint32_t index = 1; index <= children.NumItems(); ++index) {
        if (auto* view = dynamic_cast<TextView*>(children.Item(index))) {
            texts.push_back(view);
            if (view->GetEditWindow())
                fields.push_back(view->GetEditWindow());
        }
    }
    std::vector<std::string> cut;
    for (TextView* view : texts) {
        std::string text = pw::foundation::TextOf(*view->GetText().Get());
        if (HWND field = view->GetEditWindow()) {
            if (!FieldTextWhole(field))
                cut.push_back("field: " + text);
        } else if (!text.empty()
            && !StaticTextWhole(screen, ShownPart(window, view->GetBounds(), fields), *view, text)) {
            cut.push_back(text);
        }
    }
    return cut;
}

} // namespace dialogtest
