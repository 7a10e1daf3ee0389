#include "engine/CChoreCache.h"
#include "engine/CMemory.h"
#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CMovieVideo.h"
#include "engine/CPlayList.h"
#include "engine/CPlayer.h"
#include "engine/CResource.h"
#include "engine/CShow.h"
#include "engine/CTrackList.h"
#include "engine/ShowFileType.h"
#include "foundation/Chore.h"
#include "foundation/FormatClassException.h"
#include "foundation/FourCharCode.h"
#include "foundation/ObjectFile.h"
#include "graphics/DisplayPort.h"
#include "graphics/OffScreen.h"

#include "SpriteFixture.h"
#include "foundation/ObjectFileBytes.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include <string>
#include <vector>

namespace {

using engine::Sprites;
using engine::Text;

// The test web link stands where the export floor's takes its place.
const bool webLinkPlaced = (pw::engine::SetWebLinkVersion(&engine::TestWebLink::version), true);

std::vector<uint8_t> StorePage(Smart* root)
{
    return ObjectFileBytes(GetGenericTypeIndex(), root);
}

SmartPtr<Smart> LoadPage(const std::vector<uint8_t>& bytes)
{
    return ObjectFromBytes(GetGenericTypeIndex(), bytes);
}

class Shows : public Sprites {
protected:
    // Cel movies of a class the page's index holds.
    static SmartPtr<CMovie> StoredCels(int16_t cels, bool loop)
    {
        SmartPtr<CMovie> movie = new CMovieVideo(Rect(0, 0, 4, 4));
        if (cels > 1)
            movie->InsertFrames(1, static_cast<int16_t>(cels - 1), true, true);
        if (movie->ToggleLoop(false) != loop)
            movie->ToggleLoop(true);
        return movie;
    }

    // Three sprites with links, a label, sounds and hidden frames on a 12-frame page.
    static SmartPtr<CShow> Page()
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 64, 48));
        group->InsertFrames(1, 11, true, true);
        group->AddMovieAsSprite(0, 12, StoredCels(3, true));
        group->AddMovieAsSprite(2, 6, StoredCels(2, false));
        group->AddMovieAsSprite(4, 8, StoredCels(1, true));
        CSprite* hero = group->GetSprite(1);
        hero->SetName(new String("hero"));
        hero->HideFrames(4, 2);
        hero->SetSound(2, 1, new Sound);
        group->GetFrameIndex()->SetName(7, String("chorus"));
        SmartPtr<CLink> jump = new CLink;
        jump->SetFrameJump(group->GetFrameIndex(), 7);
        hero->SetLink(3, 1, jump.Get());
        SmartPtr<CLink> web = new CLink;
        web->SetHREF(new engine::TestWebLink(String("http://example.org/")));
        group->GetSprite(2)->SetLink(5, 2, web.Get());
        SmartPtr<CLink> wait = new CLink;
        wait->SetWait(2);
        group->SetLinkAtFrame(9, 1, wait.Get());
        SmartPtr<CShow> show = new CShow(group.Get());
        show->SetFrameRate(12);
        return show;
    }
};

TEST_F(Shows, TypeIndexKeepsEveryPlace)
{
    SmartPtr<TypeIndex> index = GetGenericTypeIndex();
    EXPECT_EQ(GetGenericTypeIndex().Get(), index.Get());
    ASSERT_EQ(index->NumClasses(), 37u);
    EXPECT_EQ(Text(index->GetDescription()), "Generic Object File");
    EXPECT_EQ(index->GetVersion(), Fixed(1, 0));
    EXPECT_EQ(index->GetFileType().GetTypeCode(), pw::foundation::FourCharCode("MVI "));
    EXPECT_EQ(index->GetFileType().GetExtension(), pw::foundation::FourCharCode("mvi "));
    const char* expected[] = { "String", nullptr, "CSprite", "CMovieGroup", "CMoviePic", nullptr, "CMovie", "CShow",
        "CJumpFrame", "CJumpMovie", nullptr, "CFrameIndex", "CMovieText", "CResource", "CLink", "CXform", nullptr,
        "CDelta", nullptr, "CStamp", "CMovieVideo", "CJump", "CMovieRes", "PathPoint", "BitMap", "String",
        "FileReference", "GenericArray", "Area", "ListData", "Picture", "ColorTable", "Sound", "StyledText",
        "TextStyle", "TestWebLink", "Time" };
    for (uint32_t n = 1; n <= 37; ++n) {
        SCOPED_TRACE(n);
        const PersistentVersion* record = index->GetClass(n);
        if (!expected[n - 1]) {
            EXPECT_EQ(record, nullptr);
            continue;
        }
        ASSERT_NE(record, nullptr);
        EXPECT_STREQ(record->GetClass()->GetName(), expected[n - 1]);
    }
    EXPECT_EQ(index->ClassNumberOf(String::version), 1u) << "never 26";
    EXPECT_THROW(index->ClassNumberOf(CTrackList::version), Exception*);
}

