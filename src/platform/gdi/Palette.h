// A logical palette: a copy of the entries it was created from, flag bytes included. Drawing in a
// DC that has it selected matches palette-relative colours against it, and realising it on the
// screen loads its entries into the system palette.
#pragma once

#include "platform/gdi/GdiObject.h"

#include <vector>

namespace pw::platform::gdi {

class Palette : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Palette;

    explicit Palette(std::vector<PALETTEENTRY> entries)
        : GdiObject(kKind)
        , entries(std::move(entries))
    {
    }

    std::vector<PALETTEENTRY> entries;
};

} // namespace pw::platform::gdi
