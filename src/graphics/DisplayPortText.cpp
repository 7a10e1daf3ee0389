// Text drawn into a port and measured through an edit control.
#include "graphics/DisplayPort.h"

#include "foundation/Alert.h"
#include "foundation/Checks.h"
#include "foundation/String.h"
#include "graphics/Area.h"
#include "graphics/ColorPaint.h"
#include "graphics/MeasureEditText.h"
#include "graphics/PlatformConversions.h"
#include "graphics/TextStyle.h"

#include <algorithm>
#include <string>

namespace {

// Width and height of the edit control that lays text out when no width limits it.
constexpr int32_t kUnlimited = 10000;
constexpr int kMeasuringControlId = 100;

// Strings draw and measure themselves through the port, in the standard text style.
const bool textServicesLent = [] {
    pw::foundation::TextServices& services = pw::foundation::GetTextServices();
    services.drawString = [](DisplayPort& port, const char* chars, uint32_t length, const Rect& rect,
                              const Color& color) { port.DrawString(chars, int32_t(length), rect, color); };
    services.measureText = [](const char* chars, uint32_t length, int32_t width) {
        TextStyle style(1, 12, 0, Color(1), Color(Color::kNoColor));
        return DisplayPort::MeasureText(chars, int32_t(length), style, width);
    };
    return true;
}();

} // namespace

void DisplayPort::DrawText(const char* chars, int32_t length, const Rect& rect, TextStyle& style)
{
    HDC context = PrepareToDraw();
    if (!context)
        return;
    RECT mapped = ToRECT(MapRect(rect));
    UINT format = style.GetFormat() | DT_NOCLIP | DT_WORDBREAK;
    COLORREF text = ColorToOSColor(style.GetColor());
    if (GetTextColor(context) != text)
        SetTextColor(context, text);
    int previousMode;
    if (IsNoColor(style.GetBackground())) {
        previousMode = SetBkMode(context, TRANSPARENT);
    } else {
        previousMode = SetBkMode(context, OPAQUE);
        COLORREF background = ColorToOSColor(style.GetBackground());
        if (GetBkColor(context) != background)
            SetBkColor(context, background);
    }
    HGDIOBJ previousFont = SelectObject(context, style.GetFont());
    DrawTextA(context, chars, length, &mapped, format);
    SelectObject(context, previousFont);
    SetBkMode(context, previousMode);
}

void DisplayPort::DrawString(const char* chars, int32_t length, const Rect& rect, const Color& color)
{
    EraseArea(Area(rect));
    TextStyle style(1, 12, 0, Color(1), Color(Color::kNoColor));
    style.SetColor(color);
    DrawText(chars, length, rect, style);
}

Point DisplayPort::MeasureText(const char* chars, int32_t length, TextStyle& style, int32_t width)
{
    int32_t layoutWidth = width == 0 ? kUnlimited : width;
    std::string text(chars, size_t(length > 0 ? length : 0));
    HWND edit = CreateWindowExA(0, "EDIT", text.c_str(), WS_CHILD | ES_WANTRETURN | ES_AUTOVSCROLL | ES_MULTILINE,
        0, 0, layoutWidth, kUnlimited, Alert::OwnerWindow(), reinterpret_cast<HMENU>(intptr_t(kMeasuringControlId)),
        nullptr, nullptr);
    CheckNotNull(edit, PW_HERE);
    Point size(0, 0);
    try {
        SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(style.GetFont()), 0);
        size = MeasureEditText(edit, text.c_str(), int32_t(text.size()), style);
    } catch (...) {
        DestroyWindow(edit);
        throw;
    }
    CheckCall(DestroyWindow(edit), PW_HERE);
    return Point(width == 0 ? size.h : width, size.v);
}

Point DisplayPort::MeasureDrawnText(const char* chars, int32_t length, TextStyle& style, int32_t width)
{
    HDC screen = GetDC(nullptr);
    CheckNotNull(screen, PW_HERE);
    HGDIOBJ previousFont = SelectObject(screen, style.GetFont());
    RECT rect { 0, 0, width, 0 };
    UINT format = (style.GetFormat() & ~UINT(DT_NOCLIP)) | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT;
    DrawTextA(screen, chars, length, &rect, format);
    SelectObject(screen, previousFont);
    ReleaseDC(nullptr, screen);
    return Point(std::max<int32_t>(rect.right - rect.left, width), rect.bottom - rect.top);
}