// A page played at another rate than its own stores its own; setting its own rate plays it again.
TEST_F(Shows, ARatePlayedForAWhileIsNeverStored)
{
    SmartPtr<CShow> show = Page();
    show->SetPlayingRate(20);
    EXPECT_EQ(show->GetFrameRate(), 20);
    SmartPtr<CShow> copy = new CShow(*show.Get());
    EXPECT_EQ(copy->GetFrameRate(), 20) << "a copy plays as its original";
    for (CShow* page : { show.Get(), copy.Get() }) {
        SmartPtr<CShow> back = SmartCast<CShow>(LoadPage(StorePage(page)).Get());
        ASSERT_TRUE(back.Valid());
        EXPECT_EQ(back->GetFrameRate(), 12);
        back->Close();
    }
    show->SetFrameRate(7);
    EXPECT_EQ(show->GetFrameRate(), 7);
    SmartPtr<CShow> back = SmartCast<CShow>(LoadPage(StorePage(show.Get())).Get());
    EXPECT_EQ(back->GetFrameRate(), 7);
    back->Close();
    copy->Close();
    show->Close();
}

TEST_F(Shows, AWholePageIsSavedAndReopenedEqual)
{
    engine::WithWebLinks webLinks;
    SmartPtr<CShow> show = Page();
    std::vector<uint8_t> bytes = StorePage(show.Get());
    SmartPtr<CShow> back = SmartCast<CShow>(LoadPage(bytes).Get());
    ASSERT_TRUE(back.Valid());
    EXPECT_EQ(back->GetFrameRate(), 12);
    auto* group = SmartCast<CMovieGroup>(back->GetMovie().Get());
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->NumFrames(), 12);
    EXPECT_EQ(group->NumSprites(), 3u);
    SmartPtr<CSprite> hero = group->FindSpriteByName(String("hero"));
    ASSERT_TRUE(hero.Valid());
    EXPECT_FALSE(hero->ShowsInFrames(4, 2));
    EXPECT_NE(hero->SoundAtFrame(2), nullptr);
    ASSERT_NE(hero->LinkAtFrame(3), nullptr);
    EXPECT_EQ(hero->LinkAtFrame(3)->ResolveFrame(*group->GetFrameIndex().Get()), 7);
    EXPECT_NE(group->GetSprite(2)->LinkAtFrame(6)->GetHREF().Get(), nullptr);
    EXPECT_EQ(group->LinkAtFrame(9)->GetWait(), 2);
    EXPECT_EQ(StorePage(back.Get()), bytes);
    back->Close();
    show->Close();
}

// Places that hold no class refuse a file that names them; no object is made.
TEST_F(Shows, EmptyPlacesAreRefused)
{
    SmartPtr<String> text = new String("x");
    std::vector<uint8_t> bytes = StorePage(text.Get());
    ASSERT_TRUE(SmartCast<String>(LoadPage(bytes).Get()) != nullptr);
    // The class index holds the number 1 as a 4-byte value right after the header: find it and
    // rewrite it.
    for (uint32_t number : { 2u, 6u, 11u, 17u, 19u }) {
        SCOPED_TRACE(number);
        std::vector<uint8_t> changed = bytes;
        bool rewritten = false;
        for (size_t at = 0; at + 4 <= changed.size(); ++at) {
            uint32_t value = uint32_t(changed[at]) | uint32_t(changed[at + 1]) << 8 | uint32_t(changed[at + 2]) << 16
                | uint32_t(changed[at + 3]) << 24;
            if (value == 1 && at > 8) {
                changed[at] = static_cast<uint8_t>(number);
                rewritten = true;
                break;
            }
        }
        ASSERT_TRUE(rewritten);
        SmartPtr<Smart> read = LoadPage(changed);
        EXPECT_FALSE(read.Valid());
    }
}

