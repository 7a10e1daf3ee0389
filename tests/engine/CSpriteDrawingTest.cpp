#include "engine/CDelta.h"
#include "engine/CMoviePic.h"
#include "engine/CSprite.h"

#include "SpriteFixture.h"
#include "graphics/OffScreen.h"
#include "graphics/PortFixture.h"

namespace {

using engine::PaintedMovie;
using engine::Sprites;
using ports::Art;

class SpriteDrawing : public Sprites {
protected:
    // The sprite's frame drawn through the parent transform onto a white buffer.
    static std::string Drawn(const CSprite& sprite, const SmartPtr<CXform>& parent, int16_t frame, int32_t width,
        int32_t height)
    {
        OffScreen buffer(width, height, 8, Color(0), true);
        {
            DisplayPort port(buffer, buffer.GetBounds(), 0);
            EXPECT_TRUE(sprite.DrawFrame(port, parent, frame, Color(1), 0));
        }
        return Art(buffer);
    }

    // A sprite over 2 x 2 cels at frame 0, placed at (1, 1).
    static SmartPtr<CSprite> Small(const SmartPtr<CMovie>& cels)
    {
        return new CSprite(0, cels, Rect(1, 1, 3, 3));
    }
};

TEST_F(SpriteDrawing, ComposesFramesIntoCelsAndTransforms)
{
    SmartPtr<PaintedMovie> cels = new PaintedMovie(Rect(0, 0, 2, 2), { Color(7), Color(9) });
    SmartPtr<CSprite> sprite = Small(cels.Get());
    sprite->SetNumFrames(3);
    sprite->PathAt(2)->transform = new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 0, 2));
    struct Case {
        const char* name;
        SmartPtr<CXform> parent;
        int16_t frame;
        bool shows;
        int16_t cel;
        Rect mapped;
        const char* art;
    } cases[] = {
        { "in place", nullptr, 0, true, 0, Rect(1, 1, 3, 3), "....|.rr.|.rr.|...." },
        { "second cel", nullptr, 1, true, 1, Rect(1, 1, 3, 3), "....|.bb.|.bb.|...." },
        { "scaled by the parent", new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 4, 4)), 0, true, 0, Rect(2, 2, 6, 6),
            "......|......|..rrrr|..rrrr|..rrrr|..rrrr" },
        { "a frame without area", nullptr, 2, false, 0, Rect(0, 0, 0, 0), "....|....|....|...." },
        { "outside the sprite", nullptr, 5, false, 1, Rect(0, 0, 0, 0), "....|....|....|...." },
        { "hidden parent", kHiddenXform, 0, false, 0, Rect(0, 0, 0, 0), "....|....|....|...." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int draws = cels->draws;
        SmartPtr<CXform> xform = c.parent;
        int16_t frame = c.frame;
        Rect clip(0, 0, 100, 100);
        EXPECT_EQ(sprite->ComposeFrame(xform, frame, clip), c.shows);
        EXPECT_EQ(frame, c.cel);
        if (!c.shows) {
            EXPECT_EQ(xform, kHiddenXform);
            EXPECT_EQ(clip, Rect(0, 0, 0, 0));
        } else {
            EXPECT_EQ(xform->MapRect(Rect(0, 0, 2, 2)), c.mapped);
        }
        int32_t size = c.name[0] == 's' && c.name[1] == 'c' ? 6 : 4;
        EXPECT_EQ(Drawn(*sprite.Get(), c.parent, c.frame, size, size), c.art);
        if (!c.shows) {
            EXPECT_EQ(cels->draws, draws) << "nothing to draw touches no cel";
        }
    }
    EXPECT_TRUE(sprite->PathAt(0)->transform == nullptr) << "composition changes no stored transform";
}

TEST_F(SpriteDrawing, ClipsNarrowTheComposedClip)
{
    SmartPtr<PaintedMovie> cels = new PaintedMovie(Rect(0, 0, 2, 2));
    SmartPtr<CSprite> sprite = Small(cels.Get());
    SmartPtr<CXform> clipped = new CXform(Rect(0, 0, 2, 2), Rect(0, 0, 2, 2));
    clipped->SetClip(Rect(0, 0, 1, 2));
    sprite->PathAt(0)->transform = clipped;
    SmartPtr<CXform> xform;
    int16_t frame = 0;
    Rect clip(0, 0, 100, 100);
    ASSERT_TRUE(sprite->ComposeFrame(xform, frame, clip));
    EXPECT_EQ(clip, Rect(1, 1, 2, 3));
    EXPECT_EQ(clipped->GetSource(), Rect(0, 0, 2, 2)) << "the stored transform is not moved";
}

TEST_F(SpriteDrawing, FramesDifferByCelPlaceAndVisibility)
{
    SmartPtr<PaintedMovie> cels = new PaintedMovie(Rect(0, 0, 2, 2), { Color(7), Color(9) });
    cels->ToggleLoop(true);
    SmartPtr<CSprite> sprite = Small(cels.Get());
    sprite->SetNumFrames(5);
    sprite->PathAt(3)->offset = Point(2, 1);
    sprite->HideFrames(4, 1);
    const Rect page(0, 0, 50, 50);
    struct Case {
        int16_t a;
        int16_t b;
        Rect area;
        bool differ;
    } cases[] = {
        { 0, 0, page, false },
        { 0, 1, page, true },
        { 1, 3, page, true },
        { 0, 4, page, true },
        { 4, 6, page, false },
        { 0, 3, Rect(20, 20, 30, 30), false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.a) + " " + std::to_string(c.b));
        EXPECT_EQ(sprite->FramesDiffer(c.a, c.b, c.area), c.differ);
    }
}

