// A brush: how shapes are filled. Solid brushes hold a colour reference, resolved against the DC
// they paint in; pattern brushes hold their own copy of the tile they were made from, so the
// bitmap or packed DIB they came from may be freed at once.
#pragma once

#include "platform/gdi/GdiObject.h"

#include <memory>
#include <vector>

namespace pw::platform::gdi {

class Brush : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Brush;

    enum class Type { Solid, Null, Pattern };

    // A pattern tile, row 0 at the top. A monochrome tile (from a 1-bit DDB) holds bits: 0 paints
    // in the DC's text colour and 1 in its background colour, both taken when drawing. Any other
    // tile holds plain RGB colours.
    struct Tile {
        int width = 0;
        int height = 0;
        bool monochrome = false;
        std::vector<COLORREF> cells;
    };

    static std::unique_ptr<Brush> MakeSolid(COLORREF color)
    {
        return std::unique_ptr<Brush>(new Brush(Type::Solid, color, {}));
    }
    static std::unique_ptr<Brush> MakeNull() { return std::unique_ptr<Brush>(new Brush(Type::Null, 0, {})); }
    static std::unique_ptr<Brush> MakePattern(Tile tile)
    {
        return std::unique_ptr<Brush>(new Brush(Type::Pattern, 0, std::move(tile)));
    }

    const Type type;
    const COLORREF color;
    const Tile tile;

private:
    Brush(Type type, COLORREF color, Tile tile)
        : GdiObject(kKind)
        , type(type)
        , color(color)
        , tile(std::move(tile))
    {
    }
};

} // namespace pw::platform::gdi
