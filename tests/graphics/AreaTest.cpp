#include "graphics/Area.h"
#include "graphics/ScaleTrans.h"
#include "graphics/Translation.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "foundation/FlatArchive.h"
#include "foundation/MemoryStream.h"

#include "platform/gdi/GdiTesting.h"

#include <gtest/gtest.h>

#include <bitset>
#include <random>
#include <string>
#include <vector>

namespace {

// Pixels of the test plane -16..47 in both directions; every shape here stays inside it.
constexpr int kLow = -16;
constexpr int kSize = 64;
using Pixels = std::bitset<kSize * kSize>;

size_t Bit(int x, int y)
{
    return static_cast<size_t>(y - kLow) * kSize + (x - kLow);
}

Pixels Of(const Rect& r)
{
    Pixels pixels;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x)
            pixels.set(Bit(x, y));
    }
    return pixels;
}

Pixels Shifted(const Pixels& pixels, int dh, int dv)
{
    Pixels result;
    for (int y = kLow; y < kLow + kSize; ++y) {
        for (int x = kLow; x < kLow + kSize; ++x) {
            if (pixels.test(Bit(x, y)))
                result.set(Bit(x + dh, y + dv));
        }
    }
    return result;
}

std::string Text(const Rect& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
        + std::to_string(r.bottom) + ")";
}

std::string ListText(const Area& area)
{
    std::string text;
    for (uint32_t index = 1; index <= area.RectList().NumItems(); ++index)
        text += Text(area.RectList()[index]);
    return text;
}

// The list's rules hold and it covers exactly `expected`; the region, when held, covers it too.
void ExpectShape(const Area& area, const Pixels& expected)
{
    const TypedArray<Rect>& list = area.RectList();
    Pixels covered;
    for (uint32_t i = 1; i <= list.NumItems(); ++i) {
        ASSERT_FALSE(list[i].IsEmpty()) << "empty piece " << Text(list[i]);
        for (uint32_t j = i + 1; j <= list.NumItems(); ++j)
            ASSERT_FALSE(list[i].Intersects(list[j])) << Text(list[i]) << " overlaps " << Text(list[j]);
        covered |= Of(list[i]);
    }
    ASSERT_EQ(covered, expected) << ListText(area);
    HRGN region = area.GetRegion();
    for (int y = kLow; y < kLow + kSize; ++y) {
        for (int x = kLow; x < kLow + kSize; ++x)
            ASSERT_EQ(PtInRegion(region, x, y) != 0, expected.test(Bit(x, y))) << "region at " << x << "," << y;
    }
}

Rect Bounds(const Pixels& pixels)
{
    Rect bounds(0, 0, 0, 0);
    for (int y = kLow; y < kLow + kSize; ++y) {
        for (int x = kLow; x < kLow + kSize; ++x) {
            if (pixels.test(Bit(x, y)))
                bounds = bounds.Union(Rect(x, y, x + 1, y + 1));
        }
    }
    return bounds;
}

class RandomRects {
public:
    explicit RandomRects(unsigned seed)
        : random(seed)
    {
    }
    Rect Next()
    {
        std::uniform_int_distribution<int> corner(-4, 28);
        std::uniform_int_distribution<int> extent(0, 12);
        int left = corner(random);
        int top = corner(random);
        return Rect(left, top, left + extent(random), top + extent(random));
    }
    Area NextArea(int pieces, Pixels& pixels)
    {
        Area area;
        for (int i = 0; i < pieces; ++i) {
            Rect r = Next();
            area.Merge(Area(r));
            pixels |= Of(r);
        }
        return area;
    }
    int Choose(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

private:
    std::mt19937 random;
};

Area Read(MemoryStream& stream)
{
    stream.Seek(0, Stream::kFromStart);
    SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &Area::version }, false);
    ArchiveScope scope(*archive.Get(), Area::version);
    return Area(scope);
}

// A framed Area as the archive stores it: version 1.0, the length, then the bytes.
MemoryStream Framed(const std::vector<int32_t>& longs, bool regionMode)
{
    MemoryStream body;
    body.WriteByte(regionMode ? 1 : 0);
    for (int32_t value : longs)
        body.WriteLong(value);
    MemoryStream stream;
    stream.WriteLong(static_cast<int32_t>(Fixed(1).Raw())).WriteLong(static_cast<int32_t>(body.GetLength()));
    stream.Write(body.Block().Ptr(), body.GetLength());
    return stream;
}

} // namespace

