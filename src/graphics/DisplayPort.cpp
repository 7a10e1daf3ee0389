// The port's lifetime, its clip and transform, and the queries that draw nothing.
#include "graphics/DisplayPort.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/DisplayDevice.h"
#include "graphics/Paint.h"
#include "graphics/PlatformConversions.h"
#include "graphics/Transform.h"

namespace {

// Ports are told apart by number, never 0, so that a later port at the same address is another.
uint32_t lastPortId = 0;

} // namespace

PW_DEFINE_CLASS(DisplayPort, nullptr, nullptr, SmartImplementation)

bool DisplayPort::CanCopyFrom(Smart* source)
{
    return SmartCast(source, &classInfo) != nullptr;
}

void DisplayPort::CopyFrom(Smart* source)
{
    DisplayPort* castPtr = static_cast<DisplayPort*>(SmartCast(source, &classInfo));
    if (!castPtr)
        AssertionFailed("castPtr", PW_HERE);
    *this = *castPtr;
}

Smart* DisplayPort::Copy() const
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

DisplayPort& DisplayPort::operator=(const DisplayPort&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return *this;
}

DisplayPort::DisplayPort(DisplayDevice& device, const Rect& rect, int32_t drawMode)
    : device(&device)
    , id(++lastPortId == 0 ? ++lastPortId : lastPortId)
{
    device.BeginDraw(drawMode);
    dc = device.GetHDC();
    clip = new Area(rect);
    ApplyClip();
}

// The outermost port takes its clip out of the context, so that nothing drawn on the device
// later without a port is clipped by it.
DisplayPort::~DisplayPort()
{
    if (dc && device->IsDrawing()) {
        SetBackground(dc, device->GetBackground());
        if (device->DrawingCount() == 1) {
            SelectClipRgn(dc, nullptr);
            device->SetClipOwner(0);
        } else if (device->ClipOwner() == id) {
            device->SetClipOwner(0);
        }
    }
    device->EndDraw();
}

bool DisplayPort::IsDrawing() const
{
    return device->IsDrawing();
}

HDC DisplayPort::GetHDC()
{
    return PrepareToDraw();
}

const Color& DisplayPort::GetBackground() const
{
    return device->GetBackground();
}

HDC DisplayPort::PrepareToDraw()
{
    if (!device->IsDrawing() || !dc)
        return nullptr;
    if (device->ClipOwner() != id)
        ApplyClip();
    return dc;
}

void DisplayPort::ApplyClip()
{
    if (!dc || !device->IsDrawing())
        return;
    HRGN region = clip.Valid() ? clip->GetRegion() : nullptr;
    int result = SelectClipRgn(dc, region);
    RECT box;
    GetClipBox(dc, &box);
    if (GetLastError() == ERROR_INVALID_PARAMETER)
        SetLastError(0);
    device->SetClipOwner(id);
    CheckCall(result != ERROR, PW_HERE);
}

void DisplayPort::ApplyTransform(Transform& other)
{
    if (!transform.Valid()) {
        SmartPtr<Smart> copy(other.Copy());
        transform = SmartCast<Transform>(copy.Get());
        return;
    }
    transform = transform->Combine(other);
}

Rect DisplayPort::MapRect(const Rect& rect) const
{
    return transform.Valid() ? transform->MapRect(rect, false) : rect;
}

Point DisplayPort::MapPoint(int32_t h, int32_t v) const
{
    return transform.Valid() ? transform->MapPoint(Point(h, v), false) : Point(h, v);
}

bool DisplayPort::MapArea(Area& area) const
{
    return transform.Valid() ? area.MapThrough(*transform.Get()) : true;
}

void DisplayPort::SetClip(const SmartPtr<Area>& area)
{
    if (area == clip)
        return;
    clip = area;
    ApplyClip();
}

void DisplayPort::NarrowClip(const Area& area)
{
    SmartPtr<Area> copy = new Area(area);
    if (transform.Valid())
        copy->MapThrough(*transform.Get());
    SetClip(clip.Valid() ? clip->Intersection(*copy.Get()) : copy);
}

void DisplayPort::TakeInvalidArea(const Area& within, Area& out)
{
    if (!IsDrawing())
        return;
    out = *device->InvalidArea().Get();
    if (device->ErasesOnUpdate())
        EraseArea(*within.Intersection(out).Get());
    device->Validate();
}

uint32_t DisplayPort::NearestPaletteIndex(const Color& color)
{
    HDC context = PrepareToDraw();
    if (!context)
        return 0;
    HGDIOBJ palette = GetCurrentObject(context, OBJ_PAL);
    CheckNotNull(palette, PW_HERE);
    UINT index = GetNearestPaletteIndex(static_cast<HPALETTE>(palette), ColorToOSColor(color));
    CheckCall(index != CLR_INVALID, PW_HERE);
    return index;
}

void DisplayPort::DrawPictureData(const void*, const Rect& rect)
{
    MapRect(rect);
    Exception::Warn(kNotImplemented, PW_HERE);
}

Rect DisplayPort::PictureBounds(uint16_t* screenDepth)
{
    if (screenDepth)
        *screenDepth = ScreenDepth();
    Exception::Warn(kNotImplemented, PW_HERE);
    return Rect(0, 0, 0, 0);
}

uint16_t ScreenDepth()
{
    HDC screen = GetDC(nullptr);
    int depth = GetDeviceCaps(screen, BITSPIXEL);
    CheckNonZero(static_cast<uintptr_t>(ReleaseDC(nullptr, screen)), PW_HERE);
    return static_cast<uint16_t>(depth);
}
