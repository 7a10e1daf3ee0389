#include "graphics/Picture.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FlatArchive.h"
#include "foundation/FourCharCode.h"
#include "foundation/MemoryStream.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "platform/testing/TestDriver.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// A PICT file: a header of 512 bytes (0xEE, so that a header byte in the data shows) and the data.
Bytes PictFile(const Bytes& data, uint32_t headerSize = Picture::kHeaderSize)
{
    Bytes file(headerSize, 0xEE);
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

Bytes Counting(size_t count)
{
    Bytes bytes(count);
    for (size_t index = 0; index < count; ++index)
        bytes[index] = uint8_t(index * 7 + 1);
    return bytes;
}

SmartPtr<MemoryStream> StreamOf(const Bytes& bytes)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    if (!bytes.empty())
        stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    return stream;
}

Bytes DataOf(const Memory& block)
{
    auto* first = static_cast<const uint8_t*>(block.Ptr());
    return first ? Bytes(first, first + block.Size()) : Bytes();
}

// Pictures are made with alerts on, so that the warnings show (and are answered from the script).
class Pictures : public bitmaps::WithStandardPalette {
protected:
    void SetUp() override
    {
        bitmaps::WithStandardPalette::SetUp();
        Alert::EnableAlerts();
    }
    void TearDown() override
    {
        pw::foundation::ForgetStartupFolder();
        pw::foundation::SetAlertsEnabled(false);
    }

    // Every warning reads "Not implemented." before its place.
    static size_t Warnings()
    {
        size_t count = 0;
        for (const auto& record : pw::platform::testing::AlertLog())
            count += record.text.rfind("Not implemented.", 0) == 0 ? 1 : 0;
        return count;
    }
};

} // namespace

TEST_F(Pictures, DataIsWhatFollowsTheHeader)
{
    for (size_t size : { size_t(1), size_t(2), size_t(511), size_t(512), size_t(70000) }) {
        SCOPED_TRACE(size);
        pw::platform::testing::ScriptMessageBoxes({ IDOK });
        Bytes data = Counting(size);
        SmartPtr<MemoryStream> stream = StreamOf(PictFile(data));
        stream->Seek(100, Stream::kFromStart);
        Picture picture(*stream.Get());
        EXPECT_EQ(DataOf(picture.GetPictureData()), data);
        EXPECT_EQ(picture.GetBounds(), Rect(0, 0, 0, 0));
        EXPECT_EQ(picture.GetDepth(), 8);
    }
    // Each picture's bounds came with the port's warning.
    EXPECT_EQ(Warnings(), 5u);
}

TEST_F(Pictures, ReadFromAFileLeavesTheFileUsable)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    Bytes data = Counting(40);
    std::filesystem::path host = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "art.pct";
    Bytes bytes = PictFile(data);
    std::ofstream(host, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));

    FileReference reference("c:\\plume\\art.pct");
    SmartPtr<File> file = new File(reference, File::kRead);
    Picture picture(*file.Get());
    EXPECT_EQ(DataOf(picture.GetPictureData()), data);
    // The read-ahead was given back: the file reads again from where it is put.
    file->Seek(510, Stream::kFromStart);
    uint8_t tail[3] {};
    file->Read(tail, 3);
    EXPECT_EQ(Bytes(tail, tail + 3), (Bytes { 0xEE, 0xEE, data[0] }));
}

TEST_F(Pictures, StreamsWithoutPictureDataAreRefused)
{
    struct Case {
        const char* name;
        size_t length;
        std::string failure;
    } cases[] = {
        { "empty", 0, kCorrupt },
        { "one byte", 1, kCorrupt },
        { "header cut short", 511, kCorrupt },
        { "header only", 512, "macPicture" },
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        SmartPtr<MemoryStream> stream = StreamOf(Bytes(test.length, 0xEE));
        EXPECT_EQ(Failure([&] { Picture picture(*stream.Get()); }), test.failure);
    }
    EXPECT_EQ(Warnings(), 0u);
}

TEST_F(Pictures, OffersItsDataAsPictOnly)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    Bytes data = Counting(9);
    SmartPtr<Picture> picture = new Picture(*StreamOf(PictFile(data)).Get());
    auto* scrap = SmartCast<SystemScrap>(picture.Get());
    ASSERT_NE(scrap, nullptr);
    ScrapTypeList types = scrap->GetTypes();
    ASSERT_EQ(types.NumItems(), 1u);
    EXPECT_EQ(types[1], pw::foundation::FourCharCode("PICT"));
    EXPECT_EQ(DataOf(scrap->GetData(types[1])), data);
    EXPECT_EQ(picture->GetObjectSize(), Picture::classInfo.GetObjectSize() + 9);
}

TEST_F(Pictures, CopiesHoldDataOfTheirOwn)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK });
    Bytes data = Counting(16);
    SmartPtr<Picture> picture = new Picture(*StreamOf(PictFile(data)).Get());
    SmartPtr<Smart> copy(picture->Copy());
    auto* duplicate = SmartCast<Picture>(copy.Get());
    ASSERT_NE(duplicate, nullptr);
    EXPECT_NE(duplicate->GetPictureData().Ptr(), picture->GetPictureData().Ptr());
    EXPECT_EQ(DataOf(duplicate->GetPictureData()), data);
    static_cast<uint8_t*>(picture->GetPictureData().Ptr())[0] = 0;
    EXPECT_EQ(DataOf(duplicate->GetPictureData()), data);

    MemoryStream text;
    EXPECT_EQ(Failure([&] { picture->CopyFrom(&text); }), "castPtr");
}

TEST_F(Pictures, DrawingOnlyWarnsAndLeavesThePixels)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK });
    SmartPtr<Picture> picture = new Picture(*StreamOf(PictFile(Counting(30))).Get());
    SmartPtr<OffScreen> buffer = new OffScreen(4, 3, 8, Color(0), true);
    {
        DisplayPort port(*buffer.Get(), buffer->GetBounds(), 0);
        picture->Draw(port, 0);
    }
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(buffer->GetBitMap()->GetPixelValue(x, y), buffer->GetBitMap()->GetPixelValue(0, 0));
    EXPECT_EQ(Warnings(), 2u);
}

TEST_F(Pictures, ArchivingEitherWayOnlyWarns)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK, IDOK });
    SmartPtr<Picture> picture = new Picture(*StreamOf(PictFile(Counting(3))).Get());
    MemoryStream written;
    SmartPtr<FlatArchive> writer = new FlatArchive(written, { &Picture::version }, true);
    picture->Write(*writer.Get());
    EXPECT_EQ(written.GetLength(), 0u);

    // A stored frame of the current version with bytes in it: none of them is read.
    MemoryStream stored;
    stored.WriteLong(int32_t(Fixed(1, 0).Raw())).WriteLong(4).WriteLong(0x50494354);
    stored.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> reader = new FlatArchive(stored, { &Picture::version }, false);
    {
        ArchiveScope scope(*reader.Get(), Picture::version);
        Picture read(scope);
        EXPECT_EQ(read.GetPictureData().Size(), 0u);
    }
    EXPECT_EQ(stored.GetMark(), 12u);
    EXPECT_EQ(Warnings(), 3u);
}
