#include "foundation/SmartImplementation.h"

#include "foundation/Exception.h"

PW_DEFINE_CLASS(SmartImplementation, &pw::foundation::CreateFunction<SmartImplementation>, nullptr, Smart)
PW_DEFINE_COPY_SLOTS(SmartImplementation)

SmartImplementation::SmartImplementation(const SmartImplementation&)
    : Smart()
{
}

SmartImplementation& SmartImplementation::operator=(const SmartImplementation&)
{
    return *this;
}

SmartImplementation::~SmartImplementation() = default;

uint32_t SmartImplementation::GetObjectSize()
{
    return GetClassInfo()->GetObjectSize();
}

void SmartImplementation::AddReference()
{
    if (referenceCount != kPinned)
        ++referenceCount;
}

bool SmartImplementation::RemoveReference()
{
    if (referenceCount == kPinned)
        return false;
    --referenceCount;
    return referenceCount == 0;
}

bool SmartImplementation::IsShared() const
{
    return referenceCount > 1;
}

bool SmartImplementation::Unreferenced() const
{
    return referenceCount == 0;
}

uint16_t SmartImplementation::ReferenceCount() const
{
    return referenceCount;
}
