#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <string>


#include "platform/kernel/KernelTestSupport.h"

using namespace pw::platform::testing;

TEST(FolderCalls, AttributesTellFoldersFilesAndLinks)
{
    MakeHostFile("Data/file.txt");
    MakeHostFile("Data/locked.txt");
    std::filesystem::permissions(HostPath("Data/locked.txt"), std::filesystem::perms::owner_read);
    std::filesystem::create_directory_symlink(HostPath("Data"), HostPath("Link"));
    struct Case {
        const char* path;
        DWORD attributes;
    } const cases[] = {
        { "c:\\", FILE_ATTRIBUTE_DIRECTORY },
        { "c:\\data", FILE_ATTRIBUTE_DIRECTORY },
        { "c:\\data\\FILE.txt", FILE_ATTRIBUTE_NORMAL },
        // A file nobody may write is read-only for root too.
        { "c:\\data\\locked.txt", FILE_ATTRIBUTE_READONLY },
        { "c:\\link", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetFileAttributesA(c.path), c.attributes);
    }
}

TEST(FolderCalls, CreateAndDeleteReportWhatIsInTheWay)
{
    MakeHostFile("Data/file.txt");
    SetLastError(0);
    EXPECT_TRUE(CreateDirectoryA("c:\\data\\New", nullptr));
    EXPECT_EQ(GetLastError(), 0u);
    auto failsWith = [](BOOL result) { return result ? 0 : GetLastError(); };
    EXPECT_EQ(failsWith(CreateDirectoryA("c:\\DATA", nullptr)), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(failsWith(CreateDirectoryA("c:\\data\\file.txt", nullptr)), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(failsWith(CreateDirectoryA("c:\\none\\new", nullptr)), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(failsWith(DeleteFileA("c:\\data\\gone.txt")), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failsWith(DeleteFileA("c:\\none\\gone.txt")), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(failsWith(DeleteFileA("c:\\data\\new")), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(DeleteFileA("c:\\DATA\\File.TXT"));
    EXPECT_FALSE(HostExists("Data/file.txt"));
    EXPECT_TRUE(HostExists("Data/New"));
}

TEST(FolderCalls, CurrentFolderInOnDiskCase)
{
    MakeHostFile("Plume/Projects/site.txt");
    char buffer[MAX_PATH] = "untouched";
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 3u);
    EXPECT_STREQ(buffer, "c:\\");
    ASSERT_TRUE(SetCurrentDirectoryA("C:\\PLUME\\projects\\"));
    EXPECT_EQ(GetFileAttributesA("site.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    // Too small: the size needed with its NUL, nothing written.
    char small[17] = "untouched";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), 18u);
    EXPECT_STREQ(small, "untouched");

    auto failsWith = [](BOOL result) { return result ? 0 : GetLastError(); };
    EXPECT_EQ(failsWith(SetCurrentDirectoryA("c:\\plume\\none")), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failsWith(SetCurrentDirectoryA("c:\\none\\none")), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(failsWith(SetCurrentDirectoryA("site.txt")), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_EQ(GetCurrentDirectoryA(MAX_PATH, buffer), 17u);
    EXPECT_STREQ(buffer, "c:\\Plume\\Projects");
}

TEST(FolderCalls, TempFileNamesAreFreshAndMadeEmpty)
{
    MakeHostFile("Work/file.txt");
    char names[2][MAX_PATH];
    UINT numbers[2] = { GetTempFileNameA("c:\\work", "wrx", 0, names[0]), GetTempFileNameA("c:\\work\\", "wr", 0, names[1]) };
    EXPECT_NE(numbers[0], numbers[1]);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i]);
        ASSERT_NE(numbers[i], 0u);
        char expected[MAX_PATH];
        std::snprintf(expected, sizeof expected, "c:\\work\\%s%04X.tmp", i == 0 ? "wrx" : "wr", numbers[i]);
        EXPECT_STREQ(names[i], expected);
        EXPECT_EQ(std::filesystem::file_size(HostPath("Work/" + std::string(names[i] + 8))), 0u);
    }
    EXPECT_EQ(GetTempFileNameA("c:\\none", "wr", 0, names[0]), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(GetTempFileNameA("c:\\work\\file.txt", "wr", 0, names[0]), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DIRECTORY));
    EXPECT_EQ(LiveFileHandles(), 0u);
}

TEST(FolderCalls, MoveReplacesTheTargetWholeOrReportsWhy)
{
    MakeHostFile("Data/new.txt", "new bytes");
    MakeHostFile("Data/Old.txt", "the older and longer bytes");
    MakeHostFile("Data/other.txt", "other");
    std::filesystem::create_directory(HostPath("Data/Folder"));
    auto failsWith = [](BOOL result) { return result ? 0 : GetLastError(); };
    struct Case {
        const char* from;
        const char* to;
        DWORD flags;
        DWORD error;
    } const refused[] = {
        { "c:\\data\\new.txt", "c:\\data\\old.txt", 0, ERROR_ALREADY_EXISTS },
        { "c:\\data\\gone.txt", "c:\\data\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_FILE_NOT_FOUND },
        { "c:\\none\\new.txt", "c:\\data\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_PATH_NOT_FOUND },
        { "c:\\data\\new.txt", "c:\\none\\old.txt", MOVEFILE_REPLACE_EXISTING, ERROR_PATH_NOT_FOUND },
        { "c:\\data\\new.txt", "c:\\data\\folder", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED },
        { "c:\\data\\folder", "c:\\data\\moved", MOVEFILE_REPLACE_EXISTING, ERROR_ACCESS_DENIED },
        { "c:\\data\\new.txt", "c:\\data\\old.txt", 0x8, ERROR_INVALID_PARAMETER },
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        EXPECT_EQ(failsWith(MoveFileExA(c.from, c.to, c.flags)), c.error);
    }
    EXPECT_EQ(ReadHostFile("Data/Old.txt"), "the older and longer bytes");

    // The existing name keeps its on-disk case and takes the moved bytes; the old name goes.
    EXPECT_TRUE(MoveFileExA("c:\\data\\NEW.txt", "c:\\data\\old.TXT", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(ReadHostFile("Data/Old.txt"), "new bytes");
    EXPECT_FALSE(HostExists("Data/new.txt"));
    // A missing new name is made with the case it was given.
    EXPECT_TRUE(MoveFileExA("c:\\data\\other.txt", "c:\\data\\Fresh.txt", 0));
    EXPECT_EQ(ReadHostFile("Data/Fresh.txt"), "other");
}
