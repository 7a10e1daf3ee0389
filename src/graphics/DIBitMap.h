#pragma once

#include "graphics/OSBitMap.h"

#include <memory>

// The Windows bitmap of the 16-bit platform for depths other than 8 and 1: the pixels in the
// program's own memory (rows bottom-up, padded to 32 bits), drawn with StretchDIBits. Its handle
// is only a 1 by 1 placeholder, so it has no DC: GetDC, ReleaseDC and CopyTransparent only warn.
class DIBitMap : public OSBitMap {
    PW_CLASS_INFO(DIBitMap)
    PW_COPY_SLOTS

public:
    DIBitMap() = default;
    // A placeholder and pixels of its own, holding the same pixels.
    DIBitMap(const DIBitMap& other);
    DIBitMap& operator=(const DIBitMap& other);

    void Draw(HDC dc, HPALETTE palette, const Rect& source, const Rect& destination) override;
    void CopyTransparent(OSBitMap& destination, const Rect& from, const Rect& to, uint32_t key) override;
    HBRUSH MakePatternBrush() override;
    HDC GetDC() override;
    void ReleaseDC(HDC dc) override;
    uint8_t* LockBits(bool& isCopy) override;
    void UnlockBits(bool, uint8_t*, bool) override { }
    void SetBits(const void* source, uint32_t bytes) override;
    void GetBits(void* destination, uint32_t bytes) const override;

protected:
    void CreateHandle() override;
    void CheckValid() const override;

private:
    std::unique_ptr<uint8_t[]> bits;
};
