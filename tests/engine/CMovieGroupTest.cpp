#include "engine/CInterpolater.h"
#include "engine/CMovieGroup.h"

#include "SpriteFixture.h"
#include "graphics/OffScreen.h"
#include "platform/testing/TestDriver.h"

#include <string>
#include <utility>
#include <vector>

namespace {

using engine::Sprites;

// Records the frames a movie announces.
class Listener : public MovieClient {
public:
    explicit Listener(CMovie& movie)
        : movie(movie)
    {
        movie.RemoveOrAppendClient(this);
    }
    ~Listener() { movie.RemoveOrAppendClient(this); }
    void MovieChanged(Smart*, const Rect&, int16_t frame) override { frames.push_back(frame); }
    void BoundsChanged(CMovie&, const Rect&) override { }

    CMovie& movie;
    std::vector<int16_t> frames;
};

class Groups : public Sprites {
protected:
    // A page of `frames` frames.
    static SmartPtr<CMovieGroup> Page(int16_t frames)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 100, 100));
        if (frames > 1)
            group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
        return group;
    }

    static std::string Order(const CMovieGroup& group, const std::vector<CSprite*>& names)
    {
        std::string text;
        for (int16_t i = 0; i < int16_t(group.NumSprites()); ++i)
            for (size_t n = 0; n < names.size(); ++n)
                if (group.GetSprite(i) == names[n])
                    text += static_cast<char>('a' + n);
        return text;
    }
};

TEST_F(Groups, FindsSpritesFromTheTop)
{
    SmartPtr<CMovieGroup> group = Page(10);
    for (int16_t start : { 0, 2, 4 }) {
        int16_t index = group->AddMovieAsSprite(start, 3, Cels(3, true).Get());
        group->GetSprite(index)->SetName(new String(start == 4 ? "twin" : start == 2 ? "twin" : ""));
    }
    EXPECT_EQ(group->GetSprite(-1), nullptr);
    EXPECT_EQ(group->GetSprite(3), nullptr);
    EXPECT_EQ(group->GetSprite(0)->StartFrame(), 0);
    EXPECT_FALSE(group->FindSpriteByName(String("")).Valid()) << "even though sprite 0 has an empty name";
    EXPECT_EQ(group->FindSpriteByName(String("twin")).Get(), group->GetSprite(2));
    EXPECT_EQ(group->TopSpriteInFrame(2).Get(), group->GetSprite(1));
    EXPECT_EQ(group->TopSpriteInFrame(4).Get(), group->GetSprite(2));
    EXPECT_FALSE(group->TopSpriteInFrame(9).Valid());
}

// The per-frame test asks the cel movie of every sprite showing in the frame, at that sprite's
// cel, bottom sprite first, and stops at the first that answers false.
TEST_F(Groups, ThePerFrameTestAsksTheCelMoviesShowingTheFrame)
{
    class Asked : public engine::PaintedMovie {
    public:
        Asked(std::string& log, char name, int16_t refused)
            : PaintedMovie(Rect(0, 0, 4, 4), { Color(7), Color(8), Color(9) })
            , log(log)
            , name(name)
            , refused(refused)
        {
        }
        // A sprite shows a copy of the movie it is given.
        SmartPtr<CMovie> CopyFrames(int16_t, int16_t, bool) override { return new Asked(log, name, refused); }
        bool FrameTest(int16_t cel) override
        {
            log += std::string(1, name) + std::to_string(cel) + " ";
            return cel != refused;
        }
        std::string& log;
        char name;
        int16_t refused;
    };
    std::string log;
    SmartPtr<CMovieGroup> group = Page(10);
    group->AddMovieAsSprite(0, 6, new Asked(log, 'a', 2));
    group->AddMovieAsSprite(4, 3, new Asked(log, 'b', -1));
    struct Case {
        int16_t frame;
        bool answer;
        const char* asked;
    } cases[] = {
        { 1, true, "a1 " },
        { 4, true, "a1 b0 " },
        { 5, false, "a2 " },
        { 6, true, "b2 " },
        { 9, true, "" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frame);
        log.clear();
        EXPECT_EQ(group->FrameTest(c.frame), c.answer);
        EXPECT_EQ(log, c.asked);
    }
}

