#include "export/PageExportName.h"

#include "ElementFixture.h"

#include "engine/ShowFileType.h"
#include "foundation/FileCreatorType.h"

#include <string>
#include <vector>

using elementtest::Text;
using pw::foundation::TextOf;

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
