// Folder searches. FindFirstFileA takes the whole listing at once, so a search is unaffected by
// later changes and its order is fixed: "." and ".." first (in any folder but the root), then the
// other names in ascending order of their case-folded bytes, so lists are repeatable. Patterns
// match the long name only, ignoring case; a name without a dot also matches as if it ended in
// ".", so "*.*" matches every name. Names are listed in the program's code page, whichever way the
// disk stores them.
#include <windows.h>

#include <algorithm>
#include <cstdint>
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

// An item of a listing: the names it goes by, the type the listing gave, and what the search
// reports of it. A listing of hundreds of items is put in order by index, and each item becomes a
// whole WIN32_FIND_DATAA only when it is handed out.
struct Entry {
    std::string name;   // in the code page
    std::string folded; // the name with ASCII letters folded: the order of the list
    std::string host;
    unsigned char type = DT_UNKNOWN;
    DWORD dwFileAttributes = 0;
    FILETIME ftCreationTime {};
    FILETIME ftLastAccessTime {};
    FILETIME ftLastWriteTime {};
    DWORD nFileSizeHigh = 0;
    DWORD nFileSizeLow = 0;
};

class Search : public pw::platform::KernelObject {
public:
    static constexpr Kind kKind = Kind::Find;

    Search()
        : KernelObject(kKind)
    {
    }

    // The next entry into `data`; false after the last.
    bool HandOut(WIN32_FIND_DATAA& data)
    {
        if (next >= order.size())
            return false;
        const Entry& entry = entries[order[next++]];
        data = {};
        data.dwFileAttributes = entry.dwFileAttributes;
        data.ftCreationTime = entry.ftCreationTime;
        data.ftLastAccessTime = entry.ftLastAccessTime;
        data.ftLastWriteTime = entry.ftLastWriteTime;
        data.nFileSizeHigh = entry.nFileSizeHigh;
        data.nFileSizeLow = entry.nFileSizeLow;
        std::memcpy(data.cFileName, entry.name.c_str(), std::min(entry.name.size() + 1, sizeof(data.cFileName) - 1));
        return true;
    }

    std::vector<Entry> entries;
    std::vector<uint32_t> order; // of entries, as handed out
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
    // The usual search, "*.ext", is a comparison of the name's end.
    std::string_view tail = pattern.substr(pattern.empty() ? 0 : 1);
    if (!pattern.empty() && pattern[0] == '*' && tail.find_first_of("*?") == std::string_view::npos)
        return name.size() >= tail.size() && PathMapper::EqualsIgnoringCase(name.substr(name.size() - tail.size()), tail);
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

// Looks at the item `entry` names in the open folder `folder`. Items are looked up relative to
// the folder, and an item the listing says is no link is looked at once: a save lists the
// project's folder, and a project of hundreds of pages should not cost hundreds of path walks.
void LookAt(Entry& entry, const pw::platform::FolderWriteAccess& access, int folder)
{
    const char* hostName = entry.host.c_str();
    struct stat st {};
    struct statx status;
    bool isLink = false;
    bool writable = false;
    if (entry.type != DT_UNKNOWN && entry.type != DT_LNK
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
    pw::platform::DescribeItem(entry, pw::platform::AttributesOf(st, isLink, writable), st);
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
    auto search = std::make_unique<Search>();
    std::vector<Entry>& entries = search->entries;
    if (!folder.isRoot) {
        // Both describe the folder searched.
        for (const char* dots : { ".", ".." }) {
            if (Matches(dots, pattern))
                entries.push_back(Entry { dots, dots, ".", DT_UNKNOWN });
        }
    }
    size_t dots = entries.size();
    while (const dirent* item = readdir(dir)) {
        std::string name = pw::platform::ProgramNameOf(item->d_name);
        // A host name Windows could not spell is left out: no path could reach it.
        if (name == "." || name == ".." || !PathMapper::IsValidName(name, false) || !Matches(name, pattern))
            continue;
        std::string folded = Folded(name);
        entries.push_back(Entry { std::move(name), std::move(folded), item->d_name, item->d_type });
    }
    pw::platform::FolderWriteAccess access(dirfd(dir));
    for (Entry& entry : entries)
        LookAt(entry, access, dirfd(dir));
    closedir(dir);
    if (entries.empty())
        return Fail(ERROR_FILE_NOT_FOUND, INVALID_HANDLE_VALUE);
    std::vector<uint32_t>& order = search->order;
    for (uint32_t index = 0; index < entries.size(); ++index)
        order.push_back(index);
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(dots), order.end(), [&entries](uint32_t a, uint32_t b) {
        int folded = entries[a].folded.compare(entries[b].folded);
        return folded != 0 ? folded < 0 : entries[a].name < entries[b].name;
    });
    search->HandOut(*lpFindFileData);
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
    if (!search->HandOut(*lpFindFileData))
        return Fail(ERROR_NO_MORE_FILES, FALSE);
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (HandleTable::Remove(hFindFile, Search::kKind) == nullptr)
        return Fail(ERROR_INVALID_HANDLE, FALSE);
    return TRUE;
}
