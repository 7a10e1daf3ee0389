#include "authoring/tools/CEraserTool.h"

#include "authoring/resources/KidResources.h"
#include "foundation/Exception.h"
#include "graphics/DisplayPort.h"

PW_DEFINE_CLASS(CEraserTool, nullptr, nullptr, CPenTool)

namespace {

// By size index 1 to 20; index 8 repeats index 4.
constexpr Point kEraserSizes[CEraserTool::kSizes] = { { 4, 4 }, { 8, 8 }, { 12, 12 }, { 16, 16 }, { 20, 20 }, { 24, 24 },
    { 32, 32 }, { 16, 16 }, { 8, 4 }, { 12, 4 }, { 16, 4 }, { 20, 4 }, { 24, 4 }, { 32, 4 }, { 4, 8 }, { 4, 12 },
    { 4, 16 }, { 4, 20 }, { 4, 24 }, { 4, 32 } };

} // namespace

CEraserTool::CEraserTool()
    : CPenTool(109, KidResources::Lookup(32))
{
}

bool CEraserTool::CanCopyFrom(Smart* source)
{
    return SmartCast<CEraserTool>(source) != nullptr;
}

void CEraserTool::CopyFrom(Smart* source)
{
    CEraserTool* other = SmartCast<CEraserTool>(source);
    if (!other)
        AssertionFailed("castPtr", PW_HERE);
    sizeIndex = other->sizeIndex;
}

Smart* CEraserTool::Copy() const
{
    auto* copy = new CEraserTool;
    copy->sizeIndex = sizeIndex;
    return copy;
}

void CEraserTool::SetOption(int16_t, int16_t value)
{
    if (value >= 1 && value <= kSizes)
        sizeIndex = value;
}

Point CEraserTool::GetSize() const
{
    return kEraserSizes[sizeIndex - 1];
}

void CEraserTool::Apply(DisplayPort& port, const Rect& rect)
{
    Point size = GetSize();
    Point centre = rect.Center();
    Rect shown(centre.h - size.h / 2, centre.v - size.v / 2, 0, 0);
    shown.right = shown.left + size.h;
    shown.bottom = shown.top + size.v;
    port.DrawRectangle(shown, Color(1), Color(1), 1);
}

Rect CEraserTool::GetPenBounds()
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return Rect(0, 0, 0, 0);
}
