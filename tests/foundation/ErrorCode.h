// The operating-system error code a step throws as the system-error exception, 0 when it throws
// something else or nothing.
#pragma once

#include "foundation/SystemErrorException.h"

#include <cstdint>

template <typename Step>
uint32_t ErrorCode(Step step)
{
    try {
        step();
    } catch (Exception* exception) {
        if (auto* system = dynamic_cast<SystemErrorException*>(exception))
            return system->GetErrorCode();
    }
    return 0;
}
