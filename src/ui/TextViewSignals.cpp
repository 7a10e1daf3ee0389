// The text view's style commands and the text menu built from them.
#include "ui/TextViewSignals.h"

#include "graphics/TextStyle.h"
#include "ui/Menu.h"

namespace {

constexpr const char* kFaces[] = { "Arial", "Courier New", "Fixedsys" };
constexpr const char* kSizes[] = { "9", "10", "12", "14", "18", "24" };

struct StyleName {
    const char* name;
    uint8_t bit;
};

constexpr StyleName kStyles[] = {
    { "Plain", 0 },
    { "Bold", TextStyle::kBold },
    { "Italic", TextStyle::kItalic },
    { "Underline", TextStyle::kUnderline },
};

} // namespace

namespace pw::ui {

TextStyleSignal::TextStyleSignal(const String& value, const char* file, int line)
    : Signal(file, line)
    , value(value)
{
}

int32_t TextStyleSignal::Status(TextView& view)
{
    SmartPtr<TextStyle> style = view.GetStyle();
    if (!style.Valid())
        return disabled;
    return IsSet(*style.Get()) ? marked : enabled;
}

void TextStyleSignal::Act(TextView& view)
{
    SmartPtr<TextStyle> style = view.GetStyle();
    if (!style.Valid())
        return;
    Apply(*style.Get());
    view.SetStyle(style);
}

FontSignal::FontSignal(const String& face)
    : TextStyleSignal(face, PW_HERE)
{
}

void FontSignal::Apply(TextStyle& style)
{
    style.SetFontNumber(TextStyle::FaceNumber(pw::foundation::TextOf(value).c_str()));
}

bool FontSignal::IsSet(TextStyle& style)
{
    return value == String(style.GetFaceName());
}

SizeSignal::SizeSignal(const String& points)
    : TextStyleSignal(points, PW_HERE)
{
}

int16_t SizeSignal::Points() const
{
    int32_t points = 0;
    value.GetLong(points);
    return static_cast<int16_t>(points);
}

void SizeSignal::Apply(TextStyle& style)
{
    style.SetPointSize(Points());
}

bool SizeSignal::IsSet(TextStyle& style)
{
    return style.GetPointSize() == Points();
}

StyleSignal::StyleSignal(const String& name)
    : TextStyleSignal(name, PW_HERE)
{
}

uint8_t StyleSignal::Bit() const
{
    for (const StyleName& style : kStyles)
        if (value == String(style.name))
            return style.bit;
    return 0;
}

void StyleSignal::Apply(TextStyle& style)
{
    uint8_t bit = Bit();
    style.SetStyleFlags(bit == 0 ? 0 : static_cast<uint8_t>(style.GetStyleFlags() ^ bit));
}

bool StyleSignal::IsSet(TextStyle& style)
{
    uint8_t bit = Bit();
    return bit == 0 ? style.GetStyleFlags() == 0 : (style.GetStyleFlags() & bit) != 0;
}

} // namespace pw::ui

SmartPtr<Menu> TextView::BuildTextMenu()
{
    SmartPtr<Menu> menu(new Menu(String("Text")));
    for (const char* face : kFaces)
        menu->AddItem(String(face), 0, new pw::ui::FontSignal(String(face)));
    menu->AddSeparator();
    for (const char* size : kSizes)
        menu->AddItem(String(size), 0, new pw::ui::SizeSignal(String(size)));
    menu->AddSeparator();
    for (const StyleName& style : kStyles)
        menu->AddItem(String(style.name), 0, new pw::ui::StyleSignal(String(style.name)));
    return menu;
}
