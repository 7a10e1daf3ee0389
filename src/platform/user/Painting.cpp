#include "platform/user/Painting.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/WindowDc.h"
#include "platform/testing/Reset.h"
#include "platform/user/Geometry.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

#include <vector>

namespace pw::platform {

using gdi::RegionData;

namespace {

// Brush values up to this are COLOR_x + 1, as classes may name a system colour for a background.
constexpr uintptr_t kLastSystemColourBrush = COLOR_3DLIGHT + 1;
// Held DCs are checked for release once the list grows past this.
constexpr size_t kPruneAbove = 32;

struct HeldDc {
    HDC hdc;
    HWND hwnd;
    bool frame;
    std::optional<RegionData> clip;
    POINT offset {}; // frame DCs: the origin's place in the window // client coordinates (client DCs) or screen coordinates (frame DCs)
};

std::vector<HeldDc>& HeldDcs()
{
    static std::vector<HeldDc> held;
    return held;
}

const bool registered = testing::RegisterReset([] { HeldDcs().clear(); });

bool IsLiveDc(HDC hdc)
{
    return gdi::ObjectTable::Find<gdi::DeviceContext>(hdc) != nullptr;
}

void Prune()
{
    std::erase_if(HeldDcs(), [](const HeldDc& held) { return !IsLiveDc(held.hdc); });
}

// Where a held DC may draw now, in screen coordinates, and its origin.
RegionData VisibleFor(const HeldDc& held, POINT& origin)
{
    Window* window = WindowTable::Find(held.hwnd);
    if (!window) {
        origin = POINT {};
        return {};
    }
    if (held.frame) {
        RECT rect = ScreenRect(*window);
        origin = POINT { rect.left + held.offset.x, rect.top + held.offset.y };
        return RegionData::Combine(Visibility::OwnRegion(*window), held.clip.value_or(RegionData {}), gdi::kRgnAnd);
    }
    origin = ClientOrigin(*window);
    RegionData visible = Visibility::ClientRegion(*window);
    if (held.clip) {
        RegionData clip = *held.clip;
        clip.Offset(origin.x, origin.y);
        visible = RegionData::Combine(visible, clip, gdi::kRgnAnd);
    }
    return visible;
}

HDC MakeDc(HeldDc held)
{
    if (HeldDcs().size() > kPruneAbove)
        Prune();
    POINT origin {};
    RegionData visible = VisibleFor(held, origin);
    held.hdc = gdi::CreateWindowDC(held.hwnd, origin, visible);
    HeldDcs().push_back(std::move(held));
    return HeldDcs().back().hdc;
}

RECT ClientBounds(const Window& window)
{
    SIZE size = window.ClientSize();
    return RECT { 0, 0, size.cx, size.cy };
}

// GetDC(hwnd) comes here: the window's client DC.
const bool providerInstalled = [] {
    gdi::SetWindowDCProvider([](HWND hwnd) -> HDC {
        return WindowTable::Find(hwnd) ? Painting::ClientDC(hwnd, std::nullopt) : nullptr;
    });
    return true;
}();

} // namespace

void Painting::Invalidate(Window& window, const RegionData& clientRegion, bool erase)
{
    RegionData added = clientRegion.Intersected(ClientBounds(window));
    if (added.IsEmpty())
        return;
    window.update = RegionData::Combine(window.update, added, gdi::kRgnOr);
    window.erasePending |= erase;
}

void Painting::InvalidateAll(Window& window, bool erase)
{
    Invalidate(window, RegionData(ClientBounds(window)), erase);
}

void Painting::Validate(Window& window, const RegionData* clientRegion)
{
    window.update = clientRegion ? RegionData::Combine(window.update, *clientRegion, gdi::kRgnDiff) : RegionData {};
    if (window.update.IsEmpty())
        window.erasePending = false;
}

void Painting::Expose(Window& window, const RegionData& screenRegion)
{
    RECT client = ClientScreenRect(window);
    RegionData inClient = screenRegion.Intersected(client);
    if (!inClient.IsEmpty()) {
        inClient.Offset(-client.left, -client.top);
        Invalidate(window, inClient, true);
    }
    RegionData inFrame = RegionData::Combine(screenRegion, RegionData(client), gdi::kRgnDiff);
    if (!inFrame.IsEmpty())
        NonClientPainter::Paint(window.Handle());
}

HDC Painting::ClientDC(HWND hwnd, const std::optional<RegionData>& paintClip)
{
    return MakeDc(HeldDc { nullptr, hwnd, false, paintClip });
}

HDC Painting::FrameDC(HWND hwnd, const RegionData& screenClip, POINT offset)
{
    return MakeDc(HeldDc { nullptr, hwnd, true, screenClip, offset });
}

void Painting::RefreshWindowDCs()
{
    Prune();
    for (const HeldDc& held : HeldDcs()) {
        POINT origin {};
        RegionData visible = VisibleFor(held, origin);
        gdi::UpdateWindowDC(held.hdc, origin, visible);
    }
}

bool Painting::EraseWithClassBrush(HWND hwnd, HDC hdc)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window || !window->Class().Background())
        return false;
    HBRUSH brush = window->Class().Background();
    RECT bounds = ClientBounds(*window);
    auto value = reinterpret_cast<uintptr_t>(brush);
    if (value <= kLastSystemColourBrush) {
        HBRUSH solid = CreateSolidBrush(GetSysColor(static_cast<int>(value - 1)));
        FillRect(hdc, &bounds, solid);
        DeleteObject(solid);
        return true;
    }
    FillRect(hdc, &bounds, brush);
    return true;
}

} // namespace pw::platform
