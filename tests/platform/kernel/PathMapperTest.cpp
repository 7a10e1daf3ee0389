#include "platform/kernel/PathMapper.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/kernel/KernelTestSupport.h"

using namespace pw::platform;
using namespace pw::platform::testing;

namespace {

DWORD ErrorOfAttributes(const std::string& path)
{
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
    return GetLastError();
}

} // namespace

TEST(PathMapper, FindsExistingNamesIgnoringCaseFromEveryForm)
{
    MakeHostFile("Data/Pic.BMP", "x");
    const char* const paths[] = {
        "c:\\Data\\Pic.BMP", "C:\\DATA\\PIC.BMP", "c:/data/pic.bmp", "\\data\\pic.bmp", "data\\pic.bmp",
        "c:data\\pic.bmp", "c:\\data\\.\\nowhere\\..\\pic.bmp", "c:\\data\\pic.bmp.", "c:\\data.\\\\pic.bmp..",
        "c:\\..\\..\\data\\pic.bmp", "..\\data\\...\\pic.bmp",
    };
    for (const char* path : paths) {
        SCOPED_TRACE(path);
        MappedPath mapped = PathMapper::Map(path);
        EXPECT_EQ(mapped.error, 0u);
        EXPECT_EQ(mapped.hostPath, HostPath("Data/Pic.BMP"));
        EXPECT_EQ(mapped.windowsPath, "c:\\Data\\Pic.BMP");
        EXPECT_EQ(GetFileAttributesA(path), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    }
}

TEST(PathMapper, PrefersTheExactNameThenTheLowestSpelling)
{
    MakeHostFile("dir/NAME", "upper");
    MakeHostFile("dir/name", "lower");
    MakeHostFile("dir/Name", "mixed");
    EXPECT_EQ(PathMapper::Map("c:\\dir\\name").hostPath, HostPath("dir/name"));
    EXPECT_EQ(PathMapper::Map("c:\\dir\\Name").hostPath, HostPath("dir/Name"));
    EXPECT_EQ(PathMapper::Map("c:\\dir\\nAmE").hostPath, HostPath("dir/NAME"));
}

TEST(PathMapper, NewNamesKeepTheirCaseAndLoseTrailingDots)
{
    MakeHostFolder("Projects");
    HANDLE file = CreateFileA("c:\\projects\\My Site.Txt.", GENERIC_WRITE, 3, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(CreateDirectoryA("C:\\PROJECTS\\NewFolder.", nullptr));
    EXPECT_TRUE(HostExists("Projects/My Site.Txt"));
    EXPECT_TRUE(HostExists("Projects/NewFolder"));
    // Found again under any case, with the dot or without.
    EXPECT_EQ(GetFileAttributesA("c:\\projects\\newfolder."), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(PathMapper, RefusesPathsOfMoreThan259Bytes)
{
    std::string folder = "c:\\" + std::string(200, 'a');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    std::string longest = folder + "\\" + std::string(259 - folder.size() - 1, 'b');
    ASSERT_EQ(longest.size(), 259u);
    HANDLE file = CreateFileA(longest.c_str(), GENERIC_WRITE, 3, nullptr, OPEN_ALWAYS, 0x80, nullptr);
    EXPECT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    std::string tooLong = longest + "c";
    EXPECT_EQ(ErrorOfAttributes(tooLong), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    // A short relative path that resolves past the limit, and a long one that would resolve short.
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    EXPECT_EQ(ErrorOfAttributes(std::string(56, 'b')), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    std::string winding;
    while (winding.size() < 260)
        winding += "x\\..\\";
    EXPECT_EQ(ErrorOfAttributes(winding + "b"), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    // A name longer than the host allows fails alike, never cut.
    SetCurrentDirectoryA("c:\\");
    EXPECT_EQ(ErrorOfAttributes(std::string(256, 'n')), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(PathMapper, ReportsMissingFoldersOtherDrivesAndBadNames)
{
    MakeHostFile("file.txt");
    struct Case {
        const char* path;
        DWORD error;
    } const cases[] = {
        { "c:\\missing.txt", ERROR_FILE_NOT_FOUND },
        { "c:\\missing\\x.txt", ERROR_PATH_NOT_FOUND },
        { "c:\\file.txt\\x.txt", ERROR_PATH_NOT_FOUND },
        { "d:\\x.txt", ERROR_PATH_NOT_FOUND },
        { "\\\\server\\share\\x.txt", ERROR_PATH_NOT_FOUND },
        { "", ERROR_PATH_NOT_FOUND },
        { "c:\\a?b", ERROR_INVALID_NAME },
        { "c:\\a*b", ERROR_INVALID_NAME },
        { "c:\\a<b\\c", ERROR_INVALID_NAME },
        { "c:\\a:b", ERROR_INVALID_NAME },
        { "c:\\a\tb", ERROR_INVALID_NAME },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(ErrorOfAttributes(c.path), c.error);
    }
}

TEST(PathMapper, RelativePathsResolveAgainstTheCurrentFolder)
{
    ASSERT_TRUE(SetStartupFolder("c:\\Plume\\Start"));
    char buffer[MAX_PATH];
    ASSERT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 14u);
    EXPECT_STREQ(buffer, "c:\\Plume\\Start");
    struct Case {
        const char* path;
        const char* host;
    } const cases[] = {
        { "x.txt", "Plume/Start/x.txt" },
        { ".\\Sub", "Plume/Start/Sub" },
        { "c:y.txt", "Plume/Start/y.txt" },
        { "..\\z.txt", "Plume/z.txt" },
        { "..\\..\\..\\..\\w.txt", "w.txt" },
        { "\\v.txt", "v.txt" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(PathMapper::Map(c.path).hostPath, HostPath(c.host));
    }
}

// A project folder holds a document for every page; a name is found in any case among hundreds of
// names, whatever their lengths and spellings, and a new name keeps its own case.
TEST(PathMapper, FindsNamesIgnoringCaseInAFolderOfManyNames)
{
    for (int page = 1; page <= 150; ++page)
        MakeHostFile("Site/Page " + std::to_string(page) + ".mvi");
    for (const char* name : { "Page 7.mvi.bak", "Page 7.mv", "Zo\xC3\xA9 7.mvi", "Zo\xE9 8.mvi" })
        MakeHostFile(std::string("Site/") + name);
    struct Case {
        const char* path;
        const char* host;
        MappedPath::Kind kind;
    } const cases[] = {
        { "c:\\site\\PAGE 7.MVI", "Site/Page 7.mvi", MappedPath::Kind::File },
        { "c:\\site\\page 150.Mvi", "Site/Page 150.mvi", MappedPath::Kind::File },
        { "c:\\site\\page 7.MV", "Site/Page 7.mv", MappedPath::Kind::File },
        { "c:\\site\\page 7.mvi.BAK", "Site/Page 7.mvi.bak", MappedPath::Kind::File },
        // Stored in UTF-8, longer on the disk than in the program; stored in the code page.
        { "c:\\site\\ZO\xE9 7.MVI", "Site/Zo\xC3\xA9 7.mvi", MappedPath::Kind::File },
        { "c:\\site\\ZO\xE9 8.MVI", "Site/Zo\xE9 8.mvi", MappedPath::Kind::File },
        { "c:\\site\\PAGE 151.MVI", "Site/PAGE 151.MVI", MappedPath::Kind::Missing },
        { "c:\\site\\wr1A.tmp", "Site/wr1A.tmp", MappedPath::Kind::Missing },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        MappedPath mapped = PathMapper::Map(c.path);
        EXPECT_EQ(mapped.error, 0u);
        EXPECT_EQ(mapped.hostPath, HostPath(c.host));
        EXPECT_EQ(mapped.kind, c.kind);
    }
}