TEST_F(Groups, PlacesMoviesOnThePage)
{
    struct Case {
        const char* name;
        Rect movie;
        Rect expected;
    } cases[] = {
        { "smaller: the page's box", Rect(0, 0, 20, 10), Rect(0, 0, 100, 100) },
        { "larger: its own size at the page's corner", Rect(5, 5, 305, 205), Rect(0, 0, 300, 200) },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CMovieGroup> group = Page(1);
        SmartPtr<CMovie> movie = new engine::PaintedMovie(c.movie);
        CSprite* sprite = group->GetSprite(group->AddMovieAsSprite(0, 0, movie));
        Rect full(0, 0, 0, 0);
        sprite->GetFullFrameBounds(0, full);
        Point centre = full.Center();
        EXPECT_EQ(centre, c.expected.Center());
    }
}

TEST_F(Groups, RaisesAndLowersPastVisibleSpritesOnly)
{
    SmartPtr<CMovieGroup> group = Page(10);
    group->AddMovieAsSprite(0, 10, Cels(1, true).Get());
    group->AddMovieAsSprite(0, 2, Cels(1, true).Get());
    group->AddMovieAsSprite(5, 5, Cels(1, true).Get());
    group->AddMovieAsSprite(0, 10, Cels(1, true).Get());
    std::vector<CSprite*> s { group->GetSprite(0), group->GetSprite(1), group->GetSprite(2), group->GetSprite(3) };
    s[0]->ToggleFlag2(true);
    Listener listener(*group.Get());

    group->RaiseSprite(s[1], 1);
    EXPECT_EQ(Order(*group.Get(), s), "acdb") << "past c, hidden in frame 1, to just above d";
    group->RaiseSprite(s[1], 1);
    EXPECT_EQ(Order(*group.Get(), s), "acdb") << "nothing above shows in frame 1";
    group->LowerSprite(s[1], -1);
    EXPECT_EQ(Order(*group.Get(), s), "abcd") << "to the bottom, but above the background";
    group->LowerSprite(s[3], 7);
    EXPECT_EQ(Order(*group.Get(), s), "abdc") << "below c, the next one showing in frame 7";
    group->LowerSprite(s[0], -1);
    EXPECT_EQ(Order(*group.Get(), s), "abdc") << "already at the bottom";
    EXPECT_EQ(listener.frames, (std::vector<int16_t> { -1, -1, -1 }));
    // Moving never frees a sprite: the address checks would stop at the next use.
    for (CSprite* sprite : s)
        EXPECT_GE(sprite->NumFrames(), 1);
}

