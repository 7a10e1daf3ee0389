#include "authoring/tools/CBucketTool.h"

#include "authoring/resources/KidResources.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/PaintSettings.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/Gradient.h"

using pw::authoring::PaintSettings;

CBucketTool::CBucketTool(const SmartPtr<CDropperTool>&)
    : CTool(103, KidResources::Lookup(33), false, nullptr)
    , proxyRgn(new Area)
{
    PaintSettings::Current().fillStyle = 1;
}

CBucketTool::~CBucketTool() = default;

void CBucketTool::SetOption(int16_t, int16_t value)
{
    if (value < 1 || value > kBucketOptions)
        return;
    PaintSettings::Current().fillStyle = value;
}

int16_t CBucketTool::GetOption(int16_t)
{
    return PaintSettings::Current().fillStyle;
}

void CBucketTool::Apply(DisplayPort& port, const Rect& rect)
{
    if (!proxyRgn.Valid())
        AssertionFailed("proxyRgn != NULL", PW_HERE);
    const PaintSettings& paint = PaintSettings::Current();
    Gradient::Draw(port, rect, paint.foreground, paint.background, paint.fillStyle, 0);
}