// The frame cache's run and purges, with the free memory the budget sees set by the test.
TEST_F(Shows, FrameCacheRunsAndPurges)
{
    SmartPtr<CShow> show = Page();
    CPlayer& player = *show->GetPlayer();
    CChoreCache& cache = *player.GetThinker();
    struct Move {
        const char* name;
        int16_t base;
        int16_t count;
        int16_t frame;
        int16_t expected;
    } moves[] = {
        { "same base", 3, 5, 3, 5 },
        { "forward by 2", 3, 5, 5, 3 },
        { "back by 1: a distance of 11", 3, 5, 2, 0 },
        { "past the end: reduced once", 0, 0, 14, 0 },
    };
    for (const auto& m : moves) {
        SCOPED_TRACE(m.name);
        cache.CacheFrame(&player, m.base, 0);
        cache.CacheFrame(&player, -1, 0);
        while (cache.GetCount() < m.count)
            cache.CacheNext(player);
        EXPECT_EQ(cache.CacheFrame(&player, m.frame, 0), m.expected);
    }
    EXPECT_EQ(cache.GetBase(), 2) << "frame 14 of 12 starts the run at 2";

    // Frames 8, 9, 10 cached from base 8 on a 12-frame page: the next is 11, then 0.
    show->ReleaseFrame(-2);
    cache.MovieChanged(nullptr, Rect(0, 0, 0, 0), -1);
    cache.CacheFrame(&player, 8, 12);
    for (int i = 0; i < 3; ++i)
        cache.CacheNext(player);
    EXPECT_EQ(show->NumCachedFrames(), 3u);
    cache.CacheNext(player);
    EXPECT_TRUE(show->IsFrameCached(11));
    cache.CacheNext(player);
    EXPECT_TRUE(show->IsFrameCached(0));
    EXPECT_EQ(cache.GetPeriod(), 1u) << "fast while frames are wanted";

    // Short of memory: the frame is refused and the run stops where it stands.
    pw::platform::testing::SetAvailableVirtualMemory(1024);
    cache.CacheNext(player);
    EXPECT_EQ(cache.GetCount(), 5);
    EXPECT_TRUE(cache.IsDone());

    // Purges at falling levels; the figure stays low, so each walks its whole range.
    struct Purge {
        const char* name;
        int16_t level;
        bool answer;
        int16_t purgeLevel;
    } purges[] = {
        { "level 2", 2, true, 2 },
        { "level 2 again: nothing", 2, false, 2 },
        { "level 3: not below", 3, false, 2 },
        { "level 0: everything", 0, true, 1 },
        { "level 0 again", 0, true, 1 },
    };
    for (const auto& p : purges) {
        SCOPED_TRACE(p.name);
        CMemory::Get().SetPurgeLevel(p.level);
        EXPECT_EQ(cache.PurgeFrames(1 << 20), p.answer);
        EXPECT_EQ(cache.GetPurgeLevel(), p.purgeLevel);
    }
    EXPECT_EQ(show->NumCachedFrames(), 0u);
    EXPECT_EQ(cache.GetCount(), 0);

    // Enough memory at once: a level-0 purge stops after the first frame.
    pw::platform::testing::SetAvailableVirtualMemory(std::nullopt);
    CMemory::Get().SetPurgeLevel(0);
    cache.CacheFrame(&player, 0, 4);
    for (int i = 0; i < 4; ++i)
        cache.CacheNext(player);
    cache.Think(player);
    EXPECT_TRUE(cache.PurgeFrames(1));
    EXPECT_EQ(show->NumCachedFrames(), 3u);
    EXPECT_EQ(cache.GetPeriod(), 1000u);
    show->Close();
}

