// The pixel copies between Windows bitmaps: keyed and through a mask, clipped to both sides.
#include "graphics/OSBitMap.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Sixteen 8-bit pixels, tested together in one vector register.
using Block = uint8_t __attribute__((vector_size(16)));
constexpr int32_t kBlockPixels = sizeof(Block);

// The pixels of a row from `from` up to `count`, one at a time: each byte the destination's where
// the source holds the key, else the source's (through `translation` when given). The choice is
// made without a jump, so a row of mixed pixels costs no mispredicted branches.
void CopyKeyedPixels(uint8_t* out, const uint8_t* in, int32_t from, int32_t count, uint8_t key,
    const uint32_t* translation)
{
    if (translation) {
        for (int32_t column = from; column < count; ++column) {
            uint8_t value = in[column];
            out[column] = value == key ? out[column] : static_cast<uint8_t>(translation[value]);
        }
        return;
    }
    for (int32_t column = from; column < count; ++column) {
        uint8_t value = in[column];
        out[column] = value == key ? out[column] : value;
    }
}

// Whether all sixteen pixels at `in` hold the key.
bool AllKeyed(const uint8_t* in, const Block& keys)
{
    Block pixels;
    std::memcpy(&pixels, in, sizeof pixels);
    auto keyed = reinterpret_cast<Block>(pixels == keys);
    uint64_t halves[2];
    std::memcpy(halves, &keyed, sizeof halves);
    return (halves[0] & halves[1]) == ~uint64_t(0);
}

// One row of 8-bit pixels. Without a translation each pixel is chosen in whole-register steps, a
// see-through one costing no more than a test of it would. Through one, a pixel costs a lookup:
// the whole blocks of key at either end of the row (a sprite is see-through around its figure) are
// passed over, neither looked up nor written. Testing blocks without a translation cost more in
// mispredicted row ends than it saved. A key past 8 bits matches nothing.
void CopyKeyedRow(uint8_t* out, const uint8_t* in, int32_t count, uint32_t key, const uint32_t* translation)
{
    if (key > 0xFF) {
        if (translation) {
            for (int32_t column = 0; column < count; ++column)
                out[column] = static_cast<uint8_t>(translation[in[column]]);
        } else {
            std::memcpy(out, in, static_cast<size_t>(count));
        }
        return;
    }
    const auto keyValue = static_cast<uint8_t>(key);
    int32_t first = 0;
    int32_t end = count;
    if (translation) {
        const Block keys = Block {} + keyValue;
        while (first + kBlockPixels <= end && AllKeyed(in + first, keys))
            first += kBlockPixels;
        while (end - kBlockPixels >= first && AllKeyed(in + end - kBlockPixels, keys))
            end -= kBlockPixels;
    }
    CopyKeyedPixels(out, in, first, end, keyValue, translation);
}

} // namespace

void OSBitMap::CopyTransparent(OSBitMap& destination, const Rect& from, const Rect& to, uint32_t key)
{
    CopyKeyedThrough(destination, from, to, key, nullptr);
}

