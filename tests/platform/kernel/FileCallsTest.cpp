#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/kernel/Clock.h"
#include "platform/kernel/KernelTestSupport.h"

using namespace pw::platform::testing;

namespace {

constexpr DWORD kReadWrite = GENERIC_READ | GENERIC_WRITE;

HANDLE Open(const char* path, DWORD access, DWORD disposition)
{
    SECURITY_ATTRIBUTES sa { 12, nullptr, FALSE };
    return CreateFileA(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

// The file against a byte string and a pointer: every call must agree with the model, leave no
// error behind when it succeeds, and the disk must hold the model's bytes at the end.
TEST(FileCalls, FollowTheByteVectorModelOverRandomOperations)
{
    for (unsigned seed = 1; seed <= 12; ++seed) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        std::string model;
        size_t position = 0;
        HANDLE file = Open("c:\\model.bin", kReadWrite, OPEN_ALWAYS);
        for (int step = 0; step < 300; ++step) {
            SetLastError(0);
            DWORD count = 99;
            std::string chunk(random() % 300, '\0');
            int operation = static_cast<int>(random() % 6);
            if (operation <= 1) {
                for (char& c : chunk)
                    c = static_cast<char>(random());
                ASSERT_TRUE(WriteFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &count, nullptr));
                ASSERT_EQ(count, chunk.size());
                model.resize(std::max(model.size(), position + chunk.size()), '\0');
                model.replace(position, chunk.size(), chunk);
                position += chunk.size();
            } else if (operation == 2) {
                ASSERT_TRUE(ReadFile(file, chunk.data(), static_cast<DWORD>(chunk.size()), &count, nullptr));
                std::string expected = position < model.size() ? model.substr(position, chunk.size()) : "";
                ASSERT_EQ(chunk.substr(0, count), expected);
                position += count;
            } else if (operation == 3) {
                DWORD method = random() % 3;
                LONG distance = static_cast<LONG>(random() % 600) - 200;
                int64_t target = distance + static_cast<int64_t>(method == FILE_BEGIN ? 0 : method == FILE_CURRENT ? position : model.size());
                DWORD result = SetFilePointer(file, distance, nullptr, method);
                ASSERT_EQ(result, target < 0 ? INVALID_SET_FILE_POINTER : static_cast<DWORD>(target));
                ASSERT_EQ(GetLastError(), target < 0 ? static_cast<DWORD>(ERROR_NEGATIVE_SEEK) : 0u);
                position = target < 0 ? position : static_cast<size_t>(target);
                SetLastError(0);
            } else if (operation == 4) {
                ASSERT_TRUE(SetEndOfFile(file));
                model.resize(position, '\0');
            } else { // reopen: the pointer starts at 0 again
                ASSERT_TRUE(CloseHandle(file));
                file = Open("c:\\MODEL.BIN", kReadWrite, OPEN_EXISTING);
                position = 0;
            }
            DWORD high = 7;
            ASSERT_EQ(GetFileSize(file, &high), model.size());
            ASSERT_EQ(high, 0u);
            ASSERT_EQ(GetLastError(), 0u) << "a successful call left an error";
        }
        ASSERT_TRUE(CloseHandle(file));
        EXPECT_EQ(ReadHostFile("model.bin"), model);
        ASSERT_TRUE(DeleteFileA("c:\\model.bin"));
    }
    EXPECT_EQ(LiveFileHandles(), 0u);
}

TEST(FileCalls, OpenAlwaysTellsWhetherTheFileExisted)
{
    SetLastError(ERROR_INVALID_PARAMETER);
    HANDLE made = Open("c:\\a.txt", GENERIC_WRITE, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), 0u);
    HANDLE again = Open("c:\\A.TXT", GENERIC_READ, OPEN_ALWAYS);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    SetLastError(1234);
    HANDLE existing = Open("c:\\a.txt", GENERIC_READ, OPEN_EXISTING);
    EXPECT_EQ(GetLastError(), 1234u);
    for (HANDLE file : { made, again, existing })
        EXPECT_TRUE(CloseHandle(file));
}

