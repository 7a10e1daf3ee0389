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

TEST(File, ReadPastTheEndDeliversWhatThereIs)
{
    MakeHostFile("four", "abcd");
    File file(FileReference("c:\\four"), File::kRead);
    char bytes[10] = {};
    EXPECT_EQ(Failure([&] { file.Read(bytes, 10); }), "Unexpected end of file.");
    EXPECT_EQ(std::string(bytes, 4), "abcd");
    EXPECT_TRUE(file.AtEnd());
    file.Seek(0, Stream::kFromStart);
    file.Seek(0, Stream::kFromEnd);
    EXPECT_EQ(file.GetMark(), 4u);
}

// The buffer serves reads inside its window without asking the system again: bytes changed
// behind the File's back show only once the window is left.
TEST(File, ReadsOneBlockAtATime)
{
    MakeHostFile("big", Pattern(40000));
    File file(FileReference("c:\\big"), File::kRead);
    EXPECT_EQ(Read(file, 1), "a");
    Overwrite("c:\\big", 100, "XY");
    Overwrite("c:\\big", 16384, "ZZ");
    file.Seek(100, Stream::kFromStart);
    EXPECT_EQ(Read(file, 2), Pattern(102).substr(100));
    file.Seek(-3, Stream::kFromMark);
    EXPECT_EQ(Read(file, 1), Pattern(100).substr(99));
    file.Seek(16384, Stream::kFromStart);
    EXPECT_EQ(Read(file, 2), "ZZ");
}

TEST(File, WriteThenReadFlushesFirst)
{
    MakeHostFile("data", "0123456789");
    {
        File file(FileReference("c:\\data"), File::kRead | File::kWrite);
        file.Write("abcde", 5);
        EXPECT_EQ(Read(file, 2), "56");
        // A write inside the read-ahead window lands at the mark.
        file.Write("Q", 1);
        EXPECT_EQ(Read(file, 1), "8");
    }
    EXPECT_EQ(ReadHostFile("data"), "abcde56Q89");
}

TEST(File, LengthCountsPendingBytes)
{
    MakeHostFile("empty");
    File file(FileReference("c:\\empty"), File::kRead | File::kWrite);
    file.Write("0123456789", 10);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_TRUE(file.IsNotEmpty());
    file.Seek(3, Stream::kFromEnd);
    EXPECT_EQ(file.GetMark(), 7u);
    EXPECT_EQ(Read(file, 3), "789");
    EXPECT_TRUE(file.AtEnd());
}

TEST(File, LargeWritesBypassTheBuffer)
{
    MakeHostFile("large");
    std::string big = Pattern(20000);
    {
        File file(FileReference("c:\\large"), File::kRead | File::kWrite);
        file.Write("head", 4);
        file.Write(big.data(), static_cast<uint32_t>(big.size()));
        EXPECT_EQ(ReadHostFile("large"), "head" + big);
        file.Write("tail", 4);
    }
    EXPECT_EQ(ReadHostFile("large"), "head" + big + "tail");
}

TEST(File, SetLengthCutsAtTheMarkEvenInsideTheWindow)
{
    MakeHostFile("cut", "0123456789");
    {
        File file(FileReference("c:\\cut"), File::kRead | File::kWrite);
        EXPECT_EQ(Read(file, 8), "01234567");
        file.SetLength(4);
        EXPECT_EQ(file.GetMark(), 4u);
        EXPECT_EQ(file.GetLength(), 4u);
        file.Write("xy", 2);
        file.SetLength(5);
        file.Seek(7, Stream::kFromStart);
        EXPECT_EQ(file.GetLength(), 5u);
    }
    EXPECT_EQ(ReadHostFile("cut"), "0123x");
}

TEST(File, SeekModesAndRefusedPositions)
{
    MakeHostFile("seek", "0123456789");
    File file(FileReference("c:\\seek"), File::kRead);
    file.Seek(4, Stream::kFromStart);
    file.Seek(2, 9);
    EXPECT_EQ(file.GetMark(), 4u);
    EXPECT_EQ(ErrorCode([&] { file.Seek(-20, Stream::kFromMark); }), static_cast<uint32_t>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(Read(file, 1), "4");
}

TEST(File, UnopenedFiles)
{
    pw::platform::testing::MakeHostFolder("folder");
    File folder(FileReference("c:\\folder"), File::kRead);
    EXPECT_FALSE(folder.IsOpen());
    EXPECT_EQ(folder.GetLength(), 0u);
    EXPECT_EQ(Failure([&] { folder.GetMark(); }), "osFile != NO_FILE");
    EXPECT_EQ(Failure([&] { folder.GetOSFile(); }), "File Not Open");
    char byte;
    EXPECT_EQ(Failure([&] { folder.Read(&byte, 1); }), "osFile != NO_FILE");

    // A missing path counts as a folder, so the File stays unopened instead of failing.
    File missing(FileReference("c:\\nothing.txt"), File::kRead);
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(ErrorCode([&] { File missingFolder(FileReference("c:\\no\\such.txt"), File::kRead); }), 0u);
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
