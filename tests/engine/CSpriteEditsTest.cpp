#include "engine/CSprite.h"

#include "SpriteFixture.h"

#include <random>
#include <set>
#include <string>

namespace {

using engine::ExpectConsistent;
using engine::Sprites;

class SpriteEdits : public Sprites {
protected:
    // Frames 5 to 8, each with its own offset (10 a frame) and sound; frame 6 a key frame.
    static SmartPtr<CSprite> Marked()
    {
        SmartPtr<CSprite> sprite = MakeSprite(5, 4, false);
        for (int16_t f = 0; f < 4; ++f) {
            sprite->PathAt(f)->offset = Point(f * 10, 0);
            sprite->SetSound(static_cast<int16_t>(5 + f), 1, new Sound);
        }
        sprite->SetKeyFrame(6, true);
        return sprite;
    }

    // One character a local frame: the original frame whose offset it has, or 'h' when hidden.
    static std::string Layout(const CSprite& sprite)
    {
        std::string text;
        for (int16_t f = 0; f < sprite.NumFrames(); ++f) {
            const PathPoint& point = *sprite.PathAt(f);
            text += point.transform == kHiddenXform ? 'h' : static_cast<char>('0' + point.offset.h / 10);
        }
        return text;
    }

    static std::string Keys(const CSprite& sprite)
    {
        std::string text;
        for (uint32_t index = 1; index <= sprite.KeyFrames().NumItems(); ++index)
            text += std::to_string(sprite.KeyFrames()[index]) + " ";
        return text;
    }
};

TEST_F(SpriteEdits, InsertsByModeAndPosition)
{
    struct Case {
        const char* name;
        int16_t at;
        int16_t mode;
        bool answer;
        int16_t start;
        const char* layout;
        const char* keys;
    } cases[] = {
        { "before the sprite: it moves later", 2, 3, false, 7, "0123", "0 1 " },
        { "at the start, mode 1: it moves later", 5, 1, false, 7, "0123", "0 1 " },
        { "at the start, mode 2: copies of the first frame", 5, 2, true, 5, "000123", "2 3 " },
        { "inside, mode 0: hidden frames", 7, 0, true, 5, "01hh23", "0 1 " },
        { "inside, mode 1: copies of the frame before", 7, 1, true, 5, "011123", "0 1 " },
        { "inside, mode 2: copies of the frame after", 7, 2, true, 5, "012223", "0 1 " },
        { "at the end, mode 0: refused", 9, 0, false, 5, "0123", "0 1 " },
        { "at the end, mode 2: refused", 9, 2, false, 5, "0123", "0 1 " },
        { "at the end, mode 1: copies of the last frame", 9, 1, true, 5, "012333", "0 1 " },
        { "past the end: refused", 10, 3, false, 5, "0123", "0 1 " },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CSprite> sprite = Marked();
        Sound* firstSound = sprite->SoundAtFrame(5);
        EXPECT_EQ(sprite->InsertFrames(c.at, 2, c.mode), c.answer);
        EXPECT_EQ(sprite->StartFrame(), c.start);
        EXPECT_EQ(Layout(*sprite.Get()), c.layout);
        EXPECT_EQ(Keys(*sprite.Get()), c.keys);
        if (std::string(c.layout) == "000123") {
            EXPECT_EQ(sprite->SoundAtFrame(6), firstSound) << "the same sound object";
        }
        if (std::string(c.layout) == "01hh23") {
            EXPECT_EQ(sprite->SoundAtFrame(7), nullptr);
        }
        ExpectConsistent(*sprite.Get());
    }
}

// A sprite whose run reaches near frame 32767 neither grows nor moves past it: a stored run must
// end inside the 16-bit frame range.
TEST_F(SpriteEdits, InsertsKeepTheRunInsideTheFrameRange)
{
    struct Case {
        const char* name;
        int16_t at;
        int16_t count;
        bool answer;
        int16_t start;
        int16_t frames;
    } cases[] = {
        { "one frame at the end: up to 32767", 32767, 1, true, 32763, 5 },
        { "two frames at the end: refused", 32767, 2, false, 32763, 4 },
        { "one frame before: moves up to 32767", 0, 1, false, 32764, 4 },
        { "two frames before: refused", 0, 2, false, 32763, 4 },
        { "frames inside: refused past 32767", 32765, 2, false, 32763, 4 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CSprite> sprite = MakeSprite(32763, 4, false);
        EXPECT_EQ(sprite->InsertFrames(c.at, c.count, 1), c.answer);
        EXPECT_EQ(sprite->StartFrame(), c.start);
        EXPECT_EQ(sprite->NumFrames(), c.frames);
        ExpectConsistent(*sprite.Get());
    }
}

TEST_F(SpriteEdits, DeletesRunsBeforeAcrossAndInside)
{
    struct Case {
        const char* name;
        int16_t first;
        int16_t count;
        bool answer;
        int16_t start;
        const char* layout;
        const char* keys;
    } cases[] = {
        { "wholly before: the sprite moves earlier", 1, 3, false, 2, "0123", "0 1 " },
        { "across the start: it starts at the run", 3, 3, true, 3, "123", "0 " },
        { "inside", 6, 2, true, 5, "03", "0 " },
        { "past the end", 8, 9, true, 5, "012", "0 1 " },
        { "after the sprite", 12, 2, false, 5, "0123", "0 1 " },
        { "every frame", 5, 4, true, 5, "", "" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CSprite> sprite = Marked();
        EXPECT_EQ(sprite->DeleteFrames(c.first, c.count), c.answer);
        EXPECT_EQ(sprite->StartFrame(), c.start);
        EXPECT_EQ(Layout(*sprite.Get()), c.layout);
        EXPECT_EQ(Keys(*sprite.Get()), c.keys);
        ExpectConsistent(*sprite.Get());
    }
}

// A non-looping cel movie keeps its last cel while the sprite runs longer than its cels.
TEST_F(SpriteEdits, DeletingKeepsTheHeldCel)
{
    SmartPtr<CSprite> sprite = MakeSprite(0, 3, false);
    Sound* lastCel = sprite->GetMovie()->SoundAtFrame(2);
    sprite->SetNumFrames(6);
    sprite->DeleteFrames(1, 4);
    EXPECT_EQ(sprite->GetMovie()->NumFrames(), 2);
    EXPECT_EQ(sprite->GetMovie()->SoundAtFrame(1), lastCel);
    sprite->SetKeyFrame(9, true);
    sprite->SetKeyFrame(-1, true);
    EXPECT_EQ(sprite->KeyFrames().NumItems(), 1u) << "no key frames outside the sprite";
    sprite->SetNumFrames(6);
    EXPECT_EQ(sprite->NumFrames(), 6);
    sprite->SetNumFrames(6);
    EXPECT_EQ(sprite->NumFrames(), 6);
}

TEST_F(SpriteEdits, ShowsHidesAndTrims)
{
    SmartPtr<CSprite> sprite = Marked();
    sprite->ShowFrames(3, 1);
    EXPECT_EQ(sprite->StartFrame(), 3);
    EXPECT_EQ(Visibility(*sprite.Get()), "vhvvvv");
    EXPECT_EQ(sprite->NumFrames(), 6);
    sprite->ShowFrames(11, 1);
    EXPECT_EQ(Visibility(*sprite.Get()), "vhvvvvhhv");
    sprite->HideFrames(3, 1);
    sprite->HideFrames(11, 1);
    sprite->TrimHidden(20);
    EXPECT_EQ(sprite->StartFrame(), 5);
    EXPECT_EQ(Layout(*sprite.Get()), "0123");
    sprite->HideFrames(0, 20);
    sprite->TrimHidden(20);
    EXPECT_EQ(sprite->NumFrames(), 0);
    ExpectConsistent(*sprite.Get());
}

TEST_F(SpriteEdits, CopiesRunsAndKeepTheLoopPhase)
{
    SmartPtr<CSprite> sprite = Marked();
    SmartPtr<CSprite> one = sprite->CopyFrames(3, 3, false);
    EXPECT_EQ(one->StartFrame(), 2);
    EXPECT_EQ(one->NumFrames(), 1);

    SmartPtr<CSprite> looping = MakeSprite(0, 4, true);
    looping->SetNumFrames(9);
    looping->SetKeyFrame(3, true);
    SmartPtr<CSprite> copy = looping->CopyFrames(2, 5, true);
    EXPECT_EQ(copy->StartFrame(), 0);
    EXPECT_EQ(copy->NumFrames(), 5);
    EXPECT_EQ(Keys(*copy.Get()), "1 ");
    for (int16_t f = 0; f < 5; ++f) {
        SCOPED_TRACE(f);
        EXPECT_EQ(copy->GetMovie()->SoundAtFrame(copy->CelForFrame(f)),
            looping->GetMovie()->SoundAtFrame(looping->CelForFrame(static_cast<int16_t>(f + 2))))
            << "the copy shows the same cel in every frame";
    }
    EXPECT_EQ(Visibility(*looping.Get()), "vvhhhhhvv") << "a cut hides the run";
    ExpectConsistent(*copy.Get());
}

TEST_F(SpriteEdits, DefaultsKeysAndInterpolation)
{
    SmartPtr<CSprite> sprite = Marked();
    sprite->SetDefaultFromFrame(6);
    EXPECT_TRUE(sprite->IsFrameAtDefault(6));
    EXPECT_FALSE(sprite->IsFrameAtDefault(7));
    sprite->SetDefaultFromFrame(-1);
    EXPECT_EQ(sprite->GetDefaultPoint()->transform, kHiddenXform);
    for (int16_t frame = 7; frame < 9; ++frame)
        sprite->SetKeyFrame(frame, true);
    EXPECT_EQ(Keys(*sprite.Get()), "0 1 2 3 ");
    sprite->ThinKeyFrames(0, 4);
    EXPECT_EQ(Keys(*sprite.Get()), "0 2 3 ") << "every other interior key goes in one call";
    EXPECT_FALSE(sprite->InterpolateFrames());
}

// Random edit sequences keep every list at one entry a frame and the key frames in range.
TEST_F(SpriteEdits, RandomEditSequencesStayConsistent)
{
    std::mt19937 random(21);
    for (int run = 0; run < 20; ++run) {
        SmartPtr<CSprite> sprite = MakeSprite(static_cast<int16_t>(random() % 6), 1 + int(random() % 3), random() % 2);
        for (int step = 0; step < 12; ++step) {
            auto frame = static_cast<int16_t>(random() % 14);
            auto count = static_cast<int16_t>(random() % 5);
            switch (random() % 6) {
            case 0: sprite->InsertFrames(frame, count, static_cast<int16_t>(random() % 4)); break;
            case 1: sprite->DeleteFrames(frame, count); break;
            case 2: sprite->ShowFrames(std::max<int16_t>(frame, 0), std::max<int16_t>(count, 1)); break;
            case 3: sprite->HideFrames(frame, count); break;
            case 4: sprite->SetKeyFrame(frame, true); break;
            default: sprite = sprite->CopyFrames(frame, count, false); break;
            }
        }
        SCOPED_TRACE(run);
        ExpectConsistent(*sprite.Get());
    }
}

// Key frames, seen as movie frames, follow a plain set through random edits: an insertion moves
// the keys at or after it later, a deletion drops the keys in its run and moves the later ones
// earlier, hiding drops the keys it hides.
TEST_F(SpriteEdits, KeyFramesFollowASetModelOverRandomEdits)
{
    std::mt19937 random(50);
    for (int run = 0; run < 30; ++run) {
        SCOPED_TRACE(run);
        SmartPtr<CSprite> sprite = MakeSprite(static_cast<int16_t>(random() % 8), 1 + int(random() % 3), random() % 2);
        sprite->SetNumFrames(static_cast<int16_t>(10 + random() % 30));
        std::set<int> keys { sprite->StartFrame() };
        auto inSprite = [&](int frame) {
            return frame >= sprite->StartFrame() && frame < sprite->StartFrame() + sprite->NumFrames();
        };
        for (int step = 0; step < 40; ++step) {
            auto frame = static_cast<int16_t>(random() % 50);
            auto count = static_cast<int16_t>(1 + random() % 6);
            int16_t start = sprite->StartFrame();
            std::set<int> moved;
            switch (random() % 5) {
            case 0:
            case 1: {
                bool on = random() % 3 != 0;
                sprite->SetKeyFrame(frame, on);
                if (on && inSprite(frame))
                    keys.insert(frame);
                else if (!on)
                    keys.erase(frame);
                break;
            }
            case 2:
                if (sprite->InsertFrames(frame, count, static_cast<int16_t>(random() % 4)) || sprite->StartFrame() != start) {
                    for (int key : keys)
                        moved.insert(key >= frame ? key + count : key);
                    keys = moved;
                }
                break;
            case 3:
                sprite->DeleteFrames(frame, count);
                for (int key : keys) {
                    if (key < frame)
                        moved.insert(key);
                    else if (key >= frame + count)
                        moved.insert(key - count);
                }
                keys = moved;
                break;
            default:
                sprite->HideFrames(frame, count);
                for (int f = frame; f < frame + count; ++f)
                    keys.erase(f);
                break;
            }
            std::string expected;
            std::string actual;
            for (int f = 0; f < 60; ++f) {
                expected += keys.count(f) ? 'k' : '.';
                actual += sprite->IsKeyFrame(static_cast<int16_t>(f)) ? 'k' : '.';
            }
            ASSERT_EQ(actual, expected) << "after step " << step;
            ASSERT_EQ(sprite->KeyFrames().NumItems(), keys.size());
        }
        ExpectConsistent(*sprite.Get());
    }
}

} // namespace
