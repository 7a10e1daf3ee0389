// Reading a BMP file (14-byte file header, an info header of 40 bytes or one of the 108- and 124-byte
// forms that extend it, colour table, rows) into a BitMap.
#include "graphics/BitMap.h"

#include "foundation/Checks.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"
#include "foundation/Stream.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include <algorithm>
#include <bit>
#include <limits>
#include <vector>

namespace {

constexpr int32_t sizeofInfoHeader = 40;
// The later forms add colour masks (read when the compression is bit fields), colour space and,
// in the longest, profile fields, which are passed over.
constexpr int32_t sizeofV4Header = 108;
constexpr int32_t sizeofV5Header = 124;
// The most bytes of pixels a picture read from a file may hold, rows padded to 32 bits.
constexpr uint64_t kMaxImageBytes = uint64_t(1) << 24;

[[noreturn]] void Corrupt(int line)
{
    pw::foundation::ThrowCorruptFile(PW_SOURCE_FILE, line);
}

struct InfoHeader {
    int32_t width;
    int32_t height;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t colorsUsed;
};

// What an 8-bit file's values become in the standard table, so that the pixels are mapped as
// they are read and no remapped copy of the whole image is ever made. Other depths keep theirs.
struct ValueMap {
    uint8_t value[256];
};

// One colour channel of a packed pixel, scaled to 8 bits.
class Channel {
public:
    explicit Channel(uint32_t mask)
        : mask(mask)
        , shift(mask ? std::countr_zero(mask) : 0)
        , bits(std::popcount(mask))
    {
    }

