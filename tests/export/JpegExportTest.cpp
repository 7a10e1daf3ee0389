#include "export/JpegExport.h"

#include "JpegDecode.h"
#include "JpegEncode.h"
#include "ui/ProgressFixture.h"

#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/MessageException.h"
#include "foundation/UserCancelException.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "platform/kernel/KernelTestSupport.h"
#include "ui/ProgressDialog.h"
#include "ui/ProgressRange.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace uitest;
using bitmaps::Rgb;
using jpegtest::Decode;
using jpegtest::DecodedJpeg;
using pw::platform::testing::HostPath;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::ReadHostFile;

namespace {

// A memory stream that records the length of every write and can fail at one of them, or press
// the progress dialog's Stop there as a user would while the conversion runs.
class RecordingStream : public MemoryStream {
public:
    void Write(const void* buffer, uint32_t length) override
    {
        if (static_cast<int>(writes.size()) == failAt)
            ThrowError("The stream went away.", PW_HERE);
        if (static_cast<int>(writes.size()) == stopAt)
            ProgressRange::CurrentDialog()->Cancel();
        writes.push_back(length);
        MemoryStream::Write(buffer, length);
    }

    std::vector<uint8_t> Bytes()
    {
        auto* begin = static_cast<const uint8_t*>(Block().Ptr());
        return std::vector<uint8_t>(begin, begin + GetLength());
    }

    std::vector<uint32_t> writes;
    int failAt { -1 };
    int stopAt { -1 };
};

// A bitmap that reports the given size whatever pixels it has: bitmaps cannot be made empty, but
// other images may give one of no size to draw into.
class SizedBitMap : public BitMap {
public:
    SizedBitMap(const SmartPtr<ColorTable>& table, int32_t width, int32_t height)
        : BitMap(std::max(width, 1), std::max(height, 1), table, Color(), false)
        , bounds(0, 0, width, height)
    {
    }
    Rect GetBounds() override { return bounds; }
    Rect bounds;
};

uint32_t ValueOf(const SmartPtr<ColorTable>& table, const Color& color)
{
    uint32_t value = 0;
    EXPECT_TRUE(table->Convert(color, value));
    return value;
}

// A bitmap whose four 16 x 16 quadrants (left-right, top-bottom) hold the four values; smaller
// bitmaps see only the first ones. Quadrants on the compressor's 16-pixel blocks keep edges out of
// every block, so each pixel decodes close to its own colour.
SmartPtr<BitMap> QuadrantBitMap(const SmartPtr<ColorTable>& table, int32_t width, int32_t height,
    const std::array<uint32_t, 4>& values)
{
    SmartPtr<BitMap> bitmap = new BitMap(width, height, table, Color(), false);
    PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
    for (; cursor.More(); cursor.Next()) {
        Point at = cursor.GetPosition();
        cursor.SetPixel(values[(at.h >= 16 ? 1 : 0) + (at.v >= 16 ? 2 : 0)]);
    }
    return bitmap;
}

// Pixels that change at every step, so the compressed data is large: every value of the table's
// depth turns up.
SmartPtr<BitMap> NoiseBitMap(int32_t width, int32_t height, const SmartPtr<ColorTable>& table = ColorTable::Setup(24))
{
    SmartPtr<BitMap> bitmap = new BitMap(width, height, table, Color(), false);
    uint32_t mask = bitmap->GetBitDepth() >= 32 ? 0xFFFFFFFFu : (1u << bitmap->GetBitDepth()) - 1;
    uint32_t state = 12345;
    PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
    for (; cursor.More(); cursor.Next()) {
        state = state * 1103515245u + 12345u;
        cursor.SetPixel((state >> 8) & mask);
    }
    return bitmap;
}

std::vector<uint8_t> Compress(BitMap& bitmap)
{
    SmartPtr<RecordingStream> stream = new RecordingStream;
    JpegCompressFile(bitmap, *stream.Get());
    return stream->Bytes();
}

// The text of a framework exception that `work` throws, or "" when it throws none.
std::string FailureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (Exception* exception) {
        if (dynamic_cast<UserCancelException*>(exception))
            return "cancelled";
        // The message without the place that raised it.
        if (auto* message = dynamic_cast<MessageException*>(exception))
            return message->GetText().substr(0, message->GetText().find('\r'));
        return "another exception";
    }
    return "";
}

