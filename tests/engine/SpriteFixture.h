// Sprites over painted cel movies, and the checks every sprite must pass after any edit.
#pragma once

#include "engine/CSprite.h"

#include "EngineFixture.h"
#include "graphics/BitMapFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace engine {

class Sprites : public bitmaps::WithStandardPalette {
protected:
    // A cel movie of `cels` 4 x 4 frames, each frame carrying its own marker sound.
    static SmartPtr<PaintedMovie> Cels(int cels, bool loop)
    {
        std::vector<Color> colors;
        for (int cel = 0; cel < cels; ++cel)
            colors.push_back(Color(static_cast<int16_t>(7 + cel % 4)));
        SmartPtr<PaintedMovie> movie = new PaintedMovie(Rect(0, 0, 4, 4), colors);
        for (int16_t cel = 0; cel < cels; ++cel)
            movie->SetSoundAtFrame(cel, 1, new Sound);
        if (movie->ToggleLoop(false) != loop)
            movie->ToggleLoop(true);
        return movie;
    }

    // A sprite from movie frame `start` over `cels` cels, placed with its top-left at (10, 20).
    static SmartPtr<CSprite> MakeSprite(int16_t start, int cels, bool loop)
    {
        return new CSprite(start, Cels(cels, loop).Get(), Rect(10, 20, 14, 24));
    }

    // One character a frame: 'h' hidden, 'v' visible.
    static std::string Visibility(const CSprite& sprite)
    {
        std::string text;
        for (int16_t f = 0; f < sprite.NumFrames(); ++f)
            text += sprite.PathAt(f)->transform == kHiddenXform ? 'h' : 'v';
        return text;
    }
};

// Every list one entry a frame, every frame a path point, key frames in range and ascending.
inline void ExpectConsistent(CSprite& sprite)
{
    std::vector<uint8_t> bytes = Store(&sprite);
    SmartPtr<Smart> back = Load(bytes);
    EXPECT_TRUE(SmartCast<CSprite>(back.Get()) != nullptr) << "a consistent sprite reads back";
    const TypedArray<int16_t>& keys = sprite.KeyFrames();
    for (uint32_t index = 1; index <= keys.NumItems(); ++index) {
        EXPECT_GE(keys[index], 0);
        EXPECT_LT(keys[index], sprite.NumFrames());
        if (index > 1) {
            EXPECT_LT(keys[index - 1], keys[index]);
        }
    }
    for (int16_t f = 0; f < sprite.NumFrames(); ++f)
        EXPECT_NE(sprite.PathAt(f), nullptr);
}

} // namespace engine
