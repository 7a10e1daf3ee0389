#include "export/PageExportName.h"

#include "engine/ShowFileType.h"
#include "export/htmlElement.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"
#include "foundation/FileType.h"
#include "foundation/SmartList.h"
#include "foundation/TextFile.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {

using pw::foundation::TextOf;

// The project folder's record of the names pages were exported under, a text file.
constexpr const char* kClaimsName = "_pagefiles";

struct Page {
    std::string name;
    std::string base;
    std::string folded; // the name as a file system that ignores letter case compares it
    bool plain;         // the name is already its base
};

// An export name recorded as a page's.
struct Claim {
    std::string name;
    std::string page;
};

// A letter as a file system that ignores letter case compares it.
char FoldedLetter(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A name as a file system that ignores letter case compares it.
std::string Folded(std::string name)
{
    for (char& c : name)
        c = FoldedLetter(c);
    return name;
}

// `base`, or when it is taken the base followed by the first number that is not.
std::string FreeName(const std::string& base, const std::unordered_set<std::string>& taken)
{
    if (!taken.count(Folded(base)))
        return base;
    for (unsigned number = 1;; ++number) {
        std::string candidate = base + std::to_string(number);
        if (!taken.count(Folded(candidate)))
            return candidate;
    }
}

// The names of the folder's page documents, in the order of the listing. The listing also tells
// files from folders: asking the file system about each document again cost more than the rest of
// a save in a project of a few hundred pages.
std::vector<std::string> ProjectDocuments(FileReference& projectFolder)
{
    char extension[4];
    FileType::ExtensionText(ShowFileType.GetExtension(), extension);
    std::string suffix = std::string(".") + extension;
    std::string search;
    std::vector<std::string> documents;
    if (!pw::foundation::BuildPath(search, projectFolder.Path(), ("*" + suffix).c_str(), 0))
        return documents;
    WIN32_FIND_DATAA found {};
    HANDLE listing = FindFirstFileA(search.c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            std::string_view file = found.cFileName;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || file[0] == '.'
                || file.size() <= suffix.size())
                continue;
            documents.emplace_back(file.substr(0, file.size() - suffix.size()));
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    SetLastError(NO_ERROR);
    return documents;
}

// The pages of those documents, whose names are already their file names first, then by name:
// the order in which they pick.
std::vector<Page> PagesOf(const std::vector<std::string>& documents)
{
    std::vector<Page> pages;
    pages.reserve(documents.size());
    for (const std::string& name : documents) {
        std::string base = TextOf(PageFileName(String(name.c_str())));
        bool plain = name == base;
        pages.push_back(Page { name, std::move(base), Folded(name), plain });
    }
    std::sort(pages.begin(), pages.end(),
        [](const Page& a, const Page& b) { return a.plain != b.plain ? a.plain : a.name < b.name; });
    return pages;
}

// The text of the folder's record, empty when there is none; false when the folder's path leaves
// no room for the record's name.
bool ReadRecord(FileReference& projectFolder, std::string& text)
{
    std::string path;
    if (!pw::foundation::BuildPath(path, projectFolder.Path(), kClaimsName, TextFile::TextFileType().GetExtension()))
        return false;
    SmartPtr<FileReference> file = new FileReference(path.c_str());
    if (!file->IsFolder()) {
        SmartPtr<TextFile> reader = new TextFile(*file.Get(), File::kRead);
        SmartPtr<Smart> read = reader->Read();
        auto* contents = SmartCast<String>(read.Get());
        text = contents ? TextOf(*contents) : std::string();
    }
    return true;
}

// The pages by name, and by name without regard to case: looked up for every line of the record,
// which holds a line for every page.
class PageIndex {
public:
    static constexpr size_t kNone = static_cast<size_t>(-1);

    explicit PageIndex(const std::vector<Page>& pages)
    {
        exact.reserve(pages.size());
        folded.reserve(pages.size());
        for (size_t index = 0; index < pages.size(); ++index) {
            exact.emplace(pages[index].name, index);
            folded.emplace(pages[index].folded, index);
        }
    }

    // The page of that name, else the first of that name in another letter case, as the folder
    // finds it; kNone for none.
    size_t Find(const std::string& name) const
    {
        auto found = exact.find(name);
        if (found == exact.end()) {
            found = folded.find(Folded(name));
            if (found == folded.end())
                return kNone;
        }
        return found->second;
    }

private:
    // Views of the pages' own names, which outlive the index.
    std::unordered_map<std::string_view, size_t> exact;
    std::unordered_map<std::string_view, size_t> folded;
};

// True for the page's base, or the base followed by a number, in any letter case: the names the
// rules can give the page, all of them plain file names.
bool CanName(std::string_view name, const Page& page)
{
    const std::string& base = page.base;
    if (name.size() < base.size())
        return false;
    for (size_t i = 0; i < base.size(); ++i) {
        if (FoldedLetter(name[i]) != FoldedLetter(base[i]))
            return false;
    }
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(base.size()), name.end(),
        [](char c) { return c >= '0' && c <= '9'; });
}

