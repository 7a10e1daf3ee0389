#include "graphics/ColorTable.h"

#include "foundation/Alert.h"
#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "foundation/File.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/FourCharCode.h"
#include "foundation/Resources.h"
#include "foundation/Stream.h"
#include "foundation/String.h"
#include "graphics/WinVersion.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int kPaletteSize = 256;
// The translations a table keeps; the oldest goes first.
constexpr size_t kTranslationsKept = 8;
// The display's own colours stay at 0..9 and 246..255; the file supplies the rest.
constexpr int kFirstFileEntry = 10;
constexpr int kLastFileEntry = 245;
// The texts of the two display checks in the string table.
constexpr int32_t kExactly256Colors = 5100;
constexpr int32_t kAtLeast256Colors = 5101;

const FileType paletteFileType("Color Palette", 0, pw::foundation::FourCharCode("pal "));

// The unit's palettes and the table cache: entry i of `tables` was made for osTables[i].
struct Shared {
    HPALETTE standard { nullptr };
    HPALETTE twin { nullptr };
    HPALETTE monochrome { nullptr };
    TypedArray<HPALETTE> osTables;
    std::vector<SmartPtr<ColorTable>> tables;
};

// Lives for the whole run: its palettes are the platform's until the process ends.
Shared& SharedState()
{
    static Shared* shared = new Shared;
    return *shared;
}

Persistent* ReadColorTable(Archive& archive)
{
    ArchiveScope scope(archive, ColorTable::version);
    return new ColorTable(scope);
}

[[noreturn]] void ThrowCorrupt()
{
    char text[kMessageSize];
    ComposeMessage(text, 63, nullptr, nullptr, nullptr, nullptr);
    ThrowError(text, PW_HERE);
}

HPALETTE NewPalette(const PALETTEENTRY* entries, int count)
{
    size_t bytes = sizeof(LOGPALETTE) + sizeof(PALETTEENTRY) * (count > 1 ? count - 1 : 0);
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes]());
    auto* logical = reinterpret_cast<LOGPALETTE*>(block.get());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(count);
    std::memcpy(logical->palPalEntry, entries, sizeof(PALETTEENTRY) * count);
    HPALETTE palette = CreatePalette(logical);
    CheckNotNull(palette, PW_HERE);
    return palette;
}

[[noreturn]] void RefuseDisplay(int32_t textId)
{
    char text[kMessageSize];
    Resources(textId, textId).GetString(text, 0, nullptr, nullptr, nullptr, nullptr);
    Alert(Alert::kStop, Alert::kOk, text);
    ExitProcess(0);
}

// The program needs a palette display of 256 colours; on any other it says so and ends.
void CheckDisplay(UINT systemEntries)
{
    if (IsWin31Only()) {
        HDC screen = GetDC(nullptr);
        CheckNotNull(screen, PW_HERE);
        int bits = GetDeviceCaps(screen, BITSPIXEL);
        ReleaseDC(nullptr, screen);
        if (bits != 8)
            RefuseDisplay(kExactly256Colors);
    }
    if (systemEntries != kPaletteSize)
        RefuseDisplay(kAtLeast256Colors);
}

void ReadStandardPaletteFile(PALETTEENTRY (&entries)[kPaletteSize])
{
    FileReference startup = FileReference::StartupFolder();
    SmartPtr<FileReference> data = FileReference::FileReferenceInFolder(startup, String("Data"), false);
    SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
        paletteFileType, FileCreatorType::Unknown(), *data.Get(), String("standard"), false);
    SmartPtr<File> stream = new File(*file.Get(), File::kRead);
    pw::graphics::ReadPaletteFile(*stream.Get(), entries);
}

// Nothing is kept when a step fails, so the next request starts again.
void BuildStandardPalette(Shared& shared)
{
    PALETTEENTRY entries[kPaletteSize] = {};
    HDC screen = GetDC(nullptr);
    CheckNotNull(screen, PW_HERE);
    UINT count = GetSystemPaletteEntries(screen, 0, kPaletteSize, entries);
    ReleaseDC(nullptr, screen);
    CheckDisplay(count);

    PALETTEENTRY fileEntries[kPaletteSize] = {};
    ReadStandardPaletteFile(fileEntries);
    for (int index = 0; index < kPaletteSize; ++index)
        entries[index].peFlags = 0;
    for (int index = kFirstFileEntry; index <= kLastFileEntry; ++index) {
        entries[index].peRed = fileEntries[index].peRed;
        entries[index].peGreen = fileEntries[index].peGreen;
        entries[index].peBlue = fileEntries[index].peBlue;
        entries[index].peFlags = PC_RESERVED;
    }
    HPALETTE standard = NewPalette(entries, kPaletteSize);
    try {
        shared.twin = NewPalette(entries, kPaletteSize);
    } catch (...) {
        DeleteObject(standard);
        throw;
    }
    shared.standard = standard;
}

