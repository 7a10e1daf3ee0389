#include "engine/CChorePlay.h"
#include "engine/CJumpMovie.h"
#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/Utilities.h"

#include "SpriteFixture.h"
#include "graphics/PortFixture.h"
#include "graphics/SoundBytes.h"
#include "platform/testing/TestDriver.h"
#include "platform/winmm/WinmmTesting.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using engine::Sprites;
using engine::Text;
using pw::platform::testing::RunFor;

class Recorder final : public PlayerClient {
public:
    explicit Recorder(CPlayer& player)
        : player(player)
    {
        player.RemoveOrAppendClient(this);
    }
    ~Recorder() { player.RemoveOrAppendClient(this); }
    void FrameNotice() override { frames.push_back(player.GetFrame()); }
    void PlayNotice() override { ++plays; }
    void AreaNotice(const SmartPtr<Area>&) override { ++areas; }

    CPlayer& player;
    std::vector<int16_t> frames;
    int plays { 0 };
    int areas { 0 };
};

// When the shown frame changed, on the virtual clock, and to which frame.
class FrameTimes : public PlayerClient {
public:
    explicit FrameTimes(CPlayer& player)
        : player(player)
    {
        player.RemoveOrAppendClient(this);
    }
    ~FrameTimes() { player.RemoveOrAppendClient(this); }
    void FrameNotice() override
    {
        if (frames.empty() || frames.back() != player.GetFrame()) {
            changes.push_back(pw::platform::testing::ClockMs());
            frames.push_back(player.GetFrame());
        }
    }
    void PlayNotice() override { }
    void AreaNotice(const SmartPtr<Area>&) override { }
    // How long the frame was shown the first time it came.
    uint64_t Held(int16_t frame) const
    {
        for (size_t i = 0; i + 1 < frames.size(); ++i) {
            if (frames[i] == frame)
                return changes[i + 1] - changes[i];
        }
        return 0;
    }

    CPlayer& player;
    std::vector<uint64_t> changes;
    std::vector<int16_t> frames;
};

class Players : public Sprites {
protected:
    // A page of `frames` frames; two overlapping sprites with links over every frame.
    SmartPtr<CShow> Page(int16_t frames)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 40, 40));
        group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
        return new CShow(group.Get());
    }

    static CMovieGroup& Group(CShow& show) { return *SmartCast<CMovieGroup>(show.GetMovie().Get()); }

    static std::string Taken(CPlayer& player)
    {
        std::string text;
        SmartPtr<Smart> object;
        while (int32_t kind = player.TakeRequest(object)) {
            auto* string = SmartCast<String>(object.Get());
            text += std::to_string(kind) + ":" + (string ? Text(*string) : std::string("file")) + " ";
        }
        return text;
    }
};

// At 15 frames a second the page moves on 67 ms after each change; the first tick comes after
// the chore's first 250 ms.
TEST_F(Players, AdvanceOnTheVirtualClock)
{
    pw::platform::testing::SetClock(0, 100000);
    SmartPtr<CShow> show = Page(4);
    CPlayer& player = *show->GetPlayer();
    {
        FrameTimes timer(player);
        ASSERT_TRUE(player.Start());
        EXPECT_TRUE(player.Start()) << "resumes, makes no second chore";
        RunFor(560);
        const std::vector<uint64_t>& changes = timer.changes;
        const std::vector<int16_t>& frames = timer.frames;
        ASSERT_GE(changes.size(), 6u);
        EXPECT_EQ(frames[1], 1);
        // The timers of the platform run at most a millisecond late.
        EXPECT_GE(changes[1], 250u) << "the chore's first tick";
        EXPECT_LE(changes[1], 252u);
        for (size_t i = 2; i < changes.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_GE(changes[i] - changes[i - 1], 67u);
            EXPECT_LE(changes[i] - changes[i - 1], 68u);
            EXPECT_EQ(frames[i], int16_t((frames[i - 1] + 1) % 4)) << "the page loops";
        }
    }
    player.Stop();
    EXPECT_FALSE(player.IsPlaying());
    show->Close();
}

