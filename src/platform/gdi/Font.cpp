#include "platform/gdi/Font.h"

#include "platform/gdi/FontFile.h"
#include "platform/kernel/CodePage.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pw::platform::gdi {

namespace {

// Hinted for one-bit output, then rendered in one-bit mode: no grey pixel ever exists.
constexpr FT_Int32 kLoadFlags = FT_LOAD_DEFAULT | FT_LOAD_TARGET_MONO;

// TEXTMETRIC pitch and family bits.
constexpr BYTE kVariablePitch = 0x01;
constexpr BYTE kVector = 0x02;
constexpr BYTE kTrueType = 0x04;
constexpr BYTE kFamilyRoman = 0x10;
constexpr BYTE kFamilySwiss = 0x20;
constexpr BYTE kFamilyModern = 0x30;

// num / den rounded to the nearest integer, halves up; den > 0, num of either sign.
int RoundDiv(int64_t num, int64_t den)
{
    int64_t n = 2 * num + den, d = 2 * den;
    return static_cast<int>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

} // namespace

struct Font::Face {
    std::shared_ptr<const std::vector<unsigned char>> bytes; // FreeType reads the file from here
    FT_Face face = nullptr;

    ~Face()
    {
        if (face) {
            std::lock_guard guard(FontFile::LibraryLock());
            FT_Done_Face(face);
        }
    }
};

char32_t Font::ToUnicode(unsigned char c)
{
    return c < 0x20 || c == 0x7F ? 0 : UnicodeOfByte(c);
}

Font::Font(const FontSpec& fontSpec)
    : spec(fontSpec)
{
    FontFile::Family family = FontFile::FamilyOf(spec.faceName);
    bool bold = spec.weight >= 600;
    std::string path = FontFile::PathFor(family, bold, spec.italic);
    auto bytes = path.empty() ? nullptr : FontFile::Bytes(path);
    FT_Library library = FontFile::Library();
    if (bytes && library) {
        auto opened = std::make_unique<Face>();
        opened->bytes = bytes;
        std::lock_guard guard(FontFile::LibraryLock());
        if (FT_New_Memory_Face(library, bytes->data(), static_cast<FT_Long>(bytes->size()), 0, &opened->face) == 0) {
            face = std::move(opened);
            filePath = path;
        }
    }

    metrics.tmWeight = bold ? kFwBold : kFwNormal;
    metrics.tmItalic = spec.italic ? 1 : 0;
    metrics.tmUnderlined = spec.underline ? 1 : 0;
    metrics.tmPitchAndFamily = family == FontFile::Family::Mono ? BYTE(kVector | kTrueType | kFamilyModern)
        : family == FontFile::Family::Serif                     ? BYTE(kVariablePitch | kVector | kTrueType | kFamilyRoman)
                                                                : BYTE(kVariablePitch | kVector | kTrueType | kFamilySwiss);
    Measure();
}

Font::~Font() = default;

// Sizes the face and fills the metrics and advance widths. The cell is the font's Windows ascent
// plus descent (OS/2 usWinAscent, usWinDescent) at the pixel size, so a positive height is met
// exactly and a negative one is the em size.
void Font::Measure()
{
    int requested = spec.height == 0 ? FontSpec::kDefaultCellHeight : spec.height;
    int magnitude = static_cast<int>(std::clamp<int64_t>(std::llabs(requested), 1, FontSpec::kMaxPixelHeight));

    int64_t unitsPerEm = 2048, winAscent = 1901, winDescent = 483, lineGap = 0; // DejaVu's, for the fallback
    FT_Face ft = face ? face->face : nullptr;
    if (ft) {
        unitsPerEm = std::max<int64_t>(ft->units_per_EM, 1);
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
        auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(ft, FT_SFNT_HHEA));
        winAscent = os2 ? os2->usWinAscent : ft->ascender;
        winDescent = os2 ? os2->usWinDescent : -ft->descender;
        if (hhea) // the leading the font asks beyond its Windows cell
            lineGap = std::max<int64_t>(0, hhea->Line_Gap - ((winAscent + winDescent) - (hhea->Ascender - hhea->Descender)));
    }
    int64_t cellUnits = std::max<int64_t>(winAscent + winDescent, 1);
    int ppem;
    if (requested < 0) {
        ppem = magnitude;
        metrics.tmAscent = RoundDiv(ppem * winAscent, unitsPerEm);
        metrics.tmDescent = RoundDiv(ppem * winDescent, unitsPerEm);
    } else {
        ppem = std::max(1, RoundDiv(magnitude * unitsPerEm, cellUnits));
        metrics.tmAscent = RoundDiv(magnitude * winAscent, cellUnits);
        metrics.tmDescent = magnitude - metrics.tmAscent;
    }
    metrics.tmHeight = std::max<LONG>(metrics.tmAscent + metrics.tmDescent, 1);
    metrics.tmInternalLeading = std::max<LONG>(metrics.tmHeight - ppem, 0);
    metrics.tmExternalLeading = RoundDiv(ppem * lineGap, unitsPerEm);

