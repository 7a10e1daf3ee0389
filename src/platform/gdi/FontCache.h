// Shares realised fonts: CreateFontA is called for every text style on demand, and realising a
// font (opening its file, measuring 224 characters) is far dearer than a lookup.
//
// Fonts are keyed by their whole FontSpec (a font reports the FontSpec it was made from). The cache keeps
// at most kCapacity fonts, dropping the least recently used; a dropped font lives on while a
// caller holds it.
#pragma once

#include "platform/gdi/Font.h"

#include <memory>

namespace pw::platform::gdi {

class FontCache {
public:
    static std::shared_ptr<const Font> Get(const FontSpec& spec);

    // The DC's default SYSTEM_FONT: DejaVu Sans, regular, with a 16-pixel cell.
    static std::shared_ptr<const Font> SystemFont();
    static FontSpec SystemFontSpec();

    static constexpr size_t kCapacity = 64;
};

} // namespace pw::platform::gdi
