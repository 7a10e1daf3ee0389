#pragma once

#include "authoring/tools/CTool.h"

#include <cstdint>

class Paint;

// Tool 113, the shape tool: rectangles, rounded rectangles and ovals, outlined thin or thick or
// filled, free or kept square. Its 18 options form a grid of 6 rows by 3 columns numbered row by
// row: the columns are thin, thick and filled; odd rows keep the figure square; rows 0-1 are
// rectangles, 2-3 rounded rectangles, 4-5 ovals. The shape task tells it every track step and
// asks it to draw the figure spanned by two points; the line tool derives from it.
class CShapeTool : public CTool {
public:
    static constexpr int16_t kShapeOptions = 18;

    CShapeTool();

    // Options outside 1..18 are ignored.
    void SetOption(int16_t kind, int16_t value) override;
    int16_t GetOption(int16_t kind) override;
    int16_t CountOptions(int16_t) override { return kShapeOptions; }
    // The figure of the current option in the cell, inset by 4 (and flattened unless square).
    void Apply(DisplayPort& port, const Rect& rect) override;

    // May move `current`: while keeping square differs from the shift key, onto the square (or
    // 45-degree line) through `start` nearest it.
    virtual void TrackShape(Point& current, Point previous, Point start, BitFlags modifiers);
    // `rect` is the rectangle the two points span.
    virtual void DrawShape(DisplayPort& port, const Rect& rect, Point from, Point to, BitFlags modifiers);

    // Whether the figure is kept square; with `toggle` the flag flips first.
    bool IsSquare(bool toggle);

    // The pen width the shape and line tools share, in pixels.
    static int16_t& PenWidth();
    // The outline pen of rubber-band feedback: standard pattern 3, which selects no pen of its
    // own, so the device context's pen (one pixel of black) draws.
    static Paint& OutlinePen();

protected:
    // For tools that draw other figures between two points.
    using CTool::CTool;

    // The paint the figures are drawn in: patterned when filled or thick.
    SmartPtr<Paint> MakeFill() const;
    // Whether the constraint applies: keeping square differs from the shift key.
    bool Constrained(BitFlags modifiers) { return IsSquare(false) != modifiers.IsSet(0); }

private:
    static constexpr uint8_t kFilled = 0x01;
    static constexpr uint8_t kSquare = 0x02;
    static constexpr uint8_t kThick = 0x04;

    uint8_t flags { 0 };
    // 0 rectangle, 1 rounded rectangle, 2 oval.
    int16_t shapeKind { 0 };
};
