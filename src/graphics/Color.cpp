#include "graphics/Color.h"

#include "foundation/Exception.h"
#include "foundation/Stream.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr Color Components(uint16_t red, uint16_t green, uint16_t blue, uint16_t extra)
{
    Color color;
    color.red = red;
    color.green = green;
    color.blue = blue;
    color.extra = extra;
    return color;
}

// Filled before the program's entry; entries may be replaced at run time. The duplicates (10 and
// 11, 12 and 14, 0 and 15, 1 and 16) are part of the numbering callers use.
constinit Color standardColors[Color::numStandardColors] = {
    Components(0xFFFF, 0xFFFF, 0xFFFF, 0),
    Components(0, 0, 0, 0),
    Components(0xE000, 0xE000, 0xE000, 0),
    Components(0xC000, 0xC000, 0xC000, 0),
    Components(0x8000, 0x8000, 0x8000, 0),
    Components(0x4000, 0x4000, 0x4000, 0),
    Components(0x2000, 0x2000, 0x2000, 0),
    Components(0xFFFF, 0, 0, 0),
    Components(0, 0xFFFF, 0, 0),
    Components(0, 0, 0xFFFF, 0),
    Components(0xFFFF, 0xFFFF, 0, 0),
    Components(0xFFFF, 0xFFFF, 0, 0),
    Components(0xFFFF, 0, 0xFFFF, 0),
    Components(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF),
    Components(0xFFFF, 0, 0xFFFF, 0),
    Components(0xFFFF, 0xFFFF, 0xFFFF, 0),
    Components(0, 0, 0, 0),
};

void CheckStandardNumber(int whichColor)
{
    if (whichColor < 0)
        AssertionFailed("whichColor >= 0", PW_HERE);
    if (whichColor >= Color::numStandardColors)
        AssertionFailed("whichColor < numStandardColors", PW_HERE);
}

// A t outside 0..1 is clamped to the component range rather than wrapped.
uint16_t BlendComponent(uint16_t a, uint16_t b, double t)
{
    double value = std::trunc(a * (1.0 - t) + b * t);
    return static_cast<uint16_t>(std::clamp(value, 0.0, 65535.0));
}

} // namespace

Color::Color(int whichColor)
{
    CheckStandardNumber(whichColor);
    *this = standardColors[whichColor];
}

void Color::SetComponents(uint16_t red, uint16_t green, uint16_t blue, uint16_t extra)
{
    this->red = red;
    this->green = green;
    this->blue = blue;
    this->extra = extra;
}

void Color::SetBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t extra)
{
    SetComponents(red * 257, green * 257, blue * 257, extra * 257);
}

bool Color::Equals(const Color& other) const
{
    return (red >> 8) == (other.red >> 8) && (green >> 8) == (other.green >> 8) && (blue >> 8) == (other.blue >> 8)
        && (extra >> 8) == (other.extra >> 8);
}

Color Color::Blend(const Color& other, double t) const
{
    return Components(BlendComponent(red, other.red, t), BlendComponent(green, other.green, t),
        BlendComponent(blue, other.blue, t), BlendComponent(extra, other.extra, t));
}

void Color::SetStandardColor(const Color& color, int whichColor)
{
    CheckStandardNumber(whichColor);
    standardColors[whichColor] = color;
}

void Color::ToStream(Stream& stream) const
{
    stream.WriteShort(static_cast<int16_t>(red))
        .WriteShort(static_cast<int16_t>(green))
        .WriteShort(static_cast<int16_t>(blue))
        .WriteShort(static_cast<int16_t>(extra));
}

void Color::FromStream(Stream& stream)
{
    red = static_cast<uint16_t>(stream.ReadShort());
    green = static_cast<uint16_t>(stream.ReadShort());
    blue = static_cast<uint16_t>(stream.ReadShort());
    extra = static_cast<uint16_t>(stream.ReadShort());
}
