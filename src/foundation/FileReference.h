#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartList.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class ArchiveScope;
class File;
class FileCreatorType;
class FileType;
class Time;

// The parsed parts of a path: the last component's name without its extension (its whole text
// when it has no "."), the drive letter (0 when the path has none), the folder (everything before
// the last "\") and the extension code (three characters after the last ".", 0 otherwise).
struct PathSpec {
    String name;
    char drive { 0 };
    String folder;
    uint32_t extension { 0 };
};

// A file or folder named by its full Windows path (at most 259 characters and a NUL). Names keep
// the case they were given and compare without regard to case, as the file system finds them.
// References build child paths from a folder, a name and a file type, test, create, list and
// delete folder items, run the open and save dialogs, and survive being stored in a document: the
// item's name is stored and found again beside the document when read; an item not found there
// leaves the reference lost, and its first use asks the user to locate it. A reference is empty
// (no path), pointing, or lost.
class FileReference : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(FileReference)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    // The size of every path buffer, NUL included.
    static constexpr uint32_t kMaxPath = MAX_PATH;

    // An empty reference; warns "Not implemented." (the registry's create function).
    FileReference();
    // The path (null gives an empty reference); a path of kMaxPath bytes or more is refused.
    explicit FileReference(const char* path);
    FileReference(const FileReference& other);
    // Reads the stored name (scope opened with `version`) and finds the item beside the document.
    explicit FileReference(ArchiveScope& scope);
    // Not carried out on this platform: the file must be open (a closed one throws "File Not
    // Open"); warns "Not implemented." and leaves the reference empty.
    explicit FileReference(File& file);
    ~FileReference() override;
    FileReference& operator=(const FileReference& other);

    // The named forms of construction, each a new counted reference.
    static SmartPtr<FileReference> FileReferenceFromPath(const char* path);
    static SmartPtr<FileReference> FileReferenceCopy(const FileReference& other);
    // parent\name; the item must exist unless `createFolder`, which makes a missing folder.
    static SmartPtr<FileReference> FileReferenceInFolder(FileReference& parent, const String& name, bool createFolder);
    // folder\name.ext of the type (no "." part without extension code); with `create` a missing
    // file is made empty, otherwise the file must exist. The creator is not used.
    static SmartPtr<FileReference> FileReferenceCreate(const FileType& type, const FileCreatorType& creator,
        FileReference& folder, const String& name, bool create);
    // The open dialog offering the type(s) (an empty list offers "All Files"); a cancel throws
    // UserCancelException.
    static SmartPtr<FileReference> FileReferenceFromDialog(const FileType& type);
    static SmartPtr<FileReference> FileReferenceFromDialogList(const SmartList<FileType>& types);
    // Whether a document may be stored in the file a save dialog chose; a refusal has told the
    // user why, and the dialog is shown again.
    using SaveCheck = std::function<bool(FileReference& chosen)>;
    // The save dialog for the type, starting at "index" (or a numbered name no item of the type
    // in the folder has; always a numbered one with `numbered`); it asks before replacing a file,
    // gives a name with another extension the type's after it, shows itself again while the check
    // refuses, and creates the chosen file empty when missing. A cancel throws UserCancelException.
    static SmartPtr<FileReference> FileReferenceFromSaveDialog(
        const FileType& type, const FileCreatorType& creator, const SaveCheck& check = {}, bool numbered = false);

    // Replaces the path; throws (error 206) when it does not fit kMaxPath with its NUL.
    void SetPath(const char* path);
    bool HasPath() const { return spec != nullptr; }
    // The path, "" for an empty reference.
    const char* Path() const { return spec ? spec.get() : ""; }

    // True for a folder, and for a path that does not exist.
    bool IsFolder();
    // False for a read-only or missing item.
    bool IsWritable();
    bool Exists();
    // True when the file holds no bytes.
    bool IsEmpty();
    bool IsOfType(const FileType& type);
    // The item's name as stored on disk (the last component of the path); "" for an empty reference.
    void GetName(String& name);
    String Name();
    // The name split at its last ".": the part before it stays in `name`; the answer is the code of
    // a three-character extension, else 0.
    uint32_t GetNameParts(String& name);
    // The path into a kMaxPath-byte buffer; true.
    bool GetPathName(char* buffer);
    // The containing folder (empty for an empty reference).
    SmartPtr<FileReference> Parent();
    // Locates the item first; the parts stay valid until the path changes.
    const PathSpec& GetParts();

    // A platform handle to the file (modes of File); throws "Call failed." when it cannot be opened.
    HANDLE Open(uint8_t mode);
    static void CloseOSFile(HANDLE handle);

    // Folder operations; each does nothing (or answers false) on a reference that is not a folder.
    bool ContainsItem(const String& name, const FileType& type);
    void Delete(const String& name);
    // Turns `name` into one no item of the type in this folder has: the name itself (unless
    // `firstNumber` is above 0), else the name followed by a number from `firstNumber` to 99 (cut
    // to fit ProjectNameMaxLength); throws error 183 when all are taken.
    void UniqueName(String& name, const FileType& type, int32_t firstNumber = 0);
    // The folder's items of the given types (all items for an empty list), in the system's order;
    // `recurse` lists plain sub-folders' items in place of the folders.
    SmartList<FileReference> Contents(const SmartList<FileType>& types, bool recurse);
    void AddContents(const SmartList<FileType>& types, bool recurse, SmartList<FileReference>& list);
    // Not carried out on this platform: asserts that this is a folder, warns "Not implemented."
    // and answers null.
    SmartPtr<Smart> FolderInfo();

    // The last write time, in universal time.
    SmartPtr<Time> GetModificationTime();
    // The same path, compared without regard to case; both empty counts as equal.
    bool operator==(FileReference& other);
    bool operator!=(FileReference& other) { return !(*this == other); }

    // The item's thumbnail in its folder's preview set (empty when none), and storing one.
    SmartPtr<Smart> GetPreview();
    void SetPreview(const SmartPtr<Smart>& image);
    // At quit: saves the last folder's preview set when thumbnails changed.
    static void SavePreviews();

    // The folder current when first asked (captured once), and the current folder now.
    static FileReference StartupFolder();
    static FileReference CurrentFolder();
    // Not carried out on this platform: warns "Not implemented." and answers an empty reference,
    // made by the default constructor, which warns again.
    static FileReference SystemFolder();
    static void SetAsCurrentDirectory(FileReference& folder);

    // A lost reference asks the user to locate its item (a refusal throws UserCancelException).
    void Resolve();
    // As Resolve, after a reference whose item has gone since it was made became lost: for the
    // operations that open a document the user asked for (a link followed, a page of the history).
    void LocateIfGone();

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

