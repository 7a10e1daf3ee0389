#include "export/PageExportName.h"

#include "ElementFixture.h"

#include "engine/ShowFileType.h"
#include "foundation/FileCreatorType.h"

#include <filesystem>
#include <string>
#include <vector>

using elementtest::Text;
using pw::foundation::TextOf;
using pw::platform::testing::HostPath;

namespace {

class PageExportNameTest : public uitest::FrameworkTest {
protected:
    // The project folder c:\Proj holding a page document for each name.
    static SmartPtr<FileReference> Project(const std::vector<std::string>& pages)
    {
        pw::platform::testing::MakeHostFolder("Proj");
        SmartPtr<FileReference> folder = new FileReference("c:\\Proj");
        for (const std::string& page : pages)
            FileReference::FileReferenceCreate(ShowFileType, FileCreatorType::Unknown(), *folder.Get(), Text(page), true);
        return folder;
    }

    // One step of a project's life: "+Name" a page document appears, "-Name" it goes (deleted, or
    // renamed with the next step), "Name=Base" the page is exported and must get Base, "?Name=Base"
    // a link asks for the page's name and must get Base.
    static void Step(const SmartPtr<FileReference>& project, const std::string& step)
    {
        SCOPED_TRACE(step);
        std::string name = step.substr(1);
        if (step[0] == '+') {
            FileReference::FileReferenceCreate(ShowFileType, FileCreatorType::Unknown(), *project.Get(), Text(name), true);
        } else if (step[0] == '-') {
            ASSERT_TRUE(DeleteFileA(("c:\\Proj\\" + name + ".mvi").c_str()));
        } else if (step[0] == '?') {
            size_t equals = name.find('=');
            EXPECT_EQ(TextOf(pw::exporting::ExportPageName(project, Text(name.substr(0, equals)))), name.substr(equals + 1));
        } else {
            size_t equals = step.find('=');
            EXPECT_EQ(TextOf(pw::exporting::ClaimExportPageName(project, Text(step.substr(0, equals)))),
                step.substr(equals + 1));
        }
    }
};

// Names are unique among the project's pages, letters compared without regard to case; a name that
// already is a file name keeps it, and numbers skip names that pages hold.
TEST_F(PageExportNameTest, EveryPageOfAProjectGetsANameOfItsOwn)
{
    SmartPtr<FileReference> project
        = Project({ "Cafe", "Caf\xE9", "CAF\xC9", "Cafe1", "My Page", "My_Page", "Home", "index" });
    struct Case {
        const char* page;
        const char* name;
    } cases[] = {
        { "Cafe", "Cafe" },
        { "Cafe1", "Cafe1" },
        { "CAF\xC9", "CAFE2" },
        { "Caf\xE9", "Cafe3" },
        { "My_Page", "My_Page" },
        { "My Page", "My_Page1" },
        { "Home", "Home" },
        { "index", "index" },
        // A link that names a page in another case leads to that page.
        { "home", "Home" },
        // A page the folder does not hold never takes a page's name.
        { "Ca%fe", "Cafe4" },
        { "Elsewhere", "Elsewhere" },
    };
    for (const Case& c : cases)
        EXPECT_EQ(TextOf(pw::exporting::ExportPageName(project, Text(c.page))), c.name) << c.page;
    EXPECT_EQ(TextOf(pw::exporting::ExportPageName(SmartPtr<FileReference>(), Text("My Page"))), "My_Page")
        << "without a project";
}

} // namespace