// The lines "name<tab>page"; any other line is passed over.
std::vector<Claim> ParseClaims(std::string_view text)
{
    std::vector<Claim> claims;
    for (size_t start = 0; start < text.size();) {
        size_t end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        size_t tab = line.find('\t');
        if (tab != std::string_view::npos && tab > 0 && tab + 1 < line.size())
            claims.push_back(Claim { std::string(line.substr(0, tab)), std::string(line.substr(tab + 1)) });
    }
    return claims;
}

} // namespace

// The names of a project's pages: the recorded names that still hold, then the rules for the
// pages that hold none. They follow from the folder's page documents and its record alone.
class pw::exporting::ProjectPageNames {
public:
    // `recordable` false: the folder's record cannot be named, so nothing is recorded.
    ProjectPageNames(const char* folderPath, std::vector<std::string> documents, std::string record, bool recordable)
        : folderPath(folderPath)
        , documents(std::move(documents))
        , pages(PagesOf(this->documents))
        , index(pages)
        , stored(std::move(record))
        , recordable(recordable)
        , recorded(pages.size())
        , chosen(pages.size())
    {
        taken.reserve(pages.size());
        std::vector<Claim> claims = ParseClaims(stored);
        // Settled while every line, each ended by a newline, holds as it is written, naming its
        // page as the folder spells it: the record is then exactly the lines held.
        settled = stored.empty()
            || (stored.back() == '\n' && claims.size() == size_t(std::count(stored.begin(), stored.end(), '\n')));
        // A record holds while its page is in the folder and no earlier line gave that page or
        // that name; a record of a name the page cannot have is damage and passed over.
        for (Claim& claim : claims) {
            size_t page = index.Find(claim.page);
            if (page == PageIndex::kNone || !chosen[page].empty() || !CanName(claim.name, pages[page])
                || !taken.insert(Folded(claim.name)).second) {
                settled = false;
                continue;
            }
            settled = settled && claim.page == pages[page].name;
            recorded[page] = true;
            chosen[page] = claim.name;
            held.push_back(Claim { std::move(claim.name), pages[page].name });
        }
        for (size_t page = 0; page < pages.size(); ++page) {
            if (chosen[page].empty() && taken.insert(Folded(pages[page].base)).second)
                chosen[page] = pages[page].base;
        }
        for (size_t page = 0; page < pages.size(); ++page) {
            if (!chosen[page].empty())
                continue;
            chosen[page] = FreeName(pages[page].base, taken);
            taken.insert(Folded(chosen[page]));
        }
    }
    ProjectPageNames(const ProjectPageNames&) = delete;
    ProjectPageNames& operator=(const ProjectPageNames&) = delete;

    // True when these are the names for that folder, documents and record, as they are now
    // (including what this recorded since).
    bool Answers(const char* path, const std::vector<std::string>& now, const std::string& record, bool canRecord) const
    {
        return Folded(path) == Folded(folderPath) && now == documents && record == stored && canRecord == recordable;
    }

    // A page of the folder, found in any letter case, has its chosen name; any other page a name
    // none of them has.
    std::string NameOf(const String& pageName) const
    {
        size_t page = index.Find(TextOf(pageName));
        if (page != PageIndex::kNone)
            return chosen[page];
        return FreeName(TextOf(PageFileName(pageName)), taken);
    }

