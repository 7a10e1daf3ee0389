#pragma once

#include "foundation/Memory.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SystemScrap.h"
#include "graphics/Image.h"

#include <cstdint>

class ArchiveScope;
class Stream;

// A picture in the PICT format, carried as raw data: read from a PICT file (its 512-byte header
// dropped), copied, and offered to the clipboard as 'PICT'. This platform does not interpret the
// data: the bounds are the empty rectangle, drawing only warns, and the picture is neither stored
// in object files nor written out. The depth is the screen's when the picture was made.
class Picture : public Image, public SystemScrap, public SmartImplementation {
    PW_CLASS_INFO(Picture)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    // The bytes a PICT file holds before its picture data.
    static constexpr uint32_t kHeaderSize = 512;

    // Reads the picture data that follows the header, up to the stream's end. A stream that ends
    // before the header does fails with the corrupt-file message; one with nothing after the header
    // fails the assertion "macPicture".
    explicit Picture(Stream& source);
    // Warns "Not implemented."; nothing is read and the picture stays empty.
    explicit Picture(ArchiveScope& scope);
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);

    // Warns "Not implemented." and writes nothing.
    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    // Hands the data to the port, which warns "Not implemented.".
    void Draw(DisplayPort& port, int mode) override;
    Rect GetBounds() override { return bounds; }
    SmartPtr<ColorTable> GetColorTable() override;

    // 'PICT' only, with the picture data as it is held.
    ScrapTypeList GetTypes() override;
    Memory& GetData(uint32_t type) override;

    // The object and its data.
    uint32_t GetObjectSize() override;

    const Memory& GetPictureData() const { return data; }
    uint16_t GetDepth() const { return depth; }

private:
    Rect bounds { 0, 0, 0, 0 };
    Memory data;
    uint16_t depth { 8 };
};
