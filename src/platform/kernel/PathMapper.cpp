#include "platform/kernel/PathMapper.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <windows.h>

#include "platform/kernel/CodePage.h"
#include "platform/kernel/KernelTesting.h"

namespace pw::platform {

namespace {

constexpr size_t kMaxNameLength = 255;

struct State {
    std::string root; // empty until first use
    bool rootIsTemporary = false;
    std::vector<std::string> current;

    ~State() { RemoveTemporaryRoot(); }

    void RemoveTemporaryRoot()
    {
        if (rootIsTemporary) {
            std::error_code ignored;
            std::filesystem::remove_all(root, ignored);
        }
        rootIsTemporary = false;
    }
};

State& TheState()
{
    static State state;
    return state;
}

bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

char FoldCase(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + ('a' - 'A')) : c;
}

std::string MakeTemporaryRoot()
{
    std::error_code ec;
    std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec)
        base = "/tmp";
    std::string pattern = (base / "pw-drive-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::perror("platform: cannot make the test drive root");
        std::abort();
    }
    return pattern;
}

// The program's start-up folder: the real working folder, seen from the drive root "/".
std::vector<std::string> WorkingFolderComponents()
{
    std::vector<std::string> components;
    std::error_code ec;
    std::string cwd = std::filesystem::current_path(ec).string();
    for (size_t start = 0; !ec && start < cwd.size();) {
        size_t end = cwd.find('/', start);
        if (end == std::string::npos)
            end = cwd.size();
        if (end > start)
            components.push_back(ProgramNameOf(std::string_view(cwd).substr(start, end - start)));
        start = end + 1;
    }
    for (const std::string& name : components) {
        if (!PathMapper::IsValidName(name, false) || name.size() > kMaxNameLength)
            ec = std::make_error_code(std::errc::invalid_argument);
    }
    if (ec || PathMapper::WindowsForm(components).size() >= MAX_PATH) {
        std::fprintf(stderr, "platform: the working folder is no Windows path; starting at c:\\\n");
        components.clear();
    }
    return components;
}

State& InitializedState()
{
    State& s = TheState();
    if (s.root.empty()) {
        if (testing::IsTestMode()) {
            s.root = MakeTemporaryRoot();
            s.rootIsTemporary = true;
        } else {
            s.root.assign(1, '/'); // assign, not = "/": sidesteps a false g++ 12 -Wrestrict
            s.current = WorkingFolderComponents();
        }
    }
    return s;
}

