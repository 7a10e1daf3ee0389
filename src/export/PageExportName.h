// The base name under which a page of a project is exported, unique among the project's pages.
// PageFileName spells names in plain ASCII, so different pages can come out alike ("Cafe" and
// "Café", "My Page" and "My_Page"), and a web server or disk may not tell letter case apart.
// Every export of a page and every link to it ask here, so a page's files and the links to it
// always agree, and no page's files ever take the place of another's.
//
// A page keeps the name it was first exported under for as long as it exists, whichever pages
// come later: each export records its name in the file "_pagefiles.txt" of the project folder,
// one line per page, the name, a tab and the page's name. The exported files themselves stay as
// they always were. A page that is deleted or renamed leaves its name to nobody.
#pragma once

#include "foundation/SmartPtr.h"
#include "foundation/String.h"

#include <memory>
#include <string>

class FileReference;

namespace pw::exporting {

// The export names of a project's pages, worked out from one listing of the folder and one
// reading of its record.
class ProjectPageNames;

// While one lives, every question below about its folder is answered from one listing of the folder
// and one reading of its record, made when it was made; a save asks for the page's own name and for
// the name of every page it links to, and would otherwise list and read once per question, so a
// save would cost more the more pages the project has. The page documents must not come or go while
// it lives; a name recorded meanwhile is kept in it. It lives on the stack: readings nest, the
// newest answering for its folder.
class ExportNamesReading {
public:
    // No reading without a folder.
    explicit ExportNamesReading(const SmartPtr<FileReference>& projectFolder);
    ExportNamesReading(const ExportNamesReading&) = delete;
    ExportNamesReading& operator=(const ExportNamesReading&) = delete;
    ~ExportNamesReading();

    // The names, when this is a reading of that folder (paths compared without regard to case).
    ProjectPageNames* NamesOf(FileReference& projectFolder) const;
    ExportNamesReading* Previous() const { return previous; }

private:
    ExportNamesReading* previous;
    std::string path;
    std::shared_ptr<ProjectPageNames> names;
};

// The base name of the page `pageName` of the project whose page documents lie in
// `projectFolder`. A page of the folder that recorded a name (ClaimExportPageName) keeps it; page
// names are compared as the folder finds them, without regard to letter case. Every other page
// takes PageFileName of its name when no page holds that, letters compared without regard to
// case; among those that come out the same, a page whose name is already its file name first,
// then in the order of their names, a page that finds its base taken gets the base followed by
// the first number that is free (Cafe1). A page of another name than those in the folder never
// takes a name one of them has. Without a folder, PageFileName.
String ExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName);

// ExportPageName, recorded as the page's own when the page is one of the folder's, so that no
// page that comes later takes it.
String ClaimExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName);

} // namespace pw::exporting
