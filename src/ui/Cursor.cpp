#include "ui/Cursor.h"

#include "foundation/Checks.h"
#include "foundation/Resources.h"
#include "graphics/BitMap.h"
#include "graphics/ColorTable.h"
#include "graphics/PixelIterator.h"

PW_DEFINE_CLASS(Cursor, nullptr, nullptr, SmartImplementation)
PW_DEFINE_NO_COPY_SLOTS(Cursor)

namespace {

// The resource sets make their cursor objects through the window floor. Platform cursors are
// shared for the run, so the objects do not destroy them.
const bool lent = [] {
    pw::foundation::GetResourceServices().cursorFromHandle = [](HCURSOR handle) {
        return SmartPtr<Smart>(new Cursor(handle));
    };
    return true;
}();

} // namespace

Cursor::Cursor(HCURSOR handle, bool owned)
    : handle(handle)
    , owned(owned)
{
}

Cursor::~Cursor()
{
    if (owned && handle)
        DestroyCursor(handle);
}

void Cursor::Set() const
{
    SetCursor(handle);
}

SmartPtr<BitMap> Cursor::GetImage(Point& hotSpot) const
{
    ICONINFO info {};
    CheckCall(GetIconInfo(handle, &info) != FALSE, PW_HERE);
    // The bitmaps the query made are ours, and go however this ends.
    struct Owned {
        HBITMAP mask;
        HBITMAP color;
        ~Owned()
        {
            if (mask)
                DeleteObject(mask);
            if (color)
                DeleteObject(color);
        }
    } owned { info.hbmMask, info.hbmColor };
    // A monochrome cursor: the AND mask above the XOR mask in one bitmap twice the cursor's height.
    CheckCall(info.hbmMask && !info.hbmColor, PW_HERE);
    BitMap masks(info.hbmMask, false, 0);
    Rect bounds = masks.GetBounds();
    int32_t width = bounds.right - bounds.left;
    int32_t height = (bounds.bottom - bounds.top) / 2;
    CheckCall(width >= 1 && height >= 1, PW_HERE);

    SmartPtr<ColorTable> table = masks.GetColorTable();
    uint32_t white = 0;
    uint32_t black = 0;
    CheckCall(table->Convert(Color(0), white) && table->Convert(Color(1), black), PW_HERE);
    SmartPtr<BitMap> image = new BitMap(width, height, table, Color(0), false);
    {
        PixelIterator andMask(masks, 0, 0, width, height, true);
        PixelIterator xorMask(masks, 0, height, width, 2 * height, true);
        PixelIterator out(*image.Get(), 0, 0, width, height, true);
        for (; out.More(); out.Next(), andMask.Next(), xorMask.Next()) {
            // Clear (1, 0) and white (0, 1) leave the picture white; black (0, 0) and inverted
            // (1, 1) mark it.
            bool keeps = andMask.GetPixel() == white;
            bool flips = xorMask.GetPixel() == white;
            out.SetPixel(keeps == flips ? black : white);
        }
    }
    hotSpot = Point(static_cast<int32_t>(info.xHotspot), static_cast<int32_t>(info.yHotspot));
    return image;
}
