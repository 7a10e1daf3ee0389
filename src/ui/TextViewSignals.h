#pragma once

#include "foundation/Signal.h"
#include "foundation/String.h"
#include "ui/TextView.h"

#include <cstdint>

class TextStyle;

namespace pw::ui {

// The text menu's commands: each names one value of a text style (a face, a point size, a style)
// as text. Sent to a text view it sets that value in the view's current style and hands the style
// back to the view to apply; asked about one, it answers marked when the style already has the
// value, so the menu shows the current style with check marks. A view without a style takes none.
class TextStyleSignal : public Signal<TextView> {
protected:
    TextStyleSignal(const String& value, const char* file, int line);

    // Form 5: no style gives disabled, else marked or enabled by IsSet.
    int32_t Status(TextView& view) override;
    void Act(TextView& view) override;

    virtual void Apply(TextStyle& style) = 0;
    virtual bool IsSet(TextStyle& style) = 0;

    String value;
};

// A face by name ("Arial", "Courier New", "Fixedsys").
class FontSignal : public TextStyleSignal {
public:
    explicit FontSignal(const String& face);

protected:
    void Apply(TextStyle& style) override;
    bool IsSet(TextStyle& style) override;
};

// A point size written in decimal ("12").
class SizeSignal : public TextStyleSignal {
public:
    explicit SizeSignal(const String& points);

protected:
    void Apply(TextStyle& style) override;
    bool IsSet(TextStyle& style) override;

private:
    int16_t Points() const;
};

// "Plain" clears every style bit and is marked when none is set; "Bold", "Italic" and
// "Underline" turn their bit over and are marked while it is set.
class StyleSignal : public TextStyleSignal {
public:
    explicit StyleSignal(const String& name);

protected:
    void Apply(TextStyle& style) override;
    bool IsSet(TextStyle& style) override;

private:
    // The bit the name stands for; 0 for "Plain" (and any name it does not know).
    uint8_t Bit() const;
};

} // namespace pw::ui
