#include "engine/CMovie.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"
#include "foundation/FlatArchive.h"
#include "ui/ProgressRange.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

using engine::TestMovie;

class CountingClient : public MovieClient {
public:
    void MovieChanged(Smart*, const Rect& rect, int16_t frame) override { notices.push_back({ rect, frame }); }
    void BoundsChanged(CMovie&, const Rect& old) override { oldBounds.push_back(old); }

    struct Notice {
        Rect rect;
        int16_t frame;
    };
    std::vector<Notice> notices;
    std::vector<Rect> oldBounds;
};

// A movie whose frame f carries sound f, table f and (on every third frame) a link to label f.
SmartPtr<TestMovie> Marked(int16_t frames, std::vector<SmartPtr<Sound>>& sounds)
{
    SmartPtr<TestMovie> movie = new TestMovie;
    movie->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
    for (int16_t f = 0; f < frames; ++f) {
        sounds.push_back(new Sound);
        movie->SetSoundAtFrame(f, 1, sounds.back().Get());
        if (f % 3 == 0) {
            SmartPtr<CLink> link = new CLink;
            link->SetFrameJump(movie->GetFrameIndex(), f);
            movie->GetFrameIndex()->SetName(f, String(std::to_string(f).c_str()));
            movie->SetLinkAtFrame(f, 1, link.Get());
        }
    }
    return movie;
}

// The sounds of the frames, as their positions in `sounds` ('-' for none).
std::string SoundsOf(const CMovie& movie, const std::vector<SmartPtr<Sound>>& sounds)
{
    std::string text;
    for (int16_t f = 0; f < movie.NumFrames(); ++f) {
        Sound* sound = movie.SoundAtFrame(f);
        char mark = '-';
        for (size_t i = 0; i < sounds.size(); ++i)
            mark = sounds[i].Get() == sound ? char('a' + i) : mark;
        text += mark;
    }
    return text;
}

// Every per-frame list fits the count, every label is inside the movie, every label link's
// label is one of the movie's own.
void ExpectConsistent(CMovie& movie)
{
    ASSERT_GE(movie.NumFrames(), 1);
    for (int16_t f = 0; f < movie.NumFrames(); ++f)
        movie.GetFrameStamps(f);
    EXPECT_EQ(movie.SoundAtFrame(movie.NumFrames()), nullptr);
    SmartPtr<CFrameIndex> index = movie.GetFrameIndex();
    for (uint32_t i = 1; i <= index->NumEntries(); ++i) {
        EXPECT_LT(index->GetEntry(i)->GetFrame(), movie.NumFrames());
        if (i > 1) {
            EXPECT_LE(index->GetEntry(i - 1)->GetFrame(), index->GetEntry(i)->GetFrame());
        }
    }
    for (int16_t f = 0; f < movie.NumFrames(); ++f) {
        CLink* link = movie.LinkAtFrame(f);
        auto* label = link ? SmartCast<CJumpFrame>(link->GetJump().Get()) : nullptr;
        if (label && index->FindByName(label->GetName()) >= 0) {
            SmartPtr<CJumpFrame> held = label;
            EXPECT_EQ(index->FindFrame(held), label->GetFrame());
        }
    }
}

class Movies : public bitmaps::WithStandardPalette {
protected:
    void SetUp() override
    {
        bitmaps::WithStandardPalette::SetUp();
        ProgressRange::SetVisible(false);
    }
    void TearDown() override { ProgressRange::SetVisible(true); }
};

} // namespace