// The page that is exported first under a name keeps it, whichever pages come later, and a link
// asks for the same name the page's own export takes. A deleted or renamed page's name is nobody's.
TEST_F(PageExportNameTest, APageKeepsTheNameItWasExportedUnder)
{
    struct Case {
        const char* name;
        std::vector<std::string> steps;
    } cases[] = {
        { "Caf\xE9 first", { "+Caf\xE9", "Caf\xE9=Cafe", "?Cafe=Cafe1", "+Cafe", "?Cafe=Cafe1", "?cafe=Cafe1", "Cafe=Cafe1",
                                "Caf\xE9=Cafe", "Cafe=Cafe1" } },
        { "Cafe first", { "+Cafe", "Cafe=Cafe", "+Caf\xE9", "Caf\xE9=Cafe1", "Cafe=Cafe" } },
        { "My Page first", { "+My Page", "My Page=My_Page", "+My_Page", "My_Page=My_Page1", "My Page=My_Page" } },
        { "numbers skip the names pages hold",
            { "+Caf\xE9", "Caf\xE9=Cafe", "+Cafe", "Cafe=Cafe1", "+Cafe1", "Cafe1=Cafe11", "+CAF\xC9", "?CAF\xC9=CAFE2" } },
        { "a page keeps its number when the name comes free",
            { "+Caf\xE9", "Caf\xE9=Cafe", "+Cafe", "Cafe=Cafe1", "-Caf\xE9", "Cafe=Cafe1", "+CAF\xC9", "CAF\xC9=CAFE" } },
        { "renamed", { "+Caf\xE9", "Caf\xE9=Cafe", "-Caf\xE9", "+Tea", "Tea=Tea", "+Cafe", "Cafe=Cafe" } },
        { "renamed in letter case", { "+cafe", "cafe=cafe", "-cafe", "+CAFE", "?Cafe=cafe", "CAFE=cafe" } },
        { "an unsaved page is not recorded", { "+Caf\xE9", "?Caf\xE9=Cafe", "+Cafe", "Cafe=Cafe", "Caf\xE9=Cafe1" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HostPath("Proj"));
        SmartPtr<FileReference> project = Project({});
        for (const std::string& step : c.steps)
            Step(project, step);
    }
}

// A damaged record costs only its own lines: a line that is not "name<tab>page", names a page the
// project lacks or a name that page cannot have, or gives a page or a name a second time, is passed
// over, and the next export writes back the lines that hold.
TEST_F(PageExportNameTest, DamagedRecordLinesArePassedOver)
{
    SmartPtr<FileReference> project = Project({ "Cafe", "Caf\xE9", "Home" });
    pw::platform::testing::MakeHostFile("Proj/_pagefiles.txt",
        "Home\tCaf\xE9\n"
        "no tab\n"
        "\tHome\n"
        "Cafe\t\n"
        "../Cafe\tCaf\xE9\n"
        "Cafe\tGone\n"
        "Cafe\tcaf\xE9\n"
        "cafe\tCafe\n"
        "Cafe2\tCaf\xE9\n"
        "Cafe2x\tCafe\n"
        "Cafe2\tCafe");
    for (const char* step : { "?Cafe=Cafe2", "?Caf\xE9=Cafe", "Home=Home" })
        Step(project, step);
    EXPECT_EQ(pw::platform::testing::ReadHostFile("Proj/_pagefiles.txt"), "Cafe\tCaf\xE9\nCafe2\tCafe\nHome\tHome\n");
}

// An export of a recorded page leaves the record alone only when it is as an export writes it: only
// lines that hold, each page as the folder spells it, no blank line, each line ended.
TEST_F(PageExportNameTest, ARecordIsLeftAloneOnlyInItsOwnForm)
{
    SmartPtr<FileReference> project = Project({ "Cafe", "Caf\xE9" });
    for (const char* record : { "Cafe1\tCaf\xE9\nCafe\tCafe\n", "Cafe1\tcAF\xE9\nCafe\tCafe\n",
             "Cafe1\tCaf\xE9\nCafe\tGone\nCafe\tCafe\n", "Cafe1\tCaf\xE9\n\nCafe\tCafe" }) {
        pw::platform::testing::MakeHostFile("Proj/_pagefiles.txt", record);
        Step(project, "Caf\xE9=Cafe1");
        EXPECT_EQ(pw::platform::testing::ReadHostFile("Proj/_pagefiles.txt"), "Cafe1\tCaf\xE9\nCafe\tCafe\n") << record;
    }
}

// A save asks every name from one reading of its project: the answers stay those of the folder and
// record as the reading found them, names claimed meanwhile are all kept, another folder's pages
// are answered from that folder, and once the reading ends the project is read afresh.
TEST_F(PageExportNameTest, OneReadingAnswersForAWholeSave)
{
    SmartPtr<FileReference> project = Project({ "Cafe", "Caf\xE9" });
    pw::platform::testing::MakeHostFolder("Other");
    SmartPtr<FileReference> other = new FileReference("c:\\Other");
    FileReference::FileReferenceCreate(ShowFileType, FileCreatorType::Unknown(), *other.Get(), Text("Caf\xE9"), true);
    {
        pw::exporting::ExportNamesReading reading(project);
        pw::platform::testing::MakeHostFile("Proj/_pagefiles.txt", "Cafe\tCaf\xE9\n");
        for (const char* step : { "?Caf\xE9=Cafe1", "?Cafe=Cafe", "Cafe=Cafe", "Caf\xE9=Cafe1" })
            Step(project, step);
        EXPECT_EQ(TextOf(pw::exporting::ExportPageName(other, Text("Caf\xE9"))), "Cafe") << "another folder";
        EXPECT_EQ(pw::platform::testing::ReadHostFile("Proj/_pagefiles.txt"), "Cafe\tCafe\nCafe1\tCaf\xE9\n");
    }
    pw::platform::testing::MakeHostFile("Proj/_pagefiles.txt", "Cafe\tCaf\xE9\n");
    Step(project, "?Caf\xE9=Cafe");
}

// Projects alike in their pages and records still keep records of their own, and a record edited
// between two saves is read again.
TEST_F(PageExportNameTest, EachProjectKeepsItsOwnRecord)
{
    SmartPtr<FileReference> project = Project({ "Cafe", "Caf\xE9" });
    pw::platform::testing::MakeHostFolder("Twin");
    SmartPtr<FileReference> twin = new FileReference("c:\\Twin");
    for (const char* page : { "Cafe", "Caf\xE9" })
        FileReference::FileReferenceCreate(ShowFileType, FileCreatorType::Unknown(), *twin.Get(), Text(page), true);

    EXPECT_EQ(TextOf(pw::exporting::ExportPageName(project, Text("Caf\xE9"))), "Cafe1");
    EXPECT_EQ(TextOf(pw::exporting::ClaimExportPageName(twin, Text("Caf\xE9"))), "Cafe1");
    EXPECT_FALSE(pw::platform::testing::HostExists("Proj/_pagefiles.txt"));
    EXPECT_EQ(pw::platform::testing::ReadHostFile("Twin/_pagefiles.txt"), "Cafe1\tCaf\xE9\n");

    pw::platform::testing::MakeHostFile("Twin/_pagefiles.txt", "Cafe\tCaf\xE9\n");
    EXPECT_EQ(TextOf(pw::exporting::ExportPageName(twin, Text("Caf\xE9"))), "Cafe");
    EXPECT_EQ(TextOf(pw::exporting::ExportPageName(twin, Text("Cafe"))), "Cafe1");
}
