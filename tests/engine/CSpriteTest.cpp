#include "engine/CSprite.h"

#include "engine/CMoviePic.h"
#include "engine/GetResourceByIndex.h"
#include "foundation/Resources.h"

#include "SpriteFixture.h"
#include "platform/kernel/KernelTesting.h"

#include <filesystem>
#include <fstream>
#include <string>

namespace {

using engine::Sprites;

TEST_F(Sprites, CelsFollowTheLoopRule)
{
    struct Case {
        const char* name;
        bool loop;
        int cels;
        const char* expected;
    } cases[] = {
        { "holding the last cel", false, 3, "0 0 1 2 2 2 " },
        { "looping", true, 3, "0 0 1 2 0 1 " },
        { "one cel", true, 1, "0 0 0 0 0 0 " },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CSprite> sprite = MakeSprite(4, c.cels, c.loop);
        sprite->SetNumFrames(5);
        std::string cels;
        for (int16_t frame = 3; frame < 9; ++frame)
            cels += std::to_string(sprite->CelForFrame(frame)) + " ";
        EXPECT_EQ(cels, c.expected) << "frame 3 lies before the sprite";
    }
}

TEST_F(Sprites, FrameBoundsFollowTransformsClipsAndHiddenFrames)
{
    SmartPtr<CSprite> sprite = MakeSprite(2, 1, true);
    sprite->SetNumFrames(4);
    SmartPtr<CXform> twice = new CXform(Rect(0, 0, 4, 4), Rect(0, 0, 8, 8));
    sprite->PathAt(1)->transform = twice;
    SmartPtr<CXform> clipped = new CXform(Rect(0, 0, 4, 4), Rect(0, 0, 8, 8));
    clipped->SetClip(Rect(2, 2, 6, 6));
    sprite->PathAt(2)->transform = clipped;
    sprite->HideFrames(5, 1);
    sprite->OffsetPath(1, 1);
    struct Case {
        int16_t frame;
        Rect bounds;
        Rect full;
        bool shows;
    } cases[] = {
        { 1, Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), false },
        { 2, Rect(11, 21, 15, 25), Rect(11, 21, 15, 25), true },
        { 3, Rect(11, 21, 19, 29), Rect(11, 21, 19, 29), true },
        { 4, Rect(13, 23, 17, 27), Rect(11, 21, 19, 29), true },
        { 5, Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), false },
        { 6, Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        Rect bounds(1, 1, 1, 1);
        Rect full(1, 1, 1, 1);
        sprite->GetFrameBounds(c.frame, &bounds, nullptr);
        sprite->GetFullFrameBounds(c.frame, full);
        EXPECT_EQ(bounds, c.bounds);
        EXPECT_EQ(full, c.full);
        EXPECT_EQ(sprite->ShowsInFrames(c.frame, 1), c.shows);
    }
    EXPECT_EQ(sprite->PathAt(3)->offset, Point(10, 20)) << "a hidden frame keeps its offset";
    std::array<Point, 4> corners;
    sprite->GetCorners(3, corners);
    EXPECT_EQ(corners[2], Point(19, 29));
}

TEST_F(Sprites, PlacingHidesExtendsAndMovesTheReferencePoint)
{
    SmartPtr<CSprite> sprite = MakeSprite(5, 1, true);
    Rect empty(0, 0, 0, 0);
    sprite->PlaceAtFrame(5, &empty, nullptr);
    EXPECT_FALSE(sprite->ShowsInFrames(5, 1));
    Rect target(0, 0, 8, 4);
    sprite->PlaceAtFrame(3, &target, nullptr);
    EXPECT_EQ(sprite->StartFrame(), 3);
    EXPECT_EQ(sprite->NumFrames(), 3);
    Rect bounds(0, 0, 0, 0);
    sprite->GetFrameBounds(3, &bounds, nullptr);
    EXPECT_EQ(bounds, target);
    EXPECT_TRUE(sprite->IsKeyFrame(3));
    Point point(4, 2);
    sprite->PlaceAtFrame(3, nullptr, &point);
    EXPECT_EQ(sprite->GetReferencePoint(), Point(2, 2)) << "mapped back through the transform";
}

