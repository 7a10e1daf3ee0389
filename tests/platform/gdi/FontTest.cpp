#include "platform/gdi/Font.h"
#include "platform/gdi/FontCache.h"
#include "platform/gdi/FontFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

using namespace pw::platform::gdi;

namespace {

FontSpec Spec(const char* face, int height, int weight = kFwNormal, bool italic = false, bool underline = false)
{
    FontSpec spec;
    spec.faceName = face;
    spec.height = height;
    spec.weight = weight;
    spec.italic = italic;
    spec.underline = underline;
    return spec;
}

std::string FileName(const std::string& path)
{
    return path.substr(path.find_last_of('/') + 1);
}

int InkIn(const TextMask& mask, int x0, int y0, int x1, int y1)
{
    int ink = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            ink += mask.At(x, y);
    return ink;
}

std::string Art(const TextMask& mask)
{
    std::string s = "\n";
    for (int y = 0; y < mask.height; ++y) {
        for (int x = 0; x < mask.width; ++x)
            s += mask.At(x, y) ? '#' : '.';
        s += y + 1 == mask.baseline ? "  <- baseline above\n" : "\n";
    }
    return s;
}

} // namespace

TEST(Font, FacesMapOntoDejaVuFiles)
{
    struct Case {
        const char* face;
        int weight;
        bool italic;
        const char* file;
    };
    const Case cases[] = {
        { "Arial", kFwNormal, false, "DejaVuSans.ttf" },
        { "arial", kFwBold, false, "DejaVuSans-Bold.ttf" },
        { "Arial", 600, true, "DejaVuSans-BoldOblique.ttf" },
        { "Arial", 599, true, "DejaVuSans-Oblique.ttf" },
        { "Some Unknown Face", kFwNormal, false, "DejaVuSans.ttf" },
        { "", kFwNormal, false, "DejaVuSans.ttf" },
        { "Courier New", kFwNormal, false, "DejaVuSansMono.ttf" },
        { "Courier", kFwBold, true, "DejaVuSansMono-BoldOblique.ttf" },
        { "Fixedsys", kFwNormal, true, "DejaVuSansMono-Oblique.ttf" },
        { "Times New Roman", kFwNormal, false, "DejaVuSerif.ttf" },
        { "Times New Roman", kFwNormal, true, "DejaVuSerif-Italic.ttf" },
        { "Times New Roman", kFwBold, true, "DejaVuSerif-BoldItalic.ttf" },
        { "Microsoft Sans Serif", kFwNormal, false, "DejaVuSans.ttf" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face + std::string(" ") + std::to_string(c.weight) + (c.italic ? " italic" : ""));
        Font font(Spec(c.face, -12, c.weight, c.italic));
        EXPECT_EQ(FileName(font.FilePath()), c.file);
        EXPECT_EQ(font.Metrics().tmWeight, c.weight >= 600 ? kFwBold : kFwNormal);
    }
}

TEST(Font, HeightsGiveTheCellOrTheCharacterHeight)
{
    for (const char* face : { "Arial", "Courier New", "Times New Roman" })
        for (int height : { -8, -9, -12, -13, -16, -24, -40, 8, 10, 16, 17, 20, 33, 0 }) {
            SCOPED_TRACE(std::string(face) + " " + std::to_string(height));
            Font font(Spec(face, height));
            const FontMetrics& m = font.Metrics();
            EXPECT_EQ(m.tmAscent + m.tmDescent, m.tmHeight);
            if (height > 0)
                EXPECT_EQ(m.tmHeight, height);
            else if (height < 0)
                EXPECT_EQ(m.tmHeight - m.tmInternalLeading, -height);
            else
                EXPECT_EQ(m.tmHeight, FontSpec::kDefaultCellHeight);
            EXPECT_GT(m.tmDescent, 0);
            EXPECT_GE(m.tmInternalLeading, 0);
            EXPECT_EQ(m.tmAveCharWidth, font.CharWidth('x'));
            for (int c = 0x20; c < 256; ++c)
                EXPECT_LE(font.CharWidth(static_cast<unsigned char>(c)), m.tmMaxCharWidth);
            EXPECT_GE(font.UnderlineTop(), m.tmAscent);
            EXPECT_LE(font.UnderlineTop() + font.UnderlineThickness(), m.tmHeight);
        }
    // Absurd heights are clamped rather than allocating giant glyphs or overflowing.
    for (int height : { INT_MIN, INT_MAX, 100000 }) {
        Font font(Spec("Arial", height));
        EXPECT_LE(font.Metrics().tmHeight, 2 * FontSpec::kMaxPixelHeight);
        EXPECT_GT(font.Metrics().tmHeight, 0);
    }
}

