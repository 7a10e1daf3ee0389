// A device context: the drawing state of one HDC and the surface it draws on.
//
// Three kinds exist. The screen DC (GetDC(NULL)) covers the whole desktop. A window DC is the
// screen seen through a window: logical (0, 0) sits at `Origin()` on the screen and drawing is
// limited to a visible region in screen coordinates (the window's visible client area, or that
// and the update region inside BeginPaint). A memory DC draws on the bitmap selected into it (at
// first the shared 1 x 1 monochrome bitmap).
//
// Rectangles are [left, right) x [top, bottom); logical coordinates are device coordinates moved
// by the origin (no mapping modes). The effective clip in device coordinates is the surface, cut
// to the visible region, cut to the selected clip region moved by the origin.
#pragma once

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"

#include <optional>

namespace pw::platform::gdi {

class Bitmap;
class Palette;

class DeviceContext : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Dc;

    enum class Type { Screen, Window, Memory };

    DeviceContext(Type type, HWND window);

    const Type type;
    const HWND window;

    // Puts `object` in the slot of its kind (pen, brush, font, bitmap, palette) and returns the
    // handle it replaces; keeps the objects' selection counts. Callers check the kind first.
    HGDIOBJ Select(GdiObject& object);
    // Drops every selection (DeleteDC): the objects become deletable again.
    void ReleaseSelections();

    HGDIOBJ pen = nullptr;
    HGDIOBJ brush = nullptr;
    HGDIOBJ font = nullptr;
    HGDIOBJ palette = nullptr;
    HGDIOBJ bitmap = nullptr;

    int rop2 = R2_COPYPEN;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    int stretchMode = BLACKONWHITE;
    POINT brushOrigin {};
    POINT position {};

    POINT Origin() const { return origin; }
    // Window DCs: where logical (0, 0) lies and what of the screen may be drawn, in screen
    // coordinates.
    void SetVisible(POINT origin, RegionData visible);
    const std::optional<RegionData>& Visible() const { return visible; }
    // The selected clip region in logical coordinates; none means no clip.
    void SetClip(std::optional<RegionData> clip);

    Surface Target() const;
    Bitmap* SelectedBitmap() const;
    const Palette& SelectedPalette() const;
    // The effective clip in device coordinates.
    const RegionData& DeviceClip() const;
    // The effective clip in logical coordinates.
    RegionData LogicalClip() const;

    // The plain RGB colour a colour reference stands for in this DC: palette-relative and
    // palette-index references go through the selected palette.
    COLORREF Resolve(COLORREF color) const;

private:
    void Deselect(HGDIOBJ handle);

    POINT origin {};
    std::optional<RegionData> visible;
    std::optional<RegionData> clip;
    mutable std::optional<RegionData> deviceClip;
    mutable SIZE clipSize {};
};

} // namespace pw::platform::gdi
