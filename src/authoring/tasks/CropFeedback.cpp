#include "authoring/tasks/CropFeedback.h"

#include "authoring/panes/CHAPane.h"
#include "engine/CXform.h"
#include "graphics/DisplayPort.h"
#include "graphics/PortSaver.h"

namespace pw::authoring {

void DrawCropped(CHAPane& pane, CSprite& sprite, int16_t frame, const Rect& crop, DisplayPort& port)
{
    if (frame < 0 || crop.IsEmpty())
        return;
    Rect shown(0, 0, 0, 0);
    sprite.GetFrameBounds(frame, &shown, nullptr);
    sprite.SetClipAtFrame(frame, &crop);
    {
        PortSaverRect clip(port, pane.ToPane(crop).Intersect(pane.GetBounds()));
        sprite.DrawFrame(port, pane.MovieToPane(), frame, Color(0), 0);
    }
    sprite.SetClipAtFrame(frame, &shown);
}

} // namespace pw::authoring
