#include "ui/StyledText.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Exception.h"
#include "graphics/Color.h"
#include "graphics/DisplayPort.h"
#include "graphics/TextStyle.h"

#include <windows.h>

namespace {

Persistent* ReadStyledText(Archive& archive)
{
    ArchiveScope scope(archive, StyledText::version);
    return new StyledText(scope);
}

} // namespace

PW_DEFINE_CLASS(StyledText, nullptr, nullptr, String)
PW_DEFINE_COPY_SLOTS(StyledText)

constinit const PersistentVersion StyledText::version { &StyledText::classInfo, Fixed(1, 0), Fixed(1, 1),
    &ReadStyledText };

SmartPtr<TextStyle> StyledText::StandardStyle()
{
    return new TextStyle(1, 12, 0, Color(1), Color(Color::kNoColor));
}

StyledText::StyledText()
    : style(StandardStyle())
{
}

StyledText::StyledText(const String& text)
    : String(text)
    , style(StandardStyle())
{
}

StyledText::StyledText(const String& text, const SmartPtr<TextStyle>& style)
    : String(text)
    , style(style.Valid() ? style : StandardStyle())
{
}

StyledText::StyledText(const StyledText& other)
    : Smart()
    , String(other)
    , style(other.style)
{
}

StyledText::StyledText(ArchiveScope& scope)
    : style(StandardStyle())
{
    {
        ArchiveScope stringScope(scope, String::version);
        String stored(stringScope);
        String::Assign(stored);
    }
    if (scope.GetVersion() < Fixed(1, 1))
        return;
    SmartPtr<Persistent> stored(scope.ReadObject());
    if (auto* given = SmartCast<TextStyle>(stored.Get()))
        style = given;
}

StyledText& StyledText::operator=(const StyledText& other)
{
    if (this == &other)
        return *this;
    String::Assign(other);
    style = other.style;
    return *this;
}

StyledText::~StyledText() = default;

SmartPtr<StyledText> StyledText::StyledTextFromChars(const char* chars, uint32_t count)
{
    SmartPtr<StyledText> text = new StyledText;
    if (chars && count > 0)
        text->InsertChars(chars, 0, count);
    return text;
}

SmartPtr<StyledText> StyledText::StyledTextFromChars(const char* text, bool shareStyle, const SmartPtr<TextStyle>& style)
{
    SmartPtr<TextStyle> used = style;
    if (!shareStyle && style.Valid())
        used = new TextStyle(*style.Get());
    return new StyledText(String(text), used);
}

void StyledText::Draw(DisplayPort& port, const Rect& rect, const Color&)
{
    if (Length() == 0)
        return;
    uint32_t length;
    CharIterator chars(*this, length);
    // The characters are the child's own: an "&" is drawn, never taken for a mnemonic marker. The
    // shared style keeps its stored format; the flag holds for this drawing only.
    TextStyle& look = *style.Get();
    uint32_t format = look.GetFormat();
    look.SetFormat(format | DT_NOPREFIX);
    try {
        port.DrawText(chars.Chars(), static_cast<int32_t>(length), rect, look);
    } catch (...) {
        look.SetFormat(format);
        throw;
    }
    look.SetFormat(format);
}

void StyledText::Draw(DisplayPort& port, const Point& position, const Color& color)
{
    Point size = Measure(0);
    Draw(port, Rect(position.h, position.v, position.h + size.h, position.v + size.v), color);
}

Point StyledText::Measure(int32_t width)
{
    uint32_t length;
    CharIterator chars(*this, length);
    return DisplayPort::MeasureText(chars.Chars(), static_cast<int32_t>(length), *style.Get(), width);
}

Point StyledText::MeasureDrawn(int32_t width)
{
    uint32_t length;
    CharIterator chars(*this, length);
    return DisplayPort::MeasureDrawnText(chars.Chars(), static_cast<int32_t>(length), *style.Get(), width);
}

Smart* StyledText::TextOperation(int32_t)
{
    Exception::Warn(kNotImplemented, PW_HERE);
    return nullptr;
}

void StyledText::SetStyle(const SmartPtr<TextStyle>& newStyle)
{
    style = newStyle.Valid() ? newStyle : StandardStyle();
}

void StyledText::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    String plain(*this);
    scope.Put(plain);
    scope.WriteObject(style.Get());
}
