#pragma once

#include "foundation/SmartImplementation.h"
#include "graphics/Color.h"
#include "graphics/ColorTable.h"
#include "graphics/Image.h"
#include "graphics/Pattern.h"

#include <windows.h>

#include <cstdint>

class ArchiveScope;
class OSBitMap;
class OffScreen;
class Paint;
class Stream;

// The framework's pixel image: a rectangle of pixels of one depth, the colour table that gives
// the values their colours, and an optional chroma key (one value that counts as transparent).
// The pixels live in an OSBitMap, shared with bitmaps assigned from this one; all pixel-level work
// goes through PixelIterator. The depth always equals the colour table's depth. Bitmaps are read
// from object files and BMP files; 8-bit ones read from either end up in the standard table.
class BitMap : public Image, public SmartImplementation {
    PW_CLASS_INFO(BitMap)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    // The most pixels a bitmap read from a file may have.
    static constexpr uint64_t kMaxPixels = uint64_t(1) << 24;

    // A copy of a Windows bitmap's pixels (the caller keeps the handle) in the shared table for
    // its depth; the flag is whether the key applies.
    BitMap(HBITMAP bitmap, bool useChromaKey, uint32_t chromaKey);
    // Blank pixels. With the flag set the key is the table's value for `keyColor`; an indexed
    // table without that colour turns the flag off.
    BitMap(int32_t width, int32_t height, const SmartPtr<ColorTable>& colorTable, const Color& keyColor,
        bool useChromaKey);
    // Pixels of its own, equal to the other's, in the same table.
    BitMap(const BitMap& other);
    // Reads the stored form (scope opened with `version`); sizes, depth and row length that do not
    // fit fail with the corrupt-file message.
    explicit BitMap(ArchiveScope& scope);
    // Reads a BMP file from the stream's mark: 1, 4, 8 and 24 bits (16 and 32 bits become 24),
    // rows either way up, RLE8 and RLE4. A file that cannot be read fails with the corrupt-file
    // message, or the two header assertions.
    BitMap(Stream& stream, bool useChromaKey, uint32_t chromaKey);
    ~BitMap() override;
    // Takes the other's table, key, flag and pattern buffer and shows the same pixels (shared, not
    // copied).
    BitMap& operator=(const BitMap& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    // The whole bitmap; the key applies unless `mode` is 1.
    void Draw(DisplayPort& port, int mode) override;
    // (0, 0, width, height).
    Rect GetBounds() override;
    SmartPtr<ColorTable> GetColorTable() override { return colorTable; }

    // Warns "Not implemented." and answers a copy of the shared empty area.
    virtual SmartPtr<Area> GetColorArea(const Color& color);
    // Fails "useChromaKey == true" unless the key is in use.
    virtual void SetChromaKey(uint32_t value);
    virtual uint32_t GetChromaKey() { return chromaKey; }
    virtual bool UsesChromaKey() { return useChromaKey; }
    virtual void SetUseChromaKey(bool use) { useChromaKey = use; }

    // The object and its pixels at the table's depth.
    uint32_t GetObjectSize() override;

    // Makes the Windows bitmap of that size at the table's depth and takes the table.
    void Allocate(int32_t width, int32_t height, const SmartPtr<ColorTable>& table);
    int16_t GetBitDepth() const;
    OSBitMap* GetOSBitMap() const { return osBitMap.Get(); }
    HDC GetDC();
    void ReleaseDC(HDC dc);
    bool Lock();
    // Never below 0.
    void Unlock();
    int16_t LockCount() const { return lockCount; }
    // The colour of a pixel value (black for an index the table does not hold).
    Color GetColorOfValue(uint32_t value) const;
    uint32_t GetPixelValue(int32_t x, int32_t y);
    // The top-left 8 by 8 pixels: a bit set for every non-zero pixel. Needs 8 by 8 pixels.
    Pattern GetPattern();

    void DrawKeyed(DisplayPort& port, uint32_t key);
    // Draws without the key.
    void DrawOpaque(DisplayPort& port);
    // `rect` in this bitmap's coordinates, through the port's transform.
    void DrawPart(DisplayPort& port, const Rect& rect, bool useKey, uint32_t key);
    // Paints `pattern` through this 1-bit bitmap used as a mask (0 paints), with the pattern
    // aligned to the port's origin; the pixels go in through the masked copy of 8-bit bitmaps. The
    // pattern is laid out in a buffer the bitmap keeps while it is large enough.
    void PaintThroughMask(DisplayPort& port, Paint& pattern);
    // How many pattern buffers this bitmap has made (each replacing one too small).
    uint32_t PatternBuffersMade() const { return patternBuffersMade; }
    // DrawPart once the port has given its DC, the bitmap of its off-screen device (null for any
    // other device) and `rect` mapped to `destination`. A key applies only when nothing is scaled;
    // on a window it is not applied. Between bitmaps of other depths or tables the colours go
    // through both tables.
    void DrawPartTo(HDC dc, BitMap* offScreen, const Rect& rect, const Rect& destination, bool useKey, uint32_t key);

    // Shrinks the handle's bitmap to the smallest rectangle holding every pixel whose value is not
    // `background` and answers that rectangle's top-left. A bitmap that is all background empties
    // the handle; one whose content touches every edge is kept. The result has the same table.
    static Point CropToContent(SmartPtr<BitMap>& bitmap, uint32_t background);
    // Any image as an 8-bit bitmap of the given size (its bounds' size by default): drawn to fit in
    // its own table when that is 8 bits deep, else without key into the standard table on white.
    static SmartPtr<BitMap> RenderImage(Image& image);
    static SmartPtr<BitMap> RenderImage(Image& image, int32_t width, int32_t height);

private:
    // Copies every pixel of `rect` that is not `key` to `destination` in `target`, clipped to
    // both bitmaps, translating values when the tables differ.
    void CopyKeyed(BitMap& target, const Rect& rect, const Rect& destination, uint32_t key);
    // The pattern buffer, made (white, 8 bits) when there is none at least the bitmap's size.
    OffScreen& PatternBuffer();
    // An 8-bit bitmap's pixels and key re-expressed in the standard table.
    void RemapToStandard();
    // The BMP reader behind the stream constructor.
    void ReadBMP(Stream& stream);
    // Reads the stored fields and pixels behind the archive constructor.
    void ReadStored(ArchiveScope& scope);

    SmartPtr<OSBitMap> osBitMap;
    int16_t lockCount { 1 };
    SmartPtr<ColorTable> colorTable;
    uint32_t chromaKey { 0 };
    bool useChromaKey { false };
    SmartPtr<OffScreen> patternBuffer;
    uint32_t patternBuffersMade { 0 };
};

// The image behind the handle replaced by a new 8-bit bitmap of it at its bounds' size
// (RenderImage); any other object leaves the handle alone and answers false. BitMap's conversion
// from Image.
bool ConvertToBitMap(SmartPtr<Smart>& handle);
