#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

class ArchiveScope;
class FileReference;
class Image;
class String;
class Time;

// One document's thumbnail in its folder's preview file: the document's file name (name and
// extension, no folder), the picture, and the document's modification time when the picture was
// stored. Any field may be empty in an item read from a file.
class PreviewItem : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(PreviewItem)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // The file's name and current modification time (which opens the file) with the thumbnail,
    // held as it is given. `folder` only names where the file lies.
    PreviewItem(FileReference& folder, FileReference& file, const SmartPtr<Image>& thumbnail);
    // Reads the three references; one of another class, or none, leaves its field empty.
    explicit PreviewItem(ArchiveScope& scope);
    PreviewItem(const PreviewItem& other);
    PreviewItem& operator=(const PreviewItem& other);
    ~PreviewItem() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    const SmartPtr<String>& GetName() const { return name; }
    const SmartPtr<Image>& GetThumbnail() const { return thumbnail; }
    void SetThumbnail(const SmartPtr<Image>& image) { thumbnail = image; }
    const SmartPtr<Time>& GetModifiedTime() const { return modifiedTime; }
    void SetModifiedTime(const SmartPtr<Time>& time) { modifiedTime = time; }

private:
    SmartPtr<String> name;
    SmartPtr<Image> thumbnail;
    SmartPtr<Time> modifiedTime;
};
