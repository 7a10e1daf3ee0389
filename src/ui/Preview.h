#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "ui/PreviewItem.h"

#include <cstdint>

class ArchiveScope;
class FileReference;
class FileType;
class Image;
class Time;
class TypeIndex;

// The thumbnails of one folder's documents, kept in the folder's own preview file ("_preview.pre",
// an object file of the type index "PreviewFile") so that a browser shows them without opening the
// documents. Items are found by the document's file name, compared byte for byte, and are only
// ever added or replaced. The folder is not stored: a set read from a file belongs to the folder
// the file lies in. File references reach the set of the folder they are asked about through a
// one-folder cache (FileReference::GetPreview and SetPreview), which loads and saves it here.
class Preview : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(Preview)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // "Folder previews", type and extension 'pre '.
    static const FileType& GetFileType();

    // An empty set for the folder (a copy of the reference is kept).
    explicit Preview(FileReference& folder);
    explicit Preview(ArchiveScope& scope);
    Preview(const Preview& other);
    Preview& operator=(const Preview& other);
    ~Preview() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // The file's thumbnail, empty when it has none.
    virtual SmartPtr<Image> GetPreview(FileReference& file);
    // Replaces the file's thumbnail and time, or appends an item for it.
    virtual void SetPreview(FileReference& file, const SmartPtr<Image>& thumbnail);
    // Fails "previewItem.Valid()" when the file has no item.
    virtual void SetModificationTime(FileReference& file, const SmartPtr<Time>& time);
    // Whether the file has an item; with `checkDate`, also that the file has not been written since
    // its thumbnail was stored.
    virtual bool HasPreview(FileReference& file, bool checkDate);
    virtual SmartPtr<FileReference> GetFolder();
    // Warns "Not implemented.".
    virtual void Unimplemented();
    virtual SmartPtr<PreviewItem> FindItem(FileReference& file);
    virtual uint32_t NumItems();

    // The folder's stored set; empty when the folder has no preview file, an empty one, or one that
    // cannot be read as a set of previews (dropped without a message). Reading never creates the
    // file, so a folder that cannot be written is browsed like any other.
    static SmartPtr<Preview> LoadFromFolder(FileReference& folder);
    // Writes the set into its folder's preview file, made when missing; a save that fails leaves
    // the file as it was. A folder that refuses the file (access denied) is left alone and the
    // answer is false; other failures are thrown.
    static bool SaveToFolder(const SmartPtr<Preview>& preview);

private:
    SmartPtr<FileReference> folder;
    SmartList<PreviewItem> items;
};

// The class index of preview files, made anew for each load and save.
SmartPtr<TypeIndex> MakePreviewTypeIndex();