    int underlinePosition = -ppem / 10, thickness = std::max(1, ppem / 14);
    if (ft && FT_Set_Pixel_Sizes(ft, 0, static_cast<FT_UInt>(ppem)) != 0) {
        face.reset(); // unusable at this size: draw nothing rather than at a wrong size
        filePath.clear();
        ft = nullptr;
    }
    if (ft) {
        thickness = std::max(1, RoundDiv(int64_t(ft->underline_thickness) * ppem, unitsPerEm));
        underlinePosition = RoundDiv(int64_t(ft->underline_position) * ppem, unitsPerEm);
    }
    // FreeType's position is the centre of the stroke, negative below the baseline; keep the
    // stroke below the baseline and inside the cell.
    underlineThickness = std::min<int>(thickness, metrics.tmHeight);
    underlineTop = metrics.tmAscent - underlinePosition - underlineThickness / 2;
    underlineTop = std::clamp<int>(underlineTop, std::min<int>(metrics.tmAscent, metrics.tmHeight - underlineThickness),
                                   metrics.tmHeight - underlineThickness);

    for (int c = 0; c < 256; ++c) {
        char32_t u = ToUnicode(static_cast<unsigned char>(c));
        if (u == 0)
            continue;
        if (!ft) {
            advances[c] = std::max(1, ppem / 2); // no font file: blank cells of a plausible width
            continue;
        }
        // The same load as rendering uses, so advances and ink agree; hinted advances are whole.
        if (FT_Load_Glyph(ft, FT_Get_Char_Index(ft, u), kLoadFlags) == 0)
            advances[c] = static_cast<int>((ft->glyph->advance.x + 32) >> 6);
    }
    metrics.tmAveCharWidth = advances['x'];
    metrics.tmMaxCharWidth = *std::max_element(advances.begin() + 0x20, advances.end());
}

int Font::TextWidth(std::string_view text) const
{
    int width = 0;
    for (char c : text)
        width += advances[static_cast<unsigned char>(c)];
    return width;
}

const Font::Glyph& Font::GlyphFor(unsigned char c) const
{
    // Called with glyphLock held.
    Glyph& glyph = glyphs[c];
    if (glyph.rendered)
        return glyph;
    glyph.rendered = true;
    char32_t u = ToUnicode(c);
    FT_Face ft = face ? face->face : nullptr;
    if (!ft || u == 0)
        return glyph;
    if (FT_Load_Glyph(ft, FT_Get_Char_Index(ft, u), kLoadFlags) != 0
        || FT_Render_Glyph(ft->glyph, FT_RENDER_MODE_MONO) != 0)
        return glyph;
    const FT_Bitmap& bitmap = ft->glyph->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO)
        return glyph;
    glyph.left = ft->glyph->bitmap_left;
    glyph.top = metrics.tmAscent - ft->glyph->bitmap_top;
    glyph.width = static_cast<int>(bitmap.width);
    glyph.height = static_cast<int>(bitmap.rows);
    glyph.ink.assign(static_cast<size_t>(glyph.width) * glyph.height, 0);
    for (int y = 0; y < glyph.height; ++y) {
        const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
        for (int x = 0; x < glyph.width; ++x)
            glyph.ink[static_cast<size_t>(y) * glyph.width + x] = (row[x >> 3] >> (7 - (x & 7))) & 1;
    }
    return glyph;
}

TextMask Font::Render(std::string_view text, std::span<const int> underlined) const
{
    TextMask mask;
    mask.width = TextWidth(text);
    mask.height = metrics.tmHeight;
    mask.baseline = metrics.tmAscent;
    mask.pixels.assign(static_cast<size_t>(mask.width) * mask.height, 0);
    auto underline = [&](int x0, int x1) {
        for (int y = underlineTop; y < underlineTop + underlineThickness; ++y)
            std::fill(mask.pixels.begin() + static_cast<ptrdiff_t>(y) * mask.width + x0,
                      mask.pixels.begin() + static_cast<ptrdiff_t>(y) * mask.width + x1, 1);
    };

    std::lock_guard guard(glyphLock);
    int pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        const Glyph& glyph = GlyphFor(c);
        // Cut the glyph's ink to the line's box.
        int left = pen + glyph.left;
        int x0 = std::max(0, -left), x1 = std::min(glyph.width, mask.width - left);
        int y0 = std::max(0, -glyph.top), y1 = std::min(glyph.height, mask.height - glyph.top);
        for (int y = y0; y < y1; ++y) {
            const uint8_t* src = glyph.ink.data() + static_cast<size_t>(y) * glyph.width;
            uint8_t* dst = mask.pixels.data() + static_cast<size_t>(glyph.top + y) * mask.width;
            for (int x = x0; x < x1; ++x)
                dst[left + x] |= src[x];
        }
        if (std::find(underlined.begin(), underlined.end(), static_cast<int>(i)) != underlined.end())
            underline(pen, pen + advances[c]);
        pen += advances[c];
    }
    if (spec.underline)
        underline(0, mask.width);
    return mask;
}

} // namespace pw::platform::gdi
