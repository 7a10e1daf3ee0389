#include "ui/ViewBuffer.h"

namespace pw::ui {

PW_DEFINE_CLASS(ViewBuffer, nullptr, nullptr, OffScreen)

ViewBuffer::ViewBuffer(DisplayDevice& outer, const Rect& bounds)
    : OffScreen(outer, bounds, false, true)
    , origin(bounds.TopLeft())
    , outer(&outer)
{
}

} // namespace pw::ui
