#include "foundation/MemoryStream.h"

#include "Failure.h"
#include "StoredBytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

TEST(Stream, PrimitivesStoreLittleEndianAndSwapOnRequest)
{
    struct Case {
        const char* name;
        bool swap;
        std::vector<uint8_t> expected;
    } cases[] = {
        { "own order", false,
            { 0x7F, 0x34, 0x12, 0x78, 0x56, 0x34, 0x12, 1, 0, 0, 0, 0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0, 2, 0, 0, 0,
                3, 0, 0, 0, 4, 0, 0, 0 } },
        { "swapped", true,
            { 0x7F, 0x12, 0x34, 0x12, 0x34, 0x56, 0x78, 0, 0, 0, 1, 0xFF, 0xFF, 0xFF, 0xFE, 0, 0, 0, 1, 0, 0, 0, 2,
                0, 0, 0, 3, 0, 0, 0, 4 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStream stream;
        stream.SetSwap(c.swap);
        stream.WriteByte(0x7F).WriteShort(0x1234).WriteLong(0x12345678).WritePoint(1, -2).WriteRect(1, 2, 3, 4);
        EXPECT_EQ(BytesOf(stream), c.expected);

        stream.Seek(0, Stream::kFromStart);
        EXPECT_EQ(stream.ReadByte(), 0x7F);
        EXPECT_EQ(stream.ReadShort(), 0x1234);
        EXPECT_EQ(stream.ReadLong(), 0x12345678);
        Point point = stream.ReadPoint();
        EXPECT_EQ(point, Point(1, -2));
        EXPECT_EQ(stream.ReadRect(), Rect(1, 2, 3, 4));
        EXPECT_TRUE(stream.AtEnd());
    }
}

// A flag is written as 1 or 0 and read back as the byte lies, so a stored 2 stays 2.
TEST(Stream, FlagsAreOneByteReadBackAsTheyLie)
{
    MemoryStream stream;
    stream.WriteBool(true).WriteBool(false).WriteByte(2);
    EXPECT_EQ(BytesOf(stream), (std::vector<uint8_t> { 1, 0, 2 }));
    stream.Seek(0, Stream::kFromStart);
    EXPECT_EQ(stream.ReadBool(), 1);
    EXPECT_EQ(stream.ReadBool(), 0);
    EXPECT_EQ(stream.ReadBool(), 2);
}

TEST(MemoryStream, ReadsBackABlockAndRefusesToReadPastIt)
{
    Memory block(10);
    std::memcpy(block.Ptr(), "abcdefghij", 10);
    MemoryStream stream(block);
    std::string read(10, '\0');
    stream.Read(read.data(), 10);
    EXPECT_EQ(read, "abcdefghij");
    EXPECT_EQ(Failure([&] { stream.ReadByte(); }), "position + len <= streamSize");
    EXPECT_EQ(stream.GetMark(), 10u);

    // Writing past the end grows the stream and zeroes the gap.
    MemoryStream gap(0);
    gap.Seek(2, Stream::kFromStart);
    gap.WriteLong(0x01020304);
    EXPECT_EQ(BytesOf(gap), (std::vector<uint8_t> { 0, 0, 4, 3, 2, 1 }));
}

TEST(MemoryStream, SeeksInEveryModeAndNeverWraps)
{
    MemoryStream stream;
    stream.WriteLong(1).WriteLong(2);
    struct Case {
        const char* name;
        int32_t offset;
        int mode;
        uint32_t mark;
        std::string failure;
    } cases[] = {
        { "absolute", 3, Stream::kFromStart, 3, "" },
        { "unknown modes are absolute", 5, 7, 5, "" },
        { "back from the end", 0, Stream::kFromEnd, 8, "" },
        { "back from the end by 8", 8, Stream::kFromEnd, 0, "" },
        { "relative", -2, Stream::kFromMark, 6, "" },
        { "before the start", -9, Stream::kFromMark, 8, "Range error" },
        { "past the end is allowed", 100, Stream::kFromStart, 100, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        stream.Seek(8, Stream::kFromStart);
        EXPECT_EQ(Failure([&] { stream.Seek(c.offset, c.mode); }), c.failure);
        EXPECT_EQ(stream.GetMark(), c.mark);
    }
    // A read from a far mark is refused without wrapping around.
    stream.Seek(0x7FFFFFFF, Stream::kFromStart);
    stream.Seek(0x7FFFFFFF, Stream::kFromMark);
    EXPECT_EQ(Failure([&] { stream.ReadLong(); }), "position + len <= streamSize");
    EXPECT_TRUE(stream.AtEnd());
}

TEST(MemoryStream, SetLengthKeepsTheMarkAndCopiesAreIndependent)
{
    MemoryStream stream;
    stream.WriteLong(7).WriteLong(8);
    stream.SetLength(4);
    EXPECT_EQ(stream.GetLength(), 4u);
    EXPECT_EQ(stream.GetMark(), 8u);
    stream.SetSwap(true);
    MemoryStream copy(stream);
    EXPECT_TRUE(copy.GetSwap());
    copy.Seek(0, Stream::kFromStart);
    copy.WriteLong(9);
    EXPECT_EQ(stream.GetLength(), 4u);
    EXPECT_EQ(BytesOf(stream), (std::vector<uint8_t> { 7, 0, 0, 0 }));
}

TEST(MemoryStream, CheckAvailableBoundsReadsByWhatIsLeft)
{
    MemoryStream stream;
    stream.WriteLong(1).WriteLong(2);
    stream.Seek(2, Stream::kFromStart);
    EXPECT_EQ(Failure([&] { stream.CheckAvailable(6); }), "");
    EXPECT_EQ(Failure([&] { stream.CheckAvailable(7); }),
        "This file is corrupt or in an obsolete format.  Some information may have been recovered.");
    stream.Seek(50, Stream::kFromStart);
    EXPECT_EQ(Failure([&] { stream.CheckAvailable(0); }), "");
    EXPECT_NE(Failure([&] { stream.CheckAvailable(1); }), "");
}

} // namespace
