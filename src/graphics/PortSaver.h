#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"
#include "graphics/Area.h"
#include "graphics/Transform.h"

class DisplayPort;

// Changes a port's clip or transform for one drawing step: it records both when it is made and
// puts them back (clip first, then transform) when it goes out of scope, also when an exception
// passes. Savers nest; the innermost is undone first.
//
//     PortSaverRect saver(port, bounds);   // drawing is clipped to bounds until the scope ends
class PortSaver {
public:
    // Narrows the clip to the area, mapped through the port's transform.
    PortSaver(DisplayPort& port, const Area& area);
    ~PortSaver();
    PortSaver(const PortSaver&) = delete;
    PortSaver& operator=(const PortSaver&) = delete;

protected:
    // Records the state only.
    explicit PortSaver(DisplayPort& port);

    DisplayPort* port;

private:
    SmartPtr<Area> savedClip;
    SmartPtr<Transform> savedTransform;
};

// Narrows the clip to a rectangle.
class PortSaverRect : public PortSaver {
public:
    PortSaverRect(DisplayPort& port, const Rect& rect);
};

// Applies a transform after the port's own.
class PortSaverTransform : public PortSaver {
public:
    PortSaverTransform(DisplayPort& port, Transform& transform);
};
