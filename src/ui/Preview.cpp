#include "ui/Preview.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/GenericArray.h"
#include "foundation/GuardedStream.h"
#include "foundation/ListData.h"
#include "foundation/ObjectFile.h"
#include "foundation/String.h"
#include "foundation/SystemErrorException.h"
#include "foundation/Time.h"
#include "foundation/TimeData.h"
#include "foundation/TypeIndex.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/Image.h"
#include "graphics/Picture.h"

#include <string>

namespace {

Persistent* ReadPreview(Archive& archive)
{
    ArchiveScope scope(archive, Preview::version);
    return new Preview(scope);
}

constexpr uint32_t kPreviewCode = pw::foundation::FourCharCode("pre ");
const FileType previewFileType("Folder previews", kPreviewCode, kPreviewCode);
constexpr const char* kPreviewName = "_preview";

// The folder of the file an archive reads, or the start-up folder when it reads no file.
SmartPtr<FileReference> FolderOfArchive(Archive& archive)
{
    Stream* stream = &archive.GetStream();
    if (auto* guard = SmartCast<pw::foundation::GuardedStream>(stream); guard && guard->GetInner())
        stream = guard->GetInner();
    if (auto* file = SmartCast<File>(stream))
        return file->GetFileReference()->Parent();
    return new FileReference(FileReference::StartupFolder());
}

// The preview file's place in the folder, whether or not it exists; empty when the path is too long.
SmartPtr<FileReference> PreviewFileIn(FileReference& folder)
{
    std::string path;
    if (!pw::foundation::BuildPath(path, folder.Path(), kPreviewName, previewFileType.GetExtension()))
        return SmartPtr<FileReference>();
    return new FileReference(path.c_str());
}

// File references keep one folder's set in their cache and reach it through these.
Preview& AsPreview(Smart& set)
{
    auto* preview = SmartCast<Preview>(&set);
    if (!preview)
        AssertionFailed("castPtr", PW_HERE);
    return *preview;
}

const bool servicesLent = [] {
    pw::foundation::FileReferenceServices& services = pw::foundation::GetFileReferenceServices();
    services.loadFolderPreview = [](FileReference& folder) {
        return SmartPtr<Smart>(Preview::LoadFromFolder(folder).Get());
    };
    services.newFolderPreview = [](FileReference& folder) { return SmartPtr<Smart>(new Preview(folder)); };
    services.saveFolderPreview = [](const SmartPtr<Smart>& set) {
        Preview::SaveToFolder(SmartPtr<Preview>(&AsPreview(*set.Get())));
    };
    services.previewFolder = [](Smart& set) { return AsPreview(set).GetFolder(); };
    services.previewImage = [](Smart& set, FileReference& item) {
        return SmartPtr<Smart>(AsPreview(set).GetPreview(item).Get());
    };
    services.setPreviewImage = [](Smart& set, FileReference& item, const SmartPtr<Smart>& image) {
        AsPreview(set).SetPreview(item, SmartPtr<Image>(SmartCast<Image>(image.Get())));
    };
    return true;
}();

} // namespace

