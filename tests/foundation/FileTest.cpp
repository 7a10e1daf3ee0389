#include "foundation/File.h"
#include "foundation/FileReference.h"

#include "ErrorCode.h"
#include "Failure.h"

#include "platform/kernel/KernelTestSupport.h"
#include "platform/testing/Reset.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

using pw::platform::testing::MakeHostFile;
using pw::platform::testing::ReadHostFile;

std::string Read(File& file, uint32_t count)
{
    std::string bytes(count, '\0');
    file.Read(bytes.data(), count);
    return bytes;
}

// Changes a file's bytes behind a File's back, through a second handle.
void Overwrite(const char* path, uint32_t offset, const std::string& bytes)
{
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, 3, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE);
    SetFilePointer(handle, static_cast<LONG>(offset), nullptr, FILE_BEGIN);
    DWORD written = 0;
    WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(handle);
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    return bytes;
}

// The File against a byte vector and a mark, over random writes, reads, seeks, truncations and
// flushes whose sizes cross the 16 KB buffer in every way; the file on disk must end up equal.
TEST(File, BehavesLikeAByteVector)
{
    for (uint32_t seed : { 1u, 2u, 3u, 4u }) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        pw::platform::testing::ResetPlatform();
        MakeHostFile("model.bin");
        std::mt19937 random(seed);
        auto pick = [&](uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(random); };
        auto size = [&] {
            switch (pick(0, 4)) {
            case 0: return pick(1, 8);
            case 1: return pick(1, 200);
            case 2: return pick(16000, 16500);
            case 3: return pick(16385, 40000);
            default: return pick(1, 5000);
            }
        };
        std::vector<uint8_t> model;
        uint32_t mark = 0;
        {
            File file(FileReference("c:\\model.bin"), File::kRead | File::kWrite);
            for (int step = 0; step < 400; ++step) {
                uint32_t operation = pick(0, 9);
                if (operation <= 3) {
                    std::vector<uint8_t> bytes(size());
                    for (uint8_t& byte : bytes)
                        byte = static_cast<uint8_t>(pick(0, 255));
                    file.Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
                    if (model.size() < mark + bytes.size())
                        model.resize(mark + bytes.size());
                    std::copy(bytes.begin(), bytes.end(), model.begin() + mark);
                    mark += static_cast<uint32_t>(bytes.size());
                } else if (operation <= 6) {
                    uint32_t count = size();
                    std::vector<uint8_t> bytes(count, 0xEE);
                    std::string failure = Failure([&] { file.Read(bytes.data(), count); });
                    uint32_t available = mark < model.size() ? static_cast<uint32_t>(model.size()) - mark : 0;
                    uint32_t delivered = std::min(count, available);
                    ASSERT_EQ(failure, count > available ? "Unexpected end of file." : "") << "step " << step;
                    ASSERT_TRUE(std::equal(bytes.begin(), bytes.begin() + delivered, model.begin() + mark)) << "step " << step;
                    mark += delivered;
                } else if (operation == 7) {
                    uint32_t length = static_cast<uint32_t>(model.size());
                    switch (pick(1, 3)) {
                    case 1: {
                        uint32_t target = pick(0, length + 50);
                        file.Seek(static_cast<int32_t>(target), Stream::kFromStart);
                        mark = target;
                        break;
                    }
                    case 2: {
                        uint32_t back = pick(0, length);
                        file.Seek(static_cast<int32_t>(back), Stream::kFromEnd);
                        mark = length - back;
                        break;
                    }
                    default: {
                        int32_t delta = static_cast<int32_t>(pick(0, 40)) - static_cast<int32_t>(std::min<uint32_t>(mark, 20));
                        file.Seek(delta, Stream::kFromMark);
                        mark = static_cast<uint32_t>(static_cast<int32_t>(mark) + delta);
                        break;
                    }
                    }
                } else if (operation == 8) {
                    uint32_t length = pick(0, static_cast<uint32_t>(model.size()) + 100);
                    file.SetLength(length);
                    model.resize(length);
                    mark = length;
                } else {
                    file.Flush();
                }
                ASSERT_EQ(file.GetMark(), mark) << "step " << step;
                ASSERT_EQ(file.GetLength(), model.size()) << "step " << step;
            }
        }
        std::string diskText = ReadHostFile("model.bin");
        std::vector<uint8_t> disk(diskText.begin(), diskText.end());
        ASSERT_EQ(disk.size(), model.size());
        auto mismatch = std::mismatch(model.begin(), model.end(), disk.begin());
        EXPECT_EQ(mismatch.first, model.end()) << "first difference at " << (mismatch.first - model.begin()) << " of " << model.size();
    }
}

