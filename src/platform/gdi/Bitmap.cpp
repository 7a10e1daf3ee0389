#include "platform/gdi/Bitmap.h"

#include "platform/gdi/Screen.h"

namespace pw::platform::gdi {

Bitmap::Bitmap(Type type, int width, int height, int depth, bool topDown, std::vector<RGBQUAD> table)
    : GdiObject(kKind)
    , type(type)
    , width(width)
    , height(height)
    , depth(depth)
    , topDown(topDown)
    , rowBytes(RowBytes(width, depth, type == Type::DibSection ? 4 : 2))
    , table(std::move(table))
{
}

std::unique_ptr<Bitmap> Bitmap::Make(Type type, int width, int height, int depth, bool topDown,
                                     std::vector<RGBQUAD> table)
{
    if (width <= 0 || height <= 0 || !IsSupportedDepth(depth))
        return nullptr;
    size_t row = RowBytes(width, depth, type == Type::DibSection ? 4 : 2);
    if (row > kMaxBytes / static_cast<size_t>(height))
        return nullptr;
    std::unique_ptr<Bitmap> bitmap(new Bitmap(type, width, height, depth, topDown, std::move(table)));
    bitmap->bits.assign(row * static_cast<size_t>(height), 0);
    return bitmap;
}

std::unique_ptr<Bitmap> Bitmap::MakeDdb(int width, int height, int depth)
{
    std::vector<RGBQUAD> table;
    if (depth == 1)
        table = { { 0, 0, 0, 0 }, { 255, 255, 255, 0 } };
    return Make(Type::Ddb, width, height, depth, true, std::move(table));
}

bool Bitmap::IsSupportedDepth(int depth)
{
    switch (depth) {
    case 1:
    case 2:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32:
        return true;
    default:
        return false;
    }
}

Surface Bitmap::GetSurface()
{
    Surface surface;
    surface.width = width;
    surface.height = height;
    surface.depth = depth;
    ptrdiff_t stride = static_cast<ptrdiff_t>(rowBytes);
    if (topDown) {
        surface.top = bits.data();
        surface.stride = stride;
    } else {
        surface.top = bits.data() + stride * (height - 1);
        surface.stride = -stride;
    }
    if (type == Type::Ddb && depth == 8)
        surface.table = Screen::SystemPalette();
    else
        surface.table = table;
    return surface;
}

} // namespace pw::platform::gdi
