#include "authoring/dialogs/KidDialogs.h"

#include "foundation/FourCharCode.h"

namespace KidDialogs {

bool AskNumber(const String&, int16_t*)
{
    return true;
}

bool AskInterpolation(bool*, bool*, bool*, bool*, bool*, bool*, bool*, int16_t*)
{
    return false;
}

bool AskResourceKind(const String&)
{
    return false;
}

bool AskObjectKind(uint32_t* code)
{
    if (code && *code == pw::foundation::FourCharCode("SPRT"))
        *code = pw::foundation::FourCharCode("PICT");
    return true;
}

} // namespace KidDialogs
