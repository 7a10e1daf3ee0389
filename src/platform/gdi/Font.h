// A GDI font realised in pixels: DejaVu outlines rendered by FreeType without anti-aliasing.
//
// A Font is built from a LOGFONT-like FontSpec and never fails: the face name picks a DejaVu
// family (FontFile), the height picks the pixel size, and every 8-bit character is drawn from the
// Windows-1252 character it stands for. Glyphs are rendered in one-bit mode with the mono hinting
// target, so pixels are exact and the same on every run; a rendered glyph is kept (the glyph
// cache), so repeated text costs a copy. Metrics, advance widths and rendered masks agree: a
// line's mask is exactly as wide as the sum of its advances and as tall as tmHeight.
//
// Fonts are immutable once built and shared through FontCache; they are safe to use from several
// threads (glyph rendering is serialised inside).
#pragma once

#include "platform/gdi/TextLayout.h"

#include <windef.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pw::platform::gdi {

constexpr int kFwNormal = 400;
constexpr int kFwBold = 700;

// The LOGFONT fields a font depends on.
struct FontSpec {
    // lfHeight: negative = character (em) height in pixels, positive = cell height (ascent plus
    // descent), 0 = the default cell height kDefaultCellHeight. Magnitudes are clamped to
    // kMaxPixelHeight.
    int height = 0;
    int weight = kFwNormal; // 600 and above is bold
    bool italic = false;
    bool underline = false;
    std::string faceName;

    bool operator==(const FontSpec&) const = default;

    static constexpr int kDefaultCellHeight = 16;
    static constexpr int kMaxPixelHeight = 512;
};

// The TEXTMETRICA fields, with their documented meanings, for GetTextMetricsA to copy.
struct FontMetrics {
    LONG tmHeight = 0; // cell height = tmAscent + tmDescent
    LONG tmAscent = 0; // baseline row: the mask's row tmAscent is the first row below the baseline
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0; // tmHeight - em height
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0; // advance of 'x'
    LONG tmMaxCharWidth = 0; // widest advance of the characters 0x20..0xFF
    LONG tmWeight = 0;
    LONG tmOverhang = 0;
    LONG tmDigitizedAspectX = 96;
    LONG tmDigitizedAspectY = 96;
    BYTE tmFirstChar = 0x20;
    BYTE tmLastChar = 0xFF;
    BYTE tmDefaultChar = '?';
    BYTE tmBreakChar = ' ';
    BYTE tmItalic = 0;
    BYTE tmUnderlined = 0;
    BYTE tmStruckOut = 0;
    BYTE tmPitchAndFamily = 0; // TMPF_* bits (0x01 variable pitch, 0x02 vector, 0x04 TrueType) | FF_*
    BYTE tmCharSet = 0;        // ANSI_CHARSET
};

// One line of text as ink: a byte a pixel, 1 = ink (drawn in the text colour), 0 = background.
struct TextMask {
    int width = 0;
    int height = 0;
    int baseline = 0; // = tmAscent
    std::vector<uint8_t> pixels; // width x height, rows from the top

    bool At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] != 0; }
};

class Font : public TextMeasure {
public:
    explicit Font(const FontSpec& spec);
    ~Font() override;
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontSpec& Spec() const { return spec; }
    const FontMetrics& Metrics() const { return metrics; }
    // The font file in use; empty when no DejaVu file could be opened (then nothing is inked).
    const std::string& FilePath() const { return filePath; }

    int CharWidth(unsigned char c) const override { return advances[c]; }
    int LineHeight() const override { return metrics.tmHeight; }
    int AveCharWidth() const override { return metrics.tmAveCharWidth; }
    // The sum of the advances of `length` characters (GetTextExtentPoint32A's width).
    int TextWidth(std::string_view text) const;

    // Underline rows: [UnderlineTop(), UnderlineTop() + UnderlineThickness()) of the cell.
    int UnderlineTop() const { return underlineTop; }
    int UnderlineThickness() const { return underlineThickness; }

    // Renders one line: width = TextWidth(text), height = tmHeight, the baseline at tmAscent.
    // Ink outside the line's box (overhangs of italic or wide glyphs) is cut off. The whole line is
    // underlined when its FontSpec asks; `underlined` lists extra characters (by index) to underline
    // across their advance, as a '&' prefix does.
    TextMask Render(std::string_view text, std::span<const int> underlined = {}) const;

    // The Unicode character an 8-bit character stands for (Windows-1252), 0 for control
    // characters and the five undefined codes (they draw nothing and have no width).
    static char32_t ToUnicode(unsigned char c);

private:
    struct Glyph {
        bool rendered = false;
        int left = 0; // ink offset from the pen position
        int top = 0;  // ink offset from the cell's top
        int width = 0;
        int height = 0;
        std::vector<uint8_t> ink; // width x height, a byte a pixel
    };
    struct Face; // the FreeType face (Font.cpp)

    void Measure();
    const Glyph& GlyphFor(unsigned char c) const;

    FontSpec spec;
    std::string filePath;
    std::unique_ptr<Face> face;
    FontMetrics metrics;
    std::array<int, 256> advances {};
    int underlineTop = 0;
    int underlineThickness = 1;
    mutable std::mutex glyphLock;
    mutable std::array<Glyph, 256> glyphs;
};

} // namespace pw::platform::gdi
