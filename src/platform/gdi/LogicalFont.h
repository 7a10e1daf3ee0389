// What an HFONT names: the font a program asked for, realised in pixels on first use. Realised
// fonts are shared through the font cache, so many handles of one description cost one face.
#pragma once

#include "platform/gdi/FontCache.h"
#include "platform/gdi/GdiObject.h"

#include <memory>

namespace pw::platform::gdi {

class LogicalFont : public GdiObject {
public:
    static constexpr ObjectKind kKind = ObjectKind::Font;

    explicit LogicalFont(FontSpec spec)
        : GdiObject(kKind)
        , spec(std::move(spec))
    {
    }

    const Font& Realised() const
    {
        if (!font)
            font = FontCache::Get(spec);
        return *font;
    }

    const FontSpec spec;

private:
    mutable std::shared_ptr<const Font> font;
};

} // namespace pw::platform::gdi
