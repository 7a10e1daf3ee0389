#include "engine/CStamp.h"

#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include "EngineFixture.h"
#include "foundation/Exception.h"
#include "graphics/BitMapFixture.h"
#include "graphics/PortFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using ports::Art;
using ports::PaintArt;

class Stamps : public bitmaps::WithStandardPalette {
protected:
    // A white-backed stamp over an 8-bit picture painted from the art.
    static SmartPtr<CStamp> StampOf(const std::string& art, int32_t width, int32_t height)
    {
        SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, Color(0), true);
        PaintArt(*buffer->GetBitMap().Get(), art);
        return new CStamp(*buffer.Get());
    }

    // The stamp drawn by DrawTo onto `dest` of a buffer first painted with `ground`.
    static std::string Drawn(CStamp& stamp, const std::string& ground, int32_t width, int32_t height,
        const Rect& dest, int16_t mode)
    {
        OffScreen buffer(width, height, 8, Color(0), true);
        PaintArt(*buffer.GetBitMap().Get(), ground);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            stamp.DrawTo(port, dest, mode);
        }
        return Art(buffer);
    }
};

} // namespace

TEST_F(Stamps, DrawsOpaqueTransparentAndScaled)
{
    SmartPtr<CStamp> stamp = StampOf("r.|.b", 2, 2);
    struct Case {
        const char* name;
        Rect dest;
        int16_t mode;
        const char* expected;
    } cases[] = {
        { "opaque in place", Rect(1, 1, 3, 3), 0, "####|#r.#|#.b#|####" },
        { "mode 1 as mode 0", Rect(1, 1, 3, 3), 1, "####|#r.#|#.b#|####" },
        { "transparent skips the background colour", Rect(1, 1, 3, 3), 2, "####|#r##|##b#|####" },
        { "scaled twice", Rect(0, 0, 4, 4), 0, "rr..|rr..|..bb|..bb" },
        { "transparent scaled twice", Rect(0, 0, 4, 4), 2, "rr##|rr##|##bb|##bb" },
        { "transparent shrunk", Rect(1, 1, 2, 2), 2, "####|#r##|####|####" },
        { "transparent stretched across", Rect(0, 1, 4, 3), 2, "####|rr##|##bb|####" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Drawn(*stamp.Get(), "####|####|####|####", 4, 4, c.dest, c.mode), c.expected);
    }
}

// A port whose background is not in the picture's table keys pixel value 0.
TEST_F(Stamps, TransparentDrawingFallsBackToValueZero)
{
    SmartPtr<BitMap> picture = bitmaps::MakeBitMap(bitmaps::GreyTable(16), "0 F | F 0");
    CStamp stamp(picture, Color(0));
    OffScreen buffer(2, 2, 8, bitmaps::Rgb(1, 2, 3), true);
    PaintArt(*buffer.GetBitMap().Get(), "rr|rr");
    {
        DisplayPort port(buffer, buffer.GetBounds(), 0);
        stamp.DrawTo(port, Rect(0, 0, 2, 2), 2);
    }
    EXPECT_EQ(Art(buffer), "r.|.r");
}