// A sprite starting at frame 10 with 20 frames over a five-cel movie.
TEST_F(Groups, CelChangesReachTheFramesShowingTheCel)
{
    struct Case {
        const char* name;
        bool loop;
        int16_t cel;
        std::vector<int16_t> frames;
    } cases[] = {
        { "looping", true, 2, { 12, 17, 22, 27 } },
        { "not looping", false, 2, { 12 } },
        { "last cel, not looping", false, 4, { 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 27, 28, 29 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CMovieGroup> group = Page(30);
        CSprite* sprite = group->GetSprite(group->AddMovieAsSprite(10, 20, Cels(5, c.loop).Get()));
        ASSERT_EQ(sprite->NumFrames(), 20);
        SmartPtr<CMovie> cels = sprite->GetMovie();
        Listener listener(*group.Get());
        cels->Changed(cels.Get(), Rect(0, 0, 4, 4), c.cel);
        EXPECT_EQ(listener.frames, c.frames);
    }
}

// Two sprites sharing one cel movie: both are told, and the page listens once, until the last one
// leaves.
TEST_F(Groups, SharedCelMoviesKeepThePageInformed)
{
    SmartPtr<CMovieGroup> group = Page(10);
    CSprite* first = group->GetSprite(group->AddMovieAsSprite(0, 2, Cels(2, true).Get()));
    CSprite* second = group->GetSprite(group->AddMovieAsSprite(5, 2, Cels(2, true).Get()));
    SmartPtr<CMovie> shared = Cels(2, true).Get();
    group->ReplaceSpriteMovie(first, shared, Point(0, 0));
    group->ReplaceSpriteMovie(second, shared, Point(0, 0));
    EXPECT_TRUE(shared->HasClient(group.Get()));
    {
        Listener listener(*group.Get());
        shared->Changed(shared.Get(), Rect(0, 0, 4, 4), 1);
        EXPECT_EQ(listener.frames, (std::vector<int16_t> { 1, 6 }));
    }
    second->HideFrames(5, 2);
    group->RemoveEmptySprites();
    EXPECT_EQ(group->NumSprites(), 1u);
    EXPECT_TRUE(shared->HasClient(group.Get())) << "the first sprite still uses it";
    first->HideFrames(0, 2);
    group->RemoveEmptySprites();
    EXPECT_EQ(group->NumSprites(), 0u);
    EXPECT_FALSE(shared->HasClient(group.Get()));
}

TEST_F(Groups, GoneGroupsLeaveTheirCelMovies)
{
    SmartPtr<CMovie> cels;
    {
        SmartPtr<CMovieGroup> group = Page(4);
        group->AddMovieAsSprite(0, 2, Cels(2, true).Get());
        cels = group->GetSprite(0)->GetMovie();
        SmartPtr<CMovie> copy = group->CopyFrames(0, 4, false);
        EXPECT_TRUE(cels->HasClient(group.Get()));
        SmartPtr<CMovie> copiedCels = SmartCast<CMovieGroup>(copy.Get())->GetSprite(0)->GetMovie();
        EXPECT_TRUE(copiedCels->HasClient(SmartCast<CMovieGroup>(copy.Get())));
    }
    // Telling a freed client would fail under the address checks.
    cels->Changed(cels.Get(), Rect(0, 0, 1, 1), 0);
}

TEST_F(Groups, AGroupNeverShowsItself)
{
    SmartPtr<CMovieGroup> group = Page(3);
    group->AddMovieAsSprite(0, 3, Cels(1, true).Get());
    int16_t index = group->AddMovieAsSprite(0, 3, group.Get());
    CSprite* sprite = group->GetSprite(index);
    ASSERT_NE(sprite, nullptr);
    auto* inner = SmartCast<CMovieGroup>(sprite->GetMovie().Get());
    ASSERT_NE(inner, nullptr);
    EXPECT_NE(inner, group.Get());
    EXPECT_EQ(inner->NumSprites(), 1u) << "the copy has a list of its own";
    // Drawing ends: the copy does not hold the group.
    OffScreen buffer(100, 100, 8, Color(0), true);
    DisplayPort port(buffer, buffer.GetBounds(), 0);
    group->DrawFrame(port, nullptr, 1, Color(0));
}

TEST_F(Groups, StoredAndReadBack)
{
    SmartPtr<CMovieGroup> group = Page(6);
    group->AddMovieAsSprite(0, 4, Cels(2, true).Get());
    group->AddMovieAsSprite(2, 4, Cels(3, false).Get());
    group->GetSprite(1)->SetName(new String("top"));
    SmartPtr<CMovieGroup> back = SmartCast<CMovieGroup>(engine::Load(engine::Store(group.Get())).Get());
    ASSERT_TRUE(back.Valid());
    EXPECT_EQ(back->NumFrames(), 6);
    ASSERT_EQ(back->NumSprites(), 2u);
    EXPECT_EQ(back->FindSpriteByName(String("top")).Get(), back->GetSprite(1));
    EXPECT_EQ(back->GetSprite(1)->StartFrame(), 2);
    for (int16_t i = 0; i < 2; ++i)
        EXPECT_TRUE(back->GetSprite(i)->GetMovie()->HasClient(back.Get()));
    EXPECT_EQ(engine::Store(back.Get()), engine::Store(group.Get()));
}

// Frames copied from one page and pasted into another carry every sprite, moved by the
// difference of the pages' corners; the clipboard's group itself stays where it was.
TEST_F(Groups, CopiedFramesPasteAcrossSprites)
{
    SmartPtr<CMovieGroup> group = Page(10);
    group->AddMovieAsSprite(0, 10, Cels(2, true).Get());
    group->AddMovieAsSprite(3, 4, Cels(2, true).Get());
    SmartPtr<CMovie> clip = group->CopyFrames(2, 4, false);
    auto* copied = SmartCast<CMovieGroup>(clip.Get());
    ASSERT_NE(copied, nullptr);
    EXPECT_EQ(copied->NumFrames(), 4);
    ASSERT_EQ(copied->NumSprites(), 2u);
    EXPECT_EQ(copied->GetSprite(0)->NumFrames(), 4);
    EXPECT_EQ(copied->GetSprite(1)->StartFrame(), 1);
    EXPECT_EQ(copied->GetSprite(1)->NumFrames(), 3);
    Rect before(0, 0, 0, 0);
    copied->GetSprite(0)->GetFrameBounds(0, &before, nullptr);

    SmartPtr<CMovieGroup> other = new CMovieGroup(Rect(30, 40, 130, 140));
    other->InsertFrames(1, 2, true, true);
    Listener listener(*other.Get());
    other->PasteMovie(1, clip);
    EXPECT_EQ(listener.frames, (std::vector<int16_t> { -1 })) << "one notice for the whole paste";
    EXPECT_EQ(other->NumFrames(), 7);
    ASSERT_EQ(other->NumSprites(), 2u);
    EXPECT_EQ(other->GetSprite(0)->StartFrame(), 1);
    EXPECT_EQ(other->GetSprite(1)->StartFrame(), 2);
    Rect pasted(0, 0, 0, 0);
    other->GetSprite(0)->GetFrameBounds(1, &pasted, nullptr);
    Rect moved = before;
    moved.Offset(30, 40);
    EXPECT_EQ(pasted, moved);
    Rect after(0, 0, 0, 0);
    copied->GetSprite(0)->GetFrameBounds(0, &after, nullptr);
    EXPECT_EQ(after, before) << "the clipboard's group is not moved";

    SmartPtr<CMovie> plain = Cels(3, false).Get();
    other->PasteMovie(0, plain);
    EXPECT_EQ(other->NumSprites(), 3u);
    EXPECT_EQ(other->GetSprite(2)->StartFrame(), 0);
}

TEST_F(Groups, CopyRangesAreClampedAndCutsRemove)
{
    struct Case {
        const char* name;
        int16_t first;
        int16_t count;
        int16_t frames;
    } cases[] = {
        { "past the end: count lowered", 5, 10, 5 },
        { "start past the end: the last frame", 12, 3, 1 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CMovieGroup> group = Page(10);
        group->AddMovieAsSprite(0, 10, Cels(1, true).Get());
        SmartPtr<CMovie> copy = group->CopyFrames(c.first, c.count, false);
        EXPECT_EQ(copy->NumFrames(), c.frames);
        EXPECT_EQ(SmartCast<CMovieGroup>(copy.Get())->GetSprite(0)->NumFrames(), c.frames);
    }
    SmartPtr<CMovieGroup> group = Page(10);
    group->AddMovieAsSprite(0, 10, Cels(1, true).Get());
    group->CopyFrames(2, 3, true);
    EXPECT_EQ(group->NumFrames(), 7);
    EXPECT_EQ(group->GetSprite(0)->NumFrames(), 7);
}

TEST_F(Groups, InsertAndRemoveCarryEverySprite)
{
    SmartPtr<CMovieGroup> group = Page(6);
    group->AddMovieAsSprite(0, 6, Cels(1, true).Get());
    group->AddMovieAsSprite(4, 2, Cels(1, true).Get());
    EXPECT_FALSE(group->InsertFrames(9, 2, false, false));
    EXPECT_TRUE(group->InsertFrames(2, 3, false, false));
    EXPECT_EQ(group->NumFrames(), 9);
    EXPECT_EQ(group->GetSprite(0)->NumFrames(), 9);
    EXPECT_EQ(group->GetSprite(1)->StartFrame(), 7);
    EXPECT_TRUE(group->DeleteFrames(0, 3));
    EXPECT_EQ(group->GetSprite(0)->NumFrames(), 6);
    EXPECT_EQ(group->GetSprite(1)->StartFrame(), 4);
}

TEST_F(Groups, InterpolatingTellsOnlyWhenItRuns)
{
    SmartPtr<CMovieGroup> group = Page(6);
    group->AddMovieAsSprite(0, 6, Cels(1, true).Get());
    {
        Listener listener(*group.Get());
        group->Interpolate(SmartList<CSprite>(), 1, 3, 0);
        EXPECT_EQ(listener.frames, (std::vector<int16_t> { 1, 2, 3 }));
    }
    std::vector<uint8_t> before = engine::Store(group.Get());
    size_t alerts = pw::platform::testing::AlertLog().size();
    Listener listener(*group.Get());
    group->Interpolate(SmartList<CSprite>(), 1, 3, 2);
    EXPECT_TRUE(listener.frames.empty()) << "a refused dialog tells no one";
    EXPECT_EQ(pw::platform::testing::AlertLog().size(), alerts);
    EXPECT_EQ(engine::Store(group.Get()), before);
}

TEST(Interpolater, StraightLinesBetweenAndBeyondKeys)
{
    struct Case {
        const char* name;
        std::vector<int16_t> keys;
        std::vector<int16_t> values;
        int16_t t;
        int16_t expected;
    } cases[] = {
        { "middle", { 0, 10 }, { 0, 100 }, 5, 50 },
        { "first key", { 0, 10 }, { 0, 100 }, 0, 0 },
        { "last key", { 0, 10 }, { 0, 100 }, 10, 100 },
        { "before", { 0, 10 }, { 0, 100 }, -5, -50 },
        { "after", { 0, 10 }, { 0, 100 }, 15, 150 },
        { "second segment", { 0, 10, 20 }, { 0, 100, 100 }, 15, 100 },
        { "a key ends its segment", { 0, 10, 20 }, { 0, 100, 100 }, 10, 100 },
        { "truncated", { 0, 3 }, { 0, 10 }, 1, 3 },
        { "truncated again", { 0, 3 }, { 0, 10 }, 2, 6 },
        { "toward zero", { 0, 3 }, { 0, -10 }, 1, -3 },
        { "one key", { 7 }, { 42 }, -300, 42 },
        { "zero-length segment", { 5, 5 }, { 1, 9 }, 5, 9 },
        { "the widest span", { 0, 32767 }, { -32768, 32767 }, 32767, 32767 },
        { "the farthest reach", { 0, 1 }, { 0, 1 }, -32768, -32768 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CInterpolater> line = new CInterpolater;
        TypedArray<int16_t> keys;
        for (int16_t key : c.keys)
            keys.Append(key);
        TypedArray<int16_t> values;
        for (int16_t value : c.values)
            values.Append(value);
        EXPECT_EQ(line->SetKeys(keys), c.keys.size());
        line->SetValues(values);
        int16_t out = 0;
        line->Evaluate(c.t, &out);
        EXPECT_EQ(out, c.expected);
    }
    SmartPtr<CInterpolater> strided = new CInterpolater;
    TypedArray<int16_t> keys(3);
    strided->SetKeys(keys);
    strided->SetValues(TypedArray<int16_t>(7));
    EXPECT_EQ(strided->GetStride(), 2);
    SmartPtr<CInterpolater> keyless = new CInterpolater;
    keyless->SetValues(TypedArray<int16_t>(4));
    EXPECT_EQ(keyless->GetStride(), 0);
    int16_t untouched = 77;
    keyless->Evaluate(3, &untouched);
    EXPECT_EQ(untouched, 77);
}

} // namespace
