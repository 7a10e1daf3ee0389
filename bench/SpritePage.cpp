#include "SpritePage.h"

#include "engine/CMovieGroup.h"
#include "engine/CMoviePic.h"
#include "engine/CResource.h"
#include "engine/CSprite.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"
#include "ui/ProgressRange.h"

#include "platform/kernel/Clock.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"

#include "StartupFolder.h"

#include <filesystem>

namespace bench {

namespace {

constexpr int32_t kWidth = 640;
constexpr int32_t kHeight = 480;
constexpr int32_t kSide = 80;

SmartPtr<CMovie> SpriteMovie(int seed)
{
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(DiscPicture(kSide, seed).Get()), true);
    return new CMoviePic(resource, true);
}

} // namespace

SmartPtr<BitMap> DiscPicture(int32_t side, int seed)
{
    SmartPtr<OffScreen> buffer = new OffScreen(side, side, 8, Color(0), true);
    PixelIterator pixels(*buffer->GetBitMap().Get(), buffer->GetBounds(), true);
    for (; pixels.More(); pixels.Next()) {
        Point p = pixels.GetPosition();
        int32_t dh = p.h - side / 2;
        int32_t dv = p.v - side / 2;
        if (dh * dh + dv * dv < (side / 2 - 4) * (side / 2 - 4))
            pixels.SetPixel(static_cast<uint32_t>(10 + (seed * 7 + p.v / 8) % 200));
    }
    return buffer->GetBitMap();
}

void PreparePagePlatform()
{
    static const bool prepared = [] {
        pw::platform::testing::SetClock(pw::platform::Clock::kDefaultVirtualStart);
        bench::ProvideStartupFolder();
        ProgressRange::SetVisible(false);
        return true;
    }();
    (void)prepared;
}

SmartPtr<CShow> MakeSpritePage(int sprites, int16_t frames)
{
    PreparePagePlatform();
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, kWidth, kHeight));
    group->InsertFrames(1, static_cast<int16_t>(frames - 1), true, true);
    for (int i = 0; i < sprites; ++i) {
        SmartPtr<CSprite> sprite = new CSprite(0, SpriteMovie(i), SpritePlace(i, 0));
        sprite->SetNumFrames(frames);
        for (int16_t f = 0; f < frames; ++f) {
            Rect place = SpritePlace(i, f);
            sprite->PlaceAtFrame(f, &place, nullptr);
        }
        group->AddSprite(sprite, false);
    }
    return new CShow(group.Get());
}

Rect SpritePlace(int sprite, int16_t frame)
{
    int32_t left = (sprite * 31 + frame * 7) % (kWidth - kSide);
    int32_t top = (sprite * 23 + frame * 5) % (kHeight - kSide);
    return Rect(left, top, left + kSide, top + kSide);
}

void PageSizes(benchmark::internal::Benchmark* benchmark)
{
    for (int sprites : { 20, 320 }) {
        for (int frames : { 10, 100, 1000 })
            benchmark->Args({ sprites, frames });
    }
    benchmark->ArgNames({ "sprites", "frames" });
}

} // namespace bench
