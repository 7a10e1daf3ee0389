#pragma once

#include "foundation/ClassInfo.h"

// The standard reference count behind Smart: 16 bits that start at 0 and saturate at 65535. The
// release that brings the count from 1 to 0 deletes the object; an object that reaches 65535 (by
// 65535 additions, or by an unbalanced release at 0) is pinned and never deleted. Objects that
// never go into a handle (on the stack, static, members) keep count 0 and are never deleted.
class SmartImplementation : public virtual Smart {
    PW_CLASS_INFO(SmartImplementation)
    PW_COPY_SLOTS

public:
    static constexpr uint16_t kPinned = 65535;

    SmartImplementation() = default;
    // A copy starts unreferenced; assignment never moves counts.
    SmartImplementation(const SmartImplementation&);
    SmartImplementation& operator=(const SmartImplementation&);
    ~SmartImplementation() override;

    // The size recorded in the object's class record; classes holding blocks add theirs.
    virtual uint32_t GetObjectSize();

    void AddReference() override;
    bool RemoveReference() override;
    bool IsShared() const override;
    bool Unreferenced() const override;
    uint16_t ReferenceCount() const override;

private:
    uint16_t referenceCount { 0 };
};

namespace pw::foundation {

// Pins a process-lifetime object so that no handle ever deletes it (an unbalanced release at 0).
inline void Pin(Smart& object)
{
    while (object.ReferenceCount() != SmartImplementation::kPinned)
        object.RemoveReference();
}

} // namespace pw::foundation
