#include "authoring/tools/PaintSettings.h"

namespace pw::authoring {

PaintSettings& PaintSettings::Current()
{
    static PaintSettings settings;
    return settings;
}

void PaintSettings::Reset()
{
    Current() = PaintSettings();
}

} // namespace pw::authoring
