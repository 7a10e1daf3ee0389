#pragma once

#include "foundation/Persistent.h"
#include "foundation/PersistentVersion.h"
#include "foundation/SmartImplementation.h"
#include "graphics/Color.h"

#include <windows.h>

#include <cstdint>

class ArchiveScope;

// How text looks: a face number, a point size, style bits (1 bold, 2 italic, 4 underline), the
// text colour, the background colour (standard colour 13 draws no background) and the DrawText
// format flags. The Windows font is made on first request and kept until something that shapes it
// changes; a copy makes its own.
//
// Stored form (version 1.0, oldest 1.0): the face number, the point size and the style bits
// (16 bits each), the text colour and the background colour (four 16-bit parts each: red, green,
// blue, extra), the DrawText format (32 bits), then the face's name as a String in a nested String
// scope. A reader takes the name's face when the number names none, and refuses a point size
// outside 1 to 1000 as damage.
class TextStyle : public Persistent, public SmartImplementation {
    PW_CLASS_INFO(TextStyle)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;
    static constexpr int16_t kMaxPointSize = 1000;
    static constexpr uint8_t kBold = 1;
    static constexpr uint8_t kItalic = 2;
    static constexpr uint8_t kUnderline = 4;

    TextStyle(int16_t face, int16_t size, uint8_t style, const Color& textColor, const Color& background);
    TextStyle(const TextStyle& other);
    explicit TextStyle(ArchiveScope& scope);
    TextStyle& operator=(const TextStyle& other);
    ~TextStyle() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }
    // Face, size, style bits, colours and format all alike.
    bool SameLook(const TextStyle& other) const;

    // The cached font; "Missing (NULL) value." when the platform cannot make it.
    HFONT GetFont();
    const Color& GetColor() const { return textColor; }
    // Drops the cached font.
    void SetColor(const Color& color);
    const Color& GetBackground() const { return background; }
    // Each setter drops the cached font. Face -1 means no face number (the first face is used).
    void SetFontNumber(int16_t number);
    // The name of the face the font is made with, and the number that names a face (0, the
    // first, for a name no number stands for).
    const char* GetFaceName() const;
    static int16_t FaceNumber(const char* name);
    uint8_t GetStyleFlags() const { return style; }
    void SetStyleFlags(uint8_t flags);
    void SetPointSize(int16_t points);
    int16_t GetPointSize() const { return size; }
    uint32_t GetFormat() const { return format; }
    void SetFormat(uint32_t flags) { format = flags; }

private:
    void DropFont() noexcept;

    int16_t face;
    int16_t size;
    uint8_t style;
    Color textColor;
    Color background;
    uint32_t format { 0 };
    HFONT font { nullptr };
};