TEST_F(Movies, NewMovieAndItsBits)
{
    TestMovie movie;
    EXPECT_EQ(movie.NumFrames(), 1);
    EXPECT_EQ(movie.GetFlags(), CMovie::kLoop | CMovie::kMode0);
    CountingClient client;
    movie.RemoveOrAppendClient(&client);
    EXPECT_TRUE(movie.ToggleModeBit4(true));
    EXPECT_EQ(movie.GetFlags(), CMovie::kLoop | CMovie::kMode4);
    EXPECT_FALSE(movie.ToggleModeBit4(true));
    EXPECT_EQ(movie.GetFlags(), CMovie::kLoop);
    EXPECT_EQ(client.notices.size(), 2u);
    EXPECT_EQ(client.notices[0].rect, CMovie::kDefaultBounds);

    movie.InsertFrames(1, 4, true, true);
    struct Case {
        int16_t frame;
        bool loop;
        int16_t expected;
        bool result;
    } cases[] = { { 5, true, 0, true }, { 7, true, 2, true }, { 5, false, 4, true }, { -5, true, 0, false } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        if (movie.ToggleLoop(false) != c.loop)
            movie.ToggleLoop(true);
        int16_t frame = c.frame;
        EXPECT_EQ(movie.NormalizeFrame(frame), c.result);
        EXPECT_EQ(frame, c.expected);
    }

    client.notices.clear();
    movie.SetBounds(CMovie::kDefaultBounds);
    EXPECT_TRUE(client.notices.empty());
    movie.SetBounds(Rect(100, 100, 400, 400));
    ASSERT_EQ(client.oldBounds.size(), 1u);
    EXPECT_EQ(client.oldBounds[0], CMovie::kDefaultBounds);
    ASSERT_EQ(client.notices.size(), 1u);
    EXPECT_EQ(client.notices[0].rect, Rect(0, 0, 400, 400));
    // Frame at the count: told, no cache emptied.
    SmartPtr<ListData> stamps = movie.GetFrameStamps(0);
    stamps->Append(new CJump);
    movie.Changed(&movie, Rect(1, 1, 2, 2), movie.NumFrames());
    EXPECT_EQ(stamps->NumItems(), 1u);
    movie.Changed(&movie, Rect(1, 1, 2, 2), -1);
    EXPECT_EQ(stamps->NumItems(), 0u);
    movie.RemoveOrAppendClient(&client);
    movie.Changed(&movie, Rect(0, 0, 0, 0), -1);
    EXPECT_EQ(client.notices.size(), 3u);
}

