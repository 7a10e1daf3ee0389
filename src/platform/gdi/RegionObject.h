// What an HRGN names: a region of pixels, changed in place by CombineRgn and OffsetRgn.
#pragma once

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/RegionData.h"

namespace pw::platform::gdi {

class RegionObject : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Region;

    explicit RegionObject(RegionData data)
        : GdiObject(kKind)
        , data(std::move(data))
    {
    }

    RegionData data;
};

} // namespace pw::platform::gdi
