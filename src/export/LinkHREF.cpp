#include "export/LinkHREF.h"

#include "engine/CLink.h"
#include "engine/ShowFileType.h"
#include "export/PageExportName.h"
#include "foundation/ArchiveScope.h"
#include "foundation/FileReference.h"

PW_DEFINE_CLASS(LinkHREF, nullptr, nullptr, htmlElement)
PW_DEFINE_COPY_SLOTS(LinkHREF)

constinit const PersistentVersion LinkHREF::version { &LinkHREF::classInfo, Fixed(1, 0), Fixed(1, 2),
    &pw::foundation::ReadInScope<LinkHREF> };

namespace {

// The version from which the name is stored.
constexpr Fixed kNamedVersion(1, 2);

// The engine's links keep, make and read their web links through this class.
const bool webLinksLent = [] {
    pw::engine::WebLinkServices services;
    services.linkClass = &LinkHREF::classInfo;
    services.makeLink = [](const String& text) -> SmartPtr<Persistent> { return new LinkHREF(text); };
    services.makePageLink = [](Smart* exporter, const String& pageName) -> SmartPtr<Persistent> {
        return new LinkHREF(SmartPtr<FileReference>(SmartCast<FileReference>(exporter)), pageName);
    };
    services.linkText = [](Persistent& link) {
        auto* web = SmartCast<LinkHREF>(&link);
        return web ? web->GetHREF() : String();
    };
    pw::engine::SetWebLinkServices(services);
    pw::engine::SetWebLinkVersion(&LinkHREF::version);
    return true;
}();

} // namespace

LinkHREF::LinkHREF(const String& href)
    : href(href)
    , name(LinkNameFromHref(href))
{
}

LinkHREF::LinkHREF(const String& href, const String& name)
    : href(href)
    , name(name)
{
}

LinkHREF::LinkHREF(const SmartPtr<FileReference>& base, const String& pageName)
    : href(pw::exporting::ExportPageName(base, pageName).Concat(String(pw::exporting::kPageExtension)))
    , name(pageName)
{
}

LinkHREF::LinkHREF(const SmartPtr<FileReference>&, FileReference& target)
    : href(target.Name())
    , name(FileBaseName(target))
{
}

LinkHREF::LinkHREF(ArchiveScope& scope)
{
    ReadFields(scope);
}

LinkHREF::LinkHREF(const LinkHREF& other)
    : Smart()
    , htmlElement(other)
    , href(other.href)
    , name(other.name)
{
}

LinkHREF& LinkHREF::operator=(const LinkHREF& other)
{
    href.Assign(other.href);
    name.Assign(other.name);
    return *this;
}

LinkHREF::~LinkHREF() = default;

void LinkHREF::ReadFields(ArchiveScope& fields)
{
    {
        ArchiveScope text(fields, String::version);
        href.Assign(String(text));
    }
    if (fields.GetVersion() >= kNamedVersion) {
        ArchiveScope text(fields, String::version);
        name.Assign(String(text));
    } else {
        name.Assign(LinkNameFromHref(href));
    }
}

void LinkHREF::WriteFields(ArchiveScope& fields)
{
    fields.Put(href);
    fields.Put(name);
}

void LinkHREF::Write(Archive& archive)
{
    ArchiveScope scope(archive, version);
    WriteFields(scope);
}

void LinkHREF::WriteHTML(SmartPtr<FileReference>, const String&, SmartList<FileReference>, Stream& out)
{
    out << pw::exporting::EscapedHTML(href);
}

String LinkNameFromHref(const String& href)
{
    String rest(href);
    String separators(":/ ");
    String name;
    while (rest.Length() > 0)
        name = rest.ExtractWord(separators);
    return name;
}
