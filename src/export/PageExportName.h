// The base name under which a page of a project is exported, unique among the project's pages.
// PageFileName spells names in plain ASCII, so different pages can come out alike ("Cafe" and
// "Café", "My Page" and "My_Page"), and a web server or disk may not tell letter case apart.
// Every export of a page and every link to it ask here, so a page's files and the links to it
// always agree, and no page's files ever take the place of another's.
#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/String.h"

class FileReference;

namespace pw::exporting {

// The base name of the page `pageName` of the project whose page documents lie in
// `projectFolder`: PageFileName of the name when no other page of the project comes out the same,
// letters compared without regard to case. Among pages that do, a page whose name is already its
// file name keeps it, then the others in the order of their names; a page that finds its base
// taken gets the base followed by the first number that is free (Cafe1). A page of another name
// than those in the folder never takes a name one of them has. Without a folder, PageFileName.
String ExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName);

} // namespace pw::exporting
