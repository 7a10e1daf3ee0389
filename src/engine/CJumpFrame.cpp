#include "engine/CJumpFrame.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"

PW_DEFINE_CLASS(CJumpFrame, &pw::foundation::CreateFunction<CJumpFrame>, nullptr, CJump)
PW_DEFINE_COPY_SLOTS(CJumpFrame)

constinit const PersistentVersion CJumpFrame::version { &CJumpFrame::classInfo, Fixed(2), Fixed(2),
    &pw::foundation::ReadInScope<CJumpFrame> };

CJumpFrame::CJumpFrame(int16_t frame, const String& name)
    : name(name)
{
    SetFrame(frame);
}

CJumpFrame::CJumpFrame(const CJumpFrame& other)
    : Smart()
    , CJump(other)
    , frame(other.frame)
    , name(other.name)
{
}

CJumpFrame::CJumpFrame(ArchiveScope& scope)
{
    SetFrame(scope.GetStream().ReadShort());
    ArchiveScope nameScope(scope, String::version);
    name = String(nameScope);
}

CJumpFrame& CJumpFrame::operator=(const CJumpFrame& other)
{
    frame = other.frame;
    name = other.name;
    return *this;
}

void CJumpFrame::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteShort(frame);
    scope.Put(name);
}
