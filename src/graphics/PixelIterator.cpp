#include "graphics/PixelIterator.h"

#include "foundation/Exception.h"
#include "graphics/BitMap.h"
#include "graphics/OSBitMap.h"

#include <algorithm>

PixelIterator::PixelIterator(BitMap& bitmap, const Rect& rect, bool imageOrder)
    : PixelIterator(bitmap, rect.left, rect.top, rect.right, rect.bottom, imageOrder)
{
}

PixelIterator::PixelIterator(BitMap& bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom, bool imageOrder)
    : bitmap(&bitmap)
    , osBitMap(bitmap.GetOSBitMap())
{
    bitmap.Lock();
    base = osBitMap->LockBits(bitsCopied);
    rowBytes = static_cast<int32_t>(osBitMap->BytesPerRow());
    depth = static_cast<uint8_t>(osBitMap->GetBitDepth());
    topDown = osBitMap->RowsTopDown();
    mask = depth >= 32 ? 0xFFFFFFFFu : (1u << depth) - 1;
    Point size = osBitMap->GetSize();
    bitmapLastRow = size.v - 1;
    bitmapLastColumn = size.h - 1;
    firstColumn = column = left;
    lastColumn = right - 1;
    rowsLeft = right > left && bottom > top ? bottom - top : 0;
    rowStep = imageOrder ? 1 : -1;
    row = imageOrder ? top : bottom - 1;
    rowAddress = rowsLeft ? RowAddress(row) : nullptr;
}

PixelIterator::~PixelIterator()
{
    try {
        osBitMap->UnlockBits(true, base, bitsCopied);
    } catch (Exception* exception) {
        ReportException(exception);
    }
    bitmap->Unlock();
}

uint8_t* PixelIterator::RowAddress(int32_t y) const
{
    if (y < 0 || y > bitmapLastRow)
        return nullptr;
    int32_t memoryRow = topDown ? y : bitmapLastRow - y;
    return base + static_cast<ptrdiff_t>(memoryRow) * rowBytes;
}

void PixelIterator::NextRow()
{
    column = firstColumn;
    if (rowsLeft > 0)
        --rowsLeft;
    row += rowStep;
    rowAddress = rowsLeft ? RowAddress(row) : nullptr;
}

void PixelIterator::MoveTo(int32_t x, int32_t y)
{
    column = x;
    row = y;
    rowAddress = RowAddress(y);
}

uint8_t* PixelIterator::CurrentAddress() const
{
    return rowAddress + (static_cast<int64_t>(depth) * column) / 8;
}

int32_t PixelIterator::RowSpanBytes() const
{
    int64_t start = ((static_cast<int64_t>(depth) * column) & ~int64_t(7)) / depth;
    int64_t count = lastColumn + 1 - start;
    int64_t span = ((depth * count - 1) >> 3) + 1;
    return static_cast<int32_t>(std::clamp<int64_t>(span, 0, rowBytes));
}

uint32_t PixelIterator::GetOther() const
{
    const uint8_t* pixels = rowAddress;
    switch (depth) {
    case 1:
        return (pixels[column >> 3] >> (7 - (column & 7))) & 1;
    case 8:
        return pixels[column];
    case 16:
        pixels += 2 * column;
        return pixels[0] | (pixels[1] << 8);
    case 24:
        pixels += 3 * column;
        return pixels[0] | (pixels[1] << 8) | (pixels[2] << 16);
    case 32:
        pixels += 4 * column;
        return pixels[0] | (pixels[1] << 8) | (pixels[2] << 16) | (static_cast<uint32_t>(pixels[3]) << 24);
    default: {
        int32_t position = depth * column;
        return (pixels[position >> 3] >> ((8 - depth - position) & 7)) & mask;
    }
    }
}

void PixelIterator::SetOther(uint32_t value)
{
    uint8_t* pixels = rowAddress;
    switch (depth) {
    case 8:
        pixels[column] = static_cast<uint8_t>(value);
        return;
    case 16:
    case 24:
    case 32:
        pixels += (depth / 8) * column;
        for (int byte = 0; byte < depth / 8; ++byte)
            pixels[byte] = static_cast<uint8_t>(value >> (8 * byte));
        return;
    default: {
        // Depth 1 is the same rule: shift 7 - column % 8.
        int32_t position = depth * column;
        int shift = (8 - depth - position) & 7;
        uint8_t& byte = pixels[position >> 3];
        byte = static_cast<uint8_t>((byte & ~(mask << shift)) | ((value & mask) << shift));
        return;
    }
    }
}