    uint32_t Extract(uint32_t pixel) const
    {
        if (bits == 0)
            return 0;
        uint32_t value = (pixel & mask) >> shift;
        if (bits >= 8)
            return (value >> (bits - 8)) & 0xFF;
        return value * 255 / ((1u << bits) - 1);
    }

private:
    uint32_t mask;
    int shift;
    int bits;
};

bool ValidBitCount(uint16_t bitCount)
{
    switch (bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

// Rows of pixels packed in 16 or 32 bits, turned into 24-bit values (blue in the low byte).
void ReadPackedRows(Stream& stream, PixelIterator& cursor, const InfoHeader& info, bool topDown,
    uint64_t fileRowBytes, const Channel (&channels)[3])
{
    uint32_t pixelBytes = info.bitCount / 8u;
    std::vector<uint8_t> row(static_cast<size_t>(info.width) * pixelBytes);
    for (int32_t fileRow = 0; fileRow < info.height; ++fileRow) {
        stream.Read(row.data(), static_cast<uint32_t>(row.size()));
        int32_t imageRow = topDown ? fileRow : info.height - 1 - fileRow;
        const uint8_t* pixel = row.data();
        for (int32_t column = 0; column < info.width; ++column, pixel += pixelBytes) {
            uint32_t packed = pixel[0] | (pixel[1] << 8);
            if (pixelBytes == 4)
                packed |= (pixel[2] << 16) | (static_cast<uint32_t>(pixel[3]) << 24);
            cursor.MoveTo(column, imageRow);
            cursor.SetPixel(channels[2].Extract(packed) | (channels[1].Extract(packed) << 8)
                | (channels[0].Extract(packed) << 16));
        }
        if (fileRow + 1 < info.height && fileRowBytes > row.size())
            stream.Seek(static_cast<int32_t>(fileRowBytes - row.size()), Stream::kFromMark);
    }
}

// The bytes of a compressed image, taken from the stream a piece at a time so that no copy of
// the whole is ever held; past the end every request fails.
class PieceReader {
public:
    PieceReader(Stream& stream, uint64_t length)
        : stream(stream)
        , left(length)
    {
    }

    // The next `count` (at most 2) bytes, or false at the end.
    bool Take(uint8_t* bytes, size_t count)
    {
        for (size_t index = 0; index < count; ++index) {
            if (at == piece.size() && !Refill())
                return false;
            bytes[index] = piece[at++];
        }
        return true;
    }

    uint64_t Left() const { return left + (piece.size() - at); }

    bool Skip(size_t count)
    {
        uint8_t byte;
        for (size_t index = 0; index < count; ++index)
            if (!Take(&byte, 1))
                return false;
        return true;
    }

private:
    bool Refill()
    {
        if (left == 0)
            return false;
        piece.resize(static_cast<size_t>(std::min<uint64_t>(left, kPieceSize)));
        stream.Read(piece.data(), static_cast<uint32_t>(piece.size()));
        left -= piece.size();
        at = 0;
        return true;
    }

    static constexpr uint64_t kPieceSize = 65536;
    Stream& stream;
    uint64_t left;
    std::vector<uint8_t> piece;
    size_t at { 0 };
};

// RLE8 and RLE4: pairs of a count and a value, or 0 and an escape (0 end of line, 1 end of
// bitmap, 2 a move right and up, n literal values padded to a 16-bit boundary). Rows run from
// the bottom; values that fall outside the bitmap are dropped, and a stream that ends early
// leaves the rest of the pixels 0. The column never passes the row's width, so no run or move
// can carry it past what one row holds, and a run's dropped part costs no time.
void DecodeRLE(PieceReader& data, PixelIterator& cursor, const InfoHeader& info, bool fourBits, const ValueMap& map)
{
    int32_t x = 0;
    int32_t y = 0;
    auto put = [&](uint32_t value) {
        cursor.MoveTo(x, info.height - 1 - y);
        cursor.SetPixel(fourBits ? value : map.value[value]);
        ++x;
    };
    uint8_t pair[2];
    while (y < info.height && data.Take(pair, 2)) {
        uint8_t count = pair[0];
        uint8_t value = pair[1];
        if (count != 0) {
            for (int index = 0; index < count && x < info.width; ++index)
                put(fourBits ? (index & 1 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            uint8_t move[2];
            if (!data.Take(move, 2))
                return;
            x = std::min(x + move[0], info.width);
            y += move[1];
        } else {
            // A literal run cut short by the end is left out whole.
            size_t bytes = fourBits ? (value + 1u) / 2 : value;
            if (data.Left() < bytes)
                return;
            uint8_t byte = 0;
            for (int index = 0; index < value; ++index) {
                if (!fourBits || index % 2 == 0)
                    data.Take(&byte, 1);
                if (x < info.width)
                    put(fourBits ? (index & 1 ? byte & 0x0F : byte >> 4) : byte);
            }
            if ((bytes & 1) && !data.Skip(1))
                return;
        }
    }
}

// An 8-bit file's colours as standard values: none change when its table is the standard one.
ValueMap MapToStandard(const ColorTable& fileTable, const ColorTable& standard)
{
    ValueMap map;
    bool same = standard.Equals(fileTable);
    for (uint32_t index = 0; index < 256; ++index) {
        map.value[index] = static_cast<uint8_t>(index);
        if (same || index >= fileTable.NumColors())
            continue;
        Color color = fileTable.GetColor(index);
        UINT nearest = GetNearestPaletteIndex(standard.GetPalette(), RGB(color.red >> 8, color.green >> 8, color.blue >> 8));
        CheckCall(nearest != CLR_INVALID, PW_HERE);
        map.value[index] = static_cast<uint8_t>(nearest);
    }
    return map;
}

} // namespace

BitMap::BitMap(Stream& stream, bool useChromaKey, uint32_t chromaKey)
    : chromaKey(chromaKey)
    , useChromaKey(useChromaKey)
{
    ReadBMP(stream);
    Unlock();
}

// Every field that sizes something is checked against the rules of the format and the bytes the
// stream holds before anything is allocated for it; whatever the bytes are, a file that cannot be
// read gives the corrupt-file message.
void BitMap::ReadBMP(Stream& stream)
{
    uint32_t start = stream.GetMark();
    stream.CheckAvailable(2);
    char bfType1 = stream.ReadByte();
    char bfType2 = stream.ReadByte();
    if (!(bfType1 == 'B' && bfType2 == 'M'))
        Corrupt(__LINE__);
    stream.CheckAvailable(16);
    stream.ReadLong();
    stream.ReadShort();
    stream.ReadShort();
    uint32_t bfOffBits = static_cast<uint32_t>(stream.ReadLong());
    int32_t biSize = stream.ReadLong();
    if (biSize != sizeofInfoHeader && biSize != sizeofV4Header && biSize != sizeofV5Header)
        Corrupt(__LINE__);

    stream.CheckAvailable(static_cast<uint32_t>(biSize) - 4);
    InfoHeader info {};
    info.width = stream.ReadLong();
    info.height = stream.ReadLong();
    stream.ReadShort();
    info.bitCount = static_cast<uint16_t>(stream.ReadShort());
    info.compression = static_cast<uint32_t>(stream.ReadLong());
    stream.ReadLong();
    stream.ReadLong();
    stream.ReadLong();
    info.colorsUsed = static_cast<uint32_t>(stream.ReadLong());
    stream.ReadLong();

    // A negative height means the rows run top-down.
    bool topDown = info.height < 0;
    if (info.height == std::numeric_limits<int32_t>::min())
        Corrupt(__LINE__);
    info.height = topDown ? -info.height : info.height;
    if (info.width < 1 || info.height < 1 || !ValidBitCount(info.bitCount))
        Corrupt(__LINE__);
    // The bitmap keeps depths up to 8 and holds every deeper file in 24 bits.
    uint64_t depth = info.bitCount <= 8 ? info.bitCount : 24;
    uint64_t imageRowBytes = (static_cast<uint64_t>(info.width) * depth + 31) / 32 * 4;
    if (imageRowBytes * static_cast<uint64_t>(info.height) > kMaxImageBytes)
        Corrupt(__LINE__);
    bool rle8 = info.compression == BI_RLE8 && info.bitCount == 8;
    bool rle4 = info.compression == BI_RLE4 && info.bitCount == 4;
    bool fields = info.compression == BI_BITFIELDS && (info.bitCount == 16 || info.bitCount == 32);
    if (!(info.compression == BI_RGB || rle8 || rle4 || fields) || ((rle8 || rle4) && topDown))
        Corrupt(__LINE__);

    // Masks follow a 40-byte header and lie inside the longer ones.
    uint32_t masks[3] = { 0x7C00, 0x03E0, 0x001F };
    if (info.bitCount == 32)
        masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
    if (fields) {
        stream.CheckAvailable(12);
        for (uint32_t& mask : masks)
            mask = static_cast<uint32_t>(stream.ReadLong());
    }
    if (biSize > sizeofInfoHeader)
        stream.Seek(static_cast<int32_t>(start + 14 + biSize), Stream::kFromStart);

    TypedArray<Color> colors;
    if (info.bitCount <= 8) {
        uint32_t tableSize = 1u << info.bitCount;
        uint32_t used = info.colorsUsed ? info.colorsUsed : tableSize;
        if (used > tableSize)
            Corrupt(__LINE__);
        stream.CheckAvailable(4 * static_cast<uint64_t>(used));
        for (uint32_t index = 0; index < tableSize; ++index) {
            uint8_t entry[4] = {};
            if (index < used)
                stream.Read(entry, sizeof(entry));
            Color color;
            color.SetBytes(entry[2], entry[1], entry[0], useChromaKey && index == chromaKey ? 0xFF : 0);
            colors.Append(color);
        }
    }

    // The pixels start after the headers and colours and lie within the stream.
    uint64_t headerEnd = stream.GetMark() - start;
    uint64_t available = stream.GetLength() - start;
    if (bfOffBits < headerEnd || bfOffBits > available)
        Corrupt(__LINE__);
    uint64_t fileRowBytes = (static_cast<uint64_t>(info.width) * info.bitCount + 31) / 32 * 4;
    uint64_t lastRowBytes = (static_cast<uint64_t>(info.width) * info.bitCount + 7) / 8;
    if (!(rle8 || rle4) && fileRowBytes * (info.height - 1) + lastRowBytes > available - bfOffBits)
        Corrupt(__LINE__);

    SmartPtr<ColorTable> table(new ColorTable(colors));
    ValueMap map {};
    if (info.bitCount == 8) {
        SmartPtr<ColorTable> standard = ColorTable::Setup(8);
        map = MapToStandard(*table.Get(), *standard.Get());
        if (useChromaKey && chromaKey < 256)
            this->chromaKey = map.value[chromaKey];
        table = standard;
    }
    Allocate(info.width, info.height, table);
    stream.Seek(static_cast<int32_t>(start + bfOffBits), Stream::kFromStart);
    // The file's first row is the image's bottom row unless the rows run top-down.
    PixelIterator cursor(*this, GetBounds(), topDown);
    if (rle8 || rle4) {
        PieceReader data(stream, available - bfOffBits);
        DecodeRLE(data, cursor, info, rle4, map);
    } else if (info.bitCount == 16 || info.bitCount == 32) {
        Channel channels[3] = { Channel(masks[0]), Channel(masks[1]), Channel(masks[2]) };
        ReadPackedRows(stream, cursor, info, topDown, fileRowBytes, channels);
    } else {
        int32_t rowSpan = cursor.RowSpanBytes();
        for (int32_t row = 0; cursor.More(); cursor.NextRow(), ++row) {
            auto* pixels = static_cast<uint8_t*>(cursor.CurrentAddress());
            stream.Read(pixels, static_cast<uint32_t>(rowSpan));
            if (info.bitCount == 8)
                for (int32_t at = 0; at < rowSpan; ++at)
                    pixels[at] = map.value[pixels[at]];
            if (row + 1 < info.height && fileRowBytes > static_cast<uint64_t>(rowSpan))
                stream.Seek(static_cast<int32_t>(fileRowBytes - rowSpan), Stream::kFromMark);
        }
    }
}