TEST_F(SpriteDrawing, DeltasGoThroughTheCelMovie)
{
    SmartPtr<PaintedMovie> cels = new PaintedMovie(Rect(0, 0, 2, 2));
    SmartPtr<CSprite> sprite = Small(cels.Get());
    CDelta::ResetShared();
    CDelta delta;
    Rect clipA(0, 0, 50, 50);
    Rect clipB(0, 0, 50, 50);
    EXPECT_TRUE(sprite->MakeDelta(7, 8, nullptr, nullptr, clipA, clipB, delta));
    EXPECT_TRUE(delta.Imprints().empty()) << "shown in neither frame";
    clipA = Rect(0, 0, 50, 50);
    clipB = Rect(0, 0, 50, 50);
    EXPECT_TRUE(sprite->MakeDelta(0, 0, nullptr, nullptr, clipA, clipB, delta));
    ASSERT_EQ(delta.Imprints().size(), 1u);
    EXPECT_EQ(delta.Imprints()[0].rect, Rect(1, 1, 3, 3));
    EXPECT_EQ(clipA, Rect(1, 1, 3, 3)) << "the same cel in place stays on the screen";
}

TEST_F(SpriteDrawing, MergeRulesDecideInOrder)
{
    SmartPtr<PaintedMovie> shared = new PaintedMovie(Rect(0, 0, 2, 2), { Color(7), Color(9), Color(10) });
    struct Case {
        const char* name;
        bool loop;
        int16_t otherStart;
        bool sameName;
        bool checkOverlap;
        bool merged;
    } cases[] = {
        { "looping shared cels merge whatever the cels", true, 5, true, false, true },
        { "non-looping cels that disagree do not", false, 5, true, false, false },
        { "non-looping cels that agree do", false, 0, true, false, true },
        { "another name is refused", true, 5, false, false, false },
        { "an overlap is refused", true, 1, true, true, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (shared->ToggleLoop(false) != c.loop)
            shared->ToggleLoop(true);
        SmartPtr<CSprite> mine = Small(shared.Get());
        SmartPtr<CSprite> other = Small(shared.Get());
        other->SetStartFrame(c.otherStart);
        if (!c.sameName)
            other->SetName(new String("other"));
        EXPECT_EQ(mine->TryMerge(other, c.checkOverlap, true, false), c.merged);
    }
}

// After a merge every frame of the pasted sprite shows where it did, with its key frames and its
// sounds (none clearing one).
TEST_F(SpriteDrawing, MergedFramesKeepTheirLookKeysAndSounds)
{
    SmartPtr<PaintedMovie> shared = new PaintedMovie(Rect(0, 0, 2, 2), { Color(7), Color(9) });
    SmartPtr<CSprite> mine = Small(shared.Get());
    mine->SetNumFrames(4);
    mine->SetKeyFrame(2, true);
    mine->SetSound(3, 1, new Sound);
    SmartPtr<CSprite> other = Small(shared.Get());
    other->SetStartFrame(3);
    other->SetNumFrames(4);
    other->PathAt(1)->offset = Point(7, 2);
    Rect scaled(20, 20, 26, 24);
    other->PlaceAtFrame(5, &scaled, nullptr);
    other->SetKeyFrame(3, false);
    other->SetSound(6, 1, new Sound);
    std::vector<Rect> before;
    for (int16_t m = 3; m < 7; ++m) {
        Rect rect(0, 0, 0, 0);
        other->GetFrameBounds(m, &rect, nullptr);
        before.push_back(rect);
    }
    ASSERT_TRUE(mine->TryMerge(other, false, false, false));
    EXPECT_EQ(mine->StartFrame(), 0);
    EXPECT_EQ(mine->NumFrames(), 7);
    for (int16_t m = 3; m < 7; ++m) {
        SCOPED_TRACE(m);
        Rect rect(0, 0, 0, 0);
        mine->GetFrameBounds(m, &rect, nullptr);
        EXPECT_EQ(rect, before[size_t(m - 3)]);
        EXPECT_EQ(mine->IsKeyFrame(m), other->IsKeyFrame(m));
        EXPECT_EQ(mine->SoundAtFrame(m), other->SoundAtFrame(m));
    }
    EXPECT_TRUE(mine->IsKeyFrame(2)) << "key frames before the run stay";
    EXPECT_THROW(mine->Merge(nullptr), Exception*);
}

// Picture sprites over two picture movies merge by taking the other's pictures in.
TEST_F(SpriteDrawing, PictureSpritesTakeTheOthersPictures)
{
    auto pictureMovie = [](const char* grid) {
        SmartPtr<BitMap> picture = bitmaps::MakeBitMap(bitmaps::GreyTable(16), grid);
        return SmartPtr<CMovie>(new CMoviePic(new CResource(SmartPtr<Persistent>(picture.Get()), true), true));
    };
    SmartPtr<CSprite> mine = new CSprite(0, pictureMovie("0 0 | 0 0"), Rect(0, 0, 2, 2));
    SmartPtr<CSprite> other = new CSprite(2, pictureMovie("F F F | F F F"), Rect(0, 0, 3, 2));
    ASSERT_TRUE(mine->TryMerge(other, false, false, false));
    auto* cels = SmartCast<CMovieRes>(mine->GetMovie().Get());
    ASSERT_NE(cels, nullptr);
    EXPECT_EQ(cels->ItemObject(mine->CelForFrame(2)), SmartCast<CMovieRes>(other->GetMovie().Get())->ItemObject(0));
    EXPECT_EQ(cels->ItemObject(mine->CelForFrame(0)), cels->ItemObject(0));
    Rect rect(0, 0, 0, 0);
    mine->GetFrameBounds(2, &rect, nullptr);
    EXPECT_EQ(rect.Size(), Point(3, 2));
}

} // namespace