TEST(Area, SetOperationsMatchAPixelOracleAndTheRegionFollows)
{
    RandomRects random(2024);
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Pixels expected;
        Area area = random.NextArea(1 + random.Choose(4), expected);
        area.GetRegion(); // cached from here on: every change must rebuild it
        ASSERT_NO_FATAL_FAILURE(ExpectShape(area, expected));
        for (int step = 0; step < 8; ++step) {
            Pixels otherPixels;
            Area other = random.NextArea(1 + random.Choose(3), otherPixels);
            int operation = random.Choose(5);
            SCOPED_TRACE("step " + std::to_string(step) + " operation " + std::to_string(operation) + " on "
                + ListText(area) + " with " + ListText(other));
            EXPECT_EQ(area.Intersects(other), (expected & otherPixels).any());
            switch (operation) {
            case 0:
                area.Merge(other);
                expected |= otherPixels;
                break;
            case 1:
                area.Subtract(other);
                expected &= ~otherPixels;
                break;
            case 2: {
                SmartPtr<Area> common = area.Intersection(other);
                ASSERT_NO_FATAL_FAILURE(ExpectShape(*common.Get(), expected & otherPixels));
                area = *common.Get();
                expected &= otherPixels;
                break;
            }
            case 3: {
                int dh = random.Choose(7) - 3;
                int dv = random.Choose(7) - 3;
                area.Offset(dh, dv);
                expected = Shifted(expected, dh, dv);
                break;
            }
            default: {
                Rect r = random.Next();
                area.SetRect(r);
                expected = Of(r);
                break;
            }
            }
            ASSERT_NO_FATAL_FAILURE(ExpectShape(area, expected));
            EXPECT_EQ(area.IsEmpty(), expected.none());
            EXPECT_EQ(Text(area.ComputeBounds()), Text(Bounds(expected)));
        }
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}

