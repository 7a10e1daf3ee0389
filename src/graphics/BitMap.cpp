#include "graphics/BitMap.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/Exception.h"
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

#include <vector>

namespace {

Persistent* ReadBitMap(Archive& archive)
{
    ArchiveScope scope(archive, BitMap::version);
    return new BitMap(scope);
}

constexpr pw::foundation::ConversionEntry kBitMapConversions[] = {
    { &Image::classInfo, &ConvertToBitMap, nullptr },
    { nullptr, nullptr, nullptr },
};

} // namespace

PW_DEFINE_CLASS(BitMap, nullptr, kBitMapConversions, Image, SmartImplementation)
PW_DEFINE_COPY_SLOTS(BitMap)

constinit const PersistentVersion BitMap::version { &BitMap::classInfo, Fixed(1, 0), Fixed(1, 1), &ReadBitMap };

// Bitmaps of the 16-bit platform's kinds have no pixel block the program can write to, so the
// table's depth decides the depth the pixels are held at.
BitMap::BitMap(HBITMAP bitmap, bool useChromaKey, uint32_t chromaKey)
    : chromaKey(chromaKey)
    , useChromaKey(useChromaKey)
{
    BITMAP description {};
    CheckNonZero(static_cast<uintptr_t>(GetObjectA(bitmap, sizeof(description), &description)), PW_HERE);
    colorTable = ColorTable::Setup(static_cast<int16_t>(description.bmBitsPixel));
    osBitMap = NewOSBitMap(bitmap, colorTable->GetPalette(), colorTable->BitDepth());
    CheckNotNull(osBitMap.Get(), PW_HERE);
    Unlock();
}

BitMap::BitMap(int32_t width, int32_t height, const SmartPtr<ColorTable>& table, const Color& keyColor,
    bool useChromaKey)
    : useChromaKey(useChromaKey)
{
    if (useChromaKey)
        this->useChromaKey = table->Convert(keyColor, chromaKey);
    Allocate(width, height, table);
    Unlock();
}

BitMap::BitMap(const BitMap& other)
    : Smart()
    , Image(other)
    , SmartImplementation(other)
    , colorTable(other.colorTable)
    , chromaKey(other.chromaKey)
    , useChromaKey(other.useChromaKey)
{
    Point size = other.osBitMap->GetSize();
    Allocate(size.h, size.v, colorTable);
    if (osBitMap->GetClassInfo() == other.osBitMap->GetClassInfo()) {
        std::vector<uint8_t> pixels(osBitMap->GetByteSize());
        other.osBitMap->GetBits(pixels.data(), static_cast<uint32_t>(pixels.size()));
        osBitMap->SetBits(pixels.data(), static_cast<uint32_t>(pixels.size()));
    } else {
        // The platform kind changed since the other was made: the layouts differ.
        BitMap& source = const_cast<BitMap&>(other);
        PixelIterator from(source, source.GetBounds(), true);
        PixelIterator to(*this, GetBounds(), true);
        for (; from.More(); from.Next(), to.Next())
            to.SetPixel(from.GetPixel());
    }
    Unlock();
}

BitMap::~BitMap() = default;

BitMap& BitMap::operator=(const BitMap& other)
{
    if (this == &other)
        return *this;
    Image::operator=(other);
    colorTable = other.colorTable;
    chromaKey = other.chromaKey;
    useChromaKey = other.useChromaKey;
    patternBuffer = other.patternBuffer;
    osBitMap = other.osBitMap;
    return *this;
}

Rect BitMap::GetBounds()
{
    Point size = osBitMap->GetSize();
    return Rect(0, 0, size.h, size.v);
}

SmartPtr<Area> BitMap::GetColorArea(const Color&)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return SmartPtr<Area>(new Area(Area::EmptyArea()));
}

void BitMap::SetChromaKey(uint32_t value)
{
    if (!useChromaKey)
        AssertionFailed("useChromaKey == true", PW_HERE);
    chromaKey = value;
}

uint32_t BitMap::GetObjectSize()
{
    Point size = osBitMap.Valid() ? osBitMap->GetSize() : Point(0, 0);
    uint32_t depth = colorTable.Valid() ? static_cast<uint32_t>(colorTable->BitDepth()) : 0;
    return SmartImplementation::GetObjectSize()
        + ((static_cast<uint32_t>(size.h) * static_cast<uint32_t>(size.v) * depth) >> 3);
}

void BitMap::Allocate(int32_t width, int32_t height, const SmartPtr<ColorTable>& table)
{
    SmartPtr<OSBitMap> pixels = MakeOSBitMap(table->BitDepth());
    CheckNotNull(pixels.Get(), PW_HERE);
    pixels->Initialize(width, height, table->BitDepth(), table->GetPalette());
    osBitMap = pixels;
    colorTable = table;
}

int16_t BitMap::GetBitDepth() const
{
    return osBitMap->GetBitDepth();
}

HDC BitMap::GetDC()
{
    return osBitMap->GetDC();
}

void BitMap::ReleaseDC(HDC dc)
{
    osBitMap->ReleaseDC(dc);
}

bool BitMap::Lock()
{
    ++lockCount;
    return true;
}

void BitMap::Unlock()
{
    if (lockCount > 0)
        --lockCount;
}

Color BitMap::GetColorOfValue(uint32_t value) const
{
    uint32_t count = colorTable->NumColors();
    if (count != 0 && value >= count)
        return Color();
    return colorTable->GetColor(value);
}

uint32_t BitMap::GetPixelValue(int32_t x, int32_t y)
{
    PixelIterator cursor(*this, GetBounds(), true);
    cursor.MoveTo(x, y);
    return cursor.GetPixel();
}

Pattern BitMap::GetPattern()
{
    Pattern pattern;
    PixelIterator cursor(*this, 0, 0, Pattern::kRows, Pattern::kRows, true);
    for (; cursor.More(); cursor.Next()) {
        Point at = cursor.GetPosition();
        if (cursor.GetPixel() != 0)
            pattern.rows[at.v] = static_cast<uint8_t>(pattern.rows[at.v] | (0x80 >> at.h));
    }
    return pattern;
}
