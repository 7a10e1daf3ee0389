#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/Bitmap.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/Palette.h"
#include "platform/gdi/Screen.h"

namespace pw::platform::gdi {

DeviceContext::DeviceContext(Type type, HWND window)
    : GdiObject(kKind)
    , type(type)
    , window(window)
{
    // The documented defaults of a new DC.
    for (int stock : { BLACK_PEN, WHITE_BRUSH, SYSTEM_FONT, DEFAULT_PALETTE })
        Select(*ObjectTable::Find(ObjectTable::Stock(stock)));
    if (type == Type::Memory)
        Select(*ObjectTable::Find(ObjectTable::DefaultBitmap()));
}

HGDIOBJ DeviceContext::Select(GdiObject& object)
{
    HGDIOBJ* slot = nullptr;
    switch (object.Kind()) {
    case ObjectKind::Pen:
        slot = &pen;
        break;
    case ObjectKind::Brush:
        slot = &brush;
        break;
    case ObjectKind::Font:
        slot = &font;
        break;
    case ObjectKind::Palette:
        slot = &palette;
        break;
    case ObjectKind::Bitmap:
        slot = &bitmap;
        deviceClip.reset();
        break;
    default:
        return nullptr;
    }
    HGDIOBJ previous = *slot;
    if (previous == object.Handle())
        return previous;
    Deselect(previous);
    *slot = object.Handle();
    ++object.selections;
    if (object.Kind() == ObjectKind::Bitmap && !object.IsStock())
        static_cast<Bitmap&>(object).selectedInto = reinterpret_cast<HDC>(Handle());
    return previous;
}

void DeviceContext::Deselect(HGDIOBJ handle)
{
    GdiObject* object = ObjectTable::Find(handle);
    if (!object)
        return;
    --object->selections;
    if (object->Kind() == ObjectKind::Bitmap)
        static_cast<Bitmap*>(object)->selectedInto = nullptr;
}

void DeviceContext::ReleaseSelections()
{
    for (HGDIOBJ handle : { pen, brush, font, palette, bitmap })
        Deselect(handle);
    pen = nullptr;
    brush = nullptr;
    font = nullptr;
    palette = nullptr;
    bitmap = nullptr;
}

void DeviceContext::SetVisible(POINT newOrigin, RegionData newVisible)
{
    origin = newOrigin;
    visible = std::move(newVisible);
    deviceClip.reset();
}

void DeviceContext::SetClip(std::optional<RegionData> newClip)
{
    clip = std::move(newClip);
    deviceClip.reset();
}

Bitmap* DeviceContext::SelectedBitmap() const
{
    return type == Type::Memory ? ObjectTable::Find<Bitmap>(bitmap) : nullptr;
}

const Palette& DeviceContext::SelectedPalette() const
{
    if (Palette* selected = ObjectTable::Find<Palette>(palette))
        return *selected;
    return *ObjectTable::Find<Palette>(ObjectTable::Stock(DEFAULT_PALETTE));
}

Surface DeviceContext::Target() const
{
    if (type != Type::Memory)
        return Screen::GetSurface();
    Bitmap* selected = SelectedBitmap();
    return selected ? selected->GetSurface() : Surface {};
}

const RegionData& DeviceContext::DeviceClip() const
{
    Surface target = Target();
    // The screen can be made again at another size (a test's screen override).
    if (deviceClip && (clipSize.cx != target.width || clipSize.cy != target.height))
        deviceClip.reset();
    if (!deviceClip) {
        clipSize = { target.width, target.height };
        RegionData region(0, 0, target.width, target.height);
        if (visible)
            region = RegionData::Combine(region, *visible, kRgnAnd);
        if (clip) {
            RegionData moved = *clip;
            if (moved.Offset(origin.x, origin.y))
                region = RegionData::Combine(region, moved, kRgnAnd);
            else
                region = RegionData();
        }
        deviceClip = std::move(region);
    }
    return *deviceClip;
}

RegionData DeviceContext::LogicalClip() const
{
    RegionData region = DeviceClip();
    if (!region.Offset(-origin.x, -origin.y))
        return RegionData();
    return region;
}

COLORREF DeviceContext::Resolve(COLORREF color) const
{
    const Palette& selected = SelectedPalette();
    switch (color >> 24) {
    case 0x01: {
        size_t index = color & 0xFFFF;
        if (selected.entries.empty())
            return 0;
        const PALETTEENTRY& entry = selected.entries[index < selected.entries.size() ? index : 0];
        return RGB(entry.peRed, entry.peGreen, entry.peBlue);
    }
    case 0x02: {
        // A memory DC without a palette of its own matches the colour against its bitmap alone:
        // going through the 20 colours of the default palette first would throw most colours away.
        if (type == Type::Memory && selected.IsStock())
            return color & 0xFFFFFF;
        int index = NearestIndex(selected.entries, color);
        if (index < 0)
            return color & 0xFFFFFF;
        const PALETTEENTRY& entry = selected.entries[static_cast<size_t>(index)];
        return RGB(entry.peRed, entry.peGreen, entry.peBlue);
    }
    default:
        return color & 0xFFFFFF;
    }
}

} // namespace pw::platform::gdi