// Frames made from one another share their transform; changing one must not move the others.
TEST_F(Sprites, SharedTransformsAreCopiedBeforeTheyChange)
{
    SmartPtr<CSprite> sprite = MakeSprite(0, 1, true);
    sprite->PathAt(0)->transform = new CXform(Rect(0, 0, 4, 4), Rect(0, 0, 8, 8));
    sprite->InsertFrames(1, 3, 1);
    ASSERT_EQ(sprite->PathAt(1)->transform, sprite->PathAt(0)->transform);
    auto boundsOf = [&](int16_t frame) {
        Rect rect(0, 0, 0, 0);
        sprite->GetFrameBounds(frame, &rect, nullptr);
        return rect;
    };
    Rect before = boundsOf(0);
    Rect moved(30, 30, 34, 34);
    sprite->PlaceAtFrame(1, &moved, nullptr);
    sprite->RotateAtFrame(2, 45);
    Rect clip(10, 20, 14, 24);
    sprite->SetClipAtFrame(3, &clip);
    EXPECT_EQ(boundsOf(1), moved);
    EXPECT_NE(boundsOf(2), before);
    EXPECT_NE(boundsOf(3), before);
    EXPECT_EQ(boundsOf(0), before) << "frame 0 kept its transform";
    int16_t angle = -1;
    sprite->RotationAtFrame(0, angle);
    EXPECT_EQ(angle, 0);
}

TEST_F(Sprites, LinksAndSoundsOnlyLandInsideTheSprite)
{
    SmartPtr<CSprite> sprite = MakeSprite(4, 3, false);
    SmartPtr<CLink> link = new CLink;
    link->SetWait(3);
    sprite->SetLink(0, 3, link.Get());
    for (int16_t frame = 4; frame < 7; ++frame)
        EXPECT_EQ(sprite->LinkAtFrame(frame), nullptr);
    sprite->SetLink(2, 4, link.Get());
    ASSERT_NE(sprite->LinkAtFrame(4), nullptr);
    EXPECT_NE(sprite->LinkAtFrame(4), link.Get()) << "a copy is stored";
    EXPECT_EQ(sprite->LinkAtFrame(4), sprite->LinkAtFrame(5)) << "one copy for the run";
    EXPECT_EQ(sprite->LinkAtFrame(6), nullptr);
    sprite->SetSound(6, 5, new Sound);
    EXPECT_NE(sprite->SoundAtFrame(6), nullptr);
    EXPECT_EQ(sprite->SoundAtFrame(7), nullptr);
}

TEST_F(Sprites, StoredAndReadBackWithHiddenFrames)
{
    engine::WithWebLinks webLinks;
    SmartPtr<CSprite> sprite = MakeSprite(3, 2, false);
    sprite->SetNumFrames(4);
    sprite->HideFrames(4, 2);
    sprite->SetName(new String("bird"));
    sprite->SetKeyFrame(6, true);
    sprite->ToggleFlag2(true);
    sprite->SetSound(3, 1, new Sound);
    SmartPtr<CLink> link = new CLink;
    link->SetHREF(new engine::TestWebLink(String("http://x/")));
    sprite->SetLink(6, 1, link.Get());
    SmartPtr<Smart> root = engine::Load(engine::Store(sprite.Get()));
    auto* back = SmartCast<CSprite>(root.Get());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(engine::Text(*back->GetName().Get()), "bird");
    EXPECT_EQ(back->StartFrame(), 3);
    EXPECT_EQ(back->NumFrames(), 4);
    EXPECT_EQ(back->GetReferencePoint(), sprite->GetReferencePoint());
    EXPECT_EQ(Visibility(*back), "vhhv");
    EXPECT_EQ(back->PathAt(1)->transform, kHiddenXform) << "hidden frames come back as the shared transform";
    EXPECT_TRUE(back->IsKeyFrame(3) && back->IsKeyFrame(6) && !back->IsKeyFrame(4));
    EXPECT_TRUE(back->ToggleFlag2(false));
    EXPECT_NE(back->SoundAtFrame(3), nullptr);
    ASSERT_NE(back->LinkAtFrame(6), nullptr);
    EXPECT_EQ(back->LinkAtFrame(6)->GetKind(), CLink::kWebLink);
    EXPECT_EQ(back->GetMovie()->NumFrames(), 2);
    EXPECT_TRUE(back->GetDefaultPoint()->Equals(*sprite->GetDefaultPoint().Get()));
}

// A sprite whose lists no longer match its frame count, and every truncation of a good file, are
// refused with the corrupt-file message, never read.
TEST_F(Sprites, ReadersTrustNothing)
{
    SmartPtr<CSprite> source = MakeSprite(0, 3, false);
    SmartPtr<CSprite> stale = MakeSprite(0, 3, false);
    stale->CopyFrom(source.Get());
    source->DeleteFrames(0, 2);
    EXPECT_FALSE(engine::Load(engine::Store(stale.Get())).Valid());
    std::vector<uint8_t> good = engine::Store(source.Get());
    ASSERT_TRUE(engine::Load(good).Valid());
    for (size_t length = 0; length < good.size(); ++length) {
        std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(engine::Load(cut).Valid()) << length;
    }
}

