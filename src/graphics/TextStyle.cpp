#include "graphics/TextStyle.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Checks.h"
#include "foundation/CorruptFile.h"
#include "foundation/Stream.h"
#include "foundation/String.h"

#include <cstring>
#include <iterator>

namespace {

// Face numbers name these faces; any other number takes the first.
constexpr const char* kFaces[] = { "Arial", "Arial", "Fixedsys", "Courier New", "Arial" };

const char* FaceName(int16_t face)
{
    return face > 0 && face < int16_t(std::size(kFaces)) ? kFaces[face] : kFaces[0];
}

// Points at the display's 96 pixels an inch, as a character height (negative for CreateFontA).
int CharacterHeight(int16_t points)
{
    return -((points * 96 + 36) / 72);
}

} // namespace

PW_DEFINE_CLASS(TextStyle, nullptr, nullptr, Persistent, SmartImplementation)
PW_DEFINE_COPY_SLOTS(TextStyle)

constinit const PersistentVersion TextStyle::version { &TextStyle::classInfo, Fixed(1), Fixed(1),
    &pw::foundation::ReadInScope<TextStyle> };

TextStyle::TextStyle(int16_t face, int16_t size, uint8_t style, const Color& textColor, const Color& background)
    : face(face)
    , size(size)
    , style(style)
    , textColor(textColor)
    , background(background)
{
}

TextStyle::TextStyle(const TextStyle& other)
    : Smart()
    , Persistent(other)
    , SmartImplementation(other)
    , face(other.face)
    , size(other.size)
    , style(other.style)
    , textColor(other.textColor)
    , background(other.background)
    , format(other.format)
{
}

TextStyle::TextStyle(ArchiveScope& scope)
{
    Stream& stream = scope.GetStream();
    face = stream.ReadShort();
    size = stream.ReadShort();
    style = static_cast<uint8_t>(stream.ReadShort());
    textColor.FromStream(stream);
    background.FromStream(stream);
    format = static_cast<uint32_t>(stream.ReadLong());
    ArchiveScope nameScope(scope, String::version);
    String name(nameScope);
    if (face < 0 || face >= int16_t(std::size(kFaces)))
        face = FaceNumber(pw::foundation::TextOf(name).c_str());
    if (size < 1 || size > kMaxPointSize)
        pw::foundation::ThrowCorruptFile(PW_HERE);
}

void TextStyle::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    Stream& stream = scope.GetStream();
    stream.WriteShort(face);
    stream.WriteShort(size);
    stream.WriteShort(style);
    textColor.ToStream(stream);
    background.ToStream(stream);
    stream.WriteLong(static_cast<int32_t>(format));
    String name(GetFaceName());
    scope.Put(name);
}

bool TextStyle::SameLook(const TextStyle& other) const
{
    return face == other.face && size == other.size && style == other.style && textColor.Equals(other.textColor)
        && background.Equals(other.background) && format == other.format;
}

TextStyle& TextStyle::operator=(const TextStyle& other)
{
    if (this == &other)
        return *this;
    DropFont();
    face = other.face;
    size = other.size;
    style = other.style;
    textColor = other.textColor;
    background = other.background;
    format = other.format;
    return *this;
}

TextStyle::~TextStyle()
{
    DropFont();
}

HFONT TextStyle::GetFont()
{
    if (font)
        return font;
    font = CreateFontA(CharacterHeight(size), 0, 0, 0, (style & kBold) ? FW_BOLD : FW_NORMAL, (style & kItalic) != 0,
        (style & kUnderline) != 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
        DEFAULT_PITCH | FF_DONTCARE, FaceName(face));
    CheckNotNull(font, PW_HERE);
    return font;
}

void TextStyle::SetColor(const Color& color)
{
    textColor = color;
    DropFont();
}

void TextStyle::SetFontNumber(int16_t number)
{
    face = number;
    DropFont();
}

const char* TextStyle::GetFaceName() const
{
    return FaceName(face);
}

int16_t TextStyle::FaceNumber(const char* name)
{
    for (int16_t number = 0; number < int16_t(std::size(kFaces)); ++number)
        if (std::strcmp(kFaces[number], name) == 0)
            return number;
    return 0;
}

void TextStyle::SetStyleFlags(uint8_t flags)
{
    style = flags;
    DropFont();
}

void TextStyle::SetPointSize(int16_t points)
{
    size = points;
    DropFont();
}

void TextStyle::DropFont() noexcept
{
    if (font)
        DeleteObject(font);
    font = nullptr;
}
