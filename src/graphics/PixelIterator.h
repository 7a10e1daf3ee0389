#pragma once

#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartPtr.h"

#include <cstdint>

class BitMap;
class OSBitMap;

// The cursor through which all pixel-level work on a BitMap reads and writes pixel values, whatever
// the depth and whichever way the rows are stored. It walks a rectangle row by row: in image order
// (top row first) or, with the flag clear, bottom row first, as rows follow each other in a BMP
// file. The pixels stay locked while the cursor lives and are written back when it ends. Positions
// are image coordinates; a position outside the bitmap reads 0 and ignores writes.
//
// Values: depths below 8 give palette indexes with the leftmost pixel in a byte's high bits; 16
// and 32 bits give the little-endian word; 24 bits give the three bytes as bits 0-7, 8-15, 16-23.
class PixelIterator {
public:
    PixelIterator(BitMap& bitmap, const Rect& rect, bool imageOrder);
    PixelIterator(BitMap& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom, bool imageOrder);
    // Writes the pixels back and unlocks the bitmap; a failure is shown, never thrown.
    virtual ~PixelIterator();

    PixelIterator(const PixelIterator&) = delete;
    PixelIterator& operator=(const PixelIterator&) = delete;

    // True while rows of the rectangle remain.
    bool More() const { return rowsLeft > 0; }
    // One pixel on; past a row's last pixel, the next row's first.
    void Next()
    {
        if (column == lastColumn)
            NextRow();
        else
            ++column;
    }
    void NextRow();
    uint32_t GetPixel() const
    {
        if (!InBitmap())
            return 0;
        if (depth == 8)
            return rowAddress[column];
        if (depth == 1)
            return (rowAddress[column >> 3] >> (7 - (column & 7))) & 1;
        return GetOther();
    }
    void SetPixel(uint32_t value)
    {
        if (!InBitmap())
            return;
        if (depth == 8)
            rowAddress[column] = static_cast<uint8_t>(value);
        else
            SetOther(value);
    }
    // Any position of the bitmap, in image coordinates.
    void MoveTo(int32_t x, int32_t y);
    Point GetPosition() const { return Point(column, row); }
    // The byte that holds the current pixel.
    uint8_t* CurrentAddress() const;
    // Bytes from the one holding the current column to the end of the rectangle's row (at most
    // a row of memory).
    int32_t RowSpanBytes() const;
    uint8_t* GetBase() const { return base; }

private:
    // GetPixel and SetPixel at depths other than 8, inside the bitmap.
    uint32_t GetOther() const;
    void SetOther(uint32_t value);
    // Start of image row `y` in memory, or null outside the bitmap.
    uint8_t* RowAddress(int32_t y) const;
    bool InBitmap() const { return rowAddress && column >= 0 && column <= bitmapLastColumn; }

    BitMap* bitmap;
    SmartPtr<OSBitMap> osBitMap;
    uint8_t* base { nullptr };
    int32_t rowBytes { 0 };
    uint8_t depth { 0 };
    bool bitsCopied { false };
    bool topDown { false };
    uint32_t mask { 0 };
    int32_t row { 0 };
    int32_t rowStep { 1 };
    int32_t rowsLeft { 0 };
    int32_t bitmapLastRow { 0 };
    int32_t column { 0 };
    int32_t firstColumn { 0 };
    int32_t lastColumn { 0 };
    int32_t bitmapLastColumn { 0 };
    uint8_t* rowAddress { nullptr };
};
