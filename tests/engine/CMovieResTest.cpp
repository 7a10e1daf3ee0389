#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieText.h"
#include "engine/CShow.h"
#include "engine/CStamp.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"
#include "graphics/OffScreen.h"
#include "graphics/PortFixture.h"

#include <gtest/gtest.h>

namespace {

using ports::Art;

class ResourceMovies : public bitmaps::WithStandardPalette {
protected:
    static SmartPtr<BitMap> Picture(const std::string& art, int32_t width, int32_t height)
    {
        SmartPtr<OffScreen> buffer = new OffScreen(width, height, 8, Color(0), true);
        ports::PaintArt(*buffer->GetBitMap().Get(), art);
        return buffer->GetBitMap();
    }

    static SmartPtr<CMoviePic> PictureMovie(const std::string& art, int32_t width, int32_t height)
    {
        SmartPtr<CStamp> stamp = new CStamp(Picture(art, width, height), Color(0));
        return new CMoviePic(stamp->MakeResource(), true);
    }

    // Exactly the one mode bit (none for 0).
    static void SetMode(CMovie& movie, uint8_t mode)
    {
        if (movie.ToggleModeBit0(false) != (mode == CMovie::kMode0))
            movie.ToggleModeBit0(true);
        if (movie.ToggleModeBit2(false) != (mode == CMovie::kMode2))
            movie.ToggleModeBit2(true);
    }

    static std::string Drawn(CMovie& movie, const SmartPtr<CXform>& xform, int16_t frame, int32_t width,
        int32_t height)
    {
        OffScreen buffer(width, height, 8, Color(0), true);
        ports::PaintArt(*buffer.GetBitMap().Get(), std::string(size_t(width), '#') + [&] {
            std::string rest;
            for (int32_t row = 1; row < height; ++row)
                rest += "|" + std::string(size_t(width), '#');
            return rest;
        }());
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            movie.Draw(port, xform, frame, Color(1), 0);
        }
        return Art(buffer);
    }
};

// A picture without a mode (a background) covers the page with its white; one in either default
// mode (0, or 2 in the other layout) shows the page through it, scaled too.
TEST_F(ResourceMovies, PicturesDrawOpaqueTransparentScaledAndTurned)
{
    SmartPtr<CMoviePic> movie = PictureMovie("r.|.b", 2, 2);
    struct Case {
        const char* name;
        uint8_t mode;
        SmartPtr<CXform> xform;
        const char* expected;
    } cases[] = {
        { "no mode: opaque", 0, nullptr, "r.##|.b##|####|####" },
        { "mode 2: transparent", CMovie::kMode2, nullptr, "r###|#b##|####|####" },
        { "mode 0: transparent", CMovie::kMode0, nullptr, "r###|#b##|####|####" },
        { "mode 0: transparent, scaled", CMovie::kMode0, new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 4, 4)),
            "rr##|rr##|##bb|##bb" },
        { "mode 2: transparent, scaled", CMovie::kMode2, new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 4, 4)),
            "rr##|rr##|##bb|##bb" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetMode(*movie.Get(), c.mode);
        EXPECT_EQ(Drawn(*movie.Get(), c.xform, 0, 4, 4), c.expected);
    }
    // A quarter turn counter-clockwise: the top row becomes the left column.
    SmartPtr<CMoviePic> turned = PictureMovie("rrb|...|...", 3, 3);
    turned->ToggleModeBit2(true);
    EXPECT_EQ(Drawn(*turned.Get(), new CXform(Rect(0, 0, 3, 3), Rect(0, 0, 3, 3), 90), 0, 3, 3), "b##|r##|r##");
}

