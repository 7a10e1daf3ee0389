#include "export/PageExportName.h"

#include "engine/ShowFileType.h"
#include "export/htmlElement.h"
#include "foundation/FileReference.h"
#include "foundation/SmartList.h"

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using pw::foundation::TextOf;

struct Page {
    std::string name;
    std::string base;
};

// A name as a file system that ignores letter case compares it.
std::string Folded(std::string name)
{
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

// `base`, or when it is taken the base followed by the first number that is not.
std::string FreeName(const std::string& base, const std::set<std::string>& taken)
{
    if (!taken.count(Folded(base)))
        return base;
    for (unsigned number = 1;; ++number) {
        std::string candidate = base + std::to_string(number);
        if (!taken.count(Folded(candidate)))
            return candidate;
    }
}

// The pages of the project, whose names are already their file names first, then by name: the
// order in which they pick.
std::vector<Page> ProjectPages(FileReference& projectFolder)
{
    SmartList<FileType> types;
    types.Append(new FileType(ShowFileType));
    SmartList<FileReference> documents = projectFolder.Contents(types, false);
    std::vector<Page> pages;
    for (uint32_t index = 1; index <= documents.NumItems(); ++index) {
        FileReference* document = documents.Item(index);
        if (!document || document->IsFolder())
            continue;
        String name = FileBaseName(*document);
        pages.push_back(Page { TextOf(name), TextOf(PageFileName(name)) });
    }
    std::sort(pages.begin(), pages.end(), [](const Page& a, const Page& b) {
        bool aPlain = a.name == a.base;
        bool bPlain = b.name == b.base;
        return aPlain != bPlain ? aPlain : a.name < b.name;
    });
    return pages;
}

} // namespace

String pw::exporting::ExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName)
{
    String plain = PageFileName(pageName);
    if (!projectFolder.Valid())
        return plain;
    std::vector<Page> pages = ProjectPages(*projectFolder.Get());
    std::set<std::string> taken;
    std::map<std::string, std::string> chosen;
    for (const Page& page : pages) {
        if (taken.insert(Folded(page.base)).second)
            chosen[page.name] = page.base;
    }
    for (const Page& page : pages) {
        if (chosen.count(page.name))
            continue;
        std::string name = FreeName(page.base, taken);
        taken.insert(Folded(name));
        chosen[page.name] = name;
    }
    // The folder finds a page named in another case ("cafe" for Cafe) as that page.
    std::string wanted = TextOf(pageName);
    auto found = chosen.find(wanted);
    if (found == chosen.end()) {
        found = std::find_if(chosen.begin(), chosen.end(),
            [&](const auto& entry) { return Folded(entry.first) == Folded(wanted); });
    }
    if (found != chosen.end())
        return String(found->second.c_str());
    return String(FreeName(TextOf(plain), taken).c_str());
}
