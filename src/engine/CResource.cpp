#include "engine/CResource.h"

#include "engine/StoredReference.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Stream.h"
#include "graphics/Image.h"

PW_DEFINE_CLASS(CResource, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(CResource)

constinit const PersistentVersion CResource::version { &CResource::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<CResource> };

CResource::CResource(const SmartPtr<Persistent>& object, bool)
    : object(object)
{
}

CResource::CResource(ArchiveScope& scope)
{
    rect = pw::engine::ReadStoredRect(scope.GetStream(), false);
    object = pw::engine::ReadReference<Persistent>(scope);
}

void CResource::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.GetStream().WriteRect(rect.left, rect.top, rect.right, rect.bottom);
    scope.WriteObject(object.Get());
}

Rect CResource::GetBounds() const
{
    if (!rect.IsEmpty())
        return rect;
    if (auto* image = SmartCast<Image>(object.Get()))
        return image->GetBounds();
    return Rect(0, 0, 0, 0);
}
