#include "engine/CTrackList.h"

#include "EngineFixture.h"
#include "foundation/Exception.h"
#include "foundation/SmartImplementation.h"

#include <gtest/gtest.h>

namespace {

class FakeTrack : public Track, public SmartImplementation {
    PW_CLASS_INFO(FakeTrack)
    PW_COPY_SLOTS

public:
    bool Start(bool) override { return playing = true; }
    bool IsPlaying() override { return playing; }
    void Stop() override { playing = false; }
    bool playing { true };
};

PW_DEFINE_CLASS(FakeTrack, nullptr, nullptr, Track, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(FakeTrack)

std::string Channels(const CTrackList& list)
{
    std::string text;
    for (uint32_t i = 1; i <= list.NumEntries(); ++i)
        text += (i > 1 ? " " : "") + std::to_string(list.ChannelAt(i));
    return text;
}

} // namespace

TEST(CTrackList, ChannelNumbersFormATree)
{
    struct Case {
        uint32_t parent, channel;
        bool expected;
    } cases[] = { { 3, 13, true }, { 3, 9, false }, { 4, 2, false }, { 1, 0, false }, { 2, 5, true }, { 1, 5, true },
        { 0, 77, true }, { 6, 6, true } };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.parent) + " " + std::to_string(c.channel));
        EXPECT_EQ(CTrackList::IsSubchannel(c.parent, c.channel), c.expected);
    }
    EXPECT_EQ(CTrackList::SubchannelNumber(1, 0, 1), 2u);
    EXPECT_EQ(CTrackList::SubchannelNumber(1, 0, 0), 2u);
    EXPECT_EQ(CTrackList::SubchannelNumber(1, 2, 3), 6u);
    EXPECT_EQ(CTrackList::SubchannelNumber(1, 4, 5), 12u);
}

TEST(CTrackList, PlaysReplacesAndRemoves)
{
    CTrackList list;
    SmartPtr<FakeTrack> a = new FakeTrack, b = new FakeTrack, c = new FakeTrack;
    EXPECT_FALSE(list.Play(1, nullptr));
    EXPECT_TRUE(list.Play(5, a.Get()));
    EXPECT_TRUE(list.Play(10, b.Get()));
    EXPECT_TRUE(list.Play(11, c.Get()));
    EXPECT_FALSE(list.Play(5, a.Get()));
    EXPECT_EQ(Channels(list), "5 10 11");
    a->playing = false;
    EXPECT_TRUE(list.Play(5, a.Get()));
    EXPECT_EQ(Channels(list), "10 11 5");
    EXPECT_TRUE(list.Play(5, c.Get()));
    EXPECT_EQ(Channels(list), "10 11 5");
    EXPECT_EQ(list.TrackAt(3), c.Get());
    EXPECT_THROW(list.RemoveAt(1, c.Get()), Exception*);
    list.RemoveChannel(11, true);
    EXPECT_EQ(Channels(list), "10 5");
    list.Play(0, b.Get());
    EXPECT_EQ(Channels(list), "10 5 0");
    list.RemoveChannel(1, true);
    EXPECT_EQ(Channels(list), "0");
    list.RemoveChannel(0, true);
    EXPECT_EQ(list.NumEntries(), 0u);
}

TEST(CTrackList, StatusDropsFinishedTracks)
{
    CTrackList list;
    EXPECT_EQ(list.Status(), 0);
    SmartPtr<FakeTrack> done = new FakeTrack, playing = new FakeTrack;
    done->playing = false;
    list.Play(1, done.Get());
    list.Play(2, playing.Get());
    EXPECT_EQ(list.Status(), 2);
    EXPECT_EQ(Channels(list), "2");
    playing->playing = false;
    EXPECT_EQ(list.Status(), 0);
    EXPECT_EQ(list.NumEntries(), 0u);
}

// A movie's frame sound goes on channel 1; an empty sound clears the channel.
TEST(CTrackList, PlaysAMoviesFrameSounds)
{
    SmartPtr<engine::TestMovie> movie = new engine::TestMovie;
    movie->InsertFrames(1, 1, true, true);
    SmartPtr<CTrackList> list = new CTrackList;
    SmartPtr<FakeTrack> other = new FakeTrack;
    list->Play(1, other.Get());
    list->Play(3, other.Get());
    movie->SetSoundAtFrame(1, 1, new Sound);
    list->PlayFrame(movie.Get(), 0);
    EXPECT_EQ(Channels(*list.Get()), "1 3");
    list->PlayFrame(movie.Get(), 1);
    EXPECT_EQ(Channels(*list.Get()), "3");
}
