#include "ui/FormatPicker.h"

#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/Scribe.h"

// Registered without parents: the interface answers for its own record, then as any Smart object.
constinit const ClassInfo FormatPicker::classInfo { "FormatPicker", pw::foundation::ParentRecords<>::records,
    &pw::foundation::CastFunction<FormatPicker>, sizeof(FormatPicker), nullptr, nullptr };

const ClassInfo* FormatPicker::GetClassInfo() const
{
    return &classInfo;
}

void* FormatPicker::CastTo(const ClassInfo* info)
{
    return info == &classInfo ? this : Smart::CastTo(info);
}

PW_DEFINE_NO_COPY_SLOTS(FormatPicker)

SmartPtr<Smart> FormatPicker::ImportFile(const SmartPtr<FileReference>&, int32_t, int32_t)
{
    return SmartPtr<Smart>();
}
