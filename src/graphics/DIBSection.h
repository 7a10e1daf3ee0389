#pragma once

#include "graphics/OSBitMap.h"

class Stream;

// The Windows bitmap of Windows 95 and NT: a DIB section whose pixels the program reads and
// writes directly, kept selected into a memory DC of its own so that GDI can draw on it at any
// time. Rows run bottom-up, padded to 32 bits.
class DIBSection : public OSBitMap {
    PW_CLASS_INFO(DIBSection)
    PW_COPY_SLOTS

public:
    DIBSection() = default;
    // A section of its own holding the same pixels.
    DIBSection(const DIBSection& other);
    DIBSection& operator=(const DIBSection& other);
    ~DIBSection() override;

    void Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination) override;
    HBRUSH MakePatternBrush() override;
    HDC GetDC() override { return memoryDC; }
    void ReleaseDC(HDC) override { }
    uint8_t* LockBits(bool& isCopy) override;
    void UnlockBits(bool, uint8_t*, bool) override { }
    // The section is made again with the new colours, so GDI drawing into it matches them too.
    void ChangePalette(HPALETTE palette, uint8_t* pixels) override;
    void SetBits(const void* source, uint32_t bytes) override;
    void GetBits(void* destination, uint32_t bytes) const override;

    // GetByteSize bytes of pixels to the stream.
    void WriteBits(Stream& stream) const;
    // `bytes` (at most GetByteSize) from the stream into the pixels.
    void ReadBits(uint32_t bytes, Stream& stream);

protected:
    void CreateHandle() override;
    void CheckValid() const override;

private:
    // Gives the section back to the system with its DC.
    void ReleaseSection() noexcept;

    HDC memoryDC { nullptr };
    uint8_t* bits { nullptr };
    HGDIOBJ previousBitMap { nullptr };
};