bool IsHostFolder(const std::string& hostPath)
{
    struct stat st;
    return stat(hostPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A name of a folder on disk: as the host spells it, and as the program reads it.
struct DiskName {
    std::string host;
    std::string program;
};

// The entry of `folder` that program name `name` finds: the exact name in UTF-8, then the exact
// name in the code page (as names were stored before), otherwise the lowest (in host byte order)
// of the names that read as it ignoring case. A new name is looked for in the whole folder, which
// in a project holds a document for every page, so an entry is read only when its length allows:
// a host name never reads as a longer program name, and an ASCII one reads as itself.
std::optional<DiskName> FindName(const std::string& folder, const std::string& name)
{
    struct stat st;
    std::string host = HostNameOf(name);
    if (lstat(PathMapper::HostJoin(folder, host).c_str(), &st) == 0)
        return DiskName { host, name };
    if (host != name && ProgramNameOf(name) == name && lstat(PathMapper::HostJoin(folder, name).c_str(), &st) == 0)
        return DiskName { name, name };
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return std::nullopt;
    std::optional<DiskName> best;
    while (const dirent* entry = readdir(dir)) {
        std::string_view candidate = entry->d_name;
        if (candidate.size() < name.size() || (candidate.size() > name.size() && IsAscii(candidate))
            || candidate == "." || candidate == ".." || (best && candidate >= best->host))
            continue;
        std::string read = ProgramNameOf(candidate);
        if (PathMapper::EqualsIgnoringCase(read, name))
            best = DiskName { std::string(candidate), std::move(read) };
    }
    closedir(dir);
    return best;
}

DWORD ParseView(std::string_view s, std::vector<std::string>& components)
{
    bool absolute = false;
    if (s.size() >= 2 && s[1] == ':') {
        char drive = FoldCase(s[0]);
        if (drive < 'a' || drive > 'z')
            return ERROR_INVALID_NAME;
        if (drive != 'c')
            return ERROR_PATH_NOT_FOUND;
        s.remove_prefix(2);
        absolute = !s.empty() && IsSeparator(s[0]);
    } else if (!s.empty() && IsSeparator(s[0])) {
        // "\\server\share" and "\\?\" device paths name no folder of drive c:.
        if (s.size() >= 2 && IsSeparator(s[1]))
            return ERROR_PATH_NOT_FOUND;
        absolute = true;
    }
    components = absolute ? std::vector<std::string>{} : InitializedState().current;
    size_t start = 0;
    while (start <= s.size()) {
        size_t end = start;
        while (end < s.size() && !IsSeparator(s[end]))
            ++end;
        std::string_view part = s.substr(start, end - start);
        start = end + 1;
        if (part == "..") {
            if (!components.empty())
                components.pop_back();
            continue;
        }
        // Windows drops a name's trailing dots, so "name." is "name" and "..." is ".".
        while (!part.empty() && part.back() == '.')
            part.remove_suffix(1);
        if (part.empty())
            continue;
        if (!PathMapper::IsValidName(part, false))
            return ERROR_INVALID_NAME;
        if (part.size() > kMaxNameLength)
            return ERROR_FILENAME_EXCED_RANGE;
        components.emplace_back(part);
    }
    if (PathMapper::WindowsForm(components).size() >= MAX_PATH)
        return ERROR_FILENAME_EXCED_RANGE;
    return 0;
}

DWORD CheckedLength(const char* path, size_t& length)
{
    if (path == nullptr || *path == '\0')
        return ERROR_PATH_NOT_FOUND;
    length = strnlen(path, MAX_PATH);
    return length >= MAX_PATH ? ERROR_FILENAME_EXCED_RANGE : 0;
}

MappedPath Failed(DWORD error)
{
    MappedPath mapped;
    mapped.error = error;
    return mapped;
}

void ClassifyItem(MappedPath& mapped)
{
    struct stat st;
    if (lstat(mapped.hostPath.c_str(), &st) != 0) {
        mapped.kind = MappedPath::Kind::Missing;
        return;
    }
    mapped.isLink = S_ISLNK(st.st_mode);
    if (mapped.isLink && stat(mapped.hostPath.c_str(), &st) != 0)
        mapped.kind = MappedPath::Kind::Other;
    else if (S_ISDIR(st.st_mode))
        mapped.kind = MappedPath::Kind::Folder;
    else if (S_ISREG(st.st_mode))
        mapped.kind = MappedPath::Kind::File;
    else
        mapped.kind = MappedPath::Kind::Other;
}

// Finds the components on disk: every folder on the way must exist; the last name, when
// `lastIsItem`, may be missing.
MappedPath Walk(std::vector<std::string> components, bool lastIsItem)
{
    MappedPath mapped;
    std::string host = InitializedState().root;
    size_t folders = lastIsItem && !components.empty() ? components.size() - 1 : components.size();
    for (size_t i = 0; i < folders; ++i) {
        std::optional<DiskName> found = FindName(host, components[i]);
        if (!found)
            return Failed(ERROR_PATH_NOT_FOUND);
        std::string next = PathMapper::HostJoin(host, found->host);
        if (!IsHostFolder(next))
            return Failed(ERROR_PATH_NOT_FOUND);
        components[i] = std::move(found->program);
        host = std::move(next);
    }
    if (lastIsItem && !components.empty()) {
        std::string& last = components.back();
        std::string hostName = HostNameOf(last);
        if (std::optional<DiskName> found = FindName(host, last)) {
            hostName = std::move(found->host);
            last = std::move(found->program);
        }
        mapped.hostFolder = host;
        mapped.hostPath = PathMapper::HostJoin(host, hostName);
        mapped.name = last;
        ClassifyItem(mapped);
    } else {
        mapped.hostFolder = host;
        mapped.hostPath = host;
        mapped.kind = MappedPath::Kind::Folder;
        mapped.isRoot = components.empty();
        mapped.name = components.empty() ? std::string() : components.back();
    }
    mapped.windowsPath = PathMapper::WindowsForm(components);
    mapped.components = std::move(components);
    return mapped;
}

} // namespace

MappedPath PathMapper::Map(const char* path)
{
    size_t length = 0;
    if (DWORD error = CheckedLength(path, length))
        return Failed(error);
    std::vector<std::string> components;
    if (DWORD error = ParseView(std::string_view(path, length), components))
        return Failed(error);
    return Walk(std::move(components), true);
}

MappedPath PathMapper::MapFolderOf(const char* path, std::string& lastComponent)
{
    size_t length = 0;
    if (DWORD error = CheckedLength(path, length))
        return Failed(error);
    std::string_view s(path, length);
    size_t split = s.find_last_of("\\/");
    size_t folderEnd = split == std::string_view::npos ? 0 : split + 1;
    if (split == std::string_view::npos && s.size() >= 2 && s[1] == ':')
        folderEnd = 2;
    lastComponent = std::string(s.substr(folderEnd));
    std::vector<std::string> components;
    if (DWORD error = ParseView(s.substr(0, folderEnd), components))
        return Failed(error);
    return Walk(std::move(components), false);
}

DWORD PathMapper::Parse(const char* path, std::vector<std::string>& components)
{
    size_t length = 0;
    if (DWORD error = CheckedLength(path, length))
        return error;
    return ParseView(std::string_view(path, length), components);
}

std::string PathMapper::DriveRoot()
{
    return InitializedState().root;
}

void PathMapper::SetDriveRoot(const std::string& hostFolder)
{
    State& s = TheState();
    s.RemoveTemporaryRoot();
    s.root = hostFolder;
    while (s.root.size() > 1 && s.root.back() == '/')
        s.root.pop_back();
    s.current.clear();
}

void PathMapper::UseTemporaryDriveRoot()
{
    SetDriveRoot(MakeTemporaryRoot());
    TheState().rootIsTemporary = true;
}

std::string PathMapper::CurrentFolder()
{
    return WindowsForm(InitializedState().current);
}

void PathMapper::SetCurrentFolder(std::vector<std::string> components)
{
    InitializedState().current = std::move(components);
}

void PathMapper::ResetForTest()
{
    State& s = TheState();
    s.RemoveTemporaryRoot();
    s.root.clear();
    s.current.clear();
}

bool PathMapper::IsValidName(std::string_view name, bool allowWildcards)
{
    if (name.empty())
        return false;
    for (char c : name) {
        switch (c) {
        case '<':
        case '>':
        case ':':
        case '"':
        case '|':
        case '/':
        case '\\':
            return false;
        case '*':
        case '?':
            if (!allowWildcards)
                return false;
            break;
        default:
            if (static_cast<unsigned char>(c) < 32)
                return false;
        }
    }
    return true;
}

bool PathMapper::EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    }
    return true;
}

std::string PathMapper::HostJoin(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

std::string PathMapper::WindowsForm(const std::vector<std::string>& components)
{
    std::string form = "c:\\";
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0)
            form += '\\';
        form += components[i];
    }
    return form;
}

} // namespace pw::platform
