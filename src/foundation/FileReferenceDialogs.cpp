// FileReference: the open and save dialogs.
#include "foundation/FileReference.h"

#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileDialogFilter.h"
#include "foundation/FileType.h"
#include "foundation/Resources.h"
#include "foundation/UserCancelException.h"
#include "foundation/Utilities.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr const char* kAllFiles = "All Files";
constexpr const char* kDefaultSaveName = "index";
// "%1 already exists. Do you want to replace it?"
constexpr int32_t kReplaceQuestion = 132;

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
// `numbered` always numbers it: the plain name is kept for the folder's first document.
String DefaultSaveName(const FileType& type, bool numbered)
{
    String name(kDefaultSaveName);
    try {
        FileReference::CurrentFolder().UniqueName(name, type, numbered ? 1 : 0);
    } catch (Exception*) {
        CurrentException() = SmartPtr<Exception>();
        name = String(kDefaultSaveName);
    }
    return name;
}

// The path as the save dialog's type needs it: a path whose extension is not the type's gets the
// type's after it ("a.b.c" becomes "a.b.c.mvi"), so that the file is of the type and is listed
// with the others of its folder.
std::string WithExtension(const char* path, const FileType& type)
{
    uint32_t code = type.GetExtension();
    if (code == 0 || pw::foundation::ParsePath(path).extension == code)
        return path;
    char extension[4];
    FileType::ExtensionText(code, extension);
    return std::string(path) + "." + extension;
}

// Asks the question the dialog asks about a file it would replace, for a file the dialog did not
// see: Yes replaces it, No chooses again, Cancel ends the save.
bool MayReplace(const std::string& path)
{
    char question[kMessageSize];
    Resources(kReplaceQuestion, kReplaceQuestion).GetString(question, 0, path.c_str(), nullptr, nullptr, nullptr);
    int16_t answer = Alert(Alert::kExclamation, Alert::kYesNoCancel, question);
    if (answer == Alert::kAnswerCancel)
        ThrowUserCancel();
    return answer == Alert::kAnswerOk;
}

// The dialog is shown again in the folder it started in, with the name last chosen.
void RetypeIn(char* path, const char* folder)
{
    std::string name = pw::foundation::LastComponent(path);
    CopyBounded(name.c_str(), path, FileReference::kMaxPath);
    SetCurrentDirectoryA(folder);
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
// does not exist yet, so that the reference names a file. A name the dialog took with another
// extension gets the type's own after it, and a file refused by the check is chosen again: in
// both cases the dialog starts again from where it started, with the name typed.
SmartPtr<FileReference> FileReference::FileReferenceFromSaveDialog(
    const FileType& type, const FileCreatorType&, const SaveCheck& check, bool numbered)
{
    char path[kMaxPath];
    DefaultSaveName(type, numbered).GetCString(path, sizeof path);
    char startFolder[kMaxPath] = "";
    GetCurrentDirectoryA(sizeof startFolder, startFolder);
    uint32_t defaultCode;
    std::string filter = pw::foundation::SaveDialogFilter(type, defaultCode);
    char defaultExtension[4];
    FileType::ExtensionText(defaultCode, defaultExtension);
    for (;;) {
        OPENFILENAMEA record = FillOpenFileName(filter, path, defaultExtension, OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT);
        if (!GetSaveFileNameA(&record))
            ThrowUserCancel();
        std::string chosen = WithExtension(path, type);
        SmartPtr<FileReference> file = new FileReference(chosen.c_str());
        if (chosen != path && file->Exists() && !MayReplace(chosen)) {
            RetypeIn(path, startFolder);
            continue;
        }
        if (check && !check(*file.Get())) {
            RetypeIn(path, startFolder);
            continue;
        }
        CloseOSFile(OpenOSFile(chosen.c_str(), File::kRead, OPEN_ALWAYS));
        return file;
    }
}
