#pragma once

#include "authoring/tools/CTool.h"

// What the shape task asks of the tools that draw a figure between two points (rectangles, ovals,
// lines): told of every track step first, then asked to draw the figure spanned by the two points.
// The concrete shape tools derive from it; it answers CTool's class record.
class CShapeTool : public CTool {
public:
    // May move `current` (a constraint such as keeping the figure square).
    virtual void TrackShape(Point& current, Point previous, Point start, BitFlags modifiers) = 0;
    // `rect` is the rectangle the two points span.
    virtual void DrawShape(DisplayPort& port, const Rect& rect, Point from, Point to, BitFlags modifiers) = 0;

protected:
    using CTool::CTool;
};
