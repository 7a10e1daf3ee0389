#include "platform/gdi/Surface.h"

namespace pw::platform::gdi {

namespace {

// A 5-bit component widened to 8 bits with its high bits repeated, so 31 is full intensity.
uint8_t Widen5(uint32_t c)
{
    return static_cast<uint8_t>((c << 3) | (c >> 2));
}

template <typename Entry>
int Nearest(std::span<const Entry> entries, COLORREF color, auto red, auto green, auto blue)
{
    int best = -1;
    int bestDistance = 0;
    int r = GetRValue(color);
    int g = GetGValue(color);
    int b = GetBValue(color);
    for (size_t i = 0; i < entries.size(); ++i) {
        int dr = red(entries[i]) - r;
        int dg = green(entries[i]) - g;
        int db = blue(entries[i]) - b;
        int distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < bestDistance) {
            best = static_cast<int>(i);
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best;
}

} // namespace

uint32_t Surface::ValueMask() const
{
    switch (depth) {
    case 16:
        return 0x7FFF;
    case 24:
    case 32:
        return 0xFFFFFF;
    default:
        return (1u << depth) - 1;
    }
}

uint32_t Surface::Get(int x, int y) const
{
    const uint8_t* row = Row(y);
    switch (depth) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 2:
        return (row[x >> 2] >> (6 - 2 * (x & 3))) & 3;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    case 8:
        return row[x];
    case 16:
        return static_cast<uint32_t>(row[2 * x] | (row[2 * x + 1] << 8));
    case 24:
        return static_cast<uint32_t>(row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16));
    case 32:
        return static_cast<uint32_t>(row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16));
    default:
        return 0;
    }
}

void Surface::Set(int x, int y, uint32_t value) const
{
    uint8_t* row = Row(y);
    switch (depth) {
    case 1: {
        uint8_t bit = static_cast<uint8_t>(0x80 >> (x & 7));
        row[x >> 3] = static_cast<uint8_t>((value & 1) ? (row[x >> 3] | bit) : (row[x >> 3] & ~bit));
        break;
    }
    case 2: {
        int shift = 6 - 2 * (x & 3);
        row[x >> 2] = static_cast<uint8_t>((row[x >> 2] & ~(3 << shift)) | ((value & 3) << shift));
        break;
    }
    case 4: {
        int shift = (x & 1) ? 0 : 4;
        row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(15 << shift)) | ((value & 15) << shift));
        break;
    }
    case 8:
        row[x] = static_cast<uint8_t>(value);
        break;
    case 16:
        row[2 * x] = static_cast<uint8_t>(value);
        row[2 * x + 1] = static_cast<uint8_t>((value >> 8) & 0x7F);
        break;
    case 24:
        row[3 * x] = static_cast<uint8_t>(value);
        row[3 * x + 1] = static_cast<uint8_t>(value >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(value >> 16);
        break;
    case 32:
        row[4 * x] = static_cast<uint8_t>(value);
        row[4 * x + 1] = static_cast<uint8_t>(value >> 8);
        row[4 * x + 2] = static_cast<uint8_t>(value >> 16);
        row[4 * x + 3] = 0;
        break;
    default:
        break;
    }
}

COLORREF Surface::ColorOf(uint32_t value) const
{
    if (depth <= 8)
        return value < table.size() ? ColorOfQuad(table[value]) : RGB(0, 0, 0);
    if (depth == 16)
        return RGB(Widen5((value >> 10) & 31), Widen5((value >> 5) & 31), Widen5(value & 31));
    return RGB((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

uint32_t Surface::ValueOf(COLORREF color) const
{
    if (depth <= 8) {
        int index = NearestIndex(table, color);
        return index < 0 ? 0 : static_cast<uint32_t>(index);
    }
    uint32_t r = GetRValue(color);
    uint32_t g = GetGValue(color);
    uint32_t b = GetBValue(color);
    if (depth == 16)
        return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
    return (r << 16) | (g << 8) | b;
}

size_t RowBytes(int width, int depth, int alignBytes)
{
    size_t bits = static_cast<size_t>(width) * static_cast<size_t>(depth);
    size_t alignBits = static_cast<size_t>(alignBytes) * 8;
    return (bits + alignBits - 1) / alignBits * static_cast<size_t>(alignBytes);
}

int NearestIndex(std::span<const RGBQUAD> table, COLORREF color)
{
    return Nearest(
        table, color, [](const RGBQUAD& q) { return int(q.rgbRed); }, [](const RGBQUAD& q) { return int(q.rgbGreen); },
        [](const RGBQUAD& q) { return int(q.rgbBlue); });
}

int NearestIndex(std::span<const PALETTEENTRY> entries, COLORREF color)
{
    return Nearest(
        entries, color, [](const PALETTEENTRY& e) { return int(e.peRed); },
        [](const PALETTEENTRY& e) { return int(e.peGreen); }, [](const PALETTEENTRY& e) { return int(e.peBlue); });
}

uint32_t ValueCache::ValueOf(COLORREF color)
{
    if (!surface.IsIndexed())
        return surface.ValueOf(color);
    auto [it, added] = values.try_emplace(color & 0xFFFFFF, 0);
    if (added)
        it->second = surface.ValueOf(color);
    return it->second;
}

} // namespace pw::platform::gdi
