// The pixel copies between Windows bitmaps: keyed and through a mask, clipped to both sides.
#include "graphics/OSBitMap.h"

#include "foundation/Exception.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Sixteen 8-bit pixels, tested together in one vector register; thirty-two in one register of the
// processors that have 256-bit ones.
using Block = uint8_t __attribute__((vector_size(16)));
using WideBlock = uint8_t __attribute__((vector_size(32)));
constexpr int32_t kBlockPixels = sizeof(Block);
constexpr int32_t kWideBlockPixels = sizeof(WideBlock);

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

// One row of 8-bit pixels, one at a time. Through a translation a pixel costs a lookup: the whole
// blocks of key at either end of the row (a sprite is see-through around its figure) are passed
// over, neither looked up nor written. A key past 8 bits matches nothing.
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

// A block of pixels at `in` and `out` chosen at once: the destination's bytes where the source
// holds the key, else the source's. Handed back through `chosen`, as a wide block returned by
// value from code built for every processor would change the calling convention. Always inlined,
// so that it takes the registers of the code it is part of.
template <typename Vector>
[[gnu::always_inline]] inline void ChooseKeyed(
    const uint8_t* out, const uint8_t* in, const Vector& keys, Vector& chosen)
{
    Vector pixels;
    Vector under;
    std::memcpy(&pixels, in, sizeof pixels);
    std::memcpy(&under, out, sizeof under);
    auto keyed = reinterpret_cast<Vector>(pixels == keys);
    chosen = (under & keyed) | (pixels & ~keyed);
}

// `rows` rows of `count` pixels, at least a block, each side's next row `step` bytes on, the two
// sides apart in memory: a block at a time, with no jump on a pixel, so that a see-through pixel
// costs what an opaque one does (testing blocks to pass over see-through ones cost more in
// mispredicted jumps at a figure's edges than it saved). Where a row is not a whole number of
// blocks its last block overlaps the one before, which chooses the shared pixels again, alike; it
// is chosen before the row's other blocks are written, as reading bytes just written at another
// offset stalls until the write is done.
template <typename Vector>
[[gnu::always_inline]] inline void CopyKeyedBlocks(uint8_t* out, ptrdiff_t outStep, const uint8_t* in,
    ptrdiff_t inStep, int32_t rows, int32_t count, uint8_t key)
{
    constexpr auto width = static_cast<int32_t>(sizeof(Vector));
    const Vector keys = Vector {} + key;
    const int32_t last = count - width;
    for (; rows > 0; --rows, out += outStep, in += inStep) {
        Vector tail;
        ChooseKeyed(out + last, in + last, keys, tail);
        for (int32_t column = 0; column < last; column += width) {
            Vector chosen;
            ChooseKeyed(out + column, in + column, keys, chosen);
            std::memcpy(out + column, &chosen, sizeof chosen);
        }
        std::memcpy(out + last, &tail, sizeof tail);
    }
}

[[gnu::target("avx2")]] void CopyKeyedWideBlocks(uint8_t* out, ptrdiff_t outStep, const uint8_t* in,
    ptrdiff_t inStep, int32_t rows, int32_t count, uint8_t key)
{
    CopyKeyedBlocks<WideBlock>(out, outStep, in, inStep, rows, count, key);
}

// The rows of CopyKeyedBlocks, thirty-two pixels a step where the processor has the registers
// for them and the rows are that wide: a sprite's row of 80 then takes three steps instead of
// five.
void CopyKeyedRows(uint8_t* out, ptrdiff_t outStep, const uint8_t* in, ptrdiff_t inStep, int32_t rows,
    int32_t count, uint8_t key)
{
    static const bool wideRegisters = __builtin_cpu_supports("avx2");
    if (wideRegisters && count >= kWideBlockPixels)
        CopyKeyedWideBlocks(out, outStep, in, inStep, rows, count, key);
    else
        CopyKeyedBlocks<Block>(out, outStep, in, inStep, rows, count, key);
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
    int32_t count = endColumn - firstColumn;
    // A bitmap copied onto itself goes row by row and pixel by pixel, each pixel seeing the ones
    // written before it.
    bool apart = sourceBits + BytesPerRow() * size_t(size.v) <= destinationBits
        || destinationBits + destination.BytesPerRow() * size_t(target.v) <= sourceBits;
    if (pixelBytes == 1 && !translation && key <= 0xFF && count >= kBlockPixels && apart) {
        CopyKeyedRows(destinationBits + destinationAt, destinationStep, sourceBits + sourceAt, sourceStep,
            endRow - firstRow, count, static_cast<uint8_t>(key));
    } else {
        for (int32_t row = firstRow; row < endRow; ++row, sourceAt += sourceStep, destinationAt += destinationStep) {
            const uint8_t* sourcePixel = sourceBits + sourceAt;
            uint8_t* destinationPixel = destinationBits + destinationAt;
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