// Frames of 2048 x 2048 on a 10-frame page: the budget holds 8 of them, whatever memory is free.
// A run that fills the budget alone stops there; frames a moved run has left make room for its
// next ones; a frame outside the cache is shown drawn afresh.
TEST_F(Shows, FrameCacheStaysWithinItsBudget)
{
    constexpr int32_t kSide = 2048;
    constexpr int16_t kFrames = 10;
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kSide, kSide));
    group->InsertFrames(1, kFrames - 1, true, true);
    // A red 4 x 4 picture, one place a frame.
    SmartPtr<OffScreen> picture = new OffScreen(4, 4, 8, Color(0), true);
    {
        DisplayPort port(*picture.Get(), picture->GetBounds(), 0);
        port.DrawRectangle(picture->GetBounds(), Color(7), Color(7), 1);
    }
    SmartPtr<CMovie> cels = new CMoviePic(new CResource(SmartPtr<Persistent>(picture->GetBitMap().Get()), true), true);
    auto placeOf = [](int16_t f) { return Rect(f * 100, f * 50, f * 100 + 4, f * 50 + 4); };
    SmartPtr<CSprite> placed = new CSprite(0, cels, placeOf(0));
    placed->SetNumFrames(kFrames);
    for (int16_t f = 0; f < kFrames; ++f) {
        Rect place = placeOf(f);
        placed->PlaceAtFrame(f, &place, nullptr);
    }
    group->AddSprite(placed, false);
    SmartPtr<CShow> show = new CShow(group.Get());
    CPlayer& player = *show->GetPlayer();
    CChoreCache& cache = *player.GetThinker();
    auto cached = [&] {
        std::string text;
        for (int16_t f = 0; f < kFrames; ++f)
            text += show->IsFrameCached(f) ? 'c' : '.';
        return text;
    };
    ASSERT_EQ(CShow::kFrameCacheBudget / (uint64_t(kSide) * kSide), 8u);
    EXPECT_FALSE(player.Accelerate()) << "the run stops where the budget does";
    EXPECT_EQ(cached(), "cccccccc..");
    EXPECT_TRUE(cache.IsDone());
    cache.CacheNext(player);
    EXPECT_EQ(cached(), "cccccccc..") << "no frame of the run is given up for another";

    cache.CacheFrame(&player, 8, kFrames);
    for (int i = 0; i < 3; ++i)
        cache.CacheNext(player);
    EXPECT_EQ(cached(), "cccccc..cc") << "the run from frame 8 takes the room of the frames it reaches last";
    EXPECT_EQ(cache.GetCount(), 3);

    // Shown frames, cached or not, have the sprite in that frame's place and nowhere else.
    for (int16_t f : { 0, 5, 8 }) {
        SCOPED_TRACE(f);
        player.ShowFrame(f);
        SmartPtr<BitMap> image = player.GetImage()->GetBitMap();
        uint32_t background = image->GetPixelValue(kSide - 1, kSide - 1);
        for (int16_t other = 0; other < kFrames; ++other) {
            Rect place = placeOf(other);
            EXPECT_EQ(image->GetPixelValue(place.left + 1, place.top + 1) != background, other == f) << "frame " << other;
        }
    }
    show->Close();
}

// Closing the page stops its chores; the leak check at exit finds nothing of it.
TEST_F(Shows, ClosingTearsTheShowDown)
{
    uint32_t before = pw::foundation::ChoreCount();
    {
        SmartPtr<CShow> show = Page();
        EXPECT_EQ(pw::foundation::ChoreCount(), before + 1) << "the frame cache";
        show->GetPlayer()->Start();
        EXPECT_EQ(pw::foundation::ChoreCount(), before + 2) << "and the playback chore";
        pw::platform::testing::RunFor(500);
    }
    EXPECT_EQ(pw::foundation::ChoreCount(), before);
    SmartPtr<CShow> closed = Page();
    closed->Close();
    EXPECT_EQ(closed->GetPlayer(), nullptr);
    EXPECT_EQ(pw::foundation::ChoreCount(), before);
}

TEST_F(Shows, ThumbnailsAreAnEighth)
{
    SmartPtr<CShow> show = Page();
    SmartPtr<CStamp> thumbnail = show->GetFrameThumbnail(1);
    ASSERT_TRUE(thumbnail.Valid());
    EXPECT_EQ(thumbnail->GetBounds(), Rect(0, 0, 8, 6));
    EXPECT_EQ(show->GetFrameThumbnail(1).Get(), thumbnail.Get());
    EXPECT_FALSE(show->GetFrameThumbnail(12).Valid());
    show->GetMovie()->Changed(show->GetMovie().Get(), Rect(0, 0, 0, 0), 1);
    EXPECT_NE(show->GetFrameThumbnail(1).Get(), thumbnail.Get()) << "a change makes it again";
    SmartPtr<Smart> converted(show.Get());
    EXPECT_TRUE(CMovie::classInfo.Convert(converted, true, 1));
    EXPECT_EQ(converted.Get(), static_cast<Smart*>(show->GetMovie().Get()));
    show->Close();
}

} // namespace
