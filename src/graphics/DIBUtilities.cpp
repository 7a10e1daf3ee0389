#include "graphics/DIBUtilities.h"

#include "foundation/Checks.h"
#include "foundation/CorruptFile.h"
#include "foundation/Exception.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <utility>
#include <vector>

namespace {

constexpr uint32_t kInfoSize = sizeof(BITMAPINFOHEADER);
constexpr uint32_t kCoreSize = 12;
constexpr uint32_t kFileHeaderSize = 14;
// "BM", read as a little-endian word.
constexpr uint16_t kFileType = 0x4D42;
// The information headers that extend the 40-byte one: with masks, with an alpha mask, and the
// fourth and fifth versions. The bit-field masks follow the first 40 bytes in each.
constexpr uint32_t kLongerHeaders[] = { 52, 56, 108, 124 };
constexpr uint32_t kMaskBytes = 12;
// The most pixel bytes a DIB here may have, as for the program's own bitmaps.
constexpr uint64_t kMaxImageSize = uint64_t(1) << 28;

// Black, dark red, dark green, dark yellow, dark blue, dark magenta, dark cyan, light grey, dark
// grey, red, green, yellow, blue, magenta, cyan, white, as blue, green, red.
constexpr RGBQUAD kVGAColors[16] = { { 0, 0, 0, 0 }, { 0, 0, 0x80, 0 }, { 0, 0x80, 0, 0 }, { 0, 0x80, 0x80, 0 },
    { 0x80, 0, 0, 0 }, { 0x80, 0, 0x80, 0 }, { 0x80, 0x80, 0, 0 }, { 0xC0, 0xC0, 0xC0, 0 }, { 0x80, 0x80, 0x80, 0 },
    { 0, 0, 0xFF, 0 }, { 0, 0xFF, 0, 0 }, { 0, 0xFF, 0xFF, 0 }, { 0xFF, 0, 0, 0 }, { 0xFF, 0, 0xFF, 0 },
    { 0xFF, 0xFF, 0, 0 }, { 0xFF, 0xFF, 0xFF, 0 } };

uint16_t Word(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

uint32_t Long(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8
        | static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

HANDLE HandleOf(HFILE file)
{
    return reinterpret_cast<HANDLE>(static_cast<INT_PTR>(file));
}

// An open file read from its position, never past its end: reading or moving past it is the
// corrupt-file error.
class BoundedFile {
public:
    explicit BoundedFile(HFILE file)
        : file(file)
    {
        DWORD high = 0;
        DWORD low = GetFileSize(HandleOf(file), &high);
        CheckCall(low != INVALID_FILE_SIZE || GetLastError() == NO_ERROR, PW_HERE);
        size = high != 0 ? UINT32_MAX : low;
        DWORD at = SetFilePointer(HandleOf(file), 0, nullptr, FILE_CURRENT);
        CheckCall(at != INVALID_SET_FILE_POINTER, PW_HERE);
        position = std::min<uint64_t>(at, size);
    }

    uint64_t Position() const { return position; }
    uint64_t Left() const { return size - position; }
    uint64_t Size() const { return size; }

    void Read(void* into, uint32_t count)
    {
        if (count > Left())
            pw::foundation::ThrowCorruptFile(PW_HERE);
        if (_lread(file, into, count) != count)
            pw::foundation::ThrowCorruptFile(PW_HERE);
        position += count;
    }

    void Seek(uint64_t to)
    {
        if (to > size)
            pw::foundation::ThrowCorruptFile(PW_HERE);
        CheckCall(SetFilePointer(HandleOf(file), static_cast<LONG>(to), nullptr, FILE_BEGIN) == to, PW_HERE);
        position = to;
    }

private:
    HFILE file;
    uint64_t size { 0 };
    uint64_t position { 0 };
};

// The colours a header's table holds (biClrUsed, or all of a depth of 8 bits or less).
uint32_t NumColors(const BITMAPINFOHEADER& header)
{
    if (header.biClrUsed != 0)
        return header.biClrUsed;
    return header.biBitCount <= 8 ? 1u << header.biBitCount : 0;
}

// Bytes after the header before the rows: a bit-field DIB's masks, then its colours.
uint32_t TableBytes(const BITMAPINFOHEADER& header)
{
    return (header.biCompression == BI_BITFIELDS ? kMaskBytes : 0) + NumColors(header) * sizeof(RGBQUAD);
}

// Bytes of the rows of an uncompressed DIB: rows padded to 32 bits.
uint64_t RowsSize(const BITMAPINFOHEADER& header)
{
    uint64_t row = (static_cast<uint64_t>(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    int64_t height = header.biHeight;
    return row * static_cast<uint64_t>(height < 0 ? -height : height);
}

// Depth, compression, size and planes that some DIB has.
bool Plausible(const BITMAPINFOHEADER& header, bool core)
{
    uint16_t bits = header.biBitCount;
    bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 24 || (!core && (bits == 16 || bits == 32));
    if (!knownDepth || header.biPlanes != 1 || header.biWidth < 1 || header.biHeight == 0
        || header.biHeight == INT32_MIN)
        return false;
    switch (header.biCompression) {
    case BI_RGB:
        return true;
    case BI_RLE8:
        return bits == 8 && header.biHeight > 0;
    case BI_RLE4:
        return bits == 4 && header.biHeight > 0;
    case BI_BITFIELDS:
        return bits == 16 || bits == 32;
    default:
        return false;
    }
}

// Frees a global block unless it is handed on.
class BlockHolder {
public:
    explicit BlockHolder(HGLOBAL block)
        : block(block)
    {
    }
    ~BlockHolder()
    {
        if (block)
            GlobalFree(block);
    }
    BlockHolder(const BlockHolder&) = delete;
    BlockHolder& operator=(const BlockHolder&) = delete;

    HGLOBAL Get() const { return block; }
    void Reset(HGLOBAL other) { block = other; }
    HGLOBAL Release() { return std::exchange(block, nullptr); }

private:
    HGLOBAL block;
};

} // namespace

void ClearSystemPalette()
{
    std::vector<uint8_t> block(sizeof(LOGPALETTE) + 255 * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = 256;
    for (int index = 0; index < 256; ++index)
        logical->palPalEntry[index] = { 0, 0, 0, PC_NOCOLLAPSE };
    HDC screen = GetDC(nullptr);
    CheckNotNull(screen, PW_HERE);
    HPALETTE black = CreatePalette(logical);
    if (black) {
        HPALETTE previous = SelectPalette(screen, black, FALSE);
        RealizePalette(screen);
        if (previous)
            SelectPalette(screen, previous, FALSE);
        DeleteObject(black);
    }
    ReleaseDC(nullptr, screen);
    CheckNotNull(black, PW_HERE);
}

HGLOBAL ReadDIBInfo(HFILE file)
{
    BoundedFile in(file);
    uint64_t start = in.Position();
    uint32_t pixelOffset = 0;
    if (in.Left() >= kFileHeaderSize) {
        uint8_t fileHeader[kFileHeaderSize];
        in.Read(fileHeader, kFileHeaderSize);
        if (Word(fileHeader) == kFileType)
            pixelOffset = Long(fileHeader + 10);
        else
            in.Seek(start);
    }
    uint8_t bytes[124];
    in.Read(bytes, 4);
    uint32_t headerSize = Long(bytes);
    BITMAPINFOHEADER header {};
    bool core = headerSize == kCoreSize;
    bool longer = std::find(std::begin(kLongerHeaders), std::end(kLongerHeaders), headerSize) != std::end(kLongerHeaders);
    if (core) {
        in.Read(bytes + 4, kCoreSize - 4);
        header.biWidth = Word(bytes + 4);
        header.biHeight = Word(bytes + 6);
        header.biPlanes = Word(bytes + 8);
        header.biBitCount = Word(bytes + 10);
    } else if (headerSize == kInfoSize || longer) {
        in.Read(bytes + 4, headerSize - 4);
        header.biWidth = static_cast<LONG>(Long(bytes + 4));
        header.biHeight = static_cast<LONG>(Long(bytes + 8));
        header.biPlanes = Word(bytes + 12);
        header.biBitCount = Word(bytes + 14);
        header.biCompression = Long(bytes + 16);
        header.biSizeImage = Long(bytes + 20);
        header.biXPelsPerMeter = static_cast<LONG>(Long(bytes + 24));
        header.biYPelsPerMeter = static_cast<LONG>(Long(bytes + 28));
        header.biClrUsed = Long(bytes + 32);
        header.biClrImportant = Long(bytes + 36);
    } else {
        pw::foundation::ThrowCorruptFile(PW_HERE);
    }
    header.biSize = kInfoSize;
    if (!Plausible(header, core))
        pw::foundation::ThrowCorruptFile(PW_HERE);
    uint32_t limit = header.biBitCount <= 8 ? 1u << header.biBitCount : 256;
    if (header.biClrUsed > limit)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (header.biClrUsed == 0 && header.biBitCount <= 8)
        header.biClrUsed = 1u << header.biBitCount;

    std::vector<uint8_t> table(TableBytes(header));
    uint8_t* colors = table.data();
    if (header.biCompression == BI_BITFIELDS) {
        if (longer)
            std::memcpy(colors, bytes + kInfoSize, kMaskBytes);
        else
            in.Read(colors, kMaskBytes);
        colors += kMaskBytes;
    }
    if (core) {
        std::vector<uint8_t> triples(header.biClrUsed * 3);
        in.Read(triples.data(), static_cast<uint32_t>(triples.size()));
        for (uint32_t n = 0; n < header.biClrUsed; ++n)
            std::memcpy(colors + 4 * n, triples.data() + 3 * n, 3);
    } else {
        in.Read(colors, header.biClrUsed * 4);
    }

    // Uncompressed rows take exactly their padded size, whatever the header says beyond it;
    // compressed ones take what the header says, which nothing else can tell.
    bool compressed = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    uint64_t rows = RowsSize(header);
    if (rows > kMaxImageSize || header.biSizeImage > kMaxImageSize)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (compressed && header.biSizeImage == 0)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    if (!compressed) {
        if (header.biSizeImage != 0 && header.biSizeImage < rows)
            pw::foundation::ThrowCorruptFile(PW_HERE);
        header.biSizeImage = static_cast<DWORD>(rows);
    }
    if (pixelOffset != 0) {
        uint64_t pixels = start + pixelOffset;
        if (pixels < in.Position())
            pw::foundation::ThrowCorruptFile(PW_HERE);
        in.Seek(pixels);
    }
    if (header.biSizeImage > in.Left())
        pw::foundation::ThrowCorruptFile(PW_HERE);

    HGLOBAL block = GlobalAlloc(GHND, kInfoSize + table.size());
    CheckNotNull(block, PW_HERE);
    auto* out = static_cast<uint8_t*>(GlobalLock(block));
    std::memcpy(out, &header, kInfoSize);
    std::copy(table.begin(), table.end(), out + kInfoSize);
    GlobalUnlock(block);
    return block;
}

HGLOBAL OpenDIB(const char* fileName)
{
    OFSTRUCT opened {};
    HFILE file = OpenFile(fileName, &opened, OF_READ);
    if (file == HFILE_ERROR) {
        HRSRC found = FindResourceA(nullptr, fileName, RT_BITMAP);
        HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
        void* locked = loaded ? LockResource(loaded) : nullptr;
        // Nothing to open is the answer, not a failure to report later.
        SetLastError(0);
        return static_cast<HGLOBAL>(locked);
    }
    struct Closer {
        HFILE file;
        ~Closer() { _lclose(file); }
    } closer { file };
    BlockHolder dib(ReadDIBInfo(file));
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib.Get()));
    uint32_t tableBytes = TableBytes(*header);
    uint32_t imageSize = header->biSizeImage;
    GlobalUnlock(dib.Get());
    HGLOBAL grown = GlobalReAlloc(dib.Get(), kInfoSize + tableBytes + imageSize, GHND);
    if (!grown) {
        SetLastError(0);
        return nullptr;
    }
    dib.Reset(grown);
    auto* bytes = static_cast<uint8_t*>(GlobalLock(dib.Get()));
    LONG read = _hread(file, bytes + kInfoSize + tableBytes, static_cast<LONG>(imageSize));
    GlobalUnlock(dib.Get());
    if (read != static_cast<LONG>(imageSize))
        pw::foundation::ThrowCorruptFile(PW_HERE);
    return dib.Release();
}

bool SetDIBUsage(HGLOBAL dib, HPALETTE palette, UINT usage)
{
    SIZE_T size = GlobalSize(dib);
    if (size < kInfoSize)
        return false;
    auto* bytes = static_cast<uint8_t*>(GlobalLock(dib));
    if (!bytes)
        return false;
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(bytes);
    uint32_t count = std::min<uint32_t>(NumColors(*header), 256);
    uint32_t entryBytes = usage == DIB_PAL_COLORS ? sizeof(WORD) : sizeof(RGBQUAD);
    bool fits = header->biSize == kInfoSize && size >= kInfoSize + count * entryBytes;
    if (fits && header->biCompression != BI_BITFIELDS && count > 0) {
        uint8_t* table = bytes + kInfoSize;
        if (usage == DIB_PAL_COLORS) {
            for (uint32_t n = 0; n < count; ++n) {
                table[2 * n] = static_cast<uint8_t>(n);
                table[2 * n + 1] = static_cast<uint8_t>(n >> 8);
            }
        } else {
            std::vector<PALETTEENTRY> entries(count, PALETTEENTRY { 0, 0, 0, 0 });
            HPALETTE from = palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
            GetPaletteEntries(from, 0, count, entries.data());
            for (uint32_t n = 0; n < count; ++n) {
                RGBQUAD color { entries[n].peBlue, entries[n].peGreen, entries[n].peRed, 0 };
                std::memcpy(table + 4 * n, &color, sizeof color);
            }
        }
    }
    GlobalUnlock(dib);
    return fits;
}

HGLOBAL CreateDIB(uint16_t bitCount, int32_t width, int32_t height)
{
    bool knownDepth = bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24
        || bitCount == 32;
    if (!knownDepth)
        AssertionFailed("bitCount == 1 || 4 || 8 || 16 || 24 || 32", PW_HERE);
    if (width < 1 || height < 1)
        AssertionFailed("width > 0 && height > 0", PW_HERE);
    BITMAPINFOHEADER header {};
    header.biSize = kInfoSize;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = bitCount;
    header.biCompression = BI_RGB;
    uint64_t rows = RowsSize(header);
    if (rows > kMaxImageSize)
        return nullptr;
    header.biSizeImage = static_cast<DWORD>(rows);
    header.biClrUsed = bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
    constexpr uint32_t kTableBytes = 256 * sizeof(RGBQUAD);
    HGLOBAL block = GlobalAlloc(GHND, kInfoSize + kTableBytes + rows);
    if (!block) {
        SetLastError(0);
        return nullptr;
    }
    auto* bytes = static_cast<uint8_t*>(GlobalLock(block));
    std::memcpy(bytes, &header, kInfoSize);
    for (uint32_t n = 0; n < 256; ++n)
        std::memcpy(bytes + kInfoSize + 4 * n, &kVGAColors[n % 16], sizeof(RGBQUAD));
    GlobalUnlock(block);
    return block;
}
