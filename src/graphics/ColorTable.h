#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "foundation/TypedArray.h"
#include "graphics/Color.h"

#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

class ArchiveScope;
class Stream;

// How the pixel values of one bit depth map to colours. An indexed table (depth 1, 2, 4 or 8)
// holds its entries and the Windows palette made from them; a direct-colour table (depth 16 or 24)
// has no entries and packs red, green and blue into the value (5 bits each at 16, 8 at 24).
//
// All drawing goes through one standard 256-colour palette: the display's 20 static colours at
// 0-9 and 246-255, and entries 10-245 from the file "standard.pal" in the "Data" folder. Tables
// are shared: Setup answers one cached table per Windows palette, so every bitmap and buffer of a
// depth uses the same object. A table deletes the palette it made itself; the shared palettes
// (standard, its twin, monochrome) belong to the unit and live for the run.
class ColorTable : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(ColorTable)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // The shared table for a depth: the monochrome palette's for 1, the standard palette's for 2
    // to 16 (depth 8, 256 entries), a direct table of depth 24 above 16.
    static SmartPtr<ColorTable> Setup(int16_t depth);
    // The standard palette, built on first use; a display without a 256-colour palette shows its
    // message and ends the process.
    static HPALETTE GetStandardPalette();
    // A second palette of the same 256 entries, for the bitmap code.
    static HPALETTE GetStandardPaletteTwin();
    // Depth for N entries: the smallest of 1, 2, 4, 8, 16, ... whose power of two is at least N.
    static int16_t DepthForCount(uint32_t count);

    // The entries copied (depth for their count, 24 when none) with a palette of its own.
    explicit ColorTable(const TypedArray<Color>& colors);
    // Entries read back from the palette (24 without entries for none); the palette is borrowed.
    explicit ColorTable(HPALETTE palette);
    // The entries of the palette that Setup's rule gives for the depth.
    explicit ColorTable(int16_t depth);
    // Reads the stored form (scope opened with `version`); sizes that do not fit fail with the
    // corrupt-file message.
    explicit ColorTable(ArchiveScope& scope);
    // Copies entries and depth; warns "Not implemented.". A palette the source made is made again.
    ColorTable(const ColorTable& other);
    ColorTable& operator=(const ColorTable& other);
    ~ColorTable() override;

    // Entry index + 1 for an indexed table ("Range error" outside); unpacked for a direct one.
    Color GetColor(uint32_t index) const;
    // Depth 8 or less: the index of the first entry that Equals the colour, or false with `value`
    // the entry count. Deeper: the packed value, true.
    bool Convert(const Color& color, uint32_t& value) const;
    int16_t BitDepth() const { return depth; }
    HPALETTE GetPalette() const { return palette; }
    uint32_t NumColors() const { return colors.NumItems(); }
    // Equal depths and equal entries.
    bool Equals(const ColorTable& other) const;
    // For an indexed table (depth 8 or less): the value of `destination` that shows each of this
    // table's 256 values, index by index: the value's colour (black past the entries) as the
    // nearest entry of the destination's palette, or packed for a direct-colour destination.
    // Built on first use for each destination and kept until either table changes.
    const uint32_t* TranslationTo(const ColorTable& destination) const;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // Drops the cache and deletes the shared palettes; the next request builds them again. For
    // tests, which start each case on a fresh platform.
    static void ReleaseShared();

private:
    void ReadEntries(HPALETTE source);
    void MakePalette();
    void DeletePalette();

    // A new identity for the translation caches: a changed table is another table to them.
    void Renumber();

    struct Translation {
        uint64_t destination;
        std::vector<uint32_t> values;
    };

    TypedArray<Color> colors;
    int16_t depth { 24 };
    HPALETTE palette { nullptr };
    bool ownsPalette { false };
    uint64_t serial { 0 };
    mutable std::vector<Translation> translations;
    // An indexed table's first index of each colour, by the bytes Equals compares: built on the
    // first Convert and kept until the table changes, as a see-through picture converts the
    // page's colour on every drawing and a search of 256 entries cost more than its pixels.
    mutable std::unordered_map<uint32_t, uint32_t> indexes;
};

namespace pw::graphics {

// Reads the palette file's header and colour table (the first 1078 bytes of a BMP file) into the
// 256 entries' red, green and blue. A header that is not "BM" or whose info size is not 40 fails
// "Call failed.".
void ReadPaletteFile(Stream& stream, PALETTEENTRY (&entries)[256]);

} // namespace pw::graphics
