// FileReference: the open and save dialogs.
#include "foundation/FileReference.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileDialogFilter.h"
#include "foundation/FileType.h"
#include "foundation/UserCancelException.h"
#include "foundation/Utilities.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr const char* kAllFiles = "All Files";
constexpr const char* kDefaultSaveName = "index";

// Keeps the current folder for the life of the object; the open dialog moves it to the chosen
// file's folder.
class CurrentDirectorySaver {
public:
    CurrentDirectorySaver() { GetCurrentDirectoryA(sizeof folder, folder); }
    ~CurrentDirectorySaver() { SetCurrentDirectoryA(folder); }

    CurrentDirectorySaver(const CurrentDirectorySaver&) = delete;
    CurrentDirectorySaver& operator=(const CurrentDirectorySaver&) = delete;

private:
    char folder[MAX_PATH] {};
};

OPENFILENAMEA FillOpenFileName(const std::string& filter, char* path, const char* defaultExtension, DWORD flags)
{
    OPENFILENAMEA record {};
    record.lStructSize = sizeof(OPENFILENAMEA);
    record.hwndOwner = Alert::OwnerWindow();
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = path;
    record.nMaxFile = FileReference::kMaxPath;
    record.Flags = flags;
    record.lpstrDefExt = defaultExtension;
    return record;
}

[[noreturn]] void ThrowUserCancel()
{
    ThrowPointer(SmartPtr<Exception>(new UserCancelException));
}

// The name the save dialog offers: the default save name, numbered when the folder the dialog
// opens in (the current one) already holds an item of that name and type, so that accepting it
// never offers to replace a page saved before. With every number taken the plain name stays.
String DefaultSaveName(const FileType& type)
{
    String name(kDefaultSaveName);
    try {
        FileReference::CurrentFolder().UniqueName(name, type);
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        name = String(kDefaultSaveName);
    }
    return name;
}

} // namespace

void pw::foundation::AppendFilter(std::string& filter, const char* name, uint32_t code)
{
    std::string pattern = "*.";
    if (code == kAnyExtension) {
        pattern += '*';
    } else {
        char extension[4];
        FileType::ExtensionText(code, extension);
        pattern += extension;
    }
    filter += name ? name : "";
    filter += " (" + pattern + ")";
    filter += '\0';
    filter += pattern;
    filter += '\0';
}

std::string pw::foundation::OpenDialogFilter(const SmartList<FileType>& types, uint32_t& defaultCode)
{
    std::string filter;
    defaultCode = 0;
    for (uint32_t index = 1; index <= types.NumItems(); ++index) {
        FileType* type = types.Item(index);
        if (!type || type->GetExtension() == 0)
            continue;
        if (defaultCode == 0)
            defaultCode = type->GetExtension();
        AppendFilter(filter, type->GetName(), type->GetExtension());
    }
    if (types.NumItems() == 0) {
        defaultCode = kAnyExtension;
        AppendFilter(filter, kAllFiles, kAnyExtension);
    }
    filter += '\0';
    return filter;
}

std::string pw::foundation::SaveDialogFilter(const FileType& type, uint32_t& defaultCode)
{
    defaultCode = type.GetExtension() != 0 ? type.GetExtension() : kAnyExtension;
    std::string filter;
    AppendFilter(filter, type.GetName(), defaultCode);
    filter += '\0';
    return filter;
}

// The current folder is the same after the dialog, cancelled or not.
std::string FileReference::OpenDialog(const SmartList<FileType>& types)
{
    CurrentDirectorySaver saver;
    char path[kMaxPath] = "";
    uint32_t defaultCode;
    std::string filter = pw::foundation::OpenDialogFilter(types, defaultCode);
    char defaultExtension[4];
    FileType::ExtensionText(defaultCode, defaultExtension);
    OPENFILENAMEA record = FillOpenFileName(filter, path, defaultExtension, OFN_FILEMUSTEXIST);
    if (!GetOpenFileNameA(&record))
        ThrowUserCancel();
    return path;
}

SmartPtr<FileReference> FileReference::FileReferenceFromDialog(const FileType& type)
{
    SmartList<FileType> types;
    types.Append(SmartPtr<FileType>(new FileType(type)));
    return FileReferenceFromDialogList(types);
}

SmartPtr<FileReference> FileReference::FileReferenceFromDialogList(const SmartList<FileType>& types)
{
    return SmartPtr<FileReference>(new FileReference(OpenDialog(types).c_str()));
}

// The dialog asks before an existing file is replaced; the chosen file is made empty when it
// does not exist yet, so that the reference names a file.
SmartPtr<FileReference> FileReference::FileReferenceFromSaveDialog(const FileType& type, const FileCreatorType&)
{
    char path[kMaxPath];
    DefaultSaveName(type).GetCString(path, sizeof path);
    uint32_t defaultCode;
    std::string filter = pw::foundation::SaveDialogFilter(type, defaultCode);
    char defaultExtension[4];
    FileType::ExtensionText(defaultCode, defaultExtension);
    OPENFILENAMEA record = FillOpenFileName(filter, path, defaultExtension, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
    if (!GetSaveFileNameA(&record))
        ThrowUserCancel();
    CloseOSFile(OpenOSFile(path, File::kRead, OPEN_ALWAYS));
    return SmartPtr<FileReference>(new FileReference(path));
}