// Every decoded pixel within 8 of its table colour in each component, the picture the same size.
void ExpectColorsClose(BitMap& bitmap, const DecodedJpeg& jpeg)
{
    Rect bounds = bitmap.GetBounds();
    ASSERT_EQ(jpeg.width, JDIMENSION(bounds.right - bounds.left));
    ASSERT_EQ(jpeg.height, JDIMENSION(bounds.bottom - bounds.top));
    int worst = 0;
    std::string where;
    PixelIterator cursor(bitmap, bounds, true);
    for (; cursor.More(); cursor.Next()) {
        Point at = cursor.GetPosition();
        Color expected = bitmap.GetColorOfValue(cursor.GetPixel());
        const uint8_t* got = jpeg.Pixel(JDIMENSION(at.h), JDIMENSION(at.v));
        int wanted[3] = { expected.red >> 8, expected.green >> 8, expected.blue >> 8 };
        for (int channel = 0; channel < 3; ++channel) {
            int error = std::abs(got[channel] - wanted[channel]);
            if (error > worst) {
                worst = error;
                where = std::to_string(at.h) + "," + std::to_string(at.v);
            }
        }
    }
    EXPECT_LE(worst, 8) << "at " << where;
}

// The file as djpeg decodes it to a PPM picture, chroma repeated as the in-process decoder does.
DecodedJpeg DecodeWithDjpeg(const std::string& hostPath)
{
    DecodedJpeg jpeg;
    std::string command = "djpeg -pnm -nosmooth '" + hostPath + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) {
        jpeg.error = "djpeg did not start";
        return jpeg;
    }
    std::string output;
    char block[4096];
    for (size_t got; (got = std::fread(block, 1, sizeof block, pipe.get())) > 0;)
        output.append(block, got);
    std::istringstream in(output);
    std::string magic;
    int maximum = 0;
    in >> magic >> jpeg.width >> jpeg.height >> maximum;
    in.get();
    size_t bytes = size_t(jpeg.width) * jpeg.height * 3;
    if (magic != "P6" || maximum != 255 || output.size() - size_t(in.tellg()) != bytes) {
        jpeg.error = "djpeg gave: " + output.substr(0, 200);
        return jpeg;
    }
    jpeg.rgb.assign(output.end() - std::ptrdiff_t(bytes), output.end());
    jpeg.ok = true;
    return jpeg;
}

using JpegExportTest = ProgressTest;

