#include "graphics/PICTFile.h"

#include "foundation/Alert.h"
#include "foundation/Failure.h"
#include "foundation/MemoryStream.h"
#include "graphics/BitMap.h"
#include "graphics/Picture.h"

#include "platform/testing/TestDriver.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

const std::string kCorrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";

SmartPtr<Stream> PictStream(size_t dataSize)
{
    std::vector<uint8_t> bytes(Picture::kHeaderSize + dataSize, 0x11);
    SmartPtr<MemoryStream> stream = new MemoryStream;
    if (!bytes.empty())
        stream->Write(bytes.data(), uint32_t(bytes.size()));
    return SmartPtr<Stream>(stream.Get());
}

// Reading with alerts on: each picture's bounds and each drawing warn.
class PictFiles : public bitmaps::WithStandardPalette {
protected:
    void SetUp() override
    {
        bitmaps::WithStandardPalette::SetUp();
        Alert::EnableAlerts();
    }
    void TearDown() override
    {
        pw::foundation::SetAlertsEnabled(false);
        pw::foundation::ForgetStartupFolder();
    }
};

} // namespace

TEST_F(PictFiles, ReadGivesABitmapWithNoneOfThePicture)
{
    pw::platform::testing::ScriptMessageBoxes({ IDOK, IDOK, IDOK, IDOK });
    PICTFile file(PictStream(300));
    SmartPtr<Smart> read = file.Read();
    auto* bitmap = SmartCast<BitMap>(read.Get());
    ASSERT_NE(bitmap, nullptr);
    // The empty rectangle, as small as a bitmap gets, in white.
    EXPECT_EQ(bitmap->GetBounds(), Rect(0, 0, 1, 1));
    EXPECT_EQ(bitmap->GetPixelValue(0, 0), bitmaps::CubeIndex(5, 5, 5));

    SmartPtr<Smart> sized = PICTFile(PictStream(300)).MakePreview(40, 30);
    auto* preview = SmartCast<BitMap>(sized.Get());
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(preview->GetBounds(), Rect(0, 0, 40, 30));
    // The picture's bounds warned, then its drawing: the failure shows.
    for (const auto& alert : pw::platform::testing::AlertLog())
        EXPECT_EQ(alert.text.rfind("Not implemented.", 0), 0u) << alert.text;
    EXPECT_EQ(pw::platform::testing::AlertLog().size(), 4u);
}

TEST_F(PictFiles, ShortFilesAreRefusedBeforeAnythingIsRead)
{
    EXPECT_EQ(Failure([] { PICTFile(SmartPtr<Stream>(new MemoryStream)).Read(); }), kCorrupt);
    EXPECT_EQ(Failure([] {
        std::vector<uint8_t> bytes(100, 0);
        SmartPtr<MemoryStream> stream = new MemoryStream;
        stream->Write(bytes.data(), 100);
        PICTFile(SmartPtr<Stream>(stream.Get())).MakePreview(10, 10);
    }), kCorrupt);
    EXPECT_EQ(Failure([] { PICTFile(PictStream(0)).Read(); }), "macPicture");
    EXPECT_TRUE(pw::platform::testing::AlertLog().empty());
}
