#include "authoring/tools/CLineTool.h"

#include "authoring/resources/KidResources.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"

#include <array>
#include <cstdlib>

namespace {

constexpr std::array<int16_t, 6> kWidths = { 1, 2, 4, 8, 12, 16 };

} // namespace

CLineTool::CLineTool()
    : CShapeTool(106, KidResources::Lookup(35), true, nullptr)
{
}

int16_t CLineTool::Width(int16_t option)
{
    return kWidths[static_cast<size_t>(option - 1)];
}

void CLineTool::SetOption(int16_t, int16_t value)
{
    if (value < 1 || value > kLineOptions)
        return;
    PenWidth() = Width(value);
}

int16_t CLineTool::GetOption(int16_t)
{
    for (int16_t option = 1; option < kLineOptions; ++option) {
        if (Width(option) >= PenWidth())
            return option;
    }
    return kLineOptions;
}

void CLineTool::Apply(DisplayPort& port, const Rect& rect)
{
    Rect cell(rect.left + 4, rect.top + 4, rect.right - 4, rect.bottom - 4);
    int32_t width = PenWidth();
    int32_t middle = (cell.top + cell.bottom - width) / 2;
    DrawShape(port, cell, Point(cell.left, middle), Point(cell.right - width, middle), BitFlags());
}

void CLineTool::DrawShape(DisplayPort& port, const Rect&, Point from, Point to, BitFlags modifiers)
{
    int32_t width = PenWidth() == 0 ? 1 : PenWidth();
    SmartPtr<Paint> fill = MakeFill();
    Point end = from;
    if (Constrained(modifiers)) {
        int16_t dx = static_cast<int16_t>(std::abs(from.h - to.h));
        int16_t dy = static_cast<int16_t>(std::abs(from.v - to.v));
        int32_t third = dx / 3;
        if (-third < dx - dy && dx - dy < third)
            end = Point(to.h + (from.h < to.h ? -dx : dx), to.v + (from.v < to.v ? -dx : dx));
        else if (dy < dx)
            end = Point(from.h, to.v);
        else
            end = Point(to.h, from.v);
    }
    port.DrawLine(to.h, to.v, end.h, end.v, *fill.Get(), width);
}