void OSBitMap::CopyKeyedThrough(
    OSBitMap& destination, const Rect& from, const Rect& to, uint32_t key, const uint32_t* translation)
{
    if (GetBitDepth() < 8)
        AssertionFailed("GetBitDepth() >= 8", PW_HERE);
    if (destination.GetBitDepth() != GetBitDepth())
        AssertionFailed("destination.GetBitDepth() == GetBitDepth()", PW_HERE);
    if (from.Size() != to.Size())
        AssertionFailed("from.Size() == to.Size()", PW_HERE);
    if (translation && depth != 8)
        AssertionFailed("!translation || depth == 8", PW_HERE);

    // Rows and columns that fall outside either bitmap are dropped on both sides together;
    // `firstColumn` and `firstRow` count from the corners of `from` and `to`.
    Point target = destination.GetSize();
    int32_t firstColumn = std::max({ 0, -from.left, -to.left });
    int32_t firstRow = std::max({ 0, -from.top, -to.top });
    int32_t endColumn = std::min({ from.right - from.left, size.h - from.left, target.h - to.left });
    int32_t endRow = std::min({ from.bottom - from.top, size.v - from.top, target.v - to.top });
    if (endColumn <= firstColumn || endRow <= firstRow)
        return;

    size_t pixelBytes = static_cast<size_t>(depth / 8);
    bool sourceCopy = false;
    bool destinationCopy = false;
    uint8_t* sourceBits = LockBits(sourceCopy);
    uint8_t* destinationBits = destination.LockBits(destinationCopy);
    // Row to row, each side moves by its row length, up or down in memory as its rows are stored:
    // found once, as asking the bitmaps on every row cost more than a sprite's row of pixels.
    auto sourceAt = static_cast<ptrdiff_t>(RowOffset(from.top + firstRow) + size_t(from.left + firstColumn) * pixelBytes);
    auto destinationAt = static_cast<ptrdiff_t>(
        destination.RowOffset(to.top + firstRow) + size_t(to.left + firstColumn) * pixelBytes);
    ptrdiff_t sourceStep = RowsTopDown() ? ptrdiff_t(BytesPerRow()) : -ptrdiff_t(BytesPerRow());
    ptrdiff_t destinationStep = destination.RowsTopDown() ? ptrdiff_t(destination.BytesPerRow())
                                                          : -ptrdiff_t(destination.BytesPerRow());
    for (int32_t row = firstRow; row < endRow; ++row, sourceAt += sourceStep, destinationAt += destinationStep) {
        const uint8_t* sourcePixel = sourceBits + sourceAt;
        uint8_t* destinationPixel = destinationBits + destinationAt;
        int32_t count = endColumn - firstColumn;
        if (pixelBytes == 1) {
            CopyKeyedRow(destinationPixel, sourcePixel, count, key, translation);
            continue;
        }
        for (int32_t column = 0; column < count; ++column) {
            uint32_t value = 0;
            for (size_t byte = 0; byte < pixelBytes; ++byte)
                value |= static_cast<uint32_t>(sourcePixel[byte]) << (8 * byte);
            if (value != key)
                std::memcpy(destinationPixel, sourcePixel, pixelBytes);
            sourcePixel += pixelBytes;
            destinationPixel += pixelBytes;
        }
    }
    UnlockBits(false, sourceBits, sourceCopy);
    destination.UnlockBits(true, destinationBits, destinationCopy);
}

void OSBitMap::CopyMasked(OSBitMap& destination, const Rect& destRect, OSBitMap& mask)
{
    if (GetBitDepth() != 8)
        AssertionFailed("GetBitDepth() == 8", PW_HERE);
    if (destination.GetBitDepth() != 8)
        AssertionFailed("dest->GetBitDepth() == 8", PW_HERE);
    if (mask.GetBitDepth() != 1)
        AssertionFailed("mask->GetBitDepth() == 1", PW_HERE);
    Point sourceSize = mask.GetSize();
    if (destRect.Size() != sourceSize)
        AssertionFailed("destRect.Size() == sourceSize", PW_HERE);
    Point target = destination.GetSize();
    if (destRect.left < 0 || destRect.top < 0 || destRect.right > target.h || destRect.bottom > target.v)
        return;

    // A source smaller than the mask gives only the pixels it has.
    int32_t width = std::min(sourceSize.h, size.h);
    int32_t height = std::min(sourceSize.v, size.v);
    bool sourceCopy = false;
    bool maskCopy = false;
    bool destinationCopy = false;
    uint8_t* sourceBits = LockBits(sourceCopy);
    uint8_t* maskBits = mask.LockBits(maskCopy);
    uint8_t* destinationBits = destination.LockBits(destinationCopy);
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* source = sourceBits + RowOffset(row);
        const uint8_t* maskRow = maskBits + mask.RowOffset(row);
        uint8_t* target = destinationBits + destination.RowOffset(destRect.top + row) + destRect.left;
        for (int32_t column = 0; column < width; ++column) {
            if (!(maskRow[column >> 3] & (0x80 >> (column & 7))))
                target[column] = source[column];
        }
    }
    UnlockBits(false, sourceBits, sourceCopy);
    mask.UnlockBits(false, maskBits, maskCopy);
    destination.UnlockBits(true, destinationBits, destinationCopy);
}
