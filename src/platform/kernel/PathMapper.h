// Maps the program's Windows paths onto the host file system. Drive c: is one host folder, the
// drive root: "/" in the program, whose start-up folder is the real working folder seen as
// "c:\<its host path>"; in tests a fresh temporary folder per test (made on first use, removed at
// the reset) unless a test names one. Paths take "\" or "/" separators, resolve against the current
// folder when relative ("x", "c:x") or from the root ("\x", "c:\x"), drop "." components and a
// component's trailing dots, and let ".." stop at the root, so a mapped path never leaves the
// drive root. Paths are in the program's code page and names on disk in UTF-8 (CodePage.h): a new
// name is written in UTF-8, and a name stored in the code page is still found. Existing names are
// found ignoring ASCII case (the exact name first, otherwise the lowest in byte order); a missing
// last name keeps the case it was given. A path longer than 259 bytes, as given or resolved, fails
// with 206; a name holding a character Windows refuses fails with 123; another drive, a UNC path
// or a missing folder on the way fails with 3.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <windef.h>

namespace pw::platform {

struct MappedPath {
    enum class Kind { Missing, File, Folder, Other };

    DWORD error = 0;                     // non-zero: the mapping failed with this last error
    Kind kind = Kind::Missing;           // what the last name is on disk (following a link)
    bool isLink = false;                 // the last name is a symbolic link
    bool isRoot = false;
    std::vector<std::string> components; // the names below the root, in on-disk case where found
    std::string windowsPath;             // "c:\dir\name", in the code page
    std::string hostPath;                // the item on the host
    std::string hostFolder;              // the host folder holding it (the root for the root)
    std::string name;                    // the last component; empty for the root
};

class PathMapper {
public:
    // Maps `path` to the item it names; the last name may be missing (kind Missing).
    static MappedPath Map(const char* path);

    // Maps every component but the last to an existing folder and hands back the last raw, as a
    // search pattern (wildcards allowed, trailing dots kept). Missing or file folder: error 3.
    static MappedPath MapFolderOf(const char* path, std::string& lastComponent);

    // Splits `path` into the components below the root, resolved lexically (no disk access).
    static DWORD Parse(const char* path, std::vector<std::string>& components);

    static std::string DriveRoot();
    static void SetDriveRoot(const std::string& hostFolder);
    // Maps drive c: to a new temporary folder, removed at exit.
    static void UseTemporaryDriveRoot();

    // The current folder as "c:\dir\sub" ("c:\" at the root); every relative path resolves there.
    static std::string CurrentFolder();
    static void SetCurrentFolder(std::vector<std::string> components);

    // Back to the test state: removes the temporary drive root made for the last test.
    static void ResetForTest();

    static bool IsValidName(std::string_view name, bool allowWildcards);
    static bool EqualsIgnoringCase(std::string_view a, std::string_view b);

    static std::string HostJoin(const std::string& folder, const std::string& name);
    static std::string WindowsForm(const std::vector<std::string>& components);
};

} // namespace pw::platform