// The playback chore ticks as its periods allow, never every millisecond: a frame change costs it
// at most three ticks (just after the change, near the end of the step, on the step), a held page
// one every 250 ms. The player draws each frame it moves to once, and the first at the start.
TEST_F(Players, TicksAndDrawsPerFrame)
{
    pw::platform::testing::SetClock(0, 100000);
    class Ticks : public ChoreClient {
    public:
        void DoChore(Chore&) override { ++count; }
        int count { 0 };
    };
    struct Case {
        const char* name;
        int16_t rate;
        int16_t wait;
        uint32_t run;
        int frames;
        int16_t playing { -1 }; // the rate played at instead of the page's own
    } cases[] = {
        { "15 frames a second", 15, 0, 2250, 30 },
        { "5 frames a second", 5, 0, 2250, 10 },
        { "a second's wait on every frame", 15, 1, 5250, 5 },
        { "held for a click", 15, -1, 5000, 0 },
        { "stored at 0, played at 15", 0, 0, 2250, 30, 15 },
        { "stored at 15, played at 5", 15, 0, 2250, 10, 5 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CShow> show = Page(3);
        show->SetFrameRate(c.rate);
        if (c.playing >= 0)
            show->SetPlayingRate(c.playing);
        CPlayer& player = *show->GetPlayer();
        for (int16_t f = 2; f >= 0; --f) {
            player.GoToFrame(f);
            player.SetFrameWait(c.wait);
        }
        player.SetImage(player.GetImage(), true);
        {
            Recorder recorder(player);
            Ticks ticks;
            player.Start();
            player.GetPlayback()->RemoveOrAppendClient(&ticks);
            RunFor(c.run);
            player.GetPlayback()->RemoveOrAppendClient(&ticks);
            int moves = 0;
            for (size_t i = 1; i < recorder.frames.size(); ++i)
                moves += recorder.frames[i] != recorder.frames[i - 1] ? 1 : 0;
            EXPECT_EQ(moves, c.frames);
            EXPECT_LE(ticks.count, 3 * moves + int(c.run / CChorePlay::kPeriod));
            EXPECT_EQ(recorder.areas, moves + 1) << "one drawing a frame";
            player.Stop();
        }
        show->Close();
    }
}

TEST_F(Players, WaitsHoldThePage)
{
    pw::platform::testing::SetClock(0, 100000);
    struct Case {
        const char* name;
        int16_t wait;
        uint32_t run;
        int16_t frame;
    } cases[] = {
        { "two seconds: still waiting", 2, 1990, 0 },
        { "two seconds: gone on", 2, 2030, 1 },
        { "a click", -1, 5000, 0 },
        { "another waiting mode", -4, 5000, 0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CShow> show = Page(3);
        CPlayer& player = *show->GetPlayer();
        player.SetFrameWait(c.wait);
        player.Start();
        RunFor(c.run);
        EXPECT_EQ(player.GetFrame(), c.frame);
        if (c.wait == -1) {
            EXPECT_TRUE(player.ActivateFrameLink(true));
            EXPECT_EQ(player.GetFrame(), 1) << "the click follows the link";
        }
        show->Close();
    }
    SmartPtr<CShow> show = Page(3);
    CPlayer& player = *show->GetPlayer();
    player.SetFrameWait(0);
    EXPECT_EQ(player.GetFrameLink(true).Get(), nullptr) << "a zero wait makes no link";
    player.SetFrameWait(3);
    EXPECT_NE(player.GetFrameLink(true).Get(), nullptr);
    player.SetFrameWait(0);
    EXPECT_EQ(player.GetFrameLink(true).Get(), nullptr) << "an empty link goes";
    show->SetFrameRate(0);
    player.Start();
    RunFor(3000);
    EXPECT_EQ(player.GetFrame(), 0) << "a rate of 0 never moves on by time";
    EXPECT_GT(show->NumCachedFrames(), 0u) << "it caches the next frames instead";
    show->Close();
}

// A frame's sound that plays once holds the page until it ends, whether the page's movie or a
// sprite's cel movie carries it; a looping one never holds it. The wait is seen on the virtual
// clock with the recording sound device: the page moves on at the playback chore's first tick
// after the sound's end.
TEST_F(Players, FrameSoundsHoldThePageWhileTheyPlayOnce)
{
    pw::platform::testing::SetClock(0, 100000);
    // 8-bit mono at 11025 Hz: two seconds.
    auto twoSeconds = [](bool loop) {
        MemoryStream stream = sound_bytes::StreamOf(sound_bytes::Wave(1, 11025, 8, sound_bytes::Bytes(22050, 0x90)));
        return SmartPtr<Sound>(new Sound(stream, Sound::wave, loop));
    };
    enum class Carrier { none, page, sprite };
    struct Case {
        const char* name;
        Carrier carrier;
        bool loop;
        uint64_t least;
        uint64_t most;
    } cases[] = {
        { "no sound", Carrier::none, false, 67, 68 },
        { "the page's sound, once", Carrier::page, false, 2000, 2000 + CChorePlay::kPeriod + 20 },
        { "a sprite's sound, once", Carrier::sprite, false, 2000, 2000 + CChorePlay::kPeriod + 20 },
        { "the page's sound, looping", Carrier::page, true, 67, 70 },
        { "a sprite's sound, looping", Carrier::sprite, true, 67, 70 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        pw::platform::winmm::testing::ClearSoundLog();
        SmartPtr<CShow> show = Page(5);
        if (c.carrier == Carrier::page) {
            show->GetMovie()->SetSoundAtFrame(2, 1, twoSeconds(c.loop).Get());
        } else if (c.carrier == Carrier::sprite) {
            SmartPtr<CMovie> hello = new engine::PaintedMovie(Rect(0, 0, 4, 4));
            hello->SetSoundAtFrame(0, 1, twoSeconds(c.loop).Get());
            Group(*show.Get()).AddMovieAsSprite(2, 1, hello);
        }
        CPlayer& player = *show->GetPlayer();
        {
            FrameTimes timer(player);
            player.Start();
            RunFor(4000);
            EXPECT_GE(timer.Held(2), c.least);
            EXPECT_LE(timer.Held(2), c.most);
            EXPECT_LE(timer.Held(1), 68u) << "frames without a sound are not held";
            EXPECT_LE(timer.Held(3), 68u);
            size_t plays = 0;
            for (const auto& event : pw::platform::winmm::testing::SoundLog())
                plays += event.kind == pw::platform::winmm::SoundEvent::Kind::Play ? 1 : 0;
            EXPECT_EQ(plays > 0, c.carrier != Carrier::none) << "the sound is heard";
            player.Stop();
        }
        show->Close();
    }
    Sound::StopSound();
}

TEST_F(Players, LinkKinds)
{
    pw::platform::testing::SetClock(0, 100000);
    engine::WithWebLinks webLinks;
    SmartPtr<CShow> show = Page(10);
    CMovieGroup& group = Group(*show.Get());
    group.GetFrameIndex()->SetName(6, String("end"));
    CPlayer& player = *show->GetPlayer();
    player.Start();
    Taken(player);
    CChorePlay& chore = *player.GetPlayback();

    SmartPtr<CLink> toLabel = new CLink;
    toLabel->SetFrameJump(group.GetFrameIndex(), 6);
    EXPECT_TRUE(chore.FollowLink(player, toLabel, false));
    EXPECT_EQ(player.GetFrame(), 6);
    EXPECT_EQ(Taken(player), "5:end ");

    SmartPtr<CLink> withReturn = new CLink(*toLabel.Get());
    withReturn->SetKind(6);
    player.GoToFrame(2);
    EXPECT_TRUE(chore.FollowLink(player, withReturn, false));
    EXPECT_TRUE(player.GoBack());
    EXPECT_EQ(player.GetFrame(), 2);
    EXPECT_EQ(Taken(player), "5:end ");
    EXPECT_FALSE(player.GoBack()) << "the way back is used up";

    SmartPtr<CLink> file = new CLink;
    file->SetJumpMovie(new CJumpMovie(new FileReference("C:\\Projects\\Other.mvi"), true));
    file->SetKind(7);
    EXPECT_TRUE(chore.FollowLink(player, file, false));
    SmartPtr<Smart> object;
    EXPECT_EQ(player.TakeRequest(object), 3);
    EXPECT_TRUE(SmartCast<FileReference>(object.Get()) != nullptr);

    SmartPtr<CLink> web = new CLink;
    web->SetHREF(new engine::TestWebLink(String("http://example.org/")));
    EXPECT_TRUE(chore.FollowLink(player, web, false));
    EXPECT_EQ(Taken(player), "6:This is a Link to:       http://example.org/ ");
    player.Stop();
    show->Close();
}

// A clicked sprite's link to another page asks for it at once: the open comes before the
// sprite's name and anything queued before, whatever the link's kind.
TEST_F(Players, AClickedPageLinkIsOpenedAheadOfTheQueue)
{
    pw::platform::testing::SetClock(0, 100000);
    for (int32_t kind : { 2, 7 }) {
        SCOPED_TRACE(kind);
        SmartPtr<CShow> show = Page(4);
        CMovieGroup& group = Group(*show.Get());
        int16_t index = group.AddMovieAsSprite(0, 4, Cels(1, true).Get());
        CSprite* sprite = group.GetSprite(index);
        sprite->SetName(new String("cat"));
        SmartPtr<CLink> link = new CLink;
        link->SetJumpMovie(new CJumpMovie(new FileReference("C:\\Projects\\Second.mvi"), true));
        link->SetKind(kind);
        sprite->SetLink(0, 4, link.Get());
        CPlayer& player = *show->GetPlayer();
        player.Start();
        player.PostText(6, new String("queued"));
        Rect bounds(0, 0, 0, 0);
        sprite->GetFrameBounds(0, &bounds, nullptr);
        player.Click(bounds.Center());
        SmartPtr<Smart> object;
        ASSERT_EQ(player.TakeRequest(object), 3);
        auto* file = SmartCast<FileReference>(object.Get());
        ASSERT_NE(file, nullptr);
        EXPECT_STREQ(file->Path(), "C:\\Projects\\Second.mvi");
        EXPECT_EQ(Taken(player), "6:queued 4:cat ");
        EXPECT_TRUE(pw::platform::testing::AlertLog().empty());
        player.Stop();
        show->Close();
    }
}

// Of two overlapping sprites with links, the upper one is hit; sprites without sound or link
// are passed over, and a miss does nothing.
TEST_F(Players, ClicksHitSpritesFromTheTop)
{
    pw::platform::testing::SetClock(0, 100000);
    SmartPtr<CShow> show = Page(4);
    CMovieGroup& group = Group(*show.Get());
    for (const char* name : { "low", "high", "plain" }) {
        int16_t index = group.AddMovieAsSprite(0, 4, Cels(1, true).Get());
        CSprite* sprite = group.GetSprite(index);
        sprite->SetName(new String(name));
    }
    SmartPtr<CLink> next = new CLink;
    next->SetTarget(3);
    for (int16_t i : { 0, 1 })
        group.GetSprite(i)->SetLink(0, 4, next.Get());
    CPlayer& player = *show->GetPlayer();
    Rect high(0, 0, 0, 0);
    group.GetSprite(1)->GetFrameBounds(0, &high, nullptr);
    ASSERT_FALSE(high.IsEmpty());
    EXPECT_TRUE(player.HitSprite(high.Center(), false));
    EXPECT_FALSE(player.HitSprite(Point(-50, -50), false));
    player.Click(Point(-50, -50));
    EXPECT_EQ(Taken(player), "") << "a miss posts nothing";
    player.Start();
    player.Click(high.Center());
    EXPECT_EQ(Taken(player), "4:high ");
    EXPECT_EQ(player.GetFrame(), 3) << "the link was followed";
    EXPECT_EQ(player.GetActiveSprite(1).Get(), group.GetSprite(0));
    EXPECT_EQ(player.GetActiveSprite(2).Get(), group.GetSprite(1));
    EXPECT_FALSE(player.GetActiveSprite(3).Valid());
    player.Stop();
    show->Close();
}

TEST_F(Players, RequestsAndFrames)
{
    SmartPtr<CShow> show = Page(5);
    CPlayer& player = *show->GetPlayer();
    auto recorder = std::make_unique<Recorder>(player);
    SmartPtr<Smart> untouched(new String("kept"));
    EXPECT_EQ(player.TakeRequest(untouched), 0);
    EXPECT_EQ(Text(*SmartCast<String>(untouched.Get())), "kept");
    player.PostText(0, new String("a"));
    player.PostText(9, new String(""));
    player.PostText(9, nullptr);
    player.PostOpenFile(FileReference("C:\\a.mvi"));
    EXPECT_EQ(Taken(player), "6:a 3:file ");

    player.GoToFrame(-1);
    player.GoToFrame(0);
    EXPECT_TRUE(recorder->frames.empty());
    player.GoToFrame(7);
    EXPECT_EQ(show->GetMovie()->NumFrames(), 8) << "the movie grows to hold frame 7";
    EXPECT_EQ(recorder->frames, (std::vector<int16_t> { 0, 7 }));

    // Another page's player hands its requests over.
    SmartPtr<CShow> other = Page(2);
    other->GetPlayer()->PostText(6, new String("over"));
    player.TakeOver(other->GetPlayer());
    EXPECT_EQ(Taken(player), "6:over ");
    EXPECT_EQ(Taken(*other->GetPlayer()), "");

    // At the last frame of a page that does not loop, following a target only stops.
    if (show->GetMovie()->ToggleLoop(false))
        show->GetMovie()->ToggleLoop(true);
    player.FollowTarget(2);
    EXPECT_EQ(player.GetFrame(), 7);
    player.GoToFrame(1);
    player.FollowTarget(4);
    EXPECT_EQ(player.GetFrame(), 4);
    EXPECT_FALSE(player.IsPlaying());
    recorder.reset();
    SmartPtr<CChoreCache> stray = new CChoreCache(player);
    EXPECT_THROW(player.DoChore(*stray.Get()), Exception*);
    stray->Stop();
    other->Close();
    show->Close();
}

// The player as a display channel: its bounds are empty, so rendering draws nothing; every
// operation but the inherited update warns "Not implemented." once (rendering through the bounds
// it asks for). Its record names the image channel, the track and the counted object as parents.
TEST_F(Players, DisplayChannelOperationsWarnAndDrawNothing)
{
    Alert::EnableAlerts();
    SmartPtr<CShow> show = Page(2);
    CPlayer& player = *show->GetPlayer();
    SmartPtr<OffScreen> image = new OffScreen(40, 40, 8, Color(0), true);
    const std::string art = std::string(40, 'r');
    ports::PaintArt(*image->GetBitMap().Get(), art);
    player.SetImage(image, false);
    EXPECT_EQ(player.GetImage(), image);
    DisplayChannel& channel = player;
    Area area(Rect(0, 0, 10, 10));
    struct Case {
        const char* name;
        std::function<void()> call;
        size_t warnings;
    } cases[] = {
        { "changed", [&] { channel.Changed(*image.Get(), area); }, 1 },
        { "render", [&] {
             DisplayPort port(*image.Get(), image->GetBounds(), 0);
             channel.Render(port, area);
         }, 1 },
        { "bounds", [&] { EXPECT_TRUE(channel.GetBounds().IsEmpty()); }, 1 },
        { "update with nothing waiting", [&] { channel.Update(*image.Get()); }, 0 },
        { "invalidate", [&] { channel.Invalidate(area); }, 1 },
        { "draw", [&] {
             DisplayPort port(*image.Get(), image->GetBounds(), 0);
             channel.DrawContent(port, area);
         }, 1 },
        { "children", [&] { EXPECT_EQ(channel.GetChildren().NumItems(), 0u); }, 1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t before = pw::platform::testing::AlertLog().size();
        for (size_t n = 0; n < c.warnings; ++n)
            pw::platform::testing::ScriptMessageBoxes({ IDOK });
        c.call();
        const auto& log = pw::platform::testing::AlertLog();
        ASSERT_EQ(log.size() - before, c.warnings);
        for (size_t n = before; n < log.size(); ++n)
            EXPECT_EQ(log[n].text.rfind("Not implemented.", 0), 0u) << log[n].text;
        EXPECT_EQ(ports::Art(*image->GetBitMap().Get()).substr(0, 40), art);
        EXPECT_EQ(area.ComputeBounds(), Rect(0, 0, 10, 10));
    }
    pw::foundation::SetAlertsEnabled(false);
    for (const ClassInfo* parent : { &ImageChannel::classInfo, &Track::classInfo, &SmartImplementation::classInfo })
        EXPECT_TRUE(CPlayer::classInfo.IsKindOf(parent)) << parent->GetName();
    EXPECT_EQ(SmartCast<ImageChannel>(static_cast<Smart*>(&player)), static_cast<ImageChannel*>(&player));
    show->Close();
}

TEST_F(Players, AccelerateCachesEveryFrame)
{
    SmartPtr<CShow> show = Page(6);
    CPlayer& player = *show->GetPlayer();
    size_t alerts = pw::platform::testing::AlertLog().size();
    EXPECT_TRUE(player.Accelerate());
    EXPECT_EQ(show->NumCachedFrames(), 6u);
    EXPECT_EQ(pw::platform::testing::AlertLog().size(), alerts) << "no box per frame";
    EXPECT_TRUE(player.Accelerate()) << "nothing left to render";
    show->Close();
}

} // namespace
