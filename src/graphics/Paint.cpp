#include "graphics/Paint.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/ColorPaint.h"
#include "graphics/PlatformConversions.h"

namespace {

// One brush and one pen selection may be outstanding at a time, on the one GUI thread.
HGDIOBJ savedBrush = nullptr;
HGDIOBJ savedPen = nullptr;

void Restore(HDC dc, HGDIOBJ& saved)
{
    HGDIOBJ current = SelectObject(dc, saved);
    saved = nullptr;
    if (current)
        DeleteObject(current);
}

} // namespace

void Paint::SaveBrush(HGDIOBJ previous)
{
    savedBrush = previous;
}

void Paint::SavePen(HGDIOBJ previous)
{
    savedPen = previous;
}

void Paint::RestoreBrush(HDC dc)
{
    Restore(dc, savedBrush);
}

void Paint::RestorePen(HDC dc)
{
    Restore(dc, savedPen);
}

bool Paint::SelectSolidPen(HDC dc, const Color& color, int32_t width)
{
    HGDIOBJ pen = IsNoColor(color) ? GetStockObject(NULL_PEN) : CreatePen(PS_SOLID, width, ColorToOSColor(color));
    CheckNotNull(pen, PW_HERE);
    SavePen(SelectObject(dc, pen));
    return true;
}

void ResetDrawingState(HDC dc)
{
    COLORREF background = ColorToOSColor(Color(0));
    COLORREF text = ColorToOSColor(Color(1));
    if (GetROP2(dc) != R2_COPYPEN)
        SetROP2(dc, R2_COPYPEN);
    if (GetBkColor(dc) != background)
        SetBkColor(dc, background);
    if (GetTextColor(dc) != text)
        SetTextColor(dc, text);
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(0);
}

void SetBackground(HDC dc, const Color& color)
{
    ResetDrawingState(dc);
    COLORREF background = ColorToOSColor(color);
    if (GetBkColor(dc) != background)
        SetBkColor(dc, background);
}

BrushSelector::BrushSelector(Paint& paint, HDC dc)
    : dc(dc)
    , paint(paint)
{
    if (!dc)
        AssertionFailed("display", PW_HERE);
    selected = paint.SelectAsBrush(dc);
}

BrushSelector::~BrushSelector()
{
    if (selected)
        paint.ReleaseBrush(dc);
}

PenSelector::PenSelector(Paint& paint, HDC dc, int32_t width)
    : dc(dc)
    , paint(paint)
{
    if (!dc)
        AssertionFailed("display", PW_HERE);
    selected = paint.SelectAsPen(dc, width);
}

PenSelector::~PenSelector()
{
    if (selected)
        paint.ReleasePen(dc);
}
