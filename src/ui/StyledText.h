#pragma once

#include "foundation/PersistentVersion.h"
#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <cstdint>

class TextStyle;

// A String with its look: one style run over the whole text, a TextStyle the text draws and
// measures itself in (the standard style, face 1 at 12 points in standard colour 1, unless one is
// given). Text items of pages and the text being edited in a text view are styled texts. The
// style may be shared with whoever gave it (a tool that restyles the text it edits).
//
// Stored form (version 1.1, oldest 1.0): the String part in a nested String scope, then an object
// reference to the style (one style stored once however many texts share it). A 1.0 text, stored
// without its style, and a reference to anything but a style read in the standard style.
class StyledText : public String {
    PW_CLASS_INFO(StyledText)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    StyledText();
    // The characters of `text` in the standard style.
    explicit StyledText(const String& text);
    StyledText(const String& text, const SmartPtr<TextStyle>& style);
    // Shares the other's style.
    StyledText(const StyledText& other);
    explicit StyledText(ArchiveScope& scope);
    StyledText& operator=(const StyledText& other);
    ~StyledText() override;

    // `count` characters in the standard style.
    static SmartPtr<StyledText> StyledTextFromChars(const char* chars, uint32_t count);
    // The NUL-terminated text in the style: the style object itself when `shareStyle`, else a copy.
    static SmartPtr<StyledText> StyledTextFromChars(const char* text, bool shareStyle, const SmartPtr<TextStyle>& style);

    // Draws in the rectangle in the style's own font and colours; `color` does not change them.
    void Draw(DisplayPort& port, const Rect& rect, const Color& color) override;
    // Draws from `position` as wide and high as the text measures.
    void Draw(DisplayPort& port, const Point& position, const Color& color);
    // The size in the style when wrapped at `width` (0: no limit).
    Point Measure(int32_t width) override;
    // The size the text takes as the page draws it in a rectangle `width` wide (a word wider
    // than the line is not split and widens the result).
    Point MeasureDrawn(int32_t width);
    // Warns "Not implemented." and answers null.
    Smart* TextOperation(int32_t argument) override;

    const SmartPtr<TextStyle>& GetStyle() const { return style; }
    // Takes the style object itself; an empty handle puts back the standard style.
    void SetStyle(const SmartPtr<TextStyle>& newStyle);

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    // A new standard style: face 1, 12 points, plain, standard colour 1, no background.
    static SmartPtr<TextStyle> StandardStyle();

private:
    SmartPtr<TextStyle> style;
};