TEST_F(Movies, FrameEditTables)
{
    std::vector<SmartPtr<Sound>> sounds;
    struct Case {
        const char* name;
        void (*edit)(CMovie&);
        const char* expected;
    } cases[] = {
        { "delete all", [](CMovie& m) { EXPECT_TRUE(m.DeleteFrames(0, 5)); }, "-" },
        { "delete before the start", [](CMovie& m) { EXPECT_TRUE(m.DeleteFrames(-2, 4)); }, "cde" },
        { "delete nothing", [](CMovie& m) { EXPECT_FALSE(m.DeleteFrames(5, 3)); }, "abcde" },
        { "insert refused", [](CMovie& m) { EXPECT_FALSE(m.InsertFrames(6, 1, false, false)); }, "abcde" },
        { "insert blank", [](CMovie& m) { m.InsertFrames(2, 2, true, false); }, "ab--cde" },
        { "shrink 4 to 2", [](CMovie& m) { m.StretchFrames(0, 4, 2); }, "bde" },
        { "grow 3 to 7", [](CMovie& m) { m.StretchFrames(0, 3, 7); }, "a--b--cde" },
        { "grow 1 to 3", [](CMovie& m) { m.StretchFrames(4, 1, 3); }, "abcde--" },
        { "paste self copy", [](CMovie& m) { m.PasteMovie(1, m.CopyFrames(3, 2, false)); }, "adebcde" },
        { "cut", [](CMovie& m) { m.CopyFrames(1, 3, true); }, "ae" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sounds.clear();
        SmartPtr<TestMovie> movie = Marked(5, sounds);
        c.edit(*movie.Get());
        EXPECT_EQ(SoundsOf(*movie.Get(), sounds), c.expected);
        ExpectConsistent(*movie.Get());
    }
}

TEST_F(Movies, InsertsTakeTablesAndMoveLinks)
{
    TestMovie movie;
    movie.InsertFrames(1, 2, true, true);
    SmartPtr<ColorTable> zero = ColorTable::Setup(8), one = ColorTable::Setup(1);
    movie.SetColorTableAtFrame(0, 1, zero.Get());
    movie.SetColorTableAtFrame(1, 1, one.Get());
    SmartPtr<CLink> link = new CLink;
    movie.SetLinkAtFrame(1, 1, link.Get());
    movie.InsertFrames(0, 2, false, false);
    EXPECT_EQ(movie.ColorTableAtFrame(0), zero.Get());
    EXPECT_EQ(movie.ColorTableAtFrame(1), zero.Get());
    EXPECT_EQ(movie.LinkAtFrame(3), link.Get());
    movie.InsertFrames(4, 2, false, false);
    EXPECT_EQ(movie.ColorTableAtFrame(4), one.Get());
    EXPECT_EQ(movie.LinkAtFrame(3), nullptr);
    EXPECT_EQ(movie.LinkAtFrame(5), link.Get());
    // Never past the largest count.
    EXPECT_FALSE(movie.InsertFrames(0, CMovie::kMaxFrames, true, true));
    EXPECT_EQ(movie.NumFrames(), 7);
}

TEST_F(Movies, GrowsToRanges)
{
    struct Case {
        bool loop;
        int16_t start, count, limit;
        int16_t frames, newStart, newCount;
    } cases[] = {
        { false, 10, 2, 100, 13, 10, 2 },
        { false, 10, 2, 12, 11, 10, 1 },
        { true, 10, 2, 100, 12, 10, 2 },
        { true, -3, 2, 100, 8, 0, 2 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.start);
        TestMovie movie;
        movie.InsertFrames(1, 4, true, true);
        if (!c.loop)
            movie.ToggleLoop(true);
        int16_t start = c.start, count = c.count;
        movie.GrowToRange(start, count, c.limit);
        EXPECT_EQ(movie.NumFrames(), c.frames);
        EXPECT_EQ(start, c.newStart);
        EXPECT_EQ(count, c.newCount);
    }
}

// A cut copy's links point into its own index; the source's labels keep their frames.
TEST_F(Movies, CopiesKeepTheirOwnLabels)
{
    std::vector<SmartPtr<Sound>> sounds;
    SmartPtr<TestMovie> movie = Marked(10, sounds);
    SmartPtr<CMovie> copy = movie->CopyFrames(2, 3, true);
    EXPECT_EQ(copy->NumFrames(), 3);
    EXPECT_EQ(movie->NumFrames(), 7);
    CLink* link = copy->LinkAtFrame(1);
    ASSERT_NE(link, nullptr);
    auto* label = SmartCast<CJumpFrame>(link->GetJump().Get());
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(copy->GetFrameIndex()->GetEntry(1), label);
    EXPECT_EQ(label->GetFrame(), 1);
    EXPECT_EQ(movie->GetFrameIndex()->FindByName(String("6")), 3);
    EXPECT_EQ(movie->GetFrameIndex()->FindByName(String("0")), 0);
}

// Random edits: lists fit, labels and links stay consistent, one notice per edit that changes.
TEST_F(Movies, RandomEditSequencesStayConsistent)
{
    std::mt19937 random(2020);
    std::uniform_int_distribution<int> pick(0, 5);
    std::uniform_int_distribution<int> small(-3, 12);
    std::vector<SmartPtr<Sound>> sounds;
    SmartPtr<TestMovie> movie = Marked(8, sounds);
    CountingClient client;
    movie->RemoveOrAppendClient(&client);
    for (int step = 0; step < 400; ++step) {
        SCOPED_TRACE(step);
        client.notices.clear();
        int16_t a = static_cast<int16_t>(small(random)), b = static_cast<int16_t>(small(random));
        int16_t frames = movie->NumFrames();
        bool changed = true;
        switch (pick(random)) {
        case 0:
            changed = movie->InsertFrames(a, b, b % 2 == 0, false);
            break;
        case 1:
            changed = movie->DeleteFrames(a, b);
            break;
        case 2:
            movie->StretchFrames(std::max<int16_t>(a, 0), std::max<int16_t>(b, 1), static_cast<int16_t>(small(random) + 4));
            changed = movie->NumFrames() != frames;
            break;
        case 3:
            movie->PasteMovie(std::clamp<int16_t>(a, 0, frames), movie->CopyFrames(a, b, false));
            break;
        case 4:
            movie->CopyFrames(a, b, true);
            changed = movie->NumFrames() != frames;
            break;
        default:
            movie->AddResource(a, b, nullptr, 0, 40);
            changed = movie->NumFrames() != frames;
            break;
        }
        EXPECT_FALSE(CMovie::sInFrameEdit);
        EXPECT_EQ(client.notices.size(), changed ? 1u : 0u);
        ExpectConsistent(*movie.Get());
        if (movie->NumFrames() > 200)
            movie->DeleteFrames(0, 150);
    }
    movie->RemoveOrAppendClient(&client);
}

// Through a real object file: counts, bounds, bits, lists and labels come back.
TEST_F(Movies, StoredThroughObjectFiles)
{
    std::vector<SmartPtr<Sound>> sounds;
    SmartPtr<TestMovie> movie = Marked(7, sounds);
    movie->SetBounds(Rect(-3, 4, 200, 100));
    movie->ToggleModeBit2(true);
    movie->MarkPainted();
    movie->SetColorTableAtFrame(2, 3, ColorTable::Setup(8).Get());
    SmartPtr<Smart> root = engine::Load(engine::Store(movie.Get()));
    auto* read = SmartCast<TestMovie>(root.Get());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->NumFrames(), 7);
    Rect bounds;
    read->GetBounds(bounds);
    EXPECT_EQ(bounds, Rect(-3, 4, 200, 100));
    EXPECT_EQ(read->GetFlags(), movie->GetFlags());
    EXPECT_TRUE(read->IsPainted()) << "the paint mark";
    EXPECT_TRUE(read->CopyFrames(2, 3, false)->IsPainted()) << "a copy of paint is paint";
    for (int16_t f = 0; f < 7; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(read->SoundAtFrame(f) != nullptr, true);
        EXPECT_EQ(read->ColorTableAtFrame(f) != nullptr, f >= 2 && f < 5);
        EXPECT_EQ(read->LinkAtFrame(f) != nullptr, f % 3 == 0);
    }
    EXPECT_EQ(read->GetFrameIndex()->NumEntries(), 3u);
    EXPECT_EQ(read->LinkAtFrame(3)->ResolveFrame(*read->GetFrameIndex().Get()), 3);
    ExpectConsistent(*read);
}

