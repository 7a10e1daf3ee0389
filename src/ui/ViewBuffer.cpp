#include "ui/ViewBuffer.h"

PW_DEFINE_CLASS(ViewBuffer, nullptr, nullptr, OffScreen)

ViewBuffer::ViewBuffer(DisplayDevice& outer, const Rect& bounds)
    : OffScreen(outer, bounds, false, true)
    , origin(bounds.TopLeft())
    , outer(&outer)
{
}
