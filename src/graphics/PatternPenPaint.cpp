#include "graphics/PatternPenPaint.h"

#include "foundation/Exception.h"

PatternPenPaint::PatternPenPaint(const Pattern& pattern)
    : pattern(pattern)
{
}

bool PatternPenPaint::SelectAsBrush(HDC)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

bool PatternPenPaint::SelectAsPen(HDC, int32_t)
{
    return false;
}
