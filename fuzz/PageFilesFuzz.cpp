// Reads arbitrary bytes as a project's record of export names, "_pagefiles.txt" (lines "export
// name<TAB>page name"), in one of a few project folders whose pages' names come out alike as file
// names. The first byte chooses the folder, the second the page exported. Whatever the record
// holds, damaged lines are passed over and never a crash: every page of the folder has a name of
// its own (letters compared without regard to case) that its rules allow, its base or its base
// and a number; a page the folder does not hold takes none of theirs; an export gives the page
// the name links to it were given, changes no other page's name, and records it so that
// exporting again changes nothing.
#include "engine/ShowFileType.h"
#include "export/PageExportName.h"
#include "export/htmlElement.h"
#include "foundation/Exception.h"
#include "foundation/FileCreatorType.h"
#include "foundation/FileReference.h"

#include "platform/kernel/KernelTesting.h"
#include "platform/testing/Reset.h"

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace {

using pw::foundation::TextOf;

struct Project {
    const char* folder;
    std::vector<std::string> pages;
};

const std::vector<Project>& Projects()
{
    static const std::vector<Project> projects {
        { "P0", { "Cafe", "Caf\xE9", "CAF\xC9", "Cafe1", "My Page", "My_Page", "Home", "index" } },
        { "P1", { "A", "a 1", "A1", "A_1", "a11", "A1 1", "A11 " } },
        { "P2", { "x", "X2", "x 2", "X_", "x_1", "X_ 1", "x1" } },
        { "P3", { "Solo" } },
    };
    return projects;
}

// Pages no folder holds.
const char* const kOutsiders[] = { "Cafe2", "a", "X_1", "Elsewhere", "Caf\xE9 1" };

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Folded(std::string name)
{
    for (char& c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return name;
}

// The page's file name, or it followed by digits, in any letter case.
bool IsNameOf(const std::string& name, const std::string& page)
{
    std::string base = Folded(TextOf(PageFileName(String(page.c_str()))));
    std::string folded = Folded(name);
    return folded.compare(0, base.size(), base) == 0
        && folded.find_first_not_of("0123456789", base.size()) == std::string::npos;
}

bool Prepare()
{
    pw::platform::testing::ResetPlatform();
    for (const Project& project : Projects()) {
        std::filesystem::create_directories(pw::platform::testing::DriveRoot() + "/" + project.folder);
        SmartPtr<FileReference> folder = new FileReference((std::string("c:\\") + project.folder).c_str());
        for (const std::string& page : project.pages) {
            FileReference::FileReferenceCreate(
                ShowFileType, FileCreatorType::Unknown(), *folder.Get(), String(page.c_str()), true);
        }
    }
    return true;
}

std::string RecordPath(const Project& project)
{
    return std::string("c:\\") + project.folder + "\\_pagefiles.txt";
}

void WriteRecord(const Project& project, const uint8_t* bytes, size_t count)
{
    HANDLE file = CreateFileA(RecordPath(project).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    Require(file != INVALID_HANDLE_VALUE);
    DWORD written = 0;
    Require(count == 0 || (WriteFile(file, bytes, static_cast<DWORD>(count), &written, nullptr) && written == count));
    CloseHandle(file);
}

std::string ReadRecord(const Project& project)
{
    HANDLE file = CreateFileA(RecordPath(project).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::string();
    std::string bytes;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        bytes.append(buffer, read);
    CloseHandle(file);
    return bytes;
}

std::vector<std::string> NamesOf(const SmartPtr<FileReference>& folder, const Project& project)
{
    std::vector<std::string> names;
    std::set<std::string> folded;
    for (const std::string& page : project.pages) {
        names.push_back(TextOf(pw::exporting::ExportPageName(folder, String(page.c_str()))));
        Require(IsNameOf(names.back(), page));
        Require(folded.insert(Folded(names.back())).second);
    }
    for (const char* outsider : kOutsiders) {
        bool held = false;
        for (const std::string& page : project.pages)
            held = held || Folded(page) == Folded(outsider);
        if (!held)
            Require(!folded.count(Folded(TextOf(pw::exporting::ExportPageName(folder, String(outsider))))));
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = Prepare();
    (void)prepared;
    if (size < 2 || size > (1u << 16))
        return 0;
    const Project& project = Projects()[data[0] % Projects().size()];
    SmartPtr<FileReference> folder = new FileReference((std::string("c:\\") + project.folder).c_str());
    WriteRecord(project, data + 2, size - 2);
    try {
        std::vector<std::string> before = NamesOf(folder, project);
        size_t exported = data[1] % project.pages.size();
        String page(project.pages[exported].c_str());
        Require(TextOf(pw::exporting::ClaimExportPageName(folder, page)) == before[exported]);
        std::string record = ReadRecord(project);
        Require(NamesOf(folder, project) == before);
        Require(TextOf(pw::exporting::ClaimExportPageName(folder, page)) == before[exported]);
        Require(ReadRecord(project) == record);
    } catch (Exception*) {
        // The folder and its record are the fuzzer's own: nothing here may fail.
        std::abort();
    }
    return 0;
}
