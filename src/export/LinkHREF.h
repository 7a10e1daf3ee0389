#pragma once

#include "export/htmlElement.h"
#include "foundation/PersistentVersion.h"
#include "foundation/String.h"

class ArchiveScope;

// Where a clickable area of an exported page leads, and what the page's link bar calls it: the
// target text that goes between the quotes of an HREF attribute, and a display name. It is also the
// stored form of a web link: a CLink whose target is a web or mail address keeps one, and page
// documents store it. The export floor lends the engine's links this class (see CLink.h).
//
// Stored form (version 1.2, oldest 1.0): the target, then from 1.2 on the name, both as embedded
// strings. A link stored before 1.2 takes its name from its target (LinkNameFromHref).
class LinkHREF : public htmlElement {
    PW_CLASS_INFO(LinkHREF)
    PW_COPY_SLOTS

public:
    static const PersistentVersion version;

    // The name is the target's last word (LinkNameFromHref).
    explicit LinkHREF(const String& href);
    LinkHREF(const String& href, const String& name);
    // A link to the exported page of that name: its export name among the pages of the project
    // folder `base` (ExportPageName) with ".htm", named as the page.
    LinkHREF(const SmartPtr<FileReference>& base, const String& pageName);
    // A link to the target file by its name with extension, named by its name without. The base
    // is not used.
    LinkHREF(const SmartPtr<FileReference>& base, FileReference& target);
    explicit LinkHREF(ArchiveScope& scope);
    LinkHREF(const LinkHREF& other);
    LinkHREF& operator=(const LinkHREF& other);
    ~LinkHREF() override;

    void Write(Archive& archive) override;
    const PersistentVersion& GetPersistentVersion() const override { return version; }

    String GetHREF() const { return href; }
    String GetName() const { return name; }

    // The target only, escaped for the attribute it goes into: no quotes, no line end.
    void WriteHTML(SmartPtr<FileReference> folder, const String& pageName, SmartList<FileReference> files,
        Stream& out) override;

protected:
    // The two fields, inside a scope opened with `version` (read with its version rule).
    void ReadFields(ArchiveScope& fields);
    void WriteFields(ArchiveScope& fields);

private:
    String href;
    String name;
};

// The last run of the target's characters that holds no ":", "/" or " ": a file name after its
// folder, a mail address after its scheme, the last folder of an address ending in "/".
String LinkNameFromHref(const String& href);

namespace pw::exporting {

// ".htm", the extension of page files, which links to pages end with.
inline constexpr const char* kPageExtension = ".htm";

} // namespace pw::exporting
