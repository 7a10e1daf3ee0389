#include "engine/legacy/LegacyValues.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"

namespace {

bool IsCurrentForm(const ArchiveScope& scope, Fixed version)
{
    return scope.GetVersion() >= version;
}

} // namespace

Point LegacyReadPoint(ArchiveScope& scope, Fixed version)
{
    Stream& stream = scope.GetStream();
    if (IsCurrentForm(scope, version))
        return stream.ReadPoint();
    int16_t v = stream.ReadShort();
    int16_t h = stream.ReadShort();
    return Point(h, v);
}

Rect LegacyReadRect(ArchiveScope& scope, Fixed version)
{
    if (IsCurrentForm(scope, version))
        return scope.GetStream().ReadRect();
    Point topLeft = LegacyReadPoint(scope, version);
    Point bottomRight = LegacyReadPoint(scope, version);
    return Rect(topLeft.h, topLeft.v, bottomRight.h, bottomRight.v);
}

Color LegacyReadColor(ArchiveScope& scope, Fixed version)
{
    Stream& stream = scope.GetStream();
    Color color;
    if (IsCurrentForm(scope, version)) {
        color.FromStream(stream);
        return color;
    }
    auto red = static_cast<uint16_t>(stream.ReadShort());
    auto green = static_cast<uint16_t>(stream.ReadShort());
    auto blue = static_cast<uint16_t>(stream.ReadShort());
    color.SetComponents(red, green, blue, 0);
    return color;
}