TEST_F(Stamps, MakesTransformedCopies)
{
    SmartPtr<CStamp> stamp = StampOf("r.g|...|b.y", 3, 3);
    Rect place(0, 0, 3, 3);
    struct Case {
        const char* name;
        SmartPtr<Transform> xform;
        const char* expected;
    } cases[] = {
        { "no transform", nullptr, "r.g|...|b.y" },
        { "hidden", kHiddenXform.Get(), "r.g|...|b.y" },
        { "scaled", new CXform(place, Rect(5, 5, 11, 8)), "rr..gg|......|bb..yy" },
        { "a half turn", new CXform(place, place, 180), "y.b|...|g.r" },
        { "a quarter turn", new CXform(place, place, 90), "g.y|...|r.b" },
        { "three quarters", new CXform(place, place, -90), "b.r|...|y.g" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CStamp> made = stamp->MakeTransformed(place, c.xform, false);
        EXPECT_EQ(Art(*made->GetPicture().Get()), c.expected);
        EXPECT_EQ(made->GetTransform().Get(), SmartCast<CXform>(c.xform.Get()));
    }
    // An eighth turn grows the box; the corners it adds keep the stamp's colour.
    SmartPtr<CStamp> solid = StampOf("rrrrr|rrrrr|rrrrr|rrrrr|rrrrr", 5, 5);
    SmartPtr<CStamp> turned = solid->MakeTransformed(Rect(0, 0, 5, 5), new CXform(Rect(0, 0, 5, 5), Rect(0, 0, 5, 5), 45), true);
    Rect box = turned->GetBounds();
    EXPECT_GT(box.right, 5);
    std::string art = Art(*turned->GetPicture().Get());
    EXPECT_EQ(art.front(), '.');
    EXPECT_EQ(art.back(), '.');
    EXPECT_EQ(art[size_t(box.bottom / 2 * (box.right + 1) + box.right / 2)], 'r');
}

TEST_F(Stamps, TrimsToItsContent)
{
    SmartPtr<CStamp> stamp = StampOf(".....|..r..|..gb.|.....", 5, 4);
    EXPECT_EQ(stamp->Trim(), Point(2, 1));
    EXPECT_EQ(Art(*stamp->GetPicture().Get()), "r.|gb");
    SmartPtr<CStamp> blank = StampOf("...|...", 3, 2);
    EXPECT_EQ(blank->Trim(), Point(0, 0));
    EXPECT_FALSE(blank->GetPicture().Valid());
    EXPECT_EQ(blank->GetBounds(), Rect(0, 0, 0, 0));
    EXPECT_THROW(blank->GetColorTable(), Exception*);
}

// Copies share the picture; only assignment carries the transform. The mask is cached and shared.
TEST_F(Stamps, CopiesAndMasks)
{
    SmartPtr<CStamp> stamp = StampOf("r.|.b", 2, 2);
    stamp->SetTransform(new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 4, 4)));
    SmartPtr<CStamp> copy = SmartCast<CStamp>(stamp->Copy());
    EXPECT_EQ(copy->GetPicture(), stamp->GetPicture());
    EXPECT_FALSE(copy->GetTransform().Valid());
    copy->CopyFrom(stamp.Get());
    EXPECT_EQ(copy->GetTransform(), stamp->GetTransform());
    SmartPtr<Area> mask = stamp->GetMask(Point(0, 0));
    EXPECT_EQ(stamp->GetMask(Point(0, 0)), mask);
    EXPECT_EQ(stamp->GetMask(Point(3, 3)), mask);
    SmartPtr<CStamp> fromArea = CStamp::FromImage(nullptr, Color(1));
    EXPECT_FALSE(fromArea->GetPicture().Valid());
}

// Stored as its picture alone: the pixels come back on white, without the transform.
TEST_F(Stamps, StoredAsItsPicture)
{
    SmartPtr<BitMap> picture = bitmaps::MakeBitMap(ColorTable::Setup(8), "0A 14 | 1E 28 | 32 3C");
    SmartPtr<CStamp> stamp = new CStamp(picture, Color(1));
    stamp->SetTransform(kHiddenXform);
    SmartPtr<Smart> root = engine::Load(engine::Store(stamp.Get()));
    auto* read = SmartCast<CStamp>(root.Get());
    ASSERT_NE(read, nullptr);
    ASSERT_TRUE(read->GetPicture().Valid());
    EXPECT_EQ(bitmaps::GridOf(*read->GetPicture().Get()), bitmaps::GridOf(*picture.Get()));
    EXPECT_TRUE(read->GetColor().Equals(Color(0)));
    EXPECT_FALSE(read->GetTransform().Valid());
}

