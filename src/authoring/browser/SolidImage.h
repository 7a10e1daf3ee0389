#pragma once

#include "foundation/Rect.h"
#include "foundation/SmartImplementation.h"
#include "graphics/Color.h"
#include "graphics/Image.h"

// A rectangle of one colour: the blank picture the browser shows for a file without a preview and
// the button of a link to a page not yet drawn. It names no colour table and is never stored.
class SolidImage : public Image, public SmartImplementation {
    PW_CLASS_INFO(SolidImage)
    PW_COPY_SLOTS

public:
    SolidImage(const Rect& bounds, const Color& color);
    SolidImage(const SolidImage& other) = default;
    SolidImage& operator=(const SolidImage& other) = default;

    // Fills the bounds with the colour; the outline (standard colour 13) paints nothing.
    void Draw(DisplayPort& port, int mode) override;
    Rect GetBounds() override { return bounds; }
    SmartPtr<ColorTable> GetColorTable() override;

private:
    Rect bounds;
    Color color;
};
