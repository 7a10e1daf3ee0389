#include "graphics/Picture.h"

#include "foundation/Alert.h"
#include "foundation/Failure.h"
#include "foundation/FourCharCode.h"
#include "foundation/MemoryStream.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "platform/testing/TestDriver.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

// A PICT file: a header of 512 bytes (0xEE, so that a header byte in the data shows) and the data.
Bytes PictFile(const Bytes& data)
{
    Bytes file(Picture::kHeaderSize, 0xEE);
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
        // The clipboard gets 'PICT' only, with the data as it is held.
        ScrapTypeList types = picture.GetTypes();
        ASSERT_EQ(types.NumItems(), 1u);
        EXPECT_EQ(types[1], pw::foundation::FourCharCode("PICT"));
        EXPECT_EQ(DataOf(picture.GetData(types[1])), data);
    }
    // Each picture's bounds came with the port's warning.
    EXPECT_EQ(Warnings(), 5u);
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
