#pragma once

#include "graphics/BitMap.h"
#include "graphics/DisplayDevice.h"

class Image;

// A DisplayDevice over a BitMap: where views compose their pictures, tools and frames are painted,
// gradients are rendered at a usable depth and images are rendered into bitmaps. The bitmap is
// locked and its device context held exactly while a port is open on the buffer. Buffers erase
// on update; a buffer is never smaller than 1 by 1 pixels, whatever size it is asked for.
class OffScreen : public DisplayDevice {
    PW_CLASS_INFO(OffScreen)

public:
    // In the shared colour table of the depth; the bitmap's key colour is the background, unused.
    // With `erase` the pixels start in the background colour.
    OffScreen(int32_t width, int32_t height, int16_t depth, const Color& background, bool erase);
    OffScreen(int32_t width, int32_t height, const SmartPtr<ColorTable>& colorTable, const Color& background,
        bool erase);
    // The size of `rect` in the other device's colour table, erasing to white; the other device's
    // background becomes the key colour, used as `useChromaKey` says.
    OffScreen(DisplayDevice& like, const Rect& rect, bool useChromaKey, bool erase);
    // The image drawn into the buffer, scaled to fit with its proportions kept, in the image's
    // colour table.
    OffScreen(Image& image, int32_t width, int32_t height, const Color& background, bool erase);
    ~OffScreen() override;

    void BeginDraw(int32_t mode) override;
    void EndDraw() override;
    // (0, 0, width, height).
    Rect GetBounds() override;
    SmartPtr<ColorTable> GetColorTable() override;
    HDC OSContext() override { return dc; }
    virtual int16_t GetDepth();

    SmartPtr<BitMap> GetBitMap() const { return bitMap; }
    void SetBitMap(const SmartPtr<BitMap>& newBitMap) { bitMap = newBitMap; }
    // Moves the edges by the deltas into a new bitmap erased to the background; with `keep` the
    // old pixels stay at their coordinates. Ignored while drawing.
    void Resize(int32_t leftDelta, int32_t topDelta, int32_t rightDelta, int32_t bottomDelta, bool keep);

private:
    void BuildBitMap(int32_t width, int32_t height, const SmartPtr<ColorTable>& colorTable, const Color& keyColor,
        bool useChromaKey, bool erase);

    SmartPtr<BitMap> bitMap;
    HDC dc { nullptr };
};