TEST(Font, MasksAgreeWithMetricsAndAdvances)
{
    for (const FontSpec& spec : { Spec("Arial", -13), Spec("Times New Roman", 20, kFwBold), Spec("Courier New", -16, kFwNormal, true) }) {
        SCOPED_TRACE(spec.faceName);
        Font font(spec);
        const FontMetrics& m = font.Metrics();
        std::string all;
        for (int c = 1; c < 256; ++c)
            all += static_cast<char>(c);
        int sum = 0;
        for (int c = 1; c < 256; ++c) {
            std::string one(1, static_cast<char>(c));
            TextMask mask = font.Render(one);
            ASSERT_EQ(mask.width, font.CharWidth(static_cast<unsigned char>(c)));
            ASSERT_EQ(mask.height, m.tmHeight);
            ASSERT_EQ(mask.baseline, m.tmAscent);
            for (uint8_t p : mask.pixels)
                ASSERT_LE(p, 1) << "only ink or no ink, never grey";
            bool printable = Font::ToUnicode(static_cast<unsigned char>(c)) > 0x20 && c != 0xA0;
            if (printable)
                EXPECT_GT(InkIn(mask, 0, 0, mask.width, mask.height), 0) << "char " << c;
            else
                EXPECT_EQ(InkIn(mask, 0, 0, mask.width, mask.height), 0) << "char " << c;
            sum += mask.width;
        }
        EXPECT_EQ(font.TextWidth(all), sum);
        EXPECT_EQ(font.Render(all).width, sum);

        // Capitals sit on the baseline; descenders go below it.
        for (char c : std::string("AHITEZ")) {
            TextMask mask = font.Render(std::string(1, c));
            EXPECT_EQ(InkIn(mask, 0, m.tmAscent, mask.width, mask.height), 0) << Art(mask);
            EXPECT_GT(InkIn(mask, 0, m.tmAscent - 1, mask.width, m.tmAscent), 0) << Art(mask);
        }
        for (char c : std::string("gjpqy")) {
            TextMask mask = font.Render(std::string(1, c));
            EXPECT_GT(InkIn(mask, 0, m.tmAscent, mask.width, mask.height), 0) << Art(mask);
        }
    }
}

TEST(Font, LineIsItsCharactersSideBySide)
{
    Font font(Spec("Arial", -16));
    const std::string text = "HELLO 123";
    TextMask line = font.Render(text);
    int x = 0;
    for (char c : text) {
        TextMask one = font.Render(std::string(1, c));
        for (int yy = 0; yy < one.height; ++yy)
            for (int xx = 0; xx < one.width; ++xx)
                ASSERT_EQ(line.At(x + xx, yy), one.At(xx, yy)) << "char " << c << Art(line);
        x += one.width;
    }
    EXPECT_EQ(x, line.width);
}

TEST(Font, RenderingIsRepeatable)
{
    const std::string text = "The quick brown fox jumps over the lazy dog. \x80 \xE9\xE8 \x93quoted\x94";
    for (const FontSpec& spec : { Spec("Arial", -12), Spec("Courier New", 15, kFwBold), Spec("Times New Roman", -19, kFwNormal, true) }) {
        Font first(spec), second(spec);
        TextMask a = first.Render(text), b = second.Render(text), c = first.Render(text);
        EXPECT_EQ(a.pixels, b.pixels);
        EXPECT_EQ(a.pixels, c.pixels); // from the glyph cache the second time
    }
}

