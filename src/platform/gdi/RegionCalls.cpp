// Regions and the clip region of a DC.
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RegionObject.h"
#include "platform/kernel/LastError.h"

#include <algorithm>

using pw::platform::Fail;
using namespace pw::platform::gdi;

namespace {

HRGN AddRegion(RegionData data)
{
    return static_cast<HRGN>(ObjectTable::Add(std::make_shared<RegionObject>(std::move(data))));
}

} // namespace

// [x1, x2) x [y1, y2), the corners taken in either order; an empty rectangle gives an empty region.
HRGN WINAPI CreateRectRgn(int x1, int y1, int x2, int y2)
{
    return AddRegion(RegionData(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)));
}

// The pixels a polygon fill of that mode covers.
HRGN WINAPI CreatePolygonRgn(const POINT* pptl, int cPoint, int iMode)
{
    if ((!pptl && cPoint > 0) || cPoint < 0 || (iMode != ALTERNATE && iMode != WINDING))
        return Fail(ERROR_INVALID_PARAMETER, HRGN(nullptr));
    return AddRegion(RegionData::FromPolygon(pptl, cPoint, iMode == WINDING ? kWinding : kAlternate));
}

// dst = a op b (b unused for RGN_COPY); dst may be a or b. Returns the result's type, ERROR on
// failure.
int WINAPI CombineRgn(HRGN hrgnDst, HRGN hrgnSrc1, HRGN hrgnSrc2, int iMode)
{
    RegionObject* dst = ObjectTable::Find<RegionObject>(hrgnDst);
    RegionObject* a = ObjectTable::Find<RegionObject>(hrgnSrc1);
    RegionObject* b = iMode == RGN_COPY ? a : ObjectTable::Find<RegionObject>(hrgnSrc2);
    if (iMode < RGN_AND || iMode > RGN_COPY)
        return Fail(ERROR_INVALID_PARAMETER, ERROR);
    if (!dst || !a || !b)
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    dst->data = RegionData::Combine(a->data, b->data, iMode);
    return dst->data.Type();
}

// Moves the region; ERROR (and no change) when it would leave the coordinate range.
int WINAPI OffsetRgn(HRGN hrgn, int x, int y)
{
    RegionObject* region = ObjectTable::Find<RegionObject>(hrgn);
    if (!region)
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    if (!region->data.Offset(x, y))
        return Fail(ERROR_INVALID_PARAMETER, ERROR);
    return region->data.Type();
}

// The bounding box ((0, 0, 0, 0) when empty) and the type.
int WINAPI GetRgnBox(HRGN hrgn, LPRECT lprc)
{
    RegionObject* region = ObjectTable::Find<RegionObject>(hrgn);
    if (!region)
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    if (!lprc)
        return Fail(ERROR_INVALID_PARAMETER, ERROR);
    *lprc = region->data.Box();
    return region->data.Type();
}

BOOL WINAPI PtInRegion(HRGN hrgn, int x, int y)
{
    RegionObject* region = ObjectTable::Find<RegionObject>(hrgn);
    if (!region)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    return region->data.Contains(x, y) ? TRUE : FALSE;
}

BOOL WINAPI EqualRgn(HRGN hrgn1, HRGN hrgn2)
{
    RegionObject* a = ObjectTable::Find<RegionObject>(hrgn1);
    RegionObject* b = ObjectTable::Find<RegionObject>(hrgn2);
    if (!a || !b)
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    return a->data == b->data ? TRUE : FALSE;
}

// Copies the region (logical coordinates) in as the DC's clip, replacing any clip it had; NULL
// removes the clip. Returns the type of the effective clip.
int WINAPI SelectClipRgn(HDC hdc, HRGN hrgn)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    RegionObject* region = ObjectTable::Find<RegionObject>(hrgn);
    if (!dc || (hrgn && !region))
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    dc->SetClip(region ? std::optional<RegionData>(region->data) : std::nullopt);
    return dc->DeviceClip().Type();
}

// The bounding box of the effective clip in logical coordinates, and its type.
int WINAPI GetClipBox(HDC hdc, LPRECT lprect)
{
    DeviceContext* dc = ObjectTable::Find<DeviceContext>(hdc);
    if (!dc)
        return Fail(ERROR_INVALID_HANDLE, ERROR);
    if (!lprect)
        return Fail(ERROR_INVALID_PARAMETER, ERROR);
    RegionData clip = dc->LogicalClip();
    *lprect = clip.Box();
    return clip.Type();
}
