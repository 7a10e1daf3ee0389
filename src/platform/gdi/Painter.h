// Puts inks on a DC's surface inside its effective clip, in device coordinates. Every drawing call
// ends here, so the clip is applied in one place.
#pragma once

#include "platform/gdi/Ink.h"
#include "platform/gdi/RegionData.h"
#include "platform/gdi/Surface.h"

namespace pw::platform::gdi {

class Coverage;
class DeviceContext;

class Painter {
public:
    explicit Painter(const DeviceContext& dc);
    Painter(const Surface& surface, const RegionData& clip);

    const Surface& Target() const { return surface; }
    const RegionData& Clip() const { return clip; }
    // The clip's bounding box: no pixel outside it can change.
    RECT ClipBox() const { return clip.Box(); }

    // Paints [x0, x1) of row y with the ink under a ROP2 mode.
    void Span(int y, int x0, int x1, const Ink& ink, int rop2 = R2_COPYPEN) const;
    void Rect(const RECT& rect, const Ink& ink, int rop2 = R2_COPYPEN) const;
    void Pixel(int x, int y, const Ink& ink, int rop2 = R2_COPYPEN) const;
    // Paints a shape: brush cells with the brush ink, pen cells with the pen ink (either may be
    // absent: those cells stay as they are).
    void Shape(const Coverage& coverage, const Ink* brush, const Ink* pen, int rop2) const;
    // Replaces each value v by its complement (InvertRect).
    void Invert(const RECT& rect) const;

private:
    void Run(int y, int x0, int x1, const Ink& ink, int rop2) const;

    Surface surface;
    const RegionData& clip;
};

} // namespace pw::platform::gdi
