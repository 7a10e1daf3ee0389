#include "engine/GetResourceByIndex.h"

#include "foundation/Resources.h"

SmartPtr<Smart> GetResourceByIndex(int16_t index)
{
    // Made on first use and never destroyed: cached pictures may be purged while the run ends.
    static Resources* engineSet = new Resources(400, 499);
    Resources::CheckId(index, kEngineResourceCount);
    return engineSet->GetImageResource(index)->Get();
}
