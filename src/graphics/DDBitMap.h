#pragma once

#include "graphics/OSBitMap.h"

#include <memory>

// The Windows bitmap of the 16-bit platform for depths 8 and 1: a device-dependent bitmap (rows
// top-down, padded to 16 bits) whose pixels are reached only through copies. A copy may be cached
// between LockBits calls while caching is on. One DC at a time is handed out.
class DDBitMap : public OSBitMap {
    PW_CLASS_INFO(DDBitMap)
    PW_COPY_SLOTS

public:
    DDBitMap() = default;
    // A bitmap of its own holding the same pixels; no cache, no DC handed out.
    DDBitMap(const DDBitMap& other);
    DDBitMap& operator=(const DDBitMap& other);
    ~DDBitMap() override;

    void Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination) override;
    HBRUSH MakePatternBrush() override;
    // A new memory DC with the bitmap (and for depth 8 the standard palette) selected; fails
    // "oldBitMap == NULL" while another is out.
    HDC GetDC() override;
    void ReleaseDC(HDC dc) override;
    uint32_t BytesPerRow(int16_t depth = 0) const override;
    uint8_t* LockBits(bool& isCopy) override;
    void UnlockBits(bool modified, uint8_t* bits, bool isCopy) override;
    bool RowsTopDown() const override { return true; }
    void SetCaching(bool on) override;
    void SetBits(const void* source, uint32_t bytes) override;
    void GetBits(void* destination, uint32_t bytes) const override;
    // Copies `source` of the bitmap onto `destination` of the DC through PlgBlt, only where
    // `mask` (1 bit deep, laid on the bitmap; null for none) has its bits set.
    void DrawParallelogram(HDC dc, OSBitMap* mask, const Rect& source, const Rect& destination);

protected:
    void CreateHandle() override;

private:
    HGDIOBJ oldBitMap { nullptr };
    std::unique_ptr<uint8_t[]> cachedBits;
    bool caching { false };
};
