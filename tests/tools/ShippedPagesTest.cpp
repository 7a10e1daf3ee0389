// The pages the build makes into the media folders, read as the program reads pages: every folder
// the media tabs open holds several, each of the size its browser cells show well, every page of
// the web-link folders gives the browser's hotlink copy a web link at frame 0, half the pictures
// move, and no picture that lets the page show through its white has a hole in it.
#include "app/TallowWindow.h"
#include "engine/CLink.h"
#include "engine/CMovieGroup.h"
#include "engine/CMovieRes.h"
#include "engine/CShow.h"
#include "engine/CSprite.h"
#include "engine/ShowFileType.h"
#include "export/LinkHREF.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "graphics/ScaleTrans.h"

#include "ShippedData.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using shipped::kData;

enum class Holds { animation, background, picture, hotlink };

struct FolderCase {
    const char* folder;
    Holds holds;
    // The page's size; 0: any.
    int32_t width;
    int32_t height;
};

// The page window's page area: the size of a new page and of the samples, which open as pages.
const Rect kPageArea(0, 0, TallowWindow::kContentWidth, TallowWindow::kContentHeight);

// Samples are as large as the page area; backgrounds cover it when put in its middle (checked
// with the backgrounds); pictures and dividers are as large as they are put on a page; hotlink
// buttons are their browser cells' size.
const std::vector<FolderCase> kFolders = {
    { "Samples", Holds::animation, kPageArea.right, kPageArea.bottom },
    { "Backgrounds", Holds::background, 0, 0 },
    { "Dividers", Holds::picture, 320, 16 },
    { "Pictures", Holds::picture, 96, 96 },
    { "Yahoo", Holds::hotlink, 199, 75 },
    { "CoolSites", Holds::hotlink, 160, 20 },
    { "KidClubs", Holds::hotlink, 102, 48 },
};

