#pragma once

#include "engine/CXform.h"
#include "foundation/PersistentVersion.h"
#include "foundation/Point.h"
#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "foundation/SmartPtr.h"
#include "graphics/Area.h"
#include "graphics/BitMap.h"
#include "graphics/Color.h"
#include "graphics/Image.h"

#include <cstdint>

class ArchiveScope;
class CResource;
class DisplayPort;
class OffScreen;

// One drawable picture cell of the engine: a bitmap, the colour its off-screen was cleared to
// before the picture went in, the transform it was made with (MakeTransformed) and a mask
// computed on first request. Movies draw their cels through stamps; the picture is shared, never
// copied, between a stamp and its clones. A stamp's bounds are its picture's.
//
// Stored form (version 2.0, oldest 1.0): one object reference to the picture. Colour, transform
// and mask are not stored: a stamp read back is white-backed, with no transform and no mask.
class CStamp : public Image, public SmartImplementation {
    PW_CLASS_INFO(CStamp)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // Shares the picture and copies the colour; no transform, no mask.
    CStamp(const CStamp& other);
    // A new bitmap converted from the image.
    CStamp(Image& image, const Color& color);
    CStamp(const SmartPtr<BitMap>& picture, const Color& color);
    // The buffer's bitmap, on the buffer's background colour.
    explicit CStamp(OffScreen& buffer);
    // Reads the stored form (scope opened with `version`); a reference that is not a bitmap
    // leaves the stamp without a picture.
    explicit CStamp(ArchiveScope& scope);
    // Copies all four fields.
    CStamp& operator=(const CStamp& other);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    // The picture's own drawing: opaque for mode 1, else keyed when it has a key.
    void Draw(DisplayPort& port, int mode) override;
    // The empty rectangle without a picture.
    Rect GetBounds() override;
    bool GetBounds(Rect& bounds);
    SmartPtr<ColorTable> GetColorTable() override;

    // The whole picture scaled onto `dest`; mode 2 skips the pixels of the port's background
    // colour (value 0 when the picture's table lacks it), scaled or not, any other mode draws every
    // pixel. The mask and the further value change nothing.
    void DrawTo(DisplayPort& port, const Rect& dest, int16_t mode);
    void DrawTo(DisplayPort& port, const Rect& dest, int16_t mode, const SmartPtr<Area>& mask, int32_t extra);
    // A new stamp of the size of `rect` mapped through `xform`, showing the picture placed on
    // `rect` as seen through it: scaled opaquely, and for a rotated CXform then turned by its first
    // angle about the centres, pixels from outside the picture keeping this stamp's colour. The
    // new stamp keeps the transform.
    SmartPtr<CStamp> MakeTransformed(const Rect& rect, const SmartPtr<Transform>& xform, bool flag);
    // The cached mask (the picture's white area), moved by `offset` into a new copy unless the
    // offset is zero or the mask empty.
    SmartPtr<Area> GetMask(Point offset);
    // Crops the picture to its non-white pixels and answers the crop's top-left inside the old
    // picture; an all-white picture leaves the stamp without one.
    Point Trim();

    // A new media reference over the picture.
    SmartPtr<CResource> MakeResource() const;

    SmartPtr<CXform> GetTransform() const { return transform; }
    void SetTransform(const SmartPtr<CXform>& newTransform) { transform = newTransform; }
    SmartPtr<BitMap> GetPicture() const { return picture; }
    const Color& GetColor() const { return color; }

    // The picture when the image is a bitmap, else none; the stamp takes the colour.
    static SmartPtr<CStamp> FromImage(const SmartPtr<Image>& image, const Color& color);

    // A stamp's picture is always in memory.
    bool IsAvailable(int32_t) const { return true; }
    bool Load(bool) { return true; }
    // Warns "Not implemented.".
    void TakeArea(const SmartPtr<Area>& area, Point offset);

private:
    // `rect` as MakeTransformed was given it.
    void DrawRotated(OffScreen& buffer, const Rect& dest, const CXform& xform, const Rect& rect);
    void DrawQuarterTurned(BitMap& scaled, OffScreen& buffer, const Rect& dest, int32_t quarters);
    // The picture scaled opaquely onto a new bitmap of that size in the same table.
    SmartPtr<BitMap> ScaledPicture(int32_t width, int32_t height);

    SmartPtr<BitMap> picture;
    Color color;
    SmartPtr<CXform> transform;
    SmartPtr<Area> mask;
};