// Stored counts and lists are not trusted: the count is at least 1, lists fit it, labels past the
// end come to the last frame.
TEST_F(Movies, ReadersTrustNothing)
{
    std::vector<const PersistentVersion*> classes = { &TestMovie::version, &CMovie::version, &ListData::version,
        &Sound::version, &ColorTable::version, &CLink::version, &CFrameIndex::version, &CJumpFrame::version,
        &String::version, &GenericArray::version };
    for (int16_t storedCount : { int16_t(0), int16_t(-4), int16_t(2), int16_t(12) }) {
        SCOPED_TRACE(storedCount);
        std::vector<SmartPtr<Sound>> sounds;
        SmartPtr<TestMovie> movie = Marked(6, sounds);
        MemoryStream stream;
        movie->Write(*SmartPtr<FlatArchive>(new FlatArchive(stream, classes, true)).Get());
        // The count follows the two scopes' version and length words.
        stream.Seek(16, Stream::kFromStart);
        stream.WriteShort(storedCount);
        stream.Seek(0, Stream::kFromStart);
        SmartPtr<FlatArchive> archive = new FlatArchive(stream, classes, false);
        SmartPtr<TestMovie> read = SmartCast<TestMovie>(TestMovie::version.CallReader(*archive.Get()));
        ASSERT_TRUE(read.Valid());
        EXPECT_EQ(read->NumFrames(), std::max<int16_t>(storedCount, 1));
        ExpectConsistent(*read.Get());
        EXPECT_EQ(read->GetFrameIndex()->NumEntries(), 2u);
    }
}