// A sprite at twice its picture's size, turned by quarters about its middle, keeps that size:
// its rectangle on the page is the turned one, and it covers it with the picture's pixels turned.
TEST_F(ResourceMovies, ScaledSpritesTurnByQuartersAtTheirSize)
{
    struct Case {
        int16_t angle;
        Rect bounds;
        const char* art;
    } cases[] = {
        { 0, Rect(2, 4, 8, 6),
            "##########|##########|##########|##########|##rrggbb##|"
            "##rrggbb##|##########|##########|##########|##########" },
        { 90, Rect(4, 2, 6, 8),
            "##########|##########|####bb####|####bb####|####gg####|"
            "####gg####|####rr####|####rr####|##########|##########" },
        { 180, Rect(2, 4, 8, 6),
            "##########|##########|##########|##########|##bbggrr##|"
            "##bbggrr##|##########|##########|##########|##########" },
        { 270, Rect(4, 2, 6, 8),
            "##########|##########|####rr####|####rr####|####gg####|"
            "####gg####|####bb####|####bb####|##########|##########" },
        { -90, Rect(4, 2, 6, 8),
            "##########|##########|####rr####|####rr####|####gg####|"
            "####gg####|####bb####|####bb####|##########|##########" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        SmartPtr<CMovieGroup> page = new CMovieGroup(Rect(0, 0, 10, 10));
        CSprite* sprite = page->GetSprite(page->AddMovieAsSprite(0, 1, PictureMovie("rgb", 3, 1).Get()));
        sprite->PathAt(0)->SetTransform(new CXform(Rect(0, 0, 3, 1), Rect(2, 4, 8, 6), c.angle));
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(0, &bounds, nullptr);
        EXPECT_EQ(bounds, c.bounds);
        EXPECT_EQ(Drawn(*page.Get(), nullptr, 0, 10, 10), c.art);
    }
}

TEST_F(ResourceMovies, ConvertedFromPicturesAndTexts)
{
    SmartPtr<Smart> handle(Picture("rb|br", 2, 2).Get());
    ASSERT_TRUE(ConvertTo(handle, &CMovie::classInfo));
    auto* pictures = SmartCast<CMoviePic>(handle.Get());
    ASSERT_NE(pictures, nullptr);
    Rect bounds(0, 0, 0, 0);
    pictures->GetFrameBounds(bounds, 0);
    EXPECT_EQ(bounds, Rect(0, 0, 2, 2));

    SmartPtr<Smart> text(new String("hello"));
    ASSERT_TRUE(ConvertTo(text, &CMovie::classInfo));
    auto* texts = SmartCast<CMovieText>(text.Get());
    ASSERT_NE(texts, nullptr);
    EXPECT_EQ(engine::Text(*SmartCast<String>(texts->ItemObject(0).Get())), "hello");
    texts->GetFrameBounds(bounds, 0);
    EXPECT_FALSE(bounds.IsEmpty());
}

// The table's way back: a picture movie gives its picture again; a page or a text has no way
// back, and a handle without a movie is left alone.
TEST_F(ResourceMovies, MoviesTurnBackIntoPicturesOnly)
{
    SmartPtr<Smart> handle(Picture("rb.|b.r", 3, 2).Get());
    ASSERT_TRUE(ConvertTo(handle, &CMovie::classInfo));
    SmartPtr<Smart> movie = handle;
    ASSERT_TRUE(pw::engine::ConvertFromMovie(handle, &Image::classInfo));
    auto* picture = SmartCast<BitMap>(handle.Get());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(Art(*picture), "rb.|b.r");

    SmartPtr<Smart> page = movie;
    EXPECT_FALSE(pw::engine::ConvertFromMovie(page, &CShow::classInfo));
    EXPECT_EQ(page, movie);
    // A page is made from a movie by the movie itself: the picture movie is its one sprite.
    SmartPtr<CShow> show = SmartCast<CMovie>(movie.Get())->MakeShow();
    auto* group = SmartCast<CMovieGroup>(show->GetMovie().Get());
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->NumSprites(), 1u);
    auto* shown = SmartCast<CMoviePic>(group->GetSprite(0)->GetMovie().Get());
    ASSERT_NE(shown, nullptr);
    Rect bounds(0, 0, 0, 0);
    shown->GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(0, 0, 3, 2));
    show->Close();

    SmartPtr<Smart> text = movie;
    EXPECT_FALSE(pw::engine::ConvertFromMovie(text, &String::classInfo));
    EXPECT_EQ(text, movie);
    SmartPtr<Smart> words(new String("hello"));
    EXPECT_FALSE(pw::engine::ConvertFromMovie(words, &Image::classInfo));
    EXPECT_NE(SmartCast<String>(words.Get()), nullptr);
}

TEST_F(ResourceMovies, ItemsFollowFrameEditsAndStores)
{
    SmartPtr<CMoviePic> movie = PictureMovie("r", 1, 1);
    CResource* first = movie->ItemAt(0);
    ASSERT_TRUE(movie->InsertFrames(1, 2, false, true));
    EXPECT_EQ(movie->ItemAt(2), first) << "copying inserts take the item before them";
    ASSERT_TRUE(movie->InsertFrames(1, 1, true, true));
    EXPECT_EQ(movie->ItemAt(1), nullptr);
    Rect bounds(1, 1, 1, 1);
    movie->GetFrameBounds(bounds, 1);
    EXPECT_TRUE(bounds.IsEmpty());
    SmartPtr<CResource> other = new CResource(SmartPtr<Persistent>(Picture("b.", 2, 1).Get()), true);
    movie->StoreItem(3, 3, other.Get(), true, 5);
    EXPECT_EQ(movie->NumFrames(), 5) << "grown to the run, cut at the limit";
    EXPECT_EQ(movie->ItemAt(4), other.Get());
    movie->StoreItem(0, 1, other.Get(), false, 5);
    EXPECT_EQ(movie->ItemAt(0), first) << "without overwrite an item stays";
    movie->DeleteFrames(0, 2);
    EXPECT_EQ(movie->ItemAt(0), first);
    EXPECT_EQ(movie->NumFrames(), 3);
    SmartPtr<CMovie> copy = movie->CopyFrames(1, 2, false);
    EXPECT_EQ(SmartCast<CMoviePic>(copy.Get())->ItemAt(1), other.Get());
    EXPECT_FALSE(movie->FramesDiffer(1, 2));
    EXPECT_TRUE(movie->FramesDiffer(0, 1));
}

TEST_F(ResourceMovies, StoredAndReadBack)
{
    SmartPtr<CMoviePic> pictures = PictureMovie("rb|.g", 2, 2);
    pictures->InsertFrames(1, 1, true, true);
    SmartPtr<Smart> root = engine::Load(engine::Store(pictures.Get()));
    auto* back = SmartCast<CMoviePic>(root.Get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->NumFrames(), 2);
    EXPECT_EQ(back->ItemAt(1), nullptr);
    EXPECT_EQ(Drawn(*back, nullptr, 0, 2, 2), "rb|#g") << "the default mode shows the page through white";
    SetMode(*back, 0);
    EXPECT_EQ(Drawn(*back, nullptr, 0, 2, 2), "rb|.g");

    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(new String("words")), true);
    SmartPtr<CMovieText> text = new CMovieText(resource, Rect(5, 5, 60, 20), true);
    root = engine::Load(engine::Store(text.Get()));
    auto* textBack = SmartCast<CMovieText>(root.Get());
    ASSERT_NE(textBack, nullptr);
    Rect bounds(0, 0, 0, 0);
    textBack->GetFrameBounds(bounds, 0);
    EXPECT_EQ(bounds, Rect(5, 5, 60, 20));
    EXPECT_EQ(engine::Text(*SmartCast<String>(textBack->ItemObject(0).Get())), "words");
}

} // namespace