private:
    struct Empty { };
    explicit FileReference(Empty);
    void ClearPath();
    // CreateFileA with the access of the File mode, shared, normal attributes; expected codes
    // (87, 183, and 267 when opening) are cleared; a failure throws "Call failed.".
    static HANDLE OpenOSFile(const char* path, uint8_t mode, DWORD disposition);
    // The open dialog's chosen path; throws UserCancelException on cancel.
    static std::string OpenDialog(const SmartList<FileType>& types);

    std::unique_ptr<char[]> spec;
    std::unique_ptr<PathSpec> parts;
    bool needsLocating { true };
};

// The longest project name: 8 characters on the older platform, else 32.
uint16_t ProjectNameMaxLength();

namespace pw::foundation {

// What the floors above lend file references: the graphics floor's platform probe, and the window
// floor's folder preview sets (reached through their Smart interface) and progress ranges. Each is
// set at start-up; unset, the probe answers false and references keep no previews.
struct FileReferenceServices {
    bool (*isFullWin32)() = nullptr;
    // The set stored in the folder's preview file, empty when there is none.
    SmartPtr<Smart> (*loadFolderPreview)(FileReference& folder) = nullptr;
    SmartPtr<Smart> (*newFolderPreview)(FileReference& folder) = nullptr;
    void (*saveFolderPreview)(const SmartPtr<Smart>& set) = nullptr;
    SmartPtr<FileReference> (*previewFolder)(Smart& set) = nullptr;
    SmartPtr<Smart> (*previewImage)(Smart& set, FileReference& item) = nullptr;
    void (*setPreviewImage)(Smart& set, FileReference& item, const SmartPtr<Smart>& image) = nullptr;
    // A progress range of `steps` steps titled `title`, its advance and its end.
    void* (*openProgress)(int32_t steps, const char* title) = nullptr;
    void (*advanceProgress)(void* range, int32_t steps) = nullptr;
    void (*closeProgress)(void* range) = nullptr;
};

FileReferenceServices& GetFileReferenceServices();

// The parts of a path; only a "." after the last "\" starts an extension.
PathSpec ParsePath(const char* path);
// folder\name, and ".ext" for a non-zero extension code, into `path`; false (nothing written)
// when the result would not fit kMaxPath with its NUL. A folder ending in "\" gets no second one.
bool BuildPath(std::string& path, const char* folder, const char* name, uint32_t extension);
// The last component of a path (all of it when it has no "\").
const char* LastComponent(const char* path);
// Byte comparison with A to Z folded to lower case, as the file system compares names.
bool EqualPaths(const char* a, const char* b);

// Tests start each case with the start-up folder not yet captured and no preview set cached.
void ForgetStartupFolder();
void ForgetFolderPreviews();

} // namespace pw::foundation
