// FileReference: children of folders, creating files and folders, listings, unique names and
// modification times.
#include "foundation/FileReference.h"

#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileType.h"
#include "foundation/Time.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using pw::foundation::BuildPath;
using pw::foundation::TextOf;

// A child path that does not fit is refused with the platform's "name too long" error.
std::string ChildPath(const char* folder, const String& name, uint32_t extension)
{
    std::string path;
    if (!BuildPath(path, folder, TextOf(name).c_str(), extension)) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        CheckCall(false, PW_HERE);
    }
    return path;
}

bool IsFolderPath(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

SmartPtr<FileReference> FileReference::FileReferenceInFolder(FileReference& parent, const String& name, bool createFolder)
{
    if (!parent.IsFolder())
        AssertionFailed("parent.IsFolder()", PW_HERE);
    parent.Resolve();
    std::string path = ChildPath(parent.Path(), name, 0);
    if (!createFolder) {
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (GetLastError() == ERROR_INVALID_PARAMETER)
            SetLastError(NO_ERROR);
        CheckCall(attributes != INVALID_FILE_ATTRIBUTES, PW_HERE);
    } else {
        // Only an existing folder of that name is what was asked for; any other failure (a file
        // in the way, no permission, a missing parent) is reported.
        SECURITY_ATTRIBUTES security { sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE };
        BOOL made = CreateDirectoryA(path.c_str(), &security);
        if (!made && GetLastError() == ERROR_ALREADY_EXISTS && IsFolderPath(path)) {
            SetLastError(NO_ERROR);
            made = TRUE;
        }
        CheckCall(made, PW_HERE);
    }
    return SmartPtr<FileReference>(new FileReference(path.c_str()));
}

SmartPtr<FileReference> FileReference::FileReferenceCreate(const FileType& type, const FileCreatorType&,
    FileReference& folder, const String& name, bool create)
{
    std::string path = ChildPath(folder.Path(), name, type.GetExtension());
    CloseOSFile(OpenOSFile(path.c_str(), File::kRead, create ? OPEN_ALWAYS : OPEN_EXISTING));
    return SmartPtr<FileReference>(new FileReference(path.c_str()));
}

bool FileReference::ContainsItem(const String& name, const FileType& type)
{
    if (!IsFolder())
        return false;
    Resolve();
    std::string path;
    if (!BuildPath(path, Path(), TextOf(name).c_str(), type.GetExtension()))
        return false;
    if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    SetLastError(NO_ERROR);
    return false;
}

void FileReference::Delete(const String& name)
{
    if (!IsFolder())
        return;
    CheckCall(DeleteFileA(ChildPath(Path(), name, 0).c_str()), PW_HERE);
}

// Candidates: the name, then the name followed by 1 to 99, cut so that name and number fit the
// longest project name. A name is never handed back when an item of that name exists.
void FileReference::UniqueName(String& name, const FileType& type, int32_t firstNumber)
{
    if (!IsFolder())
        return;
    String base(name);
    for (int32_t number = firstNumber; number <= 99; ++number) {
        String candidate(base);
        if (number > 0) {
            String digits(number);
            uint32_t limit = ProjectNameMaxLength();
            if (base.Length() + digits.Length() > limit)
                candidate = String(base, 1, limit - digits.Length());
            candidate.Append(digits);
        }
        if (!ContainsItem(candidate, type)) {
            name = candidate;
            return;
        }
    }
    SetLastError(ERROR_ALREADY_EXISTS);
    CheckCall(false, PW_HERE);
}

SmartList<FileReference> FileReference::Contents(const SmartList<FileType>& types, bool recurse)
{
    SmartList<FileReference> list;
    AddContents(types, recurse, list);
    return list;
}

// One pass per type with an extension code (one pass over every name for an empty list), in the
// order the system lists. Hidden-only entries and names starting with "." are left out; with
// `recurse`, plain folders (attributes exactly 0x10, so never a link) are listed in place.
void FileReference::AddContents(const SmartList<FileType>& types, bool recurse, SmartList<FileReference>& list)
{
    if (!spec)
        return;
    std::vector<std::string> patterns;
    if (types.NumItems() == 0)
        patterns.push_back("*");
    for (uint32_t index = 1; index <= types.NumItems(); ++index) {
        FileType* type = types.Item(index);
        if (!type || type->GetExtension() == 0)
            continue;
        char extension[4];
        FileType::ExtensionText(type->GetExtension(), extension);
        patterns.push_back(extension);
    }
    for (const std::string& pattern : patterns) {
        std::string search;
        if (!BuildPath(search, Path(), ("*." + pattern).c_str(), 0))
            continue;
        WIN32_FIND_DATAA found {};
        HANDLE searchHandle = FindFirstFileA(search.c_str(), &found);
        if (searchHandle == INVALID_HANDLE_VALUE)
            continue;
        do {
            std::string child;
            if (found.dwFileAttributes == FILE_ATTRIBUTE_HIDDEN || found.cFileName[0] == '.'
                || !BuildPath(child, Path(), found.cFileName, 0))
                continue;
            if (recurse && found.dwFileAttributes == FILE_ATTRIBUTE_DIRECTORY) {
                FileReference folder(child.c_str());
                folder.AddContents(types, recurse, list);
            } else {
                list.Append(SmartPtr<FileReference>(new FileReference(child.c_str())));
            }
        } while (FindNextFileA(searchHandle, &found));
        if (GetLastError() == ERROR_NO_MORE_FILES)
            SetLastError(NO_ERROR);
        CheckCall(FindClose(searchHandle), PW_HERE);
    }
    SetLastError(NO_ERROR);
}

SmartPtr<Time> FileReference::GetModificationTime()
{
    File file(*this, File::kQuery);
    BY_HANDLE_FILE_INFORMATION information {};
    CheckCall(GetFileInformationByHandle(file.GetOSFile(), &information), PW_HERE);
    SYSTEMTIME written {};
    CheckCall(FileTimeToSystemTime(&information.ftLastWriteTime, &written), PW_HERE);
    return SmartPtr<Time>(new Time(written));
}
