#pragma once

#include "foundation/ClassInfo.h"
#include "foundation/Smart.h"

#include <cstdint>

// The mix-in through which panes and documents take numbered commands. Status values: 0 enabled,
// 1 checked, 3 disabled.
class NumberCommandHandler : public virtual Smart {
    PW_CLASS_INFO(NumberCommandHandler)

public:
    static constexpr int32_t kEnabled = 0;
    static constexpr int32_t kChecked = 1;
    static constexpr int32_t kDisabled = 3;

    // Nothing by default.
    virtual void DoCommand(int32_t, int32_t) { }
    // Disabled by default: a handler enables what it takes.
    virtual int32_t GetCommandStatus(int32_t) { return kDisabled; }

protected:
    NumberCommandHandler() = default;
    NumberCommandHandler(const NumberCommandHandler&) { }
    NumberCommandHandler& operator=(const NumberCommandHandler&) { return *this; }
};
