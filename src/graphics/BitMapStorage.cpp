// The stored form of a BitMap: depth, bounds, colour table, key, and the rows top first.
#include "graphics/BitMap.h"

#include "foundation/ArchiveScope.h"
#include "foundation/CorruptFile.h"
#include "foundation/Stream.h"
#include "graphics/ColorTable.h"
#include "graphics/OSBitMap.h"
#include "graphics/OffScreen.h"
#include "graphics/PixelIterator.h"

BitMap::BitMap(ArchiveScope& scope)
{
    ReadStored(scope);
    Unlock();
}

void BitMap::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    Rect bounds = GetBounds();
    stream.WriteShort(GetBitDepth());
    stream.WriteRect(bounds.left, bounds.top, bounds.right, bounds.bottom);
    scope.WriteObject(colorTable.Get());
    stream.WriteLong(static_cast<int32_t>(chromaKey));
    stream.WriteBool(useChromaKey);
    PixelIterator cursor(*this, bounds, true);
    int32_t rowLength = cursor.RowSpanBytes();
    stream.WriteLong(rowLength);
    for (; cursor.More(); cursor.NextRow())
        stream.Write(cursor.CurrentAddress(), static_cast<uint32_t>(rowLength));
}

// Nothing read is trusted: the bounds start at the origin and hold a bounded number of pixels,
// the stored depth is the table's, each row is exactly as long as the bitmap's and every row is
// there. A skipped object reads as one blank pixel.
void BitMap::ReadStored(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    int16_t storedDepth = stream.ReadShort();
    Rect bounds = stream.ReadRect();
    SmartPtr<Persistent> object(scope.ReadObject());
    SmartPtr<ColorTable> table(SmartCast<ColorTable>(object.Get()));
    if (scope.GetVersion() > Fixed(1, 0)) {
        chromaKey = static_cast<uint32_t>(stream.ReadLong());
        useChromaKey = stream.ReadBool() != 0;
    }
    if (scope.IsSkipped()) {
        Allocate(1, 1, ColorTable::Setup(8));
        return;
    }
    if (!table.Valid() || bounds.left != 0 || bounds.top != 0 || bounds.right < 1 || bounds.bottom < 1
        || static_cast<uint64_t>(bounds.right) * static_cast<uint64_t>(bounds.bottom) > kMaxPixels
        || storedDepth != table->BitDepth())
        pw::foundation::ThrowCorruptFile(PW_HERE);
    int32_t rowLength = stream.ReadLong();
    int64_t expected = ((static_cast<int64_t>(storedDepth) * bounds.right - 1) >> 3) + 1;
    if (rowLength != expected)
        pw::foundation::ThrowCorruptFile(PW_HERE);
    stream.CheckAvailable(static_cast<uint64_t>(rowLength) * static_cast<uint64_t>(bounds.bottom));

    Allocate(bounds.right, bounds.bottom, table);
    {
        PixelIterator cursor(*this, GetBounds(), true);
        for (; cursor.More(); cursor.NextRow())
            stream.Read(cursor.CurrentAddress(), static_cast<uint32_t>(rowLength));
    }
    RemapToStandard();
}

// The pixels are re-mapped only when the table differs from the standard one, so equal tables
// keep their indexes; the key follows its colour.
void BitMap::RemapToStandard()
{
    if (GetBitDepth() != 8)
        return;
    SmartPtr<ColorTable> standard = ColorTable::Setup(8);
    if (standard == colorTable || standard->Equals(*colorTable.Get())) {
        colorTable = standard;
        return;
    }
    HPALETTE palette = standard->GetPalette();
    if (useChromaKey && chromaKey < colorTable->NumColors()) {
        Color key = colorTable->GetColor(chromaKey);
        UINT nearest = GetNearestPaletteIndex(palette, RGB(key.red >> 8, key.green >> 8, key.blue >> 8));
        if (nearest != CLR_INVALID)
            chromaKey = nearest;
    }
    bool isCopy = false;
    uint8_t* bits = osBitMap->LockBits(isCopy);
    try {
        osBitMap->ChangePalette(palette, bits);
    } catch (...) {
        osBitMap->UnlockBits(false, bits, isCopy);
        throw;
    }
    osBitMap->UnlockBits(true, bits, isCopy);
    colorTable = standard;
}