TEST(Font, CharactersAreWindows1252)
{
    struct Case {
        unsigned char byte;
        char32_t unicode;
    };
    const Case cases[] = {
        { 0x41, U'A' }, { 0x80, 0x20AC }, { 0x81, 0 }, { 0x8A, 0x0160 }, { 0x8D, 0 }, { 0x8F, 0 }, { 0x90, 0 },
        { 0x93, 0x201C }, { 0x99, 0x2122 }, { 0x9D, 0 }, { 0x9F, 0x0178 }, { 0xA0, 0xA0 }, { 0xE9, 0xE9 },
        { 0xFF, 0xFF }, { 0x00, 0 }, { 0x09, 0 }, { 0x0A, 0 }, { 0x1F, 0 }, { 0x7F, 0 }, { 0x20, U' ' },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.byte));
        EXPECT_EQ(Font::ToUnicode(c.byte), c.unicode);
    }
    Font font(Spec("Arial", -16));
    // Control and undefined bytes take no room.
    for (unsigned char c : { 0x00, 0x09, 0x0A, 0x0D, 0x7F, 0x81, 0x9D })
        EXPECT_EQ(font.CharWidth(c), 0) << int(c);
    // Accented and high characters are their own glyphs, not their base letters.
    EXPECT_NE(font.Render("\xE9").pixels, font.Render("e").pixels);
    EXPECT_NE(font.Render("\x8A").pixels, font.Render("S").pixels);
    EXPECT_NE(font.Render("\x80").pixels, font.Render("C").pixels);
}

TEST(Font, UnderlineWholeLineOrMarkedCharacters)
{
    Font plain(Spec("Arial", -16));
    Font underlined(Spec("Arial", -16, kFwNormal, false, true));
    const std::string text = "ab cd";
    TextMask line = underlined.Render(text);
    int top = underlined.UnderlineTop(), bottom = top + underlined.UnderlineThickness();
    EXPECT_EQ(InkIn(line, 0, top, line.width, bottom), line.width * (bottom - top));
    EXPECT_EQ(underlined.Metrics().tmUnderlined, 1);

    const int marks[] = { 1, 4 }; // b and d
    TextMask marked = plain.Render(text, marks);
    TextMask bare = plain.Render(text);
    int b0 = plain.CharWidth('a'), b1 = b0 + plain.CharWidth('b');
    int d0 = b1 + plain.CharWidth(' ') + plain.CharWidth('c'), d1 = d0 + plain.CharWidth('d');
    for (int x = 0; x < marked.width; ++x) {
        bool inMark = (x >= b0 && x < b1) || (x >= d0 && x < d1);
        for (int y = 0; y < marked.height; ++y) {
            bool inStroke = inMark && y >= plain.UnderlineTop() && y < plain.UnderlineTop() + plain.UnderlineThickness();
            ASSERT_EQ(marked.At(x, y), inStroke || bare.At(x, y)) << x << "," << y << Art(marked);
        }
    }
    // Out-of-range marks are ignored.
    const int bad[] = { -1, 99 };
    EXPECT_EQ(plain.Render(text, bad).pixels, bare.pixels);
}

TEST(Font, PitchAndWeight)
{
    Font mono(Spec("Courier New", -14));
    for (unsigned char c : std::string("iW.m@ \xE9"))
        EXPECT_EQ(mono.CharWidth(c), mono.CharWidth('x')) << c;
    EXPECT_EQ(mono.Metrics().tmMaxCharWidth, mono.Metrics().tmAveCharWidth);
    EXPECT_EQ(mono.Metrics().tmPitchAndFamily & 1, 0); // the bit means variable pitch

    Font regular(Spec("Arial", -14)), bold(Spec("Arial", -14, kFwBold));
    EXPECT_EQ(regular.Metrics().tmPitchAndFamily & 1, 1);
    EXPECT_LT(regular.TextWidth("Hello world"), bold.TextWidth("Hello world"));
    EXPECT_LT(regular.CharWidth('i'), regular.CharWidth('W'));
}

TEST(FontCache, SharesFontsBySpec)
{
    auto a = FontCache::Get(Spec("Arial", -12));
    auto b = FontCache::Get(Spec("Arial", -12));
    auto c = FontCache::Get(Spec("Arial", -13));
    EXPECT_EQ(a.get(), b.get());
    EXPECT_NE(a.get(), c.get());

    auto system = FontCache::SystemFont();
    EXPECT_EQ(system.get(), FontCache::SystemFont().get());
    EXPECT_EQ(system->Metrics().tmHeight, 16);
    EXPECT_EQ(FileName(system->FilePath()), "DejaVuSans.ttf");

    // Past its capacity the cache drops the oldest font; holders keep theirs alive.
    for (int h = 1; h <= static_cast<int>(FontCache::kCapacity) + 1; ++h)
        FontCache::Get(Spec("Arial", -h - 20));
    EXPECT_NE(FontCache::Get(Spec("Arial", -12)).get(), a.get());
    EXPECT_EQ(a->Metrics().tmHeight - a->Metrics().tmInternalLeading, 12);
}
