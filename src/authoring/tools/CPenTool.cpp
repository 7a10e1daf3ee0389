#include "authoring/tools/CPenTool.h"

PW_DEFINE_CLASS(CPenTool, nullptr, nullptr, CTool)

CPenTool::CPenTool(int32_t number, const SmartPtr<SoundResource>& startSound)
    : CTool(number, startSound, true, nullptr)
{
}
