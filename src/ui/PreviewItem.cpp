#include "ui/PreviewItem.h"

#include "foundation/ArchiveScope.h"
#include "foundation/FileReference.h"
#include "foundation/String.h"
#include "foundation/Time.h"
#include "graphics/Image.h"

namespace {

Persistent* ReadPreviewItem(Archive& archive)
{
    ArchiveScope scope(archive, PreviewItem::version);
    return new PreviewItem(scope);
}

template <typename T>
SmartPtr<T> ReadAs(ArchiveScope& scope)
{
    return SmartPtr<T>(SmartCast<T>(scope.ReadObject()));
}

} // namespace

PW_DEFINE_CLASS(PreviewItem, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(PreviewItem)

constinit const PersistentVersion PreviewItem::version { &PreviewItem::classInfo, Fixed(1, 0), Fixed(1, 0),
    &ReadPreviewItem };

PreviewItem::PreviewItem(FileReference&, FileReference& file, const SmartPtr<Image>& thumbnail)
    : name(new String(file.Name()))
    , thumbnail(thumbnail)
    , modifiedTime(file.GetModificationTime())
{
}

PreviewItem::PreviewItem(ArchiveScope& scope)
{
    name = ReadAs<String>(scope);
    thumbnail = ReadAs<Image>(scope);
    modifiedTime = ReadAs<Time>(scope);
}

PreviewItem::PreviewItem(const PreviewItem& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , name(other.name)
    , thumbnail(other.thumbnail)
    , modifiedTime(other.modifiedTime)
{
}

PreviewItem& PreviewItem::operator=(const PreviewItem& other)
{
    name = other.name;
    thumbnail = other.thumbnail;
    modifiedTime = other.modifiedTime;
    return *this;
}

PreviewItem::~PreviewItem() = default;

void PreviewItem::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(name.Get());
    scope.WriteObject(thumbnail.Get());
    scope.WriteObject(modifiedTime.Get());
}
