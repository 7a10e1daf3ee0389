#include "platform/backend/Backend.h"

#include "platform/kernel/Clock.h"

namespace pw::platform {

namespace {
struct ProgramModule {
    int unused;
} programModule;
} // namespace

HINSTANCE ProgramInstance()
{
    return reinterpret_cast<HINSTANCE>(&programModule);
}

void StartProgramPlatform()
{
    Clock::UseRealTime();
}

void StopProgramPlatform()
{
}

} // namespace pw::platform
