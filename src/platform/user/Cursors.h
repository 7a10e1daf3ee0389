#pragma once

#include "platform/backend/Backend.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace pw::platform {

// A cursor image: up to 32 x 32 pixels, each transparent, black, white or inverting the screen,
// and the hot spot (the pixel that lies at the pointer's position).
struct CursorImage {
    enum Pixel : uint8_t { Clear, Black, White, Invert };
    static constexpr int kSize = 32;

    int width { 0 };
    int height { 0 };
    POINT hotSpot {};
    std::array<uint8_t, kSize * kSize> pixels {};

    Pixel At(int x, int y) const { return static_cast<Pixel>(pixels[static_cast<size_t>(y) * kSize + x]); }
};

// Text art of a cursor: optional lines starting with ';' (comments), a line "hotspot X Y", then
// one line a row of up to 32 characters ('.' clear, '#' black, 'o' white, '~' inverted), at most
// 32 rows. This is the format of the program's cursor files: "Data\<id>.cur" in the start-up
// folder. Nullopt for a malformed text (unknown character, row too long, hot spot outside).
std::optional<CursorImage> ParseCursorArt(const std::string& text);

// The cursor table: system cursors drawn from art in the source (the arrow, the hourglass, the
// I-beam and the cross; the other system ids show the arrow) and the program's cursors read from
// its Data files. Handles are shared and live until the test reset; loading the same id again
// gives the same handle. The current cursor starts as the arrow.
class Cursors {
public:
    // The system cursor of an id from 32512, or null for an unknown id.
    static HCURSOR System(UINT id);
    // The program's cursor of an id below 32512 from its Data file, or null when there is none.
    static HCURSOR Program(UINT id);

    static const CursorImage* Find(HCURSOR cursor);
    static HCURSOR Current();
    // Makes `cursor` (known or null: none shown) current and returns the previous one.
    static HCURSOR Set(HCURSOR cursor);

    // Draws the current cursor with its hot spot at `position`.
    static void Draw(Frame& frame, POINT position);
};

} // namespace pw::platform
