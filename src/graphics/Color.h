#pragma once

#include <cstdint>

class Stream;

// A colour of four 16-bit components. Only the high byte of each component counts for equality
// and for device colours; the low byte takes part in blending and storage. `extra` is 0 in every
// colour made from device values and 65535 only in standard colour 13, which means "no colour"
// (a null brush or pen). A plain value, copied everywhere.
class Color {
public:
    static constexpr int numStandardColors = 17;
    static constexpr int kNoColor = 13;

    // Black, with `extra` 0.
    constexpr Color() = default;
    // Standard colour `whichColor`; fails "whichColor >= 0" or "whichColor < numStandardColors".
    explicit Color(int whichColor);

    void SetComponents(uint16_t red, uint16_t green, uint16_t blue, uint16_t extra);
    // Each component becomes the byte in both halves (0x12 gives 0x1212), as palettes and files give.
    void SetBytes(uint8_t red, uint8_t green, uint8_t blue, uint8_t extra);

    // The high bytes of all four components are equal.
    bool Equals(const Color& other) const;
    // Every component this * (1 - t) + other * t, truncated toward zero.
    Color Blend(const Color& other, double t) const;

    // Replaces standard colour `whichColor` for the rest of the run (same assertions as above).
    static void SetStandardColor(const Color& color, int whichColor);

    // red, green, blue, extra as four 16-bit values, under the stream's swap rule.
    void ToStream(Stream& stream) const;
    void FromStream(Stream& stream);

    uint16_t red { 0 };
    uint16_t green { 0 };
    uint16_t blue { 0 };
    uint16_t extra { 0 };
};