TEST(Area, PiecesAreCutAsDescribed)
{
    struct Case {
        const char* name;
        std::vector<Rect> start;
        Rect other;
        bool subtract;
        std::string expected;
    } cases[] = {
        { "overlap adds only the outside part", { { 0, 0, 10, 10 } }, { 5, 0, 15, 10 }, false, "(0,0,10,10)(10,0,15,10)" },
        { "inside adds nothing", { { 0, 0, 10, 10 } }, { 2, 2, 8, 8 }, false, "(0,0,10,10)" },
        { "enclosing replaces the inner piece", { { 2, 2, 8, 8 } }, { 0, 0, 10, 10 }, false, "(0,0,10,10)" },
        { "touching edges keep both", { { 0, 0, 10, 10 } }, { 10, 0, 20, 10 }, false, "(0,0,10,10)(10,0,20,10)" },
        { "a hole leaves four pieces", { { 0, 0, 10, 10 } }, { 3, 3, 7, 7 }, true,
            "(3,0,7,3)(3,7,7,10)(0,0,3,10)(7,0,10,10)" },
        { "a notch on two sides splits the old piece", { { 0, 0, 10, 10 } }, { 5, 5, 15, 15 }, false,
            "(5,0,10,5)(0,0,5,10)(5,5,15,15)" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Area area;
        for (const Rect& r : c.start)
            area.AddRect(r);
        if (c.subtract)
            area.Subtract(Area(c.other));
        else
            area.Merge(Area(c.other));
        EXPECT_EQ(ListText(area), c.expected);
    }
    Area touching(Rect(0, 0, 10, 10));
    EXPECT_FALSE(touching.Intersects(Area(Rect(10, 0, 20, 10))));
    EXPECT_TRUE(Area(Rect(5, 5, 5, 9)).IsEmpty());
    EXPECT_EQ(Text(Area().ComputeBounds()), "(0,0,0,0)");
    touching.Merge(touching);
    EXPECT_EQ(ListText(touching), "(0,0,10,10)");
    touching.Subtract(touching);
    EXPECT_TRUE(touching.IsEmpty());
}

TEST(Area, MapThroughScalesOffsetsAndDropsCollapsedPieces)
{
    Area area;
    area.AddRect(Rect(0, 0, 4, 2));
    area.AddRect(Rect(4, 0, 5, 1));
    area.GetRegion();
    ScaleTrans doubling(Rect(0, 0, 10, 10), Rect(0, 0, 20, 20), false);
    EXPECT_TRUE(area.MapThrough(doubling));
    EXPECT_EQ(ListText(area), "(0,0,8,4)(8,0,10,2)");
    ASSERT_NO_FATAL_FAILURE(ExpectShape(area, Of(Rect(0, 0, 8, 4)) | Of(Rect(8, 0, 10, 2))));

    ScaleTrans shrinking(Rect(0, 0, 10, 10), Rect(0, 0, 2, 2), false);
    EXPECT_TRUE(area.MapThrough(shrinking));
    EXPECT_EQ(ListText(area), "(0,0,2,1)");

    ScaleTrans mirroring(Rect(0, 0, 10, 10), Rect(10, 0, 0, 10), false);
    Area mirrored(Rect(0, 0, 2, 3));
    EXPECT_TRUE(mirrored.MapThrough(mirroring));
    EXPECT_EQ(ListText(mirrored), "(8,0,10,3)");

    Translation shift(3, 3);
    EXPECT_TRUE(mirrored.MapThrough(shift));
    EXPECT_EQ(ListText(mirrored), "(11,3,13,6)");
}

TEST(Area, RegionModeKeepsItsRegionAndIntersectsThroughThePlatform)
{
    size_t objectsBefore = pw::platform::gdi::testing::LiveObjectCount();
    {
        Area shape(CreateRectRgn(0, 0, 10, 10));
        EXPECT_FALSE(shape.IsEmpty());
        EXPECT_EQ(Text(shape.ComputeBounds()), "(0,0,10,10)");
        shape.Merge(Area(Rect(20, 20, 30, 30)));
        shape.Subtract(Area(Rect(0, 0, 5, 5)));
        EXPECT_EQ(Text(shape.ComputeBounds()), "(0,0,10,10)");
        EXPECT_FALSE(shape.Intersects(Area(Rect(0, 0, 5, 5))));

        SmartPtr<Area> common = Area(Rect(5, 5, 20, 20)).Intersection(shape);
        EXPECT_TRUE(common->InRegionMode());
        EXPECT_EQ(Text(common->ComputeBounds()), "(5,5,10,10)");

        shape.Offset(2, 3);
        EXPECT_EQ(Text(shape.ComputeBounds()), "(2,3,12,13)");
        Area copy(shape);
        EXPECT_TRUE(EqualRgn(copy.GetRegion(), shape.GetRegion()));
        copy.SetRect(Rect(1, 1, 2, 2));
        EXPECT_FALSE(copy.InRegionMode());
    }
    EXPECT_EQ(pw::platform::gdi::testing::LiveObjectCount(), objectsBefore);
}

TEST(Area, StoredRectanglesReadBackInOrder)
{
    Area area;
    area.AddRect(Rect(0, 0, 10, 10));
    area.Subtract(Area(Rect(3, 3, 7, 7)));
    MemoryStream stream;
    {
        SmartPtr<FlatArchive> archive = new FlatArchive(stream, { &Area::version }, true);
        area.Write(*archive.Get());
    }
    EXPECT_EQ(ListText(Read(stream)), ListText(area));

    MemoryStream regionStream;
    {
        SmartPtr<FlatArchive> archive = new FlatArchive(regionStream, { &Area::version }, true);
        Area(CreateRectRgn(0, 0, 5, 5)).Write(*archive.Get());
    }
    Area regionRead = Read(regionStream);
    EXPECT_TRUE(regionRead.InRegionMode());
    EXPECT_TRUE(regionRead.IsEmpty());
}

TEST(Area, DamagedStoredListsGiveSoundAreasOrTheCorruptFileMessage)
{
    MemoryStream overlapping = Framed({ 2, 0, 0, 10, 10, 5, 0, 15, 10 }, false);
    Area repaired = Read(overlapping);
    EXPECT_EQ(ListText(repaired), "(0,0,10,10)(10,0,15,10)");

    MemoryStream withEmpty = Framed({ 2, 4, 4, 4, 9, 0, 0, 1, 1 }, false);
    EXPECT_EQ(ListText(Read(withEmpty)), "(0,0,1,1)");

    const std::string corrupt = "This file is corrupt or in an obsolete format.  Some information may have been recovered.";
    for (int32_t count : { 3, 0x10000000, -1 }) {
        SCOPED_TRACE(count);
        MemoryStream shortList = Framed({ count, 0, 0, 1, 1 }, false);
        EXPECT_EQ(Failure([&] { Read(shortList); }), corrupt);
    }
}