namespace {

// Quarter turns move every pixel to exactly one place, for odd and even sides alike, and four of
// them give the picture back.
// A turned stamp keeps the transform's scale: it is as large as the rectangle mapped through the
// transform, and the picture fills it at that scale, at quarter turns and between them.
TEST_F(Stamps, TurnsKeepTheTransformsScale)
{
    SmartPtr<CStamp> stamp = StampOf("rrrrr|rrrrr|rrrrr|rrrrr|rrrrr", 5, 5);
    Rect place(0, 0, 5, 5);
    struct Case {
        int16_t angle;
        Rect destination;
        int least; // red pixels
        int most;
    } cases[] = {
        { 90, Rect(0, 0, 10, 15), 150, 150 },
        { 180, Rect(0, 0, 10, 15), 150, 150 },
        { 270, Rect(0, 0, 15, 10), 150, 150 },
        // Turned between quarters, the 150 pixels of the scaled picture and the row and column
        // through the centre that truncating toward zero takes twice; never the 25 of a turn
        // at the picture's own size.
        { 45, Rect(0, 0, 10, 15), 150, 185 },
        { 30, Rect(0, 0, 15, 10), 150, 185 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        SmartPtr<CXform> xform = new CXform(place, c.destination, c.angle);
        SmartPtr<CStamp> turned = stamp->MakeTransformed(place, xform.Get(), false);
        Rect mapped = xform->MapRect(place);
        mapped.Offset(-mapped.left, -mapped.top);
        EXPECT_EQ(turned->GetBounds(), mapped);
        std::string art = Art(*turned->GetPicture().Get());
        auto red = static_cast<int>(std::count(art.begin(), art.end(), 'r'));
        EXPECT_GE(red, c.least);
        EXPECT_LE(red, c.most);
    }
}

TEST_F(Stamps, QuarterTurnsPermutePixelsOfEverySize)
{
    struct Size {
        int32_t width;
        int32_t height;
    } sizes[] = { { 4, 4 }, { 4, 6 }, { 3, 5 }, { 3, 4 }, { 6, 3 }, { 1, 2 } };
    for (const Size& size : sizes) {
        SmartPtr<OffScreen> buffer = new OffScreen(size.width, size.height, 8, Color(0), true);
        BitMap& source = *buffer->GetBitMap().Get();
        for (int32_t y = 0; y < size.height; ++y) {
            for (int32_t x = 0; x < size.width; ++x) {
                PixelIterator pixel(source, Rect(x, y, x + 1, y + 1), true);
                pixel.SetPixel(uint32_t(10 + y * size.width + x));
            }
        }
        SmartPtr<CStamp> stamp = new CStamp(*buffer.Get());
        Rect place(0, 0, size.width, size.height);
        for (int16_t angle : { 90, 180, 270, -90 }) {
            SCOPED_TRACE(testing::Message() << size.width << " x " << size.height << " turned " << angle);
            SmartPtr<CXform> xform = new CXform(place, place, angle);
            SmartPtr<CStamp> turned = stamp->MakeTransformed(place, xform.Get(), false);
            bool odd = (angle / 90) % 2 != 0;
            Rect expectedBox(0, 0, odd ? size.height : size.width, odd ? size.width : size.height);
            ASSERT_EQ(turned->GetBounds(), expectedBox);
            Rect mapped = xform->MapRect(place);
            EXPECT_EQ(mapped.right - mapped.left, expectedBox.right);
            EXPECT_EQ(mapped.bottom - mapped.top, expectedBox.bottom);
            BitMap& result = *turned->GetPicture().Get();
            std::vector<int> seen(size_t(size.width * size.height), 0);
            for (int32_t y = 0; y < expectedBox.bottom; ++y) {
                for (int32_t x = 0; x < expectedBox.right; ++x) {
                    uint32_t value = result.GetPixelValue(x, y);
                    ASSERT_GE(value, 10u);
                    ASSERT_LT(value, uint32_t(10 + seen.size()));
                    ++seen[value - 10];
                }
            }
            for (int count : seen)
                EXPECT_EQ(count, 1);
        }
        // Four quarter turns in a row give the picture back.
        SmartPtr<CStamp> round = stamp;
        for (int turn = 0; turn < 4; ++turn) {
            Rect box = round->GetBounds();
            round = round->MakeTransformed(box, new CXform(box, box, 90), false);
        }
        for (int32_t y = 0; y < size.height; ++y)
            for (int32_t x = 0; x < size.width; ++x)
                EXPECT_EQ(round->GetPicture()->GetPixelValue(x, y), uint32_t(10 + y * size.width + x));
    }
}

} // namespace
