#include "authoring/tools/CShapeTool.h"

#include "authoring/palettes/CToolsDir.h"
#include "authoring/resources/KidResources.h"
#include "authoring/tools/CDropperTool.h"
#include "graphics/ColorPaint.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "graphics/PatternPaint.h"

#include <algorithm>
#include <cstdlib>

CShapeTool::CShapeTool()
    : CTool(113, KidResources::Lookup(34), true, nullptr)
{
}

int16_t& CShapeTool::PenWidth()
{
    static int16_t width = 1;
    return width;
}

Paint& CShapeTool::OutlinePen()
{
    static PatternPaint pen { Pattern(3) };
    return pen;
}

void CShapeTool::SetOption(int16_t, int16_t value)
{
    if (value < 1 || value > kShapeOptions)
        return;
    int row = (value - 1) / 3;
    int column = (value - 1) % 3;
    flags = 0;
    if (column == 1)
        flags |= kThick;
    else if (column == 2)
        flags |= kFilled;
    if (row % 2 == 1)
        flags |= kSquare;
    shapeKind = static_cast<int16_t>(row / 2);
}

int16_t CShapeTool::GetOption(int16_t)
{
    int square = (flags & kSquare) != 0 ? 1 : 0;
    int filled = (flags & kFilled) != 0 ? 2 : 0;
    int thick = (flags & kThick) != 0 ? 1 : 0;
    return static_cast<int16_t>((shapeKind * 2 + square) * 3 + filled + thick + 1);
}

bool CShapeTool::IsSquare(bool toggle)
{
    if (toggle)
        flags ^= kSquare;
    return (flags & kSquare) != 0;
}

void CShapeTool::Apply(DisplayPort& port, const Rect& rect)
{
    Rect cell(rect.left + 4, rect.top + 4, rect.right - 4, rect.bottom - 4);
    if (!IsSquare(false)) {
        cell.top += 4;
        cell.bottom -= 4;
    }
    int16_t saved = PenWidth();
    if ((flags & kThick) != 0)
        PenWidth() = 3;
    DrawShape(port, cell, cell.TopLeft(), cell.BottomRight(), BitFlags());
    PenWidth() = saved;
}

void CShapeTool::TrackShape(Point& current, Point, Point start, BitFlags modifiers)
{
    if (!Constrained(modifiers))
        return;
    int32_t d = std::min(std::abs(current.h - start.h), std::abs(current.v - start.v));
    current.h = current.h <= start.h ? start.h - d : start.h + d;
    current.v = current.v <= start.v ? start.v - d : start.v + d;
}

SmartPtr<Paint> CShapeTool::MakeFill() const
{
    return CToolsDir::GetDropperTool()->MakeFill((flags & (kFilled | kThick)) != 0);
}

void CShapeTool::DrawShape(DisplayPort& port, const Rect&, Point from, Point to, BitFlags)
{
    Rect spanned(std::min(from.h, to.h), std::min(from.v, to.v), std::max(from.h, to.h), std::max(from.v, to.v));
    SmartPtr<Paint> fill = MakeFill();
    ColorPaint none(Color(13));
    bool filled = (flags & kFilled) != 0;
    Paint& brush = filled ? *fill.Get() : none;
    Paint& pen = filled ? static_cast<Paint&>(none) : *fill.Get();
    int32_t width = filled ? 1 : ((flags & kThick) != 0 ? std::max<int32_t>(PenWidth(), 3) : 1);
    if (shapeKind == 2) {
        port.DrawOval(spanned, brush, pen, width);
    } else if (shapeKind == 1) {
        Point size = spanned.Size();
        int32_t corner = std::min(std::max(size.h / 2, 10), std::max(size.v / 2, 10));
        port.DrawRoundRect(spanned, corner, corner, brush, pen, width);
    } else {
        port.DrawRectangle(spanned, brush, pen, width);
    }
}
