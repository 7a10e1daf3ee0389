// Folder searches. FindFirstFileA takes the whole listing at once, so a search is unaffected by
// later changes and its order is fixed: "." and ".." first (in any folder but the root), then the
// other names in ascending order of their case-folded bytes, so lists are repeatable. Patterns
// match the long name only, ignoring case; a name without a dot also matches as if it ended in
// ".", so "*.*" matches every name. Names are listed in the program's code page, whichever way the
// disk stores them.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/FolderWriteAccess.h"
#include "platform/kernel/HandleTable.h"
#include "platform/kernel/HostFiles.h"
#include "platform/kernel/LastError.h"
#include "platform/kernel/PathMapper.h"

using pw::platform::Fail;
using pw::platform::HandleTable;
using pw::platform::MappedPath;
using pw::platform::PathMapper;

namespace {

class Search : public pw::platform::KernelObject {
public:
    static constexpr Kind kKind = Kind::Find;

    Search()
        : KernelObject(kKind)
    {
    }

    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
};

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

// '*' matches any run of characters, '?' any one; the last '*' seen is retried one character
// further on a mismatch, which is enough for patterns without character classes.
bool Glob(std::string_view name, std::string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    size_t starAt = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            starName = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool Matches(const std::string& name, const std::string& pattern)
{
    if (Glob(name, pattern))
        return true;
    return name.find('.') == std::string::npos && Glob(name + ".", pattern);
}

// The entry for `hostName` in the open folder `folder`, listed as `name`. Items are looked up
// relative to the folder, and an item the listing says is no link is looked at once: a save lists
// the project's folder, and a project of hundreds of pages should not cost hundreds of path walks.
WIN32_FIND_DATAA EntryFor(const pw::platform::FolderWriteAccess& access, int folder, const char* hostName,
    unsigned char type, const std::string& name)
{
    WIN32_FIND_DATAA data {};
    struct stat st {};
    struct statx status;
    bool isLink = false;
    bool writable = false;
    if (type != DT_UNKNOWN && type != DT_LNK
        && statx(folder, hostName, AT_SYMLINK_NOFOLLOW, access.kStatxFields, &status) == 0
        && !S_ISLNK(status.stx_mode)) {
        st = pw::platform::FolderWriteAccess::StatOf(status);
        writable = S_ISDIR(st.st_mode) || access.Writable(hostName, status);
    } else {
        isLink = fstatat(folder, hostName, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(st.st_mode);
        if (fstatat(folder, hostName, &st, 0) != 0 && fstatat(folder, hostName, &st, AT_SYMLINK_NOFOLLOW) != 0)
            st = {};
        writable = S_ISDIR(st.st_mode) || faccessat(folder, hostName, W_OK, 0) == 0;
    }
    pw::platform::DescribeItem(data, pw::platform::AttributesOf(st, isLink, writable), st);
    std::memcpy(data.cFileName, name.c_str(), std::min(name.size() + 1, sizeof(data.cFileName) - 1));
    return data;
}

// An item of the listing before it is looked at: the names it goes by and the type the listing
// gave. Items are put in order in this form and looked at in that order, so a listing of hundreds
// of items neither folds names at each comparison nor moves whole entries around.
struct Listed {
    std::string name;
    std::string folded;
    std::string host;
    unsigned char type;
};

bool FoldedLess(const Listed* a, const Listed* b)
{
    int order = a->folded.compare(b->folded);
    return order != 0 ? order < 0 : a->name < b->name;
}

std::string Folded(std::string name)
{
    for (char& c : name)
        c = FoldCase(c);
    return name;
}

} // namespace

// Starts a search of "folder\pattern": the first match, INVALID_HANDLE_VALUE with 2 when nothing
// matches, 3 when the folder is missing.
HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (lpFindFileData == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, INVALID_HANDLE_VALUE);
    std::string pattern;
    MappedPath folder = PathMapper::MapFolderOf(lpFileName, pattern);
    if (folder.error != 0)
        return Fail(folder.error, INVALID_HANDLE_VALUE);
    if (pattern.empty())
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    if (!PathMapper::IsValidName(pattern, true))
        return Fail(ERROR_INVALID_NAME, INVALID_HANDLE_VALUE);

    DIR* dir = opendir(folder.hostPath.c_str());
    if (dir == nullptr)
        return Fail(ERROR_ACCESS_DENIED, INVALID_HANDLE_VALUE);
    std::vector<Listed> listed;
    while (const dirent* entry = readdir(dir)) {
        std::string name = pw::platform::ProgramNameOf(entry->d_name);
        // A host name Windows could not spell is left out: no path could reach it.
        if (name == "." || name == ".." || !PathMapper::IsValidName(name, false) || !Matches(name, pattern))
            continue;
        std::string folded = Folded(name);
        listed.push_back(Listed { std::move(name), std::move(folded), entry->d_name, entry->d_type });
    }
    std::vector<const Listed*> order;
    order.reserve(listed.size());
    for (const Listed& item : listed)
        order.push_back(&item);
    std::sort(order.begin(), order.end(), FoldedLess);
    pw::platform::FolderWriteAccess access(dirfd(dir));
    auto search = std::make_unique<Search>();
    search->entries.reserve(listed.size() + 2);
    if (!folder.isRoot) {
        // Both describe the folder searched.
        for (const char* dots : { ".", ".." }) {
            if (Matches(dots, pattern))
                search->entries.push_back(EntryFor(access, dirfd(dir), ".", DT_UNKNOWN, dots));
        }
    }
    for (const Listed* item : order)
        search->entries.push_back(EntryFor(access, dirfd(dir), item->host.c_str(), item->type, item->name));
    closedir(dir);
    if (search->entries.empty())
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    *lpFindFileData = search->entries[0];
    search->next = 1;
    HANDLE handle = HandleTable::Add(std::move(search));
    if (handle == nullptr)
        return Fail(ERROR_NOT_ENOUGH_MEMORY, INVALID_HANDLE_VALUE);
    return handle;
}

// The next match; FALSE with 18 at the end of the list.
BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    Search* search = HandleTable::Get<Search>(hFindFile);
    if (search == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    if (lpFindFileData == nullptr)
        return Fail(ERROR_INVALID_PARAMETER, FALSE);
    if (search->next >= search->entries.size())
        return Fail(ERROR_NO_MORE_FILES, FALSE);
    *lpFindFileData = search->entries[search->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (HandleTable::Remove(hFindFile, Search::kKind) == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    return TRUE;
}