TEST(FileCalls, FailuresSetTheDocumentedCodes)
{
    MakeHostFolder("folder");
    MakeHostFile("data.bin", "abc");
    // Read-only for every user, root too, as the read-only attribute makes a file.
    MakeHostFile("locked.bin", "abc");
    std::filesystem::permissions(HostPath("locked.bin"), std::filesystem::perms::owner_read);
    struct Case {
        const char* path;
        DWORD disposition;
        DWORD error;
    } const cases[] = {
        { "c:\\nothing.bin", OPEN_EXISTING, ERROR_FILE_NOT_FOUND },
        { "c:\\nowhere\\x.bin", OPEN_ALWAYS, ERROR_PATH_NOT_FOUND },
        { "c:\\FOLDER", OPEN_EXISTING, ERROR_ACCESS_DENIED },
        { "c:\\", OPEN_ALWAYS, ERROR_ACCESS_DENIED },
        { "c:\\data.bin", CREATE_NEW, ERROR_FILE_EXISTS },
        { "c:\\data.bin", 9, ERROR_INVALID_PARAMETER },
        { "c:\\locked.bin", OPEN_EXISTING, ERROR_ACCESS_DENIED },
        { "c:\\locked.bin", CREATE_ALWAYS, ERROR_ACCESS_DENIED },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_EQ(Open(c.path, kReadWrite, c.disposition), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_FALSE(HostExists("nothing.bin"));
    EXPECT_EQ(ReadHostFile("locked.bin"), "abc");
    EXPECT_FALSE(DeleteFileA("c:\\locked.bin"));
    EXPECT_EQ(LiveFileHandles(), 0u);
}

TEST(FileCalls, AccessLimitsWhatAHandleMayDo)
{
    MakeHostFile("data.bin", "abcdef");
    char buffer[8];
    DWORD count = 0;
    HANDLE query = Open("c:\\data.bin", 0, OPEN_EXISTING);
    HANDLE reader = Open("c:\\data.bin", GENERIC_READ, OPEN_EXISTING);
    auto denied = [](BOOL result) { return !result && GetLastError() == ERROR_ACCESS_DENIED; };
    EXPECT_TRUE(denied(ReadFile(query, buffer, 4, &count, nullptr)));
    EXPECT_TRUE(denied(WriteFile(query, "x", 1, &count, nullptr)));
    EXPECT_TRUE(denied(WriteFile(reader, "x", 1, &count, nullptr)));
    EXPECT_TRUE(denied(SetEndOfFile(reader)));
    // A query handle still answers size and times.
    BY_HANDLE_FILE_INFORMATION info {};
    EXPECT_TRUE(GetFileInformationByHandle(query, &info));
    EXPECT_EQ(info.nFileSizeLow, 6u);
    CloseHandle(query);
    CloseHandle(reader);
    EXPECT_EQ(ReadHostFile("data.bin"), "abcdef");
}

TEST(FileCalls, DeadOrForeignHandlesFailWithInvalidHandle)
{
    MakeHostFile("data.bin", "abc");
    HANDLE closed = Open("c:\\data.bin", kReadWrite, OPEN_EXISTING);
    CloseHandle(closed);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("c:\\*.*", &found);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    char buffer[4];
    DWORD count = 0;
    BY_HANDLE_FILE_INFORMATION info;
    for (HANDLE handle : { closed, search, HANDLE(block), INVALID_HANDLE_VALUE, HANDLE(nullptr) }) {
        SCOPED_TRACE(reinterpret_cast<uintptr_t>(handle));
        SetLastError(0);
        EXPECT_FALSE(ReadFile(handle, buffer, 4, &count, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        EXPECT_EQ(SetFilePointer(handle, 0, nullptr, FILE_BEGIN), INVALID_SET_FILE_POINTER);
        EXPECT_EQ(GetFileSize(handle, nullptr), INVALID_FILE_SIZE);
        EXPECT_FALSE(GetFileInformationByHandle(handle, &info));
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    FindClose(search);
    GlobalFree(block);
}

TEST(FileCalls, HandlesSurviveTheRoundTripThroughHFILE)
{
    MakeHostFile("spool.tmp", std::string(10000, 's'));
    HFILE hf = static_cast<HFILE>(reinterpret_cast<INT_PTR>(Open("c:\\spool.tmp", GENERIC_READ, OPEN_EXISTING)));
    std::string buffer(8000, '\0');
    EXPECT_EQ(_lread(hf, buffer.data(), 8000), 8000u);
    EXPECT_EQ(_lread(hf, buffer.data(), 8000), 2000u);
    EXPECT_EQ(_lread(hf, buffer.data(), 8000), 0u);
    EXPECT_EQ(_lclose(hf), 0);
    EXPECT_EQ(_lclose(hf), HFILE_ERROR);
    EXPECT_EQ(_lread(hf, buffer.data(), 1), static_cast<UINT>(HFILE_ERROR));
}

// OpenFile opens for reading only, names the file by its full path and reports failures both as
// the last error and in the structure; _hread reads like _lread with a long count.
TEST(FileCalls, OpenFileReadsByNameAndHreadReadsLongCounts)
{
    MakeHostFolder("pics");
    MakeHostFile("pics/Photo.bmp", std::string(70000, 'p'));
    ASSERT_TRUE(SetCurrentDirectoryA("c:\\pics"));
    OFSTRUCT info {};
    HFILE file = OpenFile("photo.BMP", &info, OF_READ);
    ASSERT_NE(file, HFILE_ERROR);
    EXPECT_EQ(info.cBytes, sizeof(OFSTRUCT));
    EXPECT_EQ(info.nErrCode, 0);
    EXPECT_STREQ(info.szPathName, "c:\\pics\\Photo.bmp");
    std::string buffer(70000, '\0');
    EXPECT_EQ(_hread(file, buffer.data(), 65537), 65537);
    EXPECT_EQ(_hread(file, buffer.data(), 70000), 70000 - 65537);
    EXPECT_EQ(_hread(file, buffer.data(), 10), 0);
    EXPECT_EQ(_hread(file, buffer.data(), -1), HFILE_ERROR);
    DWORD written = 0;
    SetLastError(0);
    EXPECT_FALSE(WriteFile(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file)), "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED)) << "opened for reading only";
    EXPECT_EQ(_lclose(file), 0);
    EXPECT_EQ(_hread(file, buffer.data(), 1), HFILE_ERROR);

    // The structure holds at most 127 characters of path.
    std::string longName = "c:\\pics\\" + std::string(120, 'a') + ".bmp";
    struct Case {
        const char* path;
        UINT style;
        DWORD error;
    } const cases[] = {
        { "missing.bmp", OF_READ, ERROR_FILE_NOT_FOUND },
        { "c:\\nowhere\\x.bmp", OF_READ, ERROR_PATH_NOT_FOUND },
        { "c:\\pics", OF_READ, ERROR_ACCESS_DENIED },
        { "photo.bmp", 1, ERROR_INVALID_PARAMETER },
        { longName.c_str(), OF_READ, ERROR_FILENAME_EXCED_RANGE },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        OFSTRUCT failed {};
        SetLastError(0);
        EXPECT_EQ(OpenFile(c.path, &failed, c.style), HFILE_ERROR);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(failed.nErrCode, c.error);
    }
    EXPECT_EQ(LiveFileHandles(), 0u);
}

// No resources are built into the program: none is found, loaded or locked.
TEST(FileCalls, NoResourceIsEverFound)
{
    SetLastError(0);
    EXPECT_EQ(FindResourceA(nullptr, "picture", RT_BITMAP), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(LockResource(nullptr), nullptr);
}

TEST(FileCalls, WriteTimesFollowTheVirtualClock)
{
    HANDLE file = Open("c:\\stamp.txt", kReadWrite, OPEN_ALWAYS);
    pw::platform::Clock::Advance(86'400'000);
    DWORD put = 0;
    WriteFile(file, "x", 1, &put, nullptr);
    BY_HANDLE_FILE_INFORMATION info {};
    ASSERT_TRUE(GetFileInformationByHandle(file, &info));
    uint64_t written = (uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
    EXPECT_EQ(written, pw::platform::Clock::UtcFileTime());
    CloseHandle(file);
}

// The test disk's size: overwriting costs nothing, growth uses the space up, and the write that
// no longer fits puts down what fits and fails with 112.
TEST(FileCalls, AFullTestDiskTakesWhatFitsAndFailsWithDiskFull)
{
    HANDLE file = Open("c:\\full.bin", kReadWrite, OPEN_ALWAYS);
    DWORD put = 0;
    ASSERT_TRUE(WriteFile(file, "abcdef", 6, &put, nullptr));
    SetDiskSpaceLeft(4);
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    EXPECT_TRUE(WriteFile(file, "ABCDEF", 6, &put, nullptr));
    EXPECT_TRUE(WriteFile(file, "gh", 2, &put, nullptr));
    EXPECT_FALSE(WriteFile(file, "ijkl", 4, &put, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(put, 2u);
    EXPECT_EQ(*DiskSpaceLeft(), 0u);
    EXPECT_FALSE(WriteFile(file, "m", 1, &put, nullptr));
    EXPECT_EQ(put, 0u);
    CloseHandle(file);
    std::ifstream host(HostPath("full.bin"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(host), {}), "ABCDEFghij");
}
