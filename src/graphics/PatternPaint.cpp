#include "graphics/PatternPaint.h"

#include "foundation/Exception.h"

PatternPaint::PatternPaint(const Pattern& pattern)
    : pattern(pattern)
{
}

bool PatternPaint::SelectAsBrush(HDC)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return false;
}

bool PatternPaint::SelectAsPen(HDC, int32_t)
{
    return false;
}
