#include "graphics/Gradient.h"

#include "foundation/Exception.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayDevice.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PortSaver.h"
#include "graphics/Translation.h"

namespace {

bool KnownKind(int16_t kind)
{
    return kind >= 1 && kind <= 10;
}

uint16_t Step(uint16_t from, uint16_t to, int32_t steps)
{
    return static_cast<uint16_t>(static_cast<int16_t>((int32_t(to) - int32_t(from)) / steps));
}

} // namespace

namespace Gradient {

void Draw(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind,
    int16_t minimumDepth)
{
    if (!KnownKind(kind))
        ThrowError("No Such Gradient", PW_HERE);
    int16_t depth = port.Device()->GetColorTable()->BitDepth();
    if (kind == 1 || kind == 4 || depth >= minimumDepth) {
        DrawDirect(port, rect, first, second, kind);
        return;
    }
    // Kinds that draw nothing must not copy a blank buffer over the rectangle either.
    if (kind >= 7 || !port.IsDrawing() || rect.IsEmpty())
        return;
    Point size = rect.Size();
    OffScreen buffer(size.h, size.v, minimumDepth, Color(0), true);
    {
        DisplayPort bufferPort(buffer, buffer.GetBounds(), 0);
        Translation toBuffer(-rect.left, -rect.top);
        PortSaverTransform saver(bufferPort, toBuffer);
        DrawDirect(bufferPort, rect, first, second, kind);
    }
    Translation toRect(rect.left, rect.top);
    PortSaverTransform saver(port, toRect);
    buffer.GetBitMap()->Draw(port, 0);
}

void DrawDirect(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind)
{
    switch (kind) {
    case 1:
        port.DrawRectangle(rect, first, Color(Color::kNoColor), 1);
        break;
    case 4:
        port.DrawRectangle(rect, second, Color(Color::kNoColor), 1);
        break;
    case 2:
    case 3:
    case 5:
    case 6:
        DrawLinear(port, rect, first, second, kind);
        break;
    case 7:
    case 8:
    case 9:
    case 10:
        break;
    default:
        ThrowError("No Such Gradient", PW_HERE);
    }
}

void DrawLinear(DisplayPort& port, const Rect& rect, const Color& first, const Color& second, int16_t kind)
{
    Point size = rect.Size();
    bool vertical = kind == 2 || kind == 3;
    int32_t steps = vertical ? size.v : size.h;
    if (steps <= 0)
        return;
    Rect strip;
    Point move;
    switch (kind) {
    case 2:
        strip = Rect(rect.left, rect.top, rect.right, rect.top + 1), move = Point(0, 1);
        break;
    case 3:
        strip = Rect(rect.left, rect.bottom - 1, rect.right, rect.bottom), move = Point(0, -1);
        break;
    case 5:
        strip = Rect(rect.left, rect.top, rect.left + 1, rect.bottom), move = Point(1, 0);
        break;
    case 6:
        strip = Rect(rect.right - 1, rect.top, rect.right, rect.bottom), move = Point(-1, 0);
        break;
    default:
        return;
    }
    Color step = ColorStep(first, second, steps);
    Color running = first;
    for (int32_t index = 0; index < steps; ++index) {
        port.DrawRectangle(strip, running, running, 1);
        strip.Offset(move.h, move.v);
        AddStep(step, running);
    }
}

Color ColorStep(const Color& first, const Color& second, int32_t steps)
{
    Color step;
    step.SetComponents(Step(first.red, second.red, steps), Step(first.green, second.green, steps),
        Step(first.blue, second.blue, steps), 0);
    return step;
}

void AddStep(const Color& step, Color& color)
{
    color.red = static_cast<uint16_t>(color.red + step.red);
    color.green = static_cast<uint16_t>(color.green + step.green);
    color.blue = static_cast<uint16_t>(color.blue + step.blue);
}

} // namespace Gradient