TEST_F(JpegExportTest, EveryDepthDecodesToItsTableColoursTopRowFirst)
{
    SmartPtr<ColorTable> direct = ColorTable::Setup(24);
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<ColorTable> mono = ColorTable::Setup(1);
    SmartPtr<ColorTable> grey = bitmaps::GreyTable(16);
    struct Case {
        const char* name;
        SmartPtr<ColorTable> table;
        int32_t width, height;
        std::array<uint32_t, 4> values;
    } cases[] = {
        { "1x1 direct", direct, 1, 1, { ValueOf(direct, Rgb(250, 128, 10)) } },
        { "1x1 palette", standard, 1, 1, { bitmaps::CubeIndex(1, 4, 2) } },
        { "odd width palette", standard, 13, 7, { bitmaps::CubeIndex(5, 5, 0) } },
        { "odd width monochrome", mono, 9, 3, { 1 } },
        { "odd width 4-bit", grey, 17, 5, { 10 } },
        { "quadrants direct", direct, 32, 32,
            { ValueOf(direct, Rgb(255, 0, 0)), ValueOf(direct, Rgb(0, 255, 0)), ValueOf(direct, Rgb(0, 0, 255)),
                ValueOf(direct, Rgb(255, 255, 255)) } },
        { "quadrants palette, odd size", standard, 37, 35,
            { bitmaps::CubeIndex(5, 0, 0), bitmaps::CubeIndex(0, 5, 0), bitmaps::CubeIndex(0, 0, 5),
                bitmaps::CubeIndex(0, 0, 0) } },
        { "quadrants 4-bit", grey, 32, 48, { 0, 15, 5, 10 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<BitMap> bitmap = QuadrantBitMap(c.table, c.width, c.height, c.values);
        DecodedJpeg jpeg = Decode(Compress(*bitmap.Get()));
        ASSERT_TRUE(jpeg.ok) << jpeg.error;
        ExpectColorsClose(*bitmap.Get(), jpeg);
    }
}

// The library's own command-line decoder, outside this process, reads a saved file as the
// picture, the right way up.
TEST_F(JpegExportTest, TheCommandLineDecoderSeesTheSavedPicture)
{
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    SmartPtr<BitMap> bitmap = QuadrantBitMap(standard, 32, 48,
        { bitmaps::CubeIndex(5, 0, 0), bitmaps::CubeIndex(0, 5, 0), bitmaps::CubeIndex(0, 0, 5),
            bitmaps::CubeIndex(5, 5, 5) });
    MakeHostFile("quadrants.jpg", "");
    FileReference file("c:\\quadrants.jpg");
    SaveImageAsJPEG(*bitmap.Get(), file);
    DecodedJpeg jpeg = DecodeWithDjpeg(HostPath("quadrants.jpg"));
    ASSERT_TRUE(jpeg.ok) << jpeg.error;
    ExpectColorsClose(*bitmap.Get(), jpeg);
}

// Whatever way the export copies and converts the rows, the file is the one the library makes of
// the table colours themselves.
TEST_F(JpegExportTest, EveryDepthGivesTheLibrarysOwnFileOfItsTableColours)
{
    struct Case {
        const char* name;
        SmartPtr<ColorTable> table;
        int32_t width, height;
    } cases[] = {
        { "palette, one pixel", ColorTable::Setup(8), 1, 1 },
        { "palette, two columns", ColorTable::Setup(8), 2, 9 },
        { "palette, odd size", ColorTable::Setup(8), 67, 35 },
        { "palette, a page's width", ColorTable::Setup(8), 640, 20 },
        { "monochrome", ColorTable::Setup(1), 13, 11 },
        { "4-bit", bitmaps::GreyTable(16), 19, 17 },
        { "direct", ColorTable::Setup(24), 21, 18 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<BitMap> bitmap = NoiseBitMap(c.width, c.height, c.table);
        std::vector<uint8_t> rgb = jpegtest::TableColors(*bitmap.Get());
        auto width = static_cast<JDIMENSION>(c.width);
        std::vector<uint8_t> expected = jpegtest::EncodeRows(jpegtest::RowsOf(rgb, width), width);
        std::vector<uint8_t> written = Compress(*bitmap.Get());
        auto differ = std::mismatch(written.begin(), written.end(), expected.begin(), expected.end());
        EXPECT_TRUE(written == expected) << written.size() << " bytes written, " << expected.size()
                                         << " expected, first difference at " << (differ.first - written.begin());
    }
}

TEST_F(JpegExportTest, FilesAreBaselineJfifWithTheFixedHeaderFields)
{
    SmartPtr<BitMap> bitmap = NoiseBitMap(40, 24);
    std::vector<uint8_t> bytes = Compress(*bitmap.Get());
    DecodedJpeg jpeg = Decode(bytes);
    ASSERT_TRUE(jpeg.ok) << jpeg.error;
    EXPECT_TRUE(jpeg.jfif);
    EXPECT_EQ(jpeg.densityUnit, 2);
    EXPECT_EQ(jpeg.xDensity, 0);
    EXPECT_EQ(jpeg.yDensity, 0);
    EXPECT_EQ(jpeg.components, 3);
    EXPECT_EQ(jpeg.colorSpace, JCS_YCbCr);
    EXPECT_FALSE(jpeg.progressive);
    // Quality 75 halves the standard tables: their first entries 16 and 17 become 8 and 9.
    EXPECT_EQ(jpeg.lumaQuant, 8);
    EXPECT_EQ(jpeg.chromaQuant, 9);
    // The frame is a baseline one (SOF0), not extended or progressive.
    bool baseline = false;
    for (size_t at = 0; at + 1 < bytes.size(); ++at)
        baseline = baseline || (bytes[at] == 0xFF && bytes[at + 1] == 0xC0);
    EXPECT_TRUE(baseline);
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes[0], 0xFF);
    EXPECT_EQ(bytes[1], 0xD8);
    EXPECT_EQ(bytes[bytes.size() - 2], 0xFF);
    EXPECT_EQ(bytes[bytes.size() - 1], 0xD9);
}

TEST_F(JpegExportTest, OutputGoesToTheStreamInBlocksOf4096AndAFinalPartOne)
{
    struct Case {
        const char* name;
        int32_t width, height;
        bool oneBlock;
    } cases[] = { { "small", 8, 8, true }, { "large", 160, 120, false } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<BitMap> bitmap = NoiseBitMap(c.width, c.height);
        SmartPtr<RecordingStream> stream = new RecordingStream;
        stream->WriteLong(0x11223344);
        JpegCompressFile(*bitmap.Get(), *stream.Get());
        std::vector<uint32_t> writes(stream->writes.begin() + 1, stream->writes.end());
        ASSERT_FALSE(writes.empty());
        EXPECT_EQ(writes.size() == 1, c.oneBlock);
        for (size_t index = 0; index + 1 < writes.size(); ++index)
            EXPECT_EQ(writes[index], 4096u) << "write " << index;
        EXPECT_GT(writes.back(), 0u);
        EXPECT_LE(writes.back(), 4096u);
        uint64_t total = 0;
        for (uint32_t length : writes)
            total += length;
        // The picture follows what the stream already held.
        EXPECT_EQ(total + 4, stream->GetLength());
        std::vector<uint8_t> bytes = stream->Bytes();
        EXPECT_TRUE(Decode(std::vector<uint8_t>(bytes.begin() + 4, bytes.end())).ok);
    }
}

TEST_F(JpegExportTest, SizesTheLibraryCannotTakeAreRefusedWithItsMessage)
{
    SmartPtr<ColorTable> table = ColorTable::Setup(8);
    struct Case {
        int32_t width, height;
        const char* message;
    } cases[] = {
        { 0, 5, "Empty JPEG image (DNL not supported)" },
        { 5, 0, "Empty JPEG image (DNL not supported)" },
        { 65501, 1, "Maximum supported image dimension is 65500 pixels" },
        { 1, 65501, "Maximum supported image dimension is 65500 pixels" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
        SmartPtr<BitMap> bitmap = new SizedBitMap(table, c.width, c.height);
        SmartPtr<RecordingStream> stream = new RecordingStream;
        EXPECT_EQ(FailureOf([&] { JpegCompressFile(*bitmap.Get(), *stream.Get()); }), c.message);
        EXPECT_EQ(stream->GetLength(), 0u);
        EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
    }
}

// A failure inside the library's run (the stream's own exception, or a stop at the progress
// dialog) comes out as that exception, with the progress range closed, so the next conversion
// runs; the compressor is destroyed on the way (the leak checker sees any that is not).
TEST_F(JpegExportTest, AFailingStreamOrACancelEndsTheConversionCleanly)
{
    struct Case {
        const char* name;
        int32_t width, height;
        int failAt;
        int stopAt;
        const char* failure;
    } cases[] = {
        { "first and only block", 8, 8, 0, -1, "The stream went away." },
        { "a later block", 160, 120, 2, -1, "The stream went away." },
        { "stop pressed while running", 160, 120, -1, 0, "cancelled" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<BitMap> bitmap = NoiseBitMap(c.width, c.height);
        SmartPtr<RecordingStream> stream = new RecordingStream;
        stream->failAt = c.failAt;
        stream->stopAt = c.stopAt;
        {
            ProgressRange outer(1, String("Saving"));
            outer.Advance(1);
            EXPECT_EQ(FailureOf([&] { JpegCompressFile(*bitmap.Get(), *stream.Get()); }), c.failure);
        }
        EXPECT_FALSE(ProgressRange::CurrentDialog().Valid());
        EXPECT_TRUE(Decode(Compress(*bitmap.Get())).ok);
    }
}

TEST_F(JpegExportTest, ProgressTakesOneStepPerPercentOfRowsUpToAHundred)
{
    struct Case {
        int32_t height;
        const char* bar;
    } cases[] = { { 1, "1/100" }, { 4, "76/100" }, { 100, "100/100" }, { 250, "100/100" } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.height);
        SmartPtr<BitMap> bitmap = NoiseBitMap(3, c.height);
        ProgressRange outer(1, String("Saving"));
        outer.Advance(1);
        Compress(*bitmap.Get());
        EXPECT_EQ(Bar(), c.bar);
    }
}

TEST_F(JpegExportTest, ASavedPictureReplacesTheFileWholeAndAFailedOneLeavesItAlone)
{
    const std::string old(20000, 'x');
    MakeHostFile("pic.jpg", old);
    FileReference file("c:\\pic.jpg");
    SmartPtr<BitMap> bitmap = NoiseBitMap(24, 16);
    SaveImageAsJPEG(*bitmap.Get(), file);
    std::string written = ReadHostFile("pic.jpg");
    std::vector<uint8_t> expected = Compress(*bitmap.Get());
    EXPECT_EQ(written, std::string(expected.begin(), expected.end()));

    SmartPtr<BitMap> empty = new SizedBitMap(ColorTable::Setup(8), 0, 4);
    EXPECT_EQ(FailureOf([&] { SaveImageAsJPEG(*empty.Get(), file); }), "Empty JPEG image (DNL not supported)");
    EXPECT_EQ(ReadHostFile("pic.jpg"), written);

    FileReference missing("c:\\missing.jpg");
    EXPECT_NE(FailureOf([&] { SaveImageAsJPEG(*bitmap.Get(), missing); }), "");
    EXPECT_FALSE(pw::platform::testing::HostExists("missing.jpg"));
}

} // namespace