SmartPtr<CShow> ReadPage(const fs::path& path)
{
    std::vector<uint8_t> bytes = shipped::ReadBytes(path);
    SmartPtr<MemoryStream> stream = new MemoryStream;
    stream->Write(bytes.data(), uint32_t(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<Smart> root = SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
    return SmartPtr<CShow>(SmartCast<CShow>(root.Get()));
}

std::string Name(const CSprite& sprite)
{
    SmartPtr<String> name = sprite.GetName();
    return name.Valid() ? pw::foundation::TextOf(*name.Get()) : std::string();
}

Rect PlaceAt(CSprite& sprite, int16_t frame)
{
    Rect place;
    sprite.GetFrameBounds(frame, &place, nullptr);
    return place;
}

// The size of the background's picture: a picture of another size than its place is stretched.
Point PictureSize(CSprite& background)
{
    auto* cels = SmartCast<CMovieRes>(background.GetMovie().Get());
    SmartPtr<Persistent> item = cels ? cels->ItemObject(0) : SmartPtr<Persistent>();
    auto* picture = SmartCast<BitMap>(item.Get());
    return picture ? picture->GetBounds().Size() : Point(0, 0);
}

// A picture of that size put in the middle of the page area covers it, however the middle rounds.
bool CoversThePageAreaWhenCentred(Point size)
{
    for (int32_t rounding : { 0, 1 }) {
        Rect place(0, 0, size.h, size.v);
        place.Offset((kPageArea.right - size.h - rounding) / 2, (kPageArea.bottom - size.v - rounding) / 2);
        if (place.Intersect(kPageArea) != kPageArea)
            return false;
    }
    return true;
}

// The browser's hotlink copy takes the last sprite with a link at frame 0.
CLink* Hotlink(CMovieGroup& group)
{
    for (auto index = static_cast<int16_t>(group.NumSprites() - 1); index >= 0; --index) {
        if (CLink* link = group.GetSprite(index)->LinkAtFrame(0))
            return link;
    }
    return nullptr;
}

void ExpectHolds(Holds holds, CMovieGroup& group)
{
    ASSERT_GE(group.NumSprites(), 1u);
    CSprite& first = *group.GetSprite(0);
    switch (holds) {
    case Holds::animation: {
        EXPECT_GE(group.NumFrames(), 20);
        EXPECT_EQ(Name(first), "__Background");
        EXPECT_EQ(PlaceAt(first, 0), kPageArea) << "the background covers the page";
        EXPECT_EQ(PictureSize(first), kPageArea.Size()) << "unstretched";
        bool moves = false;
        for (int16_t index = 1; index < static_cast<int16_t>(group.NumSprites()); ++index) {
            CSprite& sprite = *group.GetSprite(index);
            moves = moves || PlaceAt(sprite, 0) != PlaceAt(sprite, group.NumFrames() / 2);
            EXPECT_FALSE(PlaceAt(sprite, 0).IsEmpty()) << Name(sprite) << " shows in the first frame, the preview";
        }
        EXPECT_TRUE(moves);
        break;
    }
    case Holds::background: {
        EXPECT_EQ(group.NumSprites(), 1u);
        EXPECT_EQ(Name(first), "__Background");
        Rect page;
        group.GetBounds(page);
        EXPECT_EQ(PlaceAt(first, 0), page) << "the picture is the whole page";
        EXPECT_EQ(PictureSize(first), page.Size()) << "unstretched";
        // The Backgrounds tab puts it in the middle of the page, a new one as large as the area.
        EXPECT_TRUE(CoversThePageAreaWhenCentred(page.Size())) << page.right << " x " << page.bottom;
        EXPECT_EQ(page.right * 3, page.bottom * 4) << "the 4 : 3 shape of the tab's cells, which its preview fills";
        break;
    }
    case Holds::picture:
        EXPECT_EQ(group.NumSprites(), 1u);
        EXPECT_EQ(Hotlink(group), nullptr);
        break;
    case Holds::hotlink: {
        EXPECT_EQ(group.NumSprites(), 1u);
        CLink* link = Hotlink(group);
        ASSERT_NE(link, nullptr) << "the browser answers \"No hotlinks in that file.\"";
        EXPECT_EQ(link->GetKind(), CLink::kWebLink);
        auto* href = SmartCast<LinkHREF>(link->GetHREF().Get());
        ASSERT_NE(href, nullptr);
        std::string address = pw::foundation::TextOf(href->GetHREF());
        EXPECT_EQ(address.rfind("https://", 0), 0u) << address;
        EXPECT_GT(address.size(), 12u) << address;
        break;
    }
    }
}

bool IsWhite(ColorTable& table, uint32_t value)
{
    return table.GetColor(value).Equals(Color(0));
}

// The page's frame as the program draws it on white, at the page's size or, given `into`, reduced
// into it as the browser draws its preview there (the page's shape kept).
SmartPtr<BitMap> Picture(CShow& show, int16_t frame, std::optional<Rect> into = std::nullopt)
{
    Rect page;
    show.GetMovie()->GetBounds(page);
    Rect drawn = into ? ScaleTrans(page, *into, true).GetDestination() : page;
    drawn.Offset(-drawn.left, -drawn.top);
    SmartPtr<OffScreen> buffer = new OffScreen(drawn.right, drawn.bottom, 8, Color(0), true);
    {
        DisplayPort port(*buffer.Get(), drawn, 0);
        show.DrawFrame(port, frame, drawn, into ? 3 : 1);
    }
    return buffer->GetBitMap();
}

// A frame of the page as the program draws it on white: one palette value a pixel, and how many
// of them the page's pictures cover.
struct Frame {
    std::vector<uint8_t> pixels;
    size_t covered { 0 };
};

Frame Drawn(CShow& show, int16_t frame)
{
    SmartPtr<BitMap> bitmap = Picture(show, frame);
    SmartPtr<ColorTable> table = bitmap->GetColorTable();
    Frame drawn;
    for (PixelIterator p(*bitmap.Get(), bitmap->GetBounds(), true); p.More(); p.Next()) {
        drawn.pixels.push_back(static_cast<uint8_t>(p.GetPixel()));
        drawn.covered += IsWhite(*table.Get(), p.GetPixel()) ? 0 : 1;
    }
    return drawn;
}

// A picture's colours, a pixel each, row by row.
struct Colours {
    Point size;
    std::vector<Color> pixels;
    const Color& At(int32_t h, int32_t v) const { return pixels[size_t(v * size.h + h)]; }
};

Colours ColoursOf(BitMap& picture)
{
    Colours colours { picture.GetBounds().Size(), {} };
    SmartPtr<ColorTable> table = picture.GetColorTable();
    for (PixelIterator p(picture, picture.GetBounds(), true); p.More(); p.Next())
        colours.pixels.push_back(table->GetColor(p.GetPixel()));
    return colours;
}

// A colour's red, green and blue, 0 to 255.
std::array<double, 3> Channels(const Color& c)
{
    return { double(c.red >> 8), double(c.green >> 8), double(c.blue >> 8) };
}

// The part of the page a preview pixel stands for, when its colours are a dither's mix of
// neighbouring cube colours (no channel spans more than one step, 51): its mean colour, else none
// (the edge of a shape, whose pixel the preview picks either side of).
std::optional<std::array<double, 3>> MixUnder(const Colours& page, const Rect& part)
{
    std::array<double, 3> sum {};
    std::array<double, 3> low { 255, 255, 255 };
    std::array<double, 3> high {};
    for (int32_t v = part.top; v < part.bottom; ++v) {
        for (int32_t h = part.left; h < part.right; ++h) {
            std::array<double, 3> c = Channels(page.At(h, v));
            for (size_t i = 0; i < 3; ++i) {
                sum[i] += c[i];
                low[i] = std::min(low[i], c[i]);
                high[i] = std::max(high[i], c[i]);
            }
        }
    }
    for (size_t i = 0; i < 3; ++i) {
        if (high[i] - low[i] > 51)
            return std::nullopt;
        sum[i] /= double(part.right - part.left) * double(part.bottom - part.top);
    }
    return sum;
}

// The white pixels of the picture that no way through white leads to from its edge: on a page
// they would show it through the middle of the picture.
int EnclosedWhite(BitMap& picture)
{
    Rect bounds = picture.GetBounds();
    auto width = size_t(bounds.right - bounds.left);
    auto height = size_t(bounds.bottom - bounds.top);
    std::vector<char> white;
    SmartPtr<ColorTable> table = picture.GetColorTable();
    for (PixelIterator p(picture, bounds, true); p.More(); p.Next())
        white.push_back(IsWhite(*table.Get(), p.GetPixel()) ? 1 : 0);
    std::deque<size_t> reached;
    for (size_t i = 0; i < white.size(); ++i) {
        size_t h = i % width;
        size_t v = i / width;
        if (white[i] && (h == 0 || v == 0 || h == width - 1 || v == height - 1)) {
            white[i] = 2;
            reached.push_back(i);
        }
    }
    for (; !reached.empty(); reached.pop_front()) {
        size_t i = reached.front();
        size_t h = i % width;
        for (size_t next : { i - 1, i + 1, i - width, i + width }) {
            bool inside = next < white.size() && !(h == 0 && next == i - 1) && !(h == width - 1 && next == i + 1);
            if (inside && white[next] == 1) {
                white[next] = 2;
                reached.push_back(next);
            }
        }
    }
    return int(std::count(white.begin(), white.end(), 1));
}

class ShippedPages : public shipped::ShippedData { };

TEST_F(ShippedPages, EveryMediaFolderHoldsSeveralPagesOfWhatItsTabPutsOnAPage)
{
    for (const FolderCase& c : kFolders) {
        size_t pages = 0;
        for (const auto& entry : fs::directory_iterator(kData / c.folder)) {
            if (entry.path().extension() != ".mvi")
                continue;
            ++pages;
            SCOPED_TRACE(entry.path().string());
            SmartPtr<CShow> show = ReadPage(entry.path());
            ASSERT_TRUE(show.Valid());
            auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
            ASSERT_NE(group, nullptr);
            Rect bounds;
            group->GetBounds(bounds);
            EXPECT_EQ(bounds.TopLeft(), Point(0, 0));
            if (c.width > 0) {
                EXPECT_EQ(bounds.Size(), Point(c.width, c.height));
            }
            ExpectHolds(c.holds, *group);
            show->Close();
        }
        EXPECT_GE(pages, 5u) << c.folder;
    }
}

// A sample played: its moving pictures never stand still over the page's loop and vanish only
// off the page: where one jumps to another side, its step before takes it wholly off the page and
// the step after brings it wholly from outside, not from a strip the page shows.
TEST_F(ShippedPages, TheSamplesPicturesLeaveThePageBeforeTheyComeBackAndNeverPause)
{
    // The rounding of the steps may leave a picture by a pixel on the page.
    const Rect shown(kPageArea.left + 1, kPageArea.top + 1, kPageArea.right - 1, kPageArea.bottom - 1);
    // Where a picture that stepped from `from` to `to` would be a step further on.
    auto onwards = [](const Rect& from, Rect to) {
        to.Offset(to.left - from.left, to.top - from.top);
        return to;
    };
    for (const auto& entry : fs::directory_iterator(kData / "Samples")) {
        if (entry.path().extension() != ".mvi")
            continue;
        SmartPtr<CShow> show = ReadPage(entry.path());
        ASSERT_TRUE(show.Valid());
        auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
        ASSERT_NE(group, nullptr);
        int32_t frames = group->NumFrames();
        for (int16_t index = 1; index < static_cast<int16_t>(group->NumSprites()); ++index) {
            CSprite& sprite = *group->GetSprite(index);
            SCOPED_TRACE(entry.path().filename().string() + ", " + Name(sprite));
            auto at = [&](int32_t frame) { return PlaceAt(sprite, static_cast<int16_t>((frame + frames) % frames)); };
            for (int32_t frame = 0; frame < frames; ++frame) {
                Rect now = at(frame);
                Rect next = at(frame + 1);
                EXPECT_NE(now, next) << "stands still after frame " << frame;
                if (now.Intersects(next))
                    continue;
                EXPECT_FALSE(onwards(at(frame - 1), now).Intersects(shown)) << "vanishes on the page after frame " << frame;
                EXPECT_FALSE(onwards(at(frame + 2), next).Intersects(shown)) << "appears on the page at frame " << frame + 1;
            }
        }
        show->Close();
    }
}

// The Samples and Backgrounds tabs show each page reduced into an 80 x 60 cell, by picking pixels.
// Block by block, the preview shows the colours of the page's dithered skies and seas as the page
// mixes them, not beating into lighter and darker patches.
TEST_F(ShippedPages, PreviewsShowThePagesColoursBlockByBlock)
{
    // A fifth of a step of the colour cube, for a channel's mean over a block.
    constexpr double kMostOff = 10;
    const Rect cell(0, 0, 80, 60);
    for (const char* folder : { "Samples", "Backgrounds" }) {
        for (const auto& entry : fs::directory_iterator(kData / folder)) {
            if (entry.path().extension() != ".mvi")
                continue;
            SCOPED_TRACE(entry.path().filename().string());
            SmartPtr<CShow> show = ReadPage(entry.path());
            ASSERT_TRUE(show.Valid());
            Colours page = ColoursOf(*Picture(*show.Get(), 0).Get());
            Colours preview = ColoursOf(*Picture(*show.Get(), 0, cell).Get());
            // Blocks of 16 x 15 preview pixels.
            for (int32_t top = 0; top + 15 <= preview.size.v; top += 15) {
                for (int32_t left = 0; left + 16 <= preview.size.h; left += 16) {
                    std::array<double, 3> shown {};
                    std::array<double, 3> mixed {};
                    int32_t counted = 0;
                    for (int32_t v = top; v < top + 15; ++v) {
                        for (int32_t h = left; h < left + 16; ++h) {
                            Rect part(h * page.size.h / preview.size.h, v * page.size.v / preview.size.v,
                                (h + 1) * page.size.h / preview.size.h, (v + 1) * page.size.v / preview.size.v);
                            std::optional<std::array<double, 3>> mix = MixUnder(page, part);
                            if (!mix)
                                continue;
                            std::array<double, 3> picked = Channels(preview.At(h, v));
                            for (size_t i = 0; i < 3; ++i) {
                                shown[i] += picked[i];
                                mixed[i] += (*mix)[i];
                            }
                            ++counted;
                        }
                    }
                    // Too few to judge: most of the block shows the edges of shapes.
                    if (counted < 60)
                        continue;
                    for (size_t i = 0; i < 3; ++i) {
                        EXPECT_LT(std::abs(shown[i] - mixed[i]) / counted, kMostOff)
                            << "the block at " << left << ", " << top << ", channel " << i;
                    }
                }
            }
            show->Close();
        }
    }
}

// A child places a picture and sees it move when the page plays: at least half of the Pictures
// move, each over frames that differ (at least three looks), looping, and each shows whole in its
// first frame, which is the browser's preview and the exported picture.
TEST_F(ShippedPages, HalfThePicturesMoveInALoopAndShowWholeInTheirFirstFrame)
{
    size_t pages = 0;
    size_t moving = 0;
    for (const auto& entry : fs::directory_iterator(kData / "Pictures")) {
        if (entry.path().extension() != ".mvi")
            continue;
        ++pages;
        SCOPED_TRACE(entry.path().filename().string());
        SmartPtr<CShow> show = ReadPage(entry.path());
        ASSERT_TRUE(show.Valid());
        int16_t frames = show->GetMovie()->NumFrames();
        std::set<std::vector<uint8_t>> looks;
        Frame first = Drawn(*show.Get(), 0);
        size_t most = 0;
        for (int16_t frame = 0; frame < frames; ++frame) {
            Frame drawn = Drawn(*show.Get(), frame);
            looks.insert(drawn.pixels);
            most = std::max(most, drawn.covered);
        }
        EXPECT_GE(first.covered * 10, first.pixels.size()) << "the picture fills its preview";
        if (looks.size() > 1) {
            ++moving;
            EXPECT_GE(looks.size(), 3u);
            EXPECT_TRUE(show->GetMovie()->ToggleLoop(false)) << "a moving picture goes on moving";
            EXPECT_GE(first.covered * 10, most * 7) << "the first frame shows the whole picture";
        }
        show->Close();
    }
    EXPECT_GE(2 * moving, pages) << moving << " of " << pages << " pictures move";
}

// Every picture that shows the page through its white, in the pages and the picture files the
// tabs and the import offer, is white only outside: a white inside it (the rocket's body, an eye)
// would let the page through, and on a dark page the picture would look hollow.
TEST_F(ShippedPages, NoSeeThroughPictureLetsThePageThroughItsMiddle)
{
    for (const char* folder : { "Pictures", "Dividers", "Samples", "Yahoo", "CoolSites", "KidClubs" }) {
        for (const auto& entry : fs::directory_iterator(kData / folder)) {
            if (entry.path().extension() != ".mvi")
                continue;
            SmartPtr<CShow> show = ReadPage(entry.path());
            ASSERT_TRUE(show.Valid());
            auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
            for (int16_t index = 0; group && index < static_cast<int16_t>(group->NumSprites()); ++index) {
                CSprite& sprite = *group->GetSprite(index);
                auto* cels = SmartCast<CMovieRes>(sprite.GetMovie().Get());
                if (!cels || !cels->ToggleModeBit2(false))
                    continue;
                for (int16_t cel = 0; cel < cels->NumFrames(); ++cel) {
                    SmartPtr<Persistent> item = cels->ItemObject(cel);
                    if (auto* picture = SmartCast<BitMap>(item.Get())) {
                        EXPECT_EQ(EnclosedWhite(*picture), 0)
                            << entry.path().filename().string() << ", " << Name(sprite) << ", look " << cel;
                    }
                }
            }
            show->Close();
        }
    }
    for (const char* folder : { "Pictures", "Bullets", "Dividers" }) {
        for (const auto& entry : fs::directory_iterator(kData / folder)) {
            if (entry.path().extension() != ".bmp")
                continue;
            std::vector<uint8_t> bytes = shipped::ReadBytes(entry.path());
            SmartPtr<MemoryStream> stream = new MemoryStream;
            stream->Write(bytes.data(), uint32_t(bytes.size()));
            stream->Seek(0, Stream::kFromStart);
            SmartPtr<BitMap> picture = new BitMap(*stream.Get(), true, 255);
            EXPECT_EQ(EnclosedWhite(*picture.Get()), 0) << entry.path().string();
        }
    }
}

} // namespace
