#include "graphics/PortSaver.h"

#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/DisplayPort.h"
#include "graphics/Transform.h"

PortSaver::PortSaver(DisplayPort& port)
    : port(&port)
    , savedClip(port.GetClip())
    , savedTransform(port.GetTransform())
{
}

PortSaver::PortSaver(DisplayPort& port, const Area& area)
    : PortSaver(port)
{
    port.NarrowClip(area);
}

// A failure to put the clip back is shown, not thrown: the saver may be ending during unwinding.
PortSaver::~PortSaver()
{
    try {
        port->SetClip(savedClip);
    } catch (Exception* exception) {
        ReportException(exception);
    }
    port->SetTransform(savedTransform);
}

PortSaverRect::PortSaverRect(DisplayPort& port, const Rect& rect)
    : PortSaver(port)
{
    port.NarrowClip(Area(rect));
}

PortSaverTransform::PortSaverTransform(DisplayPort& port, Transform& transform)
    : PortSaver(port)
{
    port.ApplyTransform(transform);
}
