#include "export/RawHTML.h"

#include "foundation/ArchiveScope.h"

PW_DEFINE_CLASS(RawHTML, nullptr, nullptr, htmlElement)
PW_DEFINE_COPY_SLOTS(RawHTML)

constinit const PersistentVersion RawHTML::version { &RawHTML::classInfo, Fixed(1, 0), Fixed(1, 0),
    &pw::foundation::ReadInScope<RawHTML> };

RawHTML::RawHTML(const String& text)
    : text(text)
{
}

RawHTML::RawHTML(ArchiveScope& scope)
{
    ArchiveScope textScope(scope, String::version);
    text.Assign(String(textScope));
}

RawHTML::RawHTML(const RawHTML& other)
    : Smart()
    , htmlElement(other)
    , text(other.text)
{
}

RawHTML& RawHTML::operator=(const RawHTML& other)
{
    text.Assign(other.text);
    return *this;
}

RawHTML::~RawHTML() = default;

void RawHTML::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    scope.Put(text);
}

void RawHTML::WriteHTML(SmartPtr<FileReference>, const String&, SmartList<FileReference>, Stream& out)
{
    out << text;
}
