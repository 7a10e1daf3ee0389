// Fonts, measuring and drawing text.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/LogicalFont.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Painter.h"
#include "platform/gdi/Shapes.h"
#include "platform/gdi/TextLayout.h"
#include "platform/kernel/LastError.h"

#include <cstring>
#include <string_view>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

HFONT AddFont(const LOGFONTA& logfont)
{
    FontSpec spec;
    spec.height = logfont.lfHeight;
    spec.weight = logfont.lfWeight;
    spec.italic = logfont.lfItalic != 0;
    spec.underline = logfont.lfUnderline != 0;
    spec.faceName.assign(logfont.lfFaceName, strnlen(logfont.lfFaceName, LF_FACESIZE));
    return static_cast<HFONT>(ObjectTable::Add(std::make_shared<LogicalFont>(std::move(spec))));
}

const Font* SelectedFont(const DeviceContext& dc)
{
    const LogicalFont* font = ObjectTable::Find<LogicalFont>(dc.font);
    return font ? &font->Realised() : nullptr;
}

// Paints a rendered line with its cell's top-left corner at device (x, y): ink in the text
// colour, and the rest of the cell in the background colour when `background` is given.
void PaintMask(const Painter& painter, const TextMask& mask, int x, int y, const Ink& text, const Ink* background)
{
    if (background)
        painter.Rect({ x, y, x + mask.width, y + mask.height }, *background);
    for (int row = 0; row < mask.height; ++row) {
        int col = 0;
        while (col < mask.width) {
            if (!mask.At(col, row)) {
                ++col;
                continue;
            }
            int end = col + 1;
            while (end < mask.width && mask.At(end, row))
                ++end;
            painter.Span(y + row, x + col, x + end, text);
            col = end;
        }
    }
}

BOOL TextExtent(HDC hdc, LPCSTR lpString, int c, LPSIZE size)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    const Font* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (c < 0 || (c > 0 && !lpString) || !size)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    size->cx = font->TextWidth(std::string_view(lpString ? lpString : "", static_cast<size_t>(c)));
    size->cy = font->Metrics().tmHeight;
    return TRUE;
}

} // namespace

// A negative height is the character height in pixels, a positive one the cell height; weight
// 600 and above is bold. Faces map onto DejaVu Sans, Serif and Sans Mono.
HFONT WINAPI CreateFontA(int cHeight, int, int, int, int cWeight, DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut,
                         DWORD iCharSet, DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                         DWORD iPitchAndFamily, LPCSTR pszFaceName)
{
    LOGFONTA logfont {};
    logfont.lfHeight = cHeight;
    logfont.lfWeight = cWeight;
    logfont.lfItalic = static_cast<BYTE>(bItalic != 0);
    logfont.lfUnderline = static_cast<BYTE>(bUnderline != 0);
    logfont.lfStrikeOut = static_cast<BYTE>(bStrikeOut != 0);
    logfont.lfCharSet = static_cast<BYTE>(iCharSet);
    logfont.lfOutPrecision = static_cast<BYTE>(iOutPrecision);
    logfont.lfClipPrecision = static_cast<BYTE>(iClipPrecision);
    logfont.lfQuality = static_cast<BYTE>(iQuality);
    logfont.lfPitchAndFamily = static_cast<BYTE>(iPitchAndFamily);
    if (pszFaceName)
        std::strncpy(logfont.lfFaceName, pszFaceName, LF_FACESIZE - 1);
    return AddFont(logfont);
}

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lplf)
{
    if (!lplf)
        return Fail(ERROR_INVALID_PARAMETER, HFONT(nullptr));
    return AddFont(*lplf);
}

// The selected font's metrics.
BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA lptm)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    const Font* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (!lptm)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    const FontMetrics& m = font->Metrics();
    *lptm = { m.tmHeight,     m.tmAscent,         m.tmDescent,          m.tmInternalLeading, m.tmExternalLeading,
              m.tmAveCharWidth, m.tmMaxCharWidth, m.tmWeight,           m.tmOverhang,        m.tmDigitizedAspectX,
              m.tmDigitizedAspectY, m.tmFirstChar, m.tmLastChar,        m.tmDefaultChar,     m.tmBreakChar,
              m.tmItalic,       m.tmUnderlined,   m.tmStruckOut,        m.tmPitchAndFamily,  m.tmCharSet };
    return TRUE;
}

// Width = the sum of the selected font's advances, height = its cell height.
BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR lpString, int c, LPSIZE psizl)
{
    return TextExtent(hdc, lpString, c, psizl);
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR lpString, int c, LPSIZE lpsz)
{
    return TextExtent(hdc, lpString, c, lpsz);
}

// Draws the characters with the cell's top-left corner at (x, y); OPAQUE fills the cell with the
// background colour first. No ROP2 applies.
BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR lpString, int c)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    const Font* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (c < 0 || (c > 0 && !lpString))
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    Painter painter(*dc);
    Ink text = Ink::OfColor(*dc, painter.Target(), dc->textColor);
    Ink background = Ink::OfColor(*dc, painter.Target(), dc->bkColor);
    TextMask mask = font->Render(std::string_view(lpString ? lpString : "", static_cast<size_t>(c)));
    PaintMask(painter, mask, ClampCoord(0LL + x + dc->Origin().x), ClampCoord(0LL + y + dc->Origin().y), text,
              dc->bkMode == OPAQUE ? &background : nullptr);
    return TRUE;
}

// Lays the text out in the rectangle (line breaks, word wrap, '&' prefixes, alignment) and draws
// it, clipped to the rectangle unless DT_NOCLIP; OPAQUE fills each line's cell. DT_CALCRECT only
// measures, writing the bounds back. Returns the height of the text.
int WINAPI DrawTextA(HDC hdc, LPCSTR lpchText, int cchText, LPRECT lprc, UINT format)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    const Font* font = dc ? SelectedFont(*dc) : nullptr;
    if (!font)
        return Fail(ERROR_INVALID_HANDLE, 0);
    if (!lprc || (!lpchText && cchText != 0) || cchText < -1)
        return Fail(ERROR_INVALID_PARAMETER, 0);
    TextLayout layout(*font, lpchText ? lpchText : "", cchText, *lprc, format);
    if (format & DT_CALCRECT) {
        *lprc = layout.Bounds();
        return layout.Height();
    }
    POINT origin = dc->Origin();
    auto x = [&](long long v) { return ClampCoord(v + origin.x); };
    auto y = [&](long long v) { return ClampCoord(v + origin.y); };
    RegionData clip = dc->DeviceClip();
    if (!(format & DT_NOCLIP))
        clip = clip.Intersected({ x(lprc->left), y(lprc->top), x(lprc->right), y(lprc->bottom) });
    Painter painter(dc->Target(), clip);
    Ink text = Ink::OfColor(*dc, painter.Target(), dc->textColor);
    Ink background = Ink::OfColor(*dc, painter.Target(), dc->bkColor);
    for (const TextLine& line : layout.Lines()) {
        if (dc->bkMode == OPAQUE)
            painter.Rect({ x(line.x), y(line.y), x(0LL + line.x + line.width), y(0LL + line.y + layout.LineHeight()) },
                         background);
        for (const TextRun& run : line.runs)
            PaintMask(painter, font->Render(run.text, run.underlined), x(run.x), y(line.y), text, nullptr);
    }
    return layout.Height();
}
