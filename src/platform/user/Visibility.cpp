#include "platform/user/Visibility.h"

#include "platform/gdi/Screen.h"
#include "platform/user/Geometry.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

namespace pw::platform {

using gdi::RegionData;

namespace {

RECT ScreenBounds()
{
    const gdi::ScreenSettings& screen = gdi::Screen::Settings();
    return RECT { 0, 0, screen.width, screen.height };
}

// Subtracts the shown windows in `siblings` that lie above `hwnd` (all of them when `hwnd` is null).
void SubtractAbove(RegionData& region, const std::vector<HWND>& siblings, HWND hwnd)
{
    for (HWND sibling : siblings) {
        if (sibling == hwnd)
            return;
        const Window* other = WindowTable::Find(sibling);
        if (other && IsShown(*other))
            region = RegionData::Combine(region, RegionData(ScreenRect(*other)), gdi::kRgnDiff);
        if (region.IsEmpty())
            return;
    }
}

HWND DeepestAt(HWND parent, POINT screen)
{
    for (HWND hwnd : ZOrder::Siblings(parent)) {
        const Window* window = WindowTable::Find(hwnd);
        if (!window || !IsShown(*window) || !PointInRect(ScreenRect(*window), screen))
            continue;
        // A disabled child is passed over: its parent gets the input.
        if (parent && (window->style & WS_DISABLED))
            continue;
        if (!(window->style & WS_DISABLED) && PointInRect(ClientScreenRect(*window), screen)) {
            if (HWND child = DeepestAt(hwnd, screen))
                return child;
        }
        return hwnd;
    }
    return nullptr;
}

} // namespace

RegionData Visibility::WindowRegion(const Window& window)
{
    if (!IsShown(window))
        return {};
    RECT rect = IntersectRects(ScreenRect(window), ScreenBounds());
    for (const Window* parent = WindowTable::Find(window.ParentWindow()); parent;
         parent = WindowTable::Find(parent->ParentWindow()))
        rect = IntersectRects(rect, ClientScreenRect(*parent));
    RegionData region(rect);
    for (const Window* level = &window; level && !region.IsEmpty(); level = WindowTable::Find(level->ParentWindow()))
        SubtractAbove(region, ZOrder::Siblings(level->ParentWindow()), level->Handle());
    return region;
}

RegionData Visibility::OwnRegion(const Window& window)
{
    RegionData region = WindowRegion(window);
    if (!region.IsEmpty())
        SubtractAbove(region, ZOrder::Siblings(window.Handle()), nullptr);
    return region;
}

RegionData Visibility::ClientRegion(const Window& window)
{
    return OwnRegion(window).Intersected(ClientScreenRect(window));
}

RegionData Visibility::FrameRegion(const Window& window)
{
    return RegionData::Combine(OwnRegion(window), RegionData(ClientScreenRect(window)), gdi::kRgnDiff);
}

RegionData Visibility::DesktopRegion()
{
    RegionData region(ScreenBounds());
    SubtractAbove(region, ZOrder::Siblings(nullptr), nullptr);
    return region;
}

HWND Visibility::WindowAt(POINT screen)
{
    if (!PointInRect(ScreenBounds(), screen))
        return nullptr;
    return DeepestAt(nullptr, screen);
}

} // namespace pw::platform
