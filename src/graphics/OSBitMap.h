#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

class Color;

// The platform half of a pixel image: the Windows bitmap that holds a BitMap's pixels, with its
// own header (BITMAPINFO with room for 256 colours). Three kinds exist because the platforms
// differ: DIBSection on Windows 95 and NT, DDBitMap (depths 8 and 1) and DIBitMap (other depths)
// on the 16-bit platform; MakeOSBitMap picks one by the platform probe. A bitmap is made empty and
// initialised once (Initialize or InitFromHBITMAP); it then owns its handle, header and pixels.
// Copies own their own handle and pixels, so nothing is ever deleted twice.
class OSBitMap : public SmartImplementation {
    PW_CLASS_INFO(OSBitMap)
    PW_COPY_SLOTS

public:
    // Room in every header: the 40-byte BITMAPINFOHEADER and 256 colours.
    static constexpr uint32_t kHeaderBytes = sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
    // The largest pixel block a bitmap will allocate.
    static constexpr uint64_t kMaxByteSize = uint64_t(1) << 28;

    ~OSBitMap() override;

    // Copies `source` (bitmap coordinates, top-down) onto `destination` of the DC, stretching;
    // `palette`, when given, is selected and realised for the call.
    virtual void Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination) = 0;
    // Draw; the key is not applied.
    virtual void DrawAny(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination, uint32_t key);
    // Copies every pixel of `from` that differs from `key` to `to` in the destination, clipped to
    // both bitmaps. Depths of 8 or more, equal on both sides.
    virtual void CopyTransparent(OSBitMap& destination, const Rect& from, const Rect& to, uint32_t key);
    // CopyTransparent for every kind; at 8 bits a `translation` (256 values, or null) turns each
    // copied source value into the destination's.
    void CopyKeyedThrough(
        OSBitMap& destination, const Rect& from, const Rect& to, uint32_t key, const uint32_t* translation);
    // Copies the source byte wherever the 1-bit mask is 0, the mask laid on `destRect`; nothing
    // happens unless the rectangle lies inside the destination. All but the mask 8 bits deep.
    virtual void CopyMasked(OSBitMap& destination, const Rect& destRect, OSBitMap& mask);
    // A new brush that tiles this bitmap; the caller deletes it.
    virtual HBRUSH MakePatternBrush() = 0;
    // A DC with the bitmap selected, handed back with ReleaseDC; null where the kind has none.
    virtual HDC GetDC() = 0;
    virtual void ReleaseDC(HDC dc) = 0;
    // Bytes in one row at `depth` (0: this bitmap's own).
    virtual uint32_t BytesPerRow(int16_t depth = 0) const;
    // Takes size and depth from the Windows bitmap and copies its pixels. The caller keeps the
    // bitmap. `depth` other than 0 holds the pixels at that depth instead of the bitmap's own.
    virtual void InitFromHBITMAP(HBITMAP bitmap, HPALETTE palette, int16_t depth = 0);
    // Makes the Windows bitmap; `palette` gives the colours of depths below 16.
    virtual void Initialize(int32_t width, int32_t height, int16_t depth, HPALETTE palette);
    virtual void Fill(const Color& color);
    // The pixel bytes (GetByteSize, rows as RowsTopDown says). `isCopy` tells the caller to hand
    // them back through UnlockBits, which writes a modified copy back and frees it.
    virtual uint8_t* LockBits(bool& isCopy);
    virtual void UnlockBits(bool modified, uint8_t* bits, bool isCopy);
    // True when memory row 0 is the image's top row.
    virtual bool RowsTopDown() const;
    virtual void SetCaching(bool on);
    // Warns "Not implemented." and answers 0.
    virtual uint32_t IndexOfColor(const Color& color);
    // Maps `pixels` (GetByteSize bytes, laid out as this bitmap) from the header's colours to
    // the nearest colours of `palette`, then rebuilds the header for that palette. Pointers
    // from LockBits taken before may no longer be valid afterwards.
    virtual void ChangePalette(HPALETTE palette, uint8_t* pixels);
    // Exactly or at most GetByteSize bytes, as each kind allows; GetBits copies GetByteSize.
    virtual void SetBits(const void* source, uint32_t bytes) = 0;
    virtual void GetBits(void* destination, uint32_t bytes) const = 0;

    Point GetSize() const { return size; }
    int16_t GetBitDepth() const { return depth; }
    // 2 to the power of the depth (0 for 32 bits).
    uint32_t NumColors() const { return depth < 32 ? 1u << depth : 0; }
    HBITMAP GetHandle() const { return handle; }
    void SetHandle(HBITMAP bitmap) { handle = bitmap; }
    bool IsInitialized() const { return depth >= 1; }
    uint32_t GetByteSize(int16_t depth = 0) const;
    // Where image row `row` (0 at the top) starts in the pixel block.
    size_t RowOffset(int32_t row) const;
    // This bitmap's header and colour table; null before initialisation.
    BITMAPINFO* GetHeader() const { return reinterpret_cast<BITMAPINFO*>(header.get()); }

    // A new header block of kHeaderBytes: BI_RGB, positive height (rows bottom-up), no colours.
    static std::unique_ptr<uint8_t[]> MakeHeader(int32_t width, int32_t height, int16_t depth);

protected:
    OSBitMap() = default;
    // Size, depth and a header of its own; the kind makes the handle and copies the pixels.
    OSBitMap(const OSBitMap& other);
    OSBitMap& operator=(const OSBitMap& other);

    // Makes the Windows object for the stored size, depth and header.
    virtual void CreateHandle() = 0;
    // Fails "Call failed." or "Missing (NULL) value." unless depth, size and handle are sound.
    virtual void CheckValid() const;

    // Builds this bitmap's header, with the palette's colours for depths below 16.
    void SetHeader(HPALETTE palette);
    // The pixels of `other`, of the same kind, size and depth, into this bitmap.
    void CopyPixelsFrom(const OSBitMap& other);
    // Deletes the handle, reporting a failure without throwing.
    void DeleteHandle() noexcept;
    // Forgets handle, header, size and depth, after the kind has let go of what it holds.
    void Clear() noexcept;

    // Selects and realises a palette in a DC for one call and selects the previous one back.
    class PaletteScope {
    public:
        PaletteScope(HDC dc, HPALETTE palette);
        ~PaletteScope();
        PaletteScope(const PaletteScope&) = delete;
        PaletteScope& operator=(const PaletteScope&) = delete;

    private:
        HDC dc;
        HPALETTE previous { nullptr };
    };

private:
    HBITMAP handle { nullptr };
    std::unique_ptr<uint8_t[]> header;
    Point size { 0, 0 };
    int16_t depth { 0 };
};

// A new, uninitialised Windows bitmap of the kind the platform takes for `depth`: a DIBSection
// on Windows 95 and NT; on the 16-bit platform a DDBitMap for depths 8 and 1, else a DIBitMap.
SmartPtr<OSBitMap> MakeOSBitMap(int16_t depth);
// MakeOSBitMap's bitmap initialised from a Windows bitmap (pixels held at `depth`, 0 its own).
SmartPtr<OSBitMap> NewOSBitMap(HBITMAP bitmap, HPALETTE palette, int16_t depth);

// Maps DIB pixels from the header's colour table to the nearest entries of `palette`: every byte
// of 8-bit rows, both halves of every byte of 4-bit rows, the colour indexes of an RLE8 stream
// (bounded by `byteCount`). Other depths and RLE4 are left unchanged; nothing happens without a
// header or palette.
void MapDIBToPalette(const BITMAPINFO* header, HPALETTE palette, uint8_t* pixels, uint32_t byteCount);