TEST_F(Sprites, MadeFromMoviesSoundsAndWebLinks)
{
    engine::WithWebLinks webLinks;
    auto& services = pw::foundation::GetResourceServices();
    auto saved = services;
    services.bitmapFromFile = [](File&) {
        return SmartPtr<Smart>(bitmaps::MakeBitMap(bitmaps::GreyTable(16), "0 F F | F 0 F").Get());
    };
    std::filesystem::path data = std::filesystem::path(pw::platform::testing::DriveRoot()) / "plume" / "Data";
    std::ofstream(data / "401.bmp") << "picture";
    std::ofstream(data / "404.bmp") << "picture";

    SmartPtr<Smart> handle(Cels(2, true).Get());
    ASSERT_TRUE(ConvertTo(handle, &CSprite::classInfo));
    EXPECT_EQ(SmartCast<CSprite>(handle.Get())->NumFrames(), 2);

    handle = SmartPtr<Smart>(new Sound);
    ASSERT_TRUE(ConvertTo(handle, &CSprite::classInfo));
    auto* sound = SmartCast<CSprite>(handle.Get());
    EXPECT_NE(sound->SoundAtFrame(0), nullptr);
    EXPECT_TRUE(SmartCast<CMoviePic>(sound->GetMovie().Get()) != nullptr);
    Rect bounds(0, 0, 0, 0);
    sound->GetFrameBounds(0, &bounds, nullptr);
    EXPECT_EQ(bounds, Rect(0, 0, 3, 2));

    handle = SmartPtr<Smart>(new engine::TestWebLink(String("http://y/")));
    ASSERT_TRUE(ConvertTo(handle, &CSprite::classInfo));
    CLink* link = SmartCast<CSprite>(handle.Get())->LinkAtFrame(0);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetKind(), CLink::kWebLink);

    EXPECT_THROW(GetResourceByIndex(kEngineResourceCount + 1), Exception*);
    services = saved;
}

// A stored run must end inside the 16-bit frame range; one that does is read, and merging it with
// a sprite at frame 0, or with a copy of itself, never overflows: sprites whose joint run would be
// longer than a movie may be stay apart. The sprites share one looping cel movie, so that only
// their runs decide.
TEST_F(Sprites, StoredRunsAtTheEndsOfTheFrameRangeReadMergeAndCopy)
{
    struct Case {
        const char* name;
        int16_t start;
        int cels;
        bool read;
        bool mergesAtZero;
    } cases[] = {
        { "first frame -32768", -32768, 3, true, false },
        { "first frame -1", -1, 3, true, true },
        { "last frame 32767", 32765, 3, true, false },
        { "first frame 32767 alone", 32767, 1, true, false },
        { "first frame 32767, two frames", 32767, 2, false, false },
        { "first frame 32766, three frames", 32766, 3, false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CMovie> cels = Cels(c.cels, true).Get();
        auto over = [&](int16_t start) { return SmartPtr<CSprite>(new CSprite(start, cels, Rect(10, 20, 14, 24))); };
        std::vector<uint8_t> bytes = engine::Store(over(c.start).Get());
        auto read = [&] {
            SmartPtr<CSprite> sprite = SmartCast<CSprite>(engine::Load(bytes).Get());
            if (sprite.Valid())
                sprite->SetMovie(cels);
            return sprite;
        };
        SmartPtr<CSprite> sprite = read();
        ASSERT_EQ(sprite.Valid(), c.read);
        if (!c.read)
            continue;

        SmartPtr<CSprite> atZero = over(0);
        EXPECT_EQ(atZero->TryMerge(sprite, false, false, false), c.mergesAtZero);
        engine::ExpectConsistent(*atZero.Get());
        SmartPtr<CSprite> absorbing = read();
        EXPECT_EQ(absorbing->TryMerge(over(0), false, false, false), c.mergesAtZero);
        engine::ExpectConsistent(*absorbing.Get());

        SmartPtr<CSprite> copy = sprite->CopyFrames(c.start, static_cast<int16_t>(c.cels), true);
        EXPECT_EQ(copy->NumFrames(), c.cels);
        EXPECT_EQ(copy->StartFrame(), 0);
        EXPECT_EQ(Visibility(*sprite.Get()), std::string(size_t(c.cels), 'h')) << "the cut hides the run";
        copy->SetStartFrame(c.start);
        copy->SetMovie(cels);
        EXPECT_TRUE(sprite->TryMerge(copy, false, false, false));
        EXPECT_EQ(sprite->StartFrame(), c.start);
        EXPECT_EQ(sprite->NumFrames(), c.cels);
        EXPECT_EQ(Visibility(*sprite.Get()), std::string(size_t(c.cels), 'v')) << "the copy shows again";
        engine::ExpectConsistent(*sprite.Get());
    }
}

} // namespace
