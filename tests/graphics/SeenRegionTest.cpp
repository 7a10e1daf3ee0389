#include "graphics/SeenRegion.h"

#include "graphics/FloodFiller.h"

#include "BitMapFixture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using bitmaps::CubeIndex;

namespace {

class SeenRegionTest : public bitmaps::WithStandardPalette { };

using Rows = std::vector<std::string>;

// Cube colours by letter: two sky blues a palette step apart, two lighter ones, white, yellow,
// two greens a step apart, black.
const std::map<char, uint32_t>& Legend()
{
    static const std::map<char, uint32_t> legend {
        { 'a', CubeIndex(1, 3, 5) },
        { 'b', CubeIndex(2, 4, 5) },
        { 'd', CubeIndex(3, 4, 5) },
        { 'f', CubeIndex(4, 5, 5) },
        { 'W', CubeIndex(5, 5, 5) },
        { 'Y', CubeIndex(5, 4, 0) },
        { 'H', CubeIndex(2, 4, 1) },
        { 'h', CubeIndex(1, 4, 1) },
        { 'k', CubeIndex(0, 0, 0) },
    };
    return legend;
}

SmartPtr<BitMap> Picture(const Rows& rows)
{
    SmartPtr<BitMap> bitmap
        = new BitMap(int32_t(rows[0].size()), int32_t(rows.size()), ColorTable::Setup(8), Color(), false);
    PixelIterator cursor(*bitmap.Get(), bitmap->GetBounds(), true);
    for (const std::string& row : rows) {
        for (char letter : row) {
            cursor.SetPixel(Legend().at(letter));
            cursor.Next();
        }
    }
    return bitmap;
}

// '#' inside, '.' outside.
Rows Inside(const pw::graphics::SeenRegion& region, const Rows& picture)
{
    Rows rows;
    for (size_t v = 0; v < picture.size(); ++v) {
        std::string row;
        for (size_t h = 0; h < picture[v].size(); ++h)
            row += region.Contains(int32_t(h), int32_t(v)) ? '#' : '.';
        rows.push_back(row);
    }
    return rows;
}

// The 4 x 4 ordered dither of two colours, `share` sixteenths of `second`, `width` x `height`.
Rows Dither(char first, char second, int share, int width, int height)
{
    static const int order[4][4] = { { 0, 8, 2, 10 }, { 12, 4, 14, 6 }, { 3, 11, 1, 9 }, { 15, 7, 13, 5 } };
    Rows rows;
    for (int v = 0; v < height; ++v) {
        std::string row;
        for (int h = 0; h < width; ++h)
            row += order[v % 4][h % 4] < share ? second : first;
        rows.push_back(row);
    }
    return rows;
}

// The rows with a block of one letter, `width` x `height` from (`left`, `top`).
Rows WithBlock(Rows rows, char letter, int left, int top, int width, int height)
{
    for (int v = top; v < top + height; ++v)
        rows[size_t(v)].replace(size_t(left), size_t(width), size_t(width), letter);
    return rows;
}

} // namespace

// What a bucket fills around the pressed point: a dithered or shaded surface is one whole, up to
// the shapes on it and into the last pixels before their edges; a shape is its own pixels (and
// any stray speck in it), even against another shape one palette step away; a crisp drawing
// fills exactly as a plain flood fill does; a point outside the picture fills nothing.
TEST_F(SeenRegionTest, TakesWhatTheEyeSeesAsOneSurface)
{
    struct Case {
        const char* name;
        Rows picture;
        Point seed;
        Rows inside;
    };
    Rows cloud = WithBlock(Dither('a', 'b', 8, 24, 18), 'W', 7, 6, 10, 6);
    Rows sun = WithBlock(Dither('b', 'a', 1, 24, 18), 'Y', 7, 6, 10, 6);
    Rows everything(18, std::string(24, '#'));
    Rows nothing(18, std::string(24, '.'));
    Rows shading;
    for (int v = 0; v < 16; ++v)
        shading.push_back(Dither('a', 'b', v, 16, 16)[size_t(v)]);
    Rows fields;
    Rows farField;
    for (int v = 0; v < 12; ++v) {
        // A stepped seam that wavers by a pixel, as a curve's edge does.
        int seam = 5 + v / 3 + (v % 3 == 1 ? 1 : 0);
        fields.push_back(std::string(size_t(seam), 'H') + std::string(size_t(16 - seam), 'h'));
        farField.push_back(std::string(size_t(seam), '#') + std::string(size_t(16 - seam), '.'));
    }
    Case cases[] = {
        { "a dithered sky round a cloud", cloud, { 1, 1 }, WithBlock(everything, '.', 7, 6, 10, 6) },
        { "the cloud itself", cloud, { 10, 8 }, WithBlock(nothing, '#', 7, 6, 10, 6) },
        { "a sparse dither round the sun", sun, { 0, 0 }, WithBlock(everything, '.', 7, 6, 10, 6) },
        { "a sky shading row by row", shading, { 2, 1 }, Rows(16, std::string(16, '#')) },
        { "two fields a palette step apart", fields, { 1, 10 }, farField },
        { "a stray speck in a field", WithBlock(Rows(8, std::string(12, 'h')), 'H', 5, 3, 1, 1), { 5, 3 },
            Rows(8, std::string(12, '#')) },
        { "a point outside the picture", cloud, { 30, 5 }, nothing },
        { "a black outline on white", { "WWWWWWWW", "WkkkkkkW", "WkWWWWkW", "WkWWWWkW", "WkkkkkkW", "WWWWWWWW" },
            { 3, 2 }, { "........", "........", "..####..", "..####..", "........", "........" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<BitMap> picture = Picture(c.picture);
        pw::graphics::SeenRegion region(*picture.Get(), c.seed.h, c.seed.v);
        EXPECT_EQ(Inside(region, c.picture), c.inside);
    }
}

// The bucket's filler paints the surface seen: the whole dithered sky takes the pattern, the cloud
// keeps its white; the filled bounds reach two past the last pixel, as the exact fill's do.
TEST_F(SeenRegionTest, TheFillerPaintsTheSurfaceSeen)
{
    Rows sky = WithBlock(Dither('a', 'b', 8, 20, 14), 'W', 6, 4, 8, 6);
    SmartPtr<BitMap> picture = Picture(sky);
    FloodFiller filler(picture, 0, 0, FloodFiller::Reach::kAsSeen);
    ASSERT_EQ(filler.GetFilledBounds(), Rect(0, 0, 21, 15));
    SmartPtr<BitMap> pattern = Picture(Rows(15, std::string(21, 'Y')));
    filler.FillWithPattern(*picture.Get(), *pattern.Get());
    Rows painted;
    PixelIterator cursor(*picture.Get(), picture->GetBounds(), true);
    for (int v = 0; v < 14; ++v) {
        std::string row;
        for (int h = 0; h < 20; ++h, cursor.Next())
            row += cursor.GetPixel() == Legend().at('Y') ? 'Y' : cursor.GetPixel() == Legend().at('W') ? 'W' : '?';
        painted.push_back(row);
    }
    EXPECT_EQ(painted, WithBlock(Rows(14, std::string(20, 'Y')), 'W', 6, 4, 8, 6));
}