// Scripted uses of one file: what the script read (and what failed) and what is on disk after.
TEST(File, BufferedReadsAndWritesLandWhereTheyBelong)
{
    struct Case {
        const char* name;
        std::string before;
        uint8_t mode;
        std::string (*script)(File&);
        std::string read;
        std::string after;
    };
    const std::string big = Pattern(20000);
    const std::vector<Case> cases = {
        { "a read past the end delivers what there is", "abcd", File::kRead,
            [](File& f) {
                std::string failure = Failure([&] { Read(f, 10); });
                f.Seek(0, Stream::kFromStart);
                return failure + Read(f, 4);
            },
            "Unexpected end of file.abcd", "abcd" },
        { "a write inside the read-ahead window lands at the mark", "0123456789", File::kRead | File::kWrite,
            [](File& f) {
                f.Write("abcde", 5);
                std::string read = Read(f, 2);
                f.Write("Q", 1);
                return read + Read(f, 1);
            },
            "568", "abcde56Q89" },
        { "pending bytes count in the length", "", File::kRead | File::kWrite,
            [](File& f) {
                f.Write("0123456789", 10);
                f.Seek(3, Stream::kFromEnd);
                std::string read = Read(f, 3);
                return read + (f.AtEnd() ? " at the end" : "");
            },
            "789 at the end", "0123456789" },
        { "set length cuts at the mark inside the window", "0123456789", File::kRead | File::kWrite,
            [](File& f) {
                std::string read = Read(f, 8);
                f.SetLength(4);
                f.Write("xy", 2);
                f.SetLength(5);
                f.Seek(7, Stream::kFromStart);
                return read + std::to_string(f.GetLength());
            },
            "012345675", "0123x" },
        { "unknown seek modes and seeks before the start are refused", "0123456789", File::kRead,
            [](File& f) {
                f.Seek(4, Stream::kFromStart);
                f.Seek(2, 9);
                std::string error = std::to_string(ErrorCode([&] { f.Seek(-20, Stream::kFromMark); }));
                return error + Read(f, 1);
            },
            std::to_string(ERROR_NEGATIVE_SEEK) + "4", "0123456789" },
        { "a write without write access fails when flushed", "abc", File::kRead,
            [](File& f) {
                f.Write("x", 1);
                std::string error = std::to_string(ErrorCode([&] { f.Flush(); }));
                error += std::to_string(f.GetMark());
                return error + Read(f, 3);
            },
            std::to_string(ERROR_ACCESS_DENIED) + "0abc", "abc" },
        { "large writes go straight to disk", "", File::kRead | File::kWrite,
            [](File& f) {
                std::string large = Pattern(20000);
                f.Write("head", 4);
                f.Write(large.data(), static_cast<uint32_t>(large.size()));
                std::string onDisk = ReadHostFile("case.bin") == "head" + large ? "on disk" : "pending";
                f.Write("tail", 4);
                return onDisk;
            },
            "on disk", "head" + big + "tail" },
        // The buffer serves reads inside its window without asking the system again: bytes changed
        // behind the File's back show only once the window is left.
        { "reads come one block at a time", big, File::kRead,
            [](File& f) {
                std::string read = Read(f, 1);
                Overwrite("c:\\case.bin", 100, "XY");
                Overwrite("c:\\case.bin", 16384, "ZZ");
                f.Seek(100, Stream::kFromStart);
                read += Read(f, 2);
                f.Seek(16384, Stream::kFromStart);
                return read + Read(f, 2);
            },
            "a" + big.substr(100, 2) + "ZZ", big.substr(0, 100) + "XY" + big.substr(102, 16282) + "ZZ" + big.substr(16386) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeHostFile("case.bin", c.before);
        {
            File file(FileReference("c:\\case.bin"), c.mode);
            EXPECT_EQ(c.script(file), c.read);
        }
        EXPECT_EQ(ReadHostFile("case.bin"), c.after);
    }
}

// A File over a folder or over an item that is missing (or went) stays unopened; every use then
// fails with the system's refusal, which a user can cause by moving files, never with a check
// that reports a fault of the program.
TEST(File, UnopenedFilesFailWithTheSystemsRefusal)
{
    pw::platform::testing::MakeHostFolder("folder");
    MakeHostFile("gone.txt", "abc");
    struct Case {
        const char* name;
        const char* path;
        uint32_t error;
    } const cases[] = {
        { "a folder", "c:\\folder", ERROR_ACCESS_DENIED },
        { "a missing file", "c:\\nothing.txt", ERROR_FILE_NOT_FOUND },
        { "a file in a missing folder", "c:\\no\\such.txt", ERROR_FILE_NOT_FOUND },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        File file(FileReference(c.path), File::kRead | File::kWrite);
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.GetLength(), 0u);
        char byte = 'x';
        EXPECT_EQ(ErrorCode([&] { file.GetMark(); }), c.error);
        EXPECT_EQ(ErrorCode([&] { file.GetOSFile(); }), c.error);
        EXPECT_EQ(ErrorCode([&] { file.Read(&byte, 1); }), c.error);
        EXPECT_EQ(ErrorCode([&] { file.Write(&byte, 1); }), c.error);
        EXPECT_EQ(ErrorCode([&] { file.Seek(0, Stream::kFromStart); }), c.error);
        EXPECT_EQ(ErrorCode([&] { file.SetLength(0); }), c.error);
    }
}

TEST(File, WriteWithoutWriteAccessIsReportedOnFlush)
{
    MakeHostFile("readonly", "abc");
    File file(FileReference("c:\\readonly"), File::kRead);
    EXPECT_FALSE(file.IsWritable());
    file.Write("x", 1);
    EXPECT_EQ(ErrorCode([&] { file.Flush(); }), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(file.GetMark(), 0u);
    EXPECT_EQ(Read(file, 3), "abc");
}

} // namespace
