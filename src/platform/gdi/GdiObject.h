// The base of everything a GDI handle names: pens, brushes, fonts, bitmaps, palettes, regions and
// device contexts. The ObjectTable owns every live object; a handle is only a key into it, so a
// stale or foreign handle is found missing (and the call fails) rather than followed.
#pragma once

#include <windows.h>

namespace pw::platform::gdi {

enum class ObjectKind { Pen, Brush, Font, Bitmap, Palette, Region, Dc };

class GdiObject {
public:
    explicit GdiObject(ObjectKind kind)
        : kind(kind)
    {
    }
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    ObjectKind Kind() const { return kind; }
    HGDIOBJ Handle() const { return handle; }
    bool IsStock() const { return stock; }

    // How many device contexts hold this object selected; a selected object cannot be deleted.
    int selections = 0;

private:
    friend class ObjectTable;

    ObjectKind kind;
    HGDIOBJ handle = nullptr;
    bool stock = false;
};

} // namespace pw::platform::gdi
