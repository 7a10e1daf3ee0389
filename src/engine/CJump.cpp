#include "engine/CJump.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"

PW_DEFINE_CLASS(CJump, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CJump)

constinit const PersistentVersion CJump::version { &CJump::classInfo, Fixed(1), Fixed(2),
    &pw::foundation::ReadInScope<CJump> };

CJump::CJump(const CJump& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
{
}

CJump::CJump(ArchiveScope&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

void CJump::Write(Archive&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
}
