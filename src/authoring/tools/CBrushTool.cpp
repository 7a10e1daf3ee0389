#include "authoring/tools/CBrushTool.h"

#include "authoring/resources/KidResources.h"
#include "authoring/tools/CDropperTool.h"
#include "foundation/Exception.h"
#include "foundation/Resources.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/Paint.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"
#include "ui/Cursor.h"

#include <algorithm>

PW_DEFINE_CLASS(CBrushTool, nullptr, nullptr, CPenTool)

CBrushTool::CBrushTool(const SmartPtr<CDropperTool>& dropper)
    : CPenTool(102, KidResources::Lookup(31))
    , dropper(dropper)
{
    if (!dropper.Valid())
        AssertionFailed("dropper != NULL", PW_HERE);
    SetOption(0, 6);
}

CBrushTool::~CBrushTool() = default;

bool CBrushTool::CanCopyFrom(Smart* source)
{
    return SmartCast<CBrushTool>(source) != nullptr;
}

void CBrushTool::CopyFrom(Smart* source)
{
    CBrushTool* other = SmartCast<CBrushTool>(source);
    if (!other)
        AssertionFailed("castPtr", PW_HERE);
    dropper = other->dropper;
    brushIndex = other->brushIndex;
    brushImages = other->brushImages;
    brushBounds = other->brushBounds;
    UpdateCursor();
}

Smart* CBrushTool::Copy() const
{
    auto* copy = new CBrushTool(dropper);
    copy->CopyFrom(const_cast<CBrushTool*>(this));
    return copy;
}

void CBrushTool::SetOption(int16_t, int16_t value)
{
    auto wanted = static_cast<uint16_t>(value);
    brushIndex = wanted == 0 ? 1 : std::min<int32_t>(wanted, kBrushes);
    UpdateCursor();
    Changed();
}

void CBrushTool::UpdateCursor()
{
    auto offset = static_cast<int16_t>(std::min(brushIndex + 99, 119));
    SmartPtr<Smart> loaded = KidResources::AuthoringSet().GetCursor(offset);
    SetToolCursor(SmartPtr<Cursor>(SmartCast<Cursor>(loaded.Get())));
}

SmartPtr<BitMap> CBrushTool::GetBrushImage()
{
    SmartPtr<BitMap>& image = brushImages[static_cast<size_t>(brushIndex - 1)];
    if (image.Valid())
        return image;
    SmartPtr<Cursor> cursor = GetToolCursor();
    if (!cursor.Valid())
        return nullptr;
    Point hotSpot(0, 0);
    SmartPtr<BitMap> picture = cursor->GetImage(hotSpot);
    uint32_t white = 0;
    picture->GetColorTable()->Convert(Color(0), white);
    Point at = BitMap::CropToContent(picture, white);
    if (!picture.Valid())
        return nullptr;
    Rect bounds = picture->GetBounds();
    bounds.Offset(at.h - hotSpot.h, at.v - hotSpot.v);
    brushBounds[static_cast<size_t>(brushIndex - 1)] = bounds;
    image = picture;
    return image;
}

Rect CBrushTool::GetPenBounds()
{
    if (!GetBrushImage().Valid())
        return Rect(0, 0, 0, 0);
    return brushBounds[static_cast<size_t>(brushIndex - 1)];
}

void CBrushTool::Stamp(DisplayPort& port, int32_t h, int32_t v)
{
    SmartPtr<BitMap> image = GetBrushImage();
    if (!image.Valid())
        return;
    // The mask's pixel (0, 0) is the brush rectangle's top-left corner.
    Rect bounds = brushBounds[static_cast<size_t>(brushIndex - 1)];
    Translation toHotPoint(h + bounds.left, v + bounds.top);
    PortSaverTransform saver(port, toHotPoint);
    SmartPtr<Paint> fill = dropper->MakeFill(true);
    port.PaintBitMap(*image.Get(), *fill.Get());
}

void CBrushTool::Apply(DisplayPort& port, const Rect& rect)
{
    Rect bounds = GetPenBounds();
    Point centre = rect.Center();
    Point middle = bounds.Center();
    Stamp(port, centre.h - middle.h, centre.v - middle.v);
}

void CBrushTool::FlushBrushes()
{
    for (SmartPtr<BitMap>& image : brushImages)
        image = nullptr;
}