    // Records the page's chosen name as its own, and drops the records that no longer hold. The
    // file is written only when that changes it. When the record is exactly the lines held, one of
    // them the page's, as every save of a recorded page finds it, the record is not even put
    // together: it has a line for every page. A page the folder does not hold, or whose name would
    // not stay one line, is not recorded.
    void Record(const String& pageName)
    {
        size_t found = index.Find(TextOf(pageName));
        if (found == PageIndex::kNone || !recordable || (settled && recorded[found]))
            return;
        const std::string& page = pages[found].name;
        if (std::any_of(page.begin(), page.end(), [](char c) { return c == '\n'; }))
            return;
        std::vector<Claim> claims = held;
        if (!recorded[found])
            claims.push_back(Claim { chosen[found], page });
        std::string text;
        for (const Claim& claim : claims)
            text += claim.name + '\t' + claim.page + '\n';
        if (text == stored)
            return;
        SmartPtr<String> contents = new String;
        contents->InsertChars(text.data(), 0, static_cast<uint32_t>(text.size()));
        SmartPtr<FileReference> folder = new FileReference(folderPath.c_str());
        SmartPtr<FileReference> file = FileReference::FileReferenceCreate(
            TextFile::TextFileType(), FileCreatorType::Unknown(), *folder.Get(), String(kClaimsName), true);
        SmartPtr<TextFile> writer = new TextFile(*file.Get(), File::kWrite);
        writer->Write(SmartPtr<Smart>(contents.Get()));
        held = claims;
        stored = text;
        settled = true;
        recorded[found] = true;
    }

private:
    std::string folderPath;
    std::vector<std::string> documents; // as listed
    std::vector<Page> pages;
    PageIndex index;
    std::string stored; // the record's text as it is on disk
    bool recordable;
    std::vector<Claim> held;
    std::vector<bool> recorded; // by page: a line of `held` gives it its name
    bool settled;               // the record on disk is exactly the lines of `held`
    std::vector<std::string> chosen; // by page; never empty once made
    std::unordered_set<std::string> taken;
};

namespace {

// The reading in force, if any; single-threaded like the rest of the program.
pw::exporting::ExportNamesReading* currentReading = nullptr;

// The names last worked out. A save lists the folder and reads the record, and while neither
// changed since the last save the names it works out are those, so a save in a project of
// hundreds of pages works out no page's name again.
std::shared_ptr<pw::exporting::ProjectPageNames> lastNames;

// The names of the folder's pages as the folder and its record are now.
std::shared_ptr<pw::exporting::ProjectPageNames> ReadNames(FileReference& projectFolder)
{
    std::vector<std::string> documents = ProjectDocuments(projectFolder);
    std::string record;
    bool recordable = ReadRecord(projectFolder, record);
    if (!lastNames || !lastNames->Answers(projectFolder.Path(), documents, record, recordable)) {
        lastNames = std::make_shared<pw::exporting::ProjectPageNames>(
            projectFolder.Path(), std::move(documents), std::move(record), recordable);
    }
    return lastNames;
}

// The names of the folder's pages: the reading's when one is in force for that folder, else a new
// reading made for the one question.
template <typename Answer>
String AskNames(const SmartPtr<FileReference>& projectFolder, const Answer& answer)
{
    for (pw::exporting::ExportNamesReading* reading = currentReading; reading; reading = reading->Previous()) {
        if (pw::exporting::ProjectPageNames* names = reading->NamesOf(*projectFolder.Get()))
            return String(answer(*names).c_str());
    }
    return String(answer(*ReadNames(*projectFolder.Get())).c_str());
}

} // namespace

pw::exporting::ExportNamesReading::ExportNamesReading(const SmartPtr<FileReference>& projectFolder)
    : previous(currentReading)
{
    if (projectFolder.Valid()) {
        path = Folded(projectFolder->Path());
        names = ReadNames(*projectFolder.Get());
    }
    currentReading = this;
}

pw::exporting::ExportNamesReading::~ExportNamesReading()
{
    currentReading = previous;
}

pw::exporting::ProjectPageNames* pw::exporting::ExportNamesReading::NamesOf(FileReference& projectFolder) const
{
    return names && Folded(projectFolder.Path()) == path ? names.get() : nullptr;
}

String pw::exporting::ExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName)
{
    if (!projectFolder.Valid())
        return PageFileName(pageName);
    return AskNames(projectFolder, [&](ProjectPageNames& names) { return names.NameOf(pageName); });
}

String pw::exporting::ClaimExportPageName(const SmartPtr<FileReference>& projectFolder, const String& pageName)
{
    if (!projectFolder.Valid())
        return PageFileName(pageName);
    return AskNames(projectFolder, [&](ProjectPageNames& names) {
        names.Record(pageName);
        return names.NameOf(pageName);
    });
}