PW_DEFINE_CLASS(Preview, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(Preview)

constinit const PersistentVersion Preview::version { &Preview::classInfo, Fixed(1, 0), Fixed(3, 0), &ReadPreview };

const FileType& Preview::GetFileType()
{
    return previewFileType;
}

Preview::Preview(FileReference& folder)
    : folder(new FileReference(folder))
{
}

// The stored list may hold anything: only its PreviewItem entries are taken.
Preview::Preview(ArchiveScope& scope)
    : folder(FolderOfArchive(scope.GetArchive()))
{
    auto* stored = SmartCast<ListData>(scope.ReadObject());
    if (!stored)
        return;
    for (uint32_t index = 1; index <= stored->NumItems(); ++index) {
        if (auto* item = SmartCast<PreviewItem>(stored->GetItem(index)))
            items.Append(SmartPtr<PreviewItem>(item));
    }
}

Preview::Preview(const Preview& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , folder(other.folder)
    , items(other.items)
{
}

Preview& Preview::operator=(const Preview& other)
{
    folder = other.folder;
    items = other.items;
    return *this;
}

Preview::~Preview() = default;

void Preview::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.WriteObject(items.Data());
}

SmartPtr<Image> Preview::GetPreview(FileReference& file)
{
    SmartPtr<PreviewItem> item = FindItem(file);
    return item.Valid() ? item->GetThumbnail() : SmartPtr<Image>();
}

void Preview::SetPreview(FileReference& file, const SmartPtr<Image>& thumbnail)
{
    SmartPtr<PreviewItem> item = FindItem(file);
    if (item.Valid()) {
        item->SetThumbnail(thumbnail);
        item->SetModifiedTime(file.GetModificationTime());
        return;
    }
    items.Append(SmartPtr<PreviewItem>(new PreviewItem(*folder.Get(), file, thumbnail)));
}

void Preview::SetModificationTime(FileReference& file, const SmartPtr<Time>& time)
{
    SmartPtr<PreviewItem> previewItem = FindItem(file);
    if (!previewItem.Valid())
        AssertionFailed("previewItem.Valid()", PW_HERE);
    previewItem->SetModifiedTime(time);
}

bool Preview::HasPreview(FileReference& file, bool checkDate)
{
    SmartPtr<PreviewItem> item = FindItem(file);
    if (!item.Valid())
        return false;
    if (!checkDate)
        return true;
    SmartPtr<Time> stored = item->GetModifiedTime();
    return stored.Valid() && *file.GetModificationTime().Get() == *stored.Get();
}

SmartPtr<FileReference> Preview::GetFolder()
{
    return folder;
}

void Preview::Unimplemented()
{
    Exception::Warn(kNotImplemented, PW_HERE);
}

SmartPtr<PreviewItem> Preview::FindItem(FileReference& file)
{
    String name = file.Name();
    for (uint32_t index = 1; index <= items.NumItems(); ++index) {
        PreviewItem* item = items.Item(index);
        if (item && item->GetName().Valid() && *item->GetName().Get() == name)
            return SmartPtr<PreviewItem>(item);
    }
    return SmartPtr<PreviewItem>();
}

uint32_t Preview::NumItems()
{
    return items.NumItems();
}

// Opening the file and making the object file read nothing yet; the read itself is silent, and
// whatever it throws is dropped with the record of it.
SmartPtr<Preview> Preview::LoadFromFolder(FileReference& folder)
{
    SmartPtr<FileReference> file = PreviewFileIn(folder);
    if (!file.Valid() || file->IsEmpty())
        return SmartPtr<Preview>();
    SmartPtr<Stream> stream(new File(*file.Get(), File::kRead));
    SmartPtr<ObjectFile> objects = new ObjectFile(MakePreviewTypeIndex(), stream);
    objects->SetSilent(true);
    SmartPtr<Preview> preview;
    try {
        SmartPtr<Smart> root = objects->Read();
        preview = SmartCast<Preview>(root.Get());
    } catch (Exception*) {
        preview = nullptr;
    }
    CurrentException() = nullptr;
    return preview;
}

// Written as documents are: the whole set goes into a temporary file beside the preview file,
// which then takes its place, so a failed save (a full disk) leaves the old file as it was and
// never an empty one.
bool Preview::SaveToFolder(const SmartPtr<Preview>& preview)
{
    SmartPtr<FileReference> file = PreviewFileIn(*preview->GetFolder().Get());
    if (!file.Valid()) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        CheckCall(false, PW_HERE);
    }
    try {
        SmartPtr<Stream> stream(new File(*file.Get(), File::kRead | File::kWrite));
        SmartPtr<ObjectFile> objects = new ObjectFile(MakePreviewTypeIndex(), stream);
        objects->Write(SmartPtr<Smart>(preview.Get()));
    } catch (Exception* exception) {
        if (!IsSystemError(exception, ERROR_ACCESS_DENIED))
            throw;
        CurrentException() = nullptr;
        return false;
    }
    return true;
}

SmartPtr<TypeIndex> MakePreviewTypeIndex()
{
    SmartPtr<TypeIndex> index = new TypeIndex(previewFileType, Fixed(1, 0), "PreviewFile");
    index->AddClass(Preview::version);
    index->AddClass(PreviewItem::version);
    index->AddClass(BitMap::version);
    index->AddClass(Image::version);
    index->AddClass(String::version);
    index->AddClass(ColorTable::version);
    index->AddClass(ListData::version);
    index->AddClass(GenericArray::version);
    index->AddClass(Picture::version);
    index->AddClass(TimeData::version);
    index->AddClass(Time::version);
    return index;
}
