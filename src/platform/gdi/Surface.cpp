#include "platform/gdi/Surface.h"

#include <algorithm>
#include <cstring>

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
    if (depth <= 8)
        return TableMemo::Nearest(table, color);
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

bool SameColors(std::span<const RGBQUAD> a, std::span<const RGBQUAD> b)
{
    if (a.size() != b.size())
        return false;
    if (a.empty() || a.data() == b.data() || std::memcmp(a.data(), b.data(), a.size_bytes()) == 0)
        return true;
    for (size_t i = 0; i < a.size(); ++i) {
        uint32_t p;
        uint32_t q;
        std::memcpy(&p, &a[i], 4);
        std::memcpy(&q, &b[i], 4);
        if (((p ^ q) & 0x00FFFFFF) != 0)
            return false;
    }
    return true;
}

namespace {

// A colour table the memo knows, with its answers. `serial` names it in other tables'
// translations, which outlive no table they were made for.
struct KnownTable {
    uint64_t serial = 0;
    std::vector<RGBQUAD> colors;
    std::unordered_map<COLORREF, uint32_t> nearest;
    struct Translation {
        int sourceDepth;
        int destDepth;
        uint64_t destSerial;
        std::shared_ptr<const ValueTable> table;
    };
    std::vector<Translation> translations;
};

constexpr size_t kTablesKept = 16;
constexpr size_t kTranslationsKept = 8;


// The known table with these colours, most recently used first; made when none is.
KnownTable& Know(std::span<const RGBQUAD> colors)
{
    static std::vector<std::unique_ptr<KnownTable>> known;
    static uint64_t serials = 0;
    for (size_t i = 0; i < known.size(); ++i) {
        if (SameColors(known[i]->colors, colors)) {
            std::rotate(known.begin(), known.begin() + static_cast<ptrdiff_t>(i), known.begin() + static_cast<ptrdiff_t>(i) + 1);
            return *known.front();
        }
    }
    if (known.size() >= kTablesKept)
        known.pop_back();
    auto table = std::make_unique<KnownTable>();
    table->serial = ++serials;
    table->colors.assign(colors.begin(), colors.end());
    known.insert(known.begin(), std::move(table));
    return *known.front();
}

uint32_t NearestIn(KnownTable& table, COLORREF color)
{
    auto [it, added] = table.nearest.try_emplace(color & 0xFFFFFF, 0);
    if (added) {
        int index = NearestIndex(std::span<const RGBQUAD>(table.colors), color);
        it->second = index < 0 ? 0 : static_cast<uint32_t>(index);
    }
    return it->second;
}

} // namespace

uint32_t TableMemo::Nearest(std::span<const RGBQUAD> table, COLORREF color)
{
    if (table.empty())
        return 0;
    return NearestIn(Know(table), color);
}

std::shared_ptr<const ValueTable> TableMemo::Translation(const Surface& source, const Surface& dest)
{
    KnownTable* destTable = dest.IsIndexed() ? &Know(dest.table) : nullptr;
    uint64_t destSerial = destTable ? destTable->serial : 0;
    KnownTable& sourceTable = Know(source.table);
    for (const KnownTable::Translation& known : sourceTable.translations) {
        if (known.sourceDepth == source.depth && known.destDepth == dest.depth && known.destSerial == destSerial)
            return known.table;
    }
    auto made = std::make_shared<ValueTable>();
    made->identity = destTable == &sourceTable && dest.IsIndexed();
    size_t count = size_t(1) << source.depth;
    made->values.resize(count);
    for (size_t v = 0; v < count; ++v) {
        if (made->identity)
            made->values[v] = static_cast<uint32_t>(v);
        else if (destTable)
            made->values[v] = NearestIn(*destTable, source.ColorOf(static_cast<uint32_t>(v)));
        else
            made->values[v] = dest.ValueOf(source.ColorOf(static_cast<uint32_t>(v)));
    }
    if (sourceTable.translations.size() >= kTranslationsKept)
        sourceTable.translations.erase(sourceTable.translations.begin());
    sourceTable.translations.push_back({ source.depth, dest.depth, destSerial, made });
    return made;
}

} // namespace pw::platform::gdi
