#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

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
