#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "platform/kernel/KernelTestSupport.h"

using namespace pw::platform::testing;

namespace {

// Every name a search yields, in order; the search must end with 18.
std::vector<std::string> List(const char* pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

void MakeGallery()
{
    for (const char* name : { "b.JPG", "a.jpg", "Zeta", "readme.txt", "C.jpg", "photo.jpg.bak", "_under" })
        MakeHostFile(std::string("Gallery/") + name, name);
    MakeHostFolder("Gallery/Sub");
}

using Names = std::vector<std::string>;

// Marks a host file immutable while it lives, where the host lets this process do so.
class Immutable {
public:
    explicit Immutable(const std::string& relative)
        : file(open(HostPath(relative).c_str(), O_RDONLY))
    {
        set = file >= 0 && Flip(true);
    }
    Immutable(const Immutable&) = delete;
    Immutable& operator=(const Immutable&) = delete;
    ~Immutable()
    {
        if (set)
            Flip(false);
        if (file >= 0)
            close(file);
    }

    bool set = false;

private:
    bool Flip(bool on) const
    {
        int flags = 0;
        if (ioctl(file, FS_IOC_GETFLAGS, &flags) != 0)
            return false;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        return ioctl(file, FS_IOC_SETFLAGS, &flags) == 0;
    }

    int file;
};

} // namespace

TEST(FindFiles, ListsDotsFirstThenNamesInFoldedOrder)
{
    MakeGallery();
    struct Case {
        const char* pattern;
        Names names;
    } const cases[] = {
        { "c:\\gallery\\*.*", { ".", "..", "_under", "a.jpg", "b.JPG", "C.jpg", "photo.jpg.bak", "readme.txt", "Sub", "Zeta" } },
        { "c:\\GALLERY\\*", { ".", "..", "_under", "a.jpg", "b.JPG", "C.jpg", "photo.jpg.bak", "readme.txt", "Sub", "Zeta" } },
        { "c:\\gallery\\*.jpg", { "a.jpg", "b.JPG", "C.jpg" } },
        { "gallery\\?.JPG", { "a.jpg", "b.JPG", "C.jpg" } },
        { "c:\\gallery\\zeta", { "Zeta" } },
        { "c:\\gallery\\z*.*", { "Zeta" } },
        { "c:\\gallery\\*.", { ".", "..", "_under", "Sub", "Zeta" } },
        { "c:\\gallery\\*a*", { "a.jpg", "photo.jpg.bak", "readme.txt", "Zeta" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(List(c.pattern), c.names);
    }
    EXPECT_EQ(LiveFindHandles(), 0u);
}

TEST(FindFiles, TheRootHasNoDotEntries)
{
    MakeHostFile("b.txt");
    MakeHostFolder("A");
    EXPECT_EQ(List("c:\\*.*"), (Names { "A", "b.txt" }));
}

TEST(FindFiles, EntriesCarryAttributesAndSizes)
{
    MakeGallery();
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA("c:\\gallery\\*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY)); // "."
    while (FindNextFileA(search, &data)) {
        std::string name = data.cFileName;
        SCOPED_TRACE(name);
        if (name == ".." || name == "Sub") {
            EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
        } else {
            EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
            EXPECT_EQ(data.nFileSizeLow, name.size()); // each file holds its own name
        }
    }
    FindClose(search);
}

// A listing reports each item's attributes as GetFileAttributesA does, the read-only bit included,
// whichever way the host keeps the item from being written.
TEST(FindFiles, EntriesSayWhatTheAttributesOfTheirItemsSay)
{
    for (const char* name : { "file.txt", "locked.txt", "frozen.txt", "Sub/inner.txt" })
        MakeHostFile(std::string("Modes/") + name, name);
    std::filesystem::permissions(HostPath("Modes/locked.txt"), std::filesystem::perms::owner_read);
    std::filesystem::create_symlink(HostPath("Modes/locked.txt"), HostPath("Modes/to-locked"));
    std::filesystem::create_symlink(HostPath("Modes/file.txt"), HostPath("Modes/to-file"));
    std::filesystem::create_directory_symlink(HostPath("Modes/Sub"), HostPath("Modes/to-sub"));
    Immutable frozen("Modes/frozen.txt");
    // A file nobody may write is read-only for root too.
    DWORD locked = FILE_ATTRIBUTE_READONLY;
    struct Case {
        const char* name;
        DWORD attributes;
    } const cases[] = {
        { "file.txt", FILE_ATTRIBUTE_NORMAL },
        { "frozen.txt", frozen.set ? DWORD(FILE_ATTRIBUTE_READONLY) : DWORD(FILE_ATTRIBUTE_NORMAL) },
        { "locked.txt", locked },
        { "Sub", FILE_ATTRIBUTE_DIRECTORY },
        { "to-file", FILE_ATTRIBUTE_NORMAL },
        { "to-locked", locked },
        { "to-sub", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WIN32_FIND_DATAA data;
        std::string path = std::string("c:\\modes\\") + c.name;
        HANDLE search = FindFirstFileA(path.c_str(), &data);
        ASSERT_NE(search, INVALID_HANDLE_VALUE);
        FindClose(search);
        EXPECT_EQ(data.dwFileAttributes, c.attributes);
        EXPECT_EQ(GetFileAttributesA(path.c_str()), c.attributes);
    }
}

TEST(FindFiles, MissesAndTheEndSetTheirCodes)
{
    MakeGallery();
    struct Case {
        const char* pattern;
        DWORD error;
    } const cases[] = {
        { "c:\\gallery\\*.gif", ERROR_FILE_NOT_FOUND },
        { "c:\\gallery\\", ERROR_FILE_NOT_FOUND },
        { "c:\\missing\\*.*", ERROR_PATH_NOT_FOUND },
        { "c:\\gallery\\a.jpg\\*.*", ERROR_PATH_NOT_FOUND },
        { "c:\\gallery\\a|b", ERROR_INVALID_NAME },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        WIN32_FIND_DATAA data;
        SetLastError(0);
        EXPECT_EQ(FindFirstFileA(c.pattern, &data), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA("c:\\gallery\\a.jpg", &data);
    EXPECT_FALSE(FindNextFileA(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

// Names alike but for letter case come in byte order among themselves; letters beyond ASCII come
// after every ASCII letter.
TEST(FindFiles, NamesAlikeButForCaseKeepAFixedOrder)
{
    for (const char* name : { "same", "\xC3\xA9t\xC3\xA9", "Same", "zed", "sAme1", "SAME" })
        MakeHostFile(std::string("Ties/") + name);
    EXPECT_EQ(List("c:\\ties\\*"), (Names { ".", "..", "SAME", "Same", "same", "sAme1", "zed", "\xE9t\xE9" }));
}