// The high byte of each component, which is all that Color::Equals compares.
uint32_t EqualityKey(const Color& color)
{
    return uint32_t(color.red >> 8) << 24 | uint32_t(color.green >> 8) << 16 | uint32_t(color.blue >> 8) << 8
        | uint32_t(color.extra >> 8);
}

// Setup's rule: none above 16, the monochrome palette for 1, the standard palette otherwise.
HPALETTE PaletteForDepth(int16_t depth)
{
    if (depth > 16)
        return nullptr;
    Shared& shared = SharedState();
    if (!shared.monochrome) {
        PALETTEENTRY blackAndWhite[2] = { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } };
        shared.monochrome = NewPalette(blackAndWhite, 2);
    }
    if (!shared.standard)
        BuildStandardPalette(shared);
    return depth == 1 ? shared.monochrome : shared.standard;
}

// Indexed depths need at least one entry and no more than their values can address.
bool Fits(int16_t depth, uint32_t count)
{
    switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
        return count >= 1 && count <= (1u << depth);
    case 16:
    case 24:
        return true;
    default:
        return false;
    }
}

uint32_t LittleEndianLong(const uint8_t* bytes)
{
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

int ComponentWidth(int16_t depth)
{
    return depth == 16 ? 5 : 8;
}

} // namespace

