#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/Color.h"

#include <windows.h>

#include <cstdint>

// A colour or pattern handed to GDI for one drawing call, as the DC's brush or its pen. Selecting
// saves what the DC held in one program-wide slot per kind, and releasing puts it back, so a
// selection of a kind must be released before the next one of that kind is made (the selectors
// below keep that order). Paints answer their base's class record.
class Paint : public SmartImplementation {
public:
    // True when something was selected and must be released.
    virtual bool SelectAsBrush(HDC dc) = 0;
    virtual bool SelectAsPen(HDC dc, int32_t width) = 0;
    virtual void ReleaseBrush(HDC dc) = 0;
    virtual void ReleasePen(HDC dc) = 0;

protected:
    Paint() = default;

    // The program-wide slots: what the DC held before the current brush and pen.
    static void SaveBrush(HGDIOBJ previous);
    static void SavePen(HGDIOBJ previous);
    // Selects the saved object back and deletes what comes out (stock objects stay).
    static void RestoreBrush(HDC dc);
    static void RestorePen(HDC dc);
    // Selects a solid pen of `color` and `width` (the null pen for no colour), saving the old one.
    static bool SelectSolidPen(HDC dc, const Color& color, int32_t width);
};

// ROP2 R2_COPYPEN, background colour standard colour 0 and text colour standard colour 1, each set
// only when the DC holds another value; a last error 87 left behind is cleared.
void ResetDrawingState(HDC dc);
// ResetDrawingState, then the background colour `color` when the DC holds another.
void SetBackground(HDC dc, const Color& color);

// Selects a paint as the DC's brush for its lifetime. A null DC fails the assertion "display".
class BrushSelector {
public:
    BrushSelector(Paint& paint, HDC dc);
    ~BrushSelector();
    BrushSelector(const BrushSelector&) = delete;
    BrushSelector& operator=(const BrushSelector&) = delete;

private:
    HDC dc;
    Paint& paint;
    bool selected;
};

// Selects a paint as the DC's pen of `width` for its lifetime. A null DC fails "display".
class PenSelector {
public:
    PenSelector(Paint& paint, HDC dc, int32_t width);
    ~PenSelector();
    PenSelector(const PenSelector&) = delete;
    PenSelector& operator=(const PenSelector&) = delete;

private:
    HDC dc;
    Paint& paint;
    bool selected;
};
