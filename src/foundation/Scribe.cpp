#include "foundation/Scribe.h"

PW_DEFINE_CLASS(Scribe, nullptr, nullptr, Smart)
PW_DEFINE_NO_COPY_SLOTS(Scribe)

SmartPtr<Smart> Scribe::MakePreview(int32_t, int32_t)
{
    return SmartPtr<Smart>();
}