PW_DEFINE_CLASS(ColorTable, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(ColorTable)

constinit const PersistentVersion ColorTable::version { &ColorTable::classInfo, Fixed(1, 0), Fixed(1, 2),
    &ReadColorTable };

SmartPtr<ColorTable> ColorTable::Setup(int16_t depth)
{
    HPALETTE palette = PaletteForDepth(depth);
    Shared& shared = SharedState();
    uint32_t numStored = static_cast<uint32_t>(shared.tables.size());
    ASSERT(numStored == shared.osTables.NumItems());
    for (uint32_t index = 1; index <= numStored; ++index) {
        if (shared.osTables[index] == palette)
            return shared.tables[index - 1];
    }
    SmartPtr<ColorTable> table = new ColorTable(palette);
    shared.osTables.Append(palette);
    shared.tables.push_back(table);
    return table;
}

HPALETTE ColorTable::GetStandardPalette()
{
    Setup(8);
    return SharedState().standard;
}

HPALETTE ColorTable::GetStandardPaletteTwin()
{
    Setup(8);
    return SharedState().twin;
}

int16_t ColorTable::DepthForCount(uint32_t count)
{
    int16_t depth = 1;
    while ((uint64_t(1) << depth) < count)
        depth = static_cast<int16_t>(depth * 2);
    return depth;
}

void ColorTable::ReleaseShared()
{
    Shared& shared = SharedState();
    shared.tables.clear();
    shared.osTables.DeleteAll();
    for (HPALETTE* palette : { &shared.standard, &shared.twin, &shared.monochrome }) {
        if (*palette)
            DeleteObject(*palette);
        *palette = nullptr;
    }
}

ColorTable::ColorTable(const TypedArray<Color>& colors)
    : colors(colors)
    , depth(colors.NumItems() ? DepthForCount(colors.NumItems()) : 24)
{
    Renumber();
    MakePalette();
}

ColorTable::ColorTable(HPALETTE palette)
{
    Renumber();
    ReadEntries(palette);
}

ColorTable::ColorTable(int16_t depth)
{
    Renumber();
    ReadEntries(PaletteForDepth(depth));
}

// Counts are bounded by the bytes left; a depth that is not one of the six, or an entry count
// its indexed depth cannot hold, is refused. Tables stored before 1.2 without entries were
// direct-colour tables. A version this program cannot read leaves an empty direct table.
ColorTable::ColorTable(ArchiveScope& scope)
{
    Renumber();
    if (scope.IsSkipped())
        return;
    Stream& stream = scope.GetStream();
    uint32_t count = static_cast<uint32_t>(stream.ReadLong());
    stream.CheckAvailable(static_cast<uint64_t>(count) * 8);
    colors.InsertItems(nullptr, 0, count);
    for (uint32_t index = 1; index <= count; ++index)
        colors[index].FromStream(stream);
    if (scope.GetVersion() >= Fixed(1, 2))
        depth = stream.ReadShort();
    else
        depth = count ? DepthForCount(count) : 24;
    if (!Fits(depth, count))
        ThrowCorrupt();
    MakePalette();
}

ColorTable::ColorTable(const ColorTable& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , colors(other.colors)
    , depth(other.depth)
    , palette(other.palette)
{
    Renumber();
    Exception::Warn(kNotImplemented, PW_HERE);
    if (other.ownsPalette)
        MakePalette();
}

ColorTable& ColorTable::operator=(const ColorTable& other)
{
    if (this == &other)
        return *this;
    DeletePalette();
    colors = other.colors;
    depth = other.depth;
    palette = other.palette;
    Renumber();
    if (other.ownsPalette)
        MakePalette();
    return *this;
}

ColorTable::~ColorTable()
{
    if (ownsPalette && palette)
        DeleteObject(palette);
}

Color ColorTable::GetColor(uint32_t index) const
{
    if (colors.NumItems())
        return colors[index + 1];
    int width = ComponentWidth(depth);
    uint32_t mask = (1u << width) - 1;
    int shift = 16 - width;
    Color color;
    color.SetComponents(static_cast<uint16_t>(((index >> (2 * width)) & mask) << shift),
        static_cast<uint16_t>(((index >> width) & mask) << shift), static_cast<uint16_t>((index & mask) << shift), 0);
    return color;
}

bool ColorTable::Convert(const Color& color, uint32_t& value) const
{
    if (depth <= 8) {
        if (indexes.empty()) {
            // Inserting in order keeps the first of equal entries.
            for (uint32_t index = 1; index <= colors.NumItems(); ++index)
                indexes.emplace(EqualityKey(colors[index]), index - 1);
        }
        auto found = indexes.find(EqualityKey(color));
        value = found == indexes.end() ? colors.NumItems() : found->second;
        return found != indexes.end();
    }
    int width = ComponentWidth(depth);
    int shift = 16 - width;
    value = 0;
    for (uint16_t component : { color.red, color.green, color.blue })
        value = (value << width) + (component >> shift);
    return true;
}

bool ColorTable::Equals(const ColorTable& other) const
{
    return depth == other.depth && colors.Equals(other.colors);
}

void ColorTable::Renumber()
{
    static uint64_t next = 0;
    serial = ++next;
    translations.clear();
    indexes.clear();
}

// Tables seldom meet more than a few others, so the cache is a short list searched in order.
const uint32_t* ColorTable::TranslationTo(const ColorTable& destination) const
{
    for (const Translation& translation : translations) {
        if (translation.destination == destination.serial)
            return translation.values.data();
    }
    std::vector<uint32_t> values(256);
    for (uint32_t value = 0; value < values.size(); ++value) {
        Color color = value < colors.NumItems() ? colors[value + 1] : Color();
        if (destination.depth < 16) {
            values[value] = GetNearestPaletteIndex(
                destination.palette, RGB(color.red >> 8, color.green >> 8, color.blue >> 8));
        } else {
            destination.Convert(color, values[value]);
        }
    }
    if (translations.size() >= kTranslationsKept)
        translations.erase(translations.begin());
    translations.push_back({ destination.serial, std::move(values) });
    return translations.back().values.data();
}

void ColorTable::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteLong(static_cast<int32_t>(colors.NumItems()));
    for (uint32_t index = 1; index <= colors.NumItems(); ++index)
        colors[index].ToStream(stream);
    stream.WriteShort(depth);
}

void ColorTable::ReadEntries(HPALETTE source)
{
    palette = source;
    ownsPalette = false;
    colors.DeleteAll();
    if (!source) {
        depth = 24;
        return;
    }
    PALETTEENTRY entries[kPaletteSize];
    UINT count = GetPaletteEntries(source, 0, kPaletteSize, entries);
    CheckNonZero(count, PW_HERE);
    depth = DepthForCount(count);
    for (UINT index = 0; index < count; ++index) {
        Color color;
        color.SetBytes(entries[index].peRed, entries[index].peGreen, entries[index].peBlue, 0);
        colors.Append(color);
    }
}

// One palette entry per value of the depth; values past the table's entries are black.
void ColorTable::MakePalette()
{
    palette = nullptr;
    ownsPalette = false;
    if (depth >= 16)
        return;
    int count = 1 << depth;
    std::vector<PALETTEENTRY> entries(count, PALETTEENTRY { 0, 0, 0, 0 });
    for (int index = 0; index < count && static_cast<uint32_t>(index) < colors.NumItems(); ++index) {
        const Color& color = colors[index + 1];
        entries[index] = { static_cast<BYTE>(color.red >> 8), static_cast<BYTE>(color.green >> 8),
            static_cast<BYTE>(color.blue >> 8), 0 };
    }
    palette = NewPalette(entries.data(), count);
    ownsPalette = true;
}

void ColorTable::DeletePalette()
{
    if (ownsPalette && palette)
        DeleteObject(palette);
    palette = nullptr;
    ownsPalette = false;
}

void pw::graphics::ReadPaletteFile(Stream& stream, PALETTEENTRY (&entries)[256])
{
    uint8_t fileHeader[14];
    stream.Read(fileHeader, sizeof fileHeader);
    CheckCall(fileHeader[0] == 'B' && fileHeader[1] == 'M', PW_HERE);
    uint8_t infoHeader[40];
    stream.Read(infoHeader, sizeof infoHeader);
    CheckCall(LittleEndianLong(infoHeader) == 40, PW_HERE);
    uint8_t table[kPaletteSize * 4];
    stream.Read(table, sizeof table);
    for (int index = 0; index < kPaletteSize; ++index) {
        const uint8_t* quad = table + 4 * index;
        entries[index] = { quad[2], quad[1], quad[0], 0 };
    }
}
