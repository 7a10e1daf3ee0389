#include "engine/ComposedDrawing.h"

#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/Translation.h"

namespace pw::engine {

void DrawComposed(DisplayPort& port, const Rect& rect, const std::function<void(DisplayPort&)>& draw)
{
    if (SmartCast<OffScreen>(port.Device()) || !port.IsDrawing()) {
        draw(port);
        return;
    }
    Rect onDevice = port.MapRect(rect);
    if (SmartPtr<Area> clip = port.GetClip(); clip.Valid())
        onDevice = onDevice.Intersect(clip->ComputeBounds());
    if (onDevice.IsEmpty())
        return;
    SmartPtr<OffScreen> buffer
        = new OffScreen(onDevice.right - onDevice.left, onDevice.bottom - onDevice.top, 8, Color(0), true);
    {
        DisplayPort composed(*buffer.Get(), buffer->GetBounds(), 0);
        if (SmartPtr<Transform> placed = port.GetTransform(); placed.Valid()) {
            composed.ApplyTransform(*placed.Get());
            // A transform that cannot be followed by a shift cannot be composed: draw as asked.
            if (!composed.GetTransform().Valid()) {
                draw(port);
                return;
            }
        }
        Translation toBuffer(-onDevice.left, -onDevice.top);
        composed.ApplyTransform(toBuffer);
        if (!composed.GetTransform().Valid()) {
            draw(port);
            return;
        }
        draw(composed);
    }
    SmartPtr<BitMap> pixels = buffer->GetBitMap();
    if (HDC dc = port.GetHDC())
        pixels->DrawPartTo(dc, nullptr, pixels->GetBounds(), onDevice, false, 0);
}

} // namespace pw::engine
