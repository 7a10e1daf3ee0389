#include "export/htmlElement.h"

#include "ElementFixture.h"

#include <string>

using namespace elementtest;
using pw::foundation::TextOf;

// Plain ASCII names keep the names they always had; what a URL, server, FTP path or file system
// would read as structure goes, and letters of the 8-bit set are spelled in ASCII.
TEST(PageFileName, NamesComeOutAsPlainASCIIWithNothingThatReadsAsStructure)
{
    struct Case {
        const char* name;
        std::string page;
        const char* file;
    } cases[] = {
        { "blanks", "My Page", "My_Page" },
        { "an underscore stays", "already_done", "already_done" },
        { "percent and slash", " 100% / fun ", "_100__fun_" },
        { "an escape is no escape", "a%20b", "a20b" },
        { "other signs of ASCII stay", "Tom's (best) page! +1 & more", "Tom's_(best)_page!_+1_&_more" },
        { "every reserved sign", "a\\b:c*d?e\"f<g>h|i#j", "abcdefghij" },
        { "a climb out of the folder", "..\\..\\Proj", "....Proj" },
        { "control bytes", std::string("tab\there\r\nnul") + std::string(1, '\0') + "x\x7F", "tabherenulx" },
        { "an accented letter", "Caf\xE9", "Cafe" },
        { "capitals and ligatures", "\xC9t\xE9 \xC6sop \xDF \x8Cuvre", "Ete_AEsop_ss_OEuvre" },
        { "signs outside ASCII go", "\x80 5 \xA9 \x99", "_5__" },
        { "a name of reserved signs only", "%%//", "page" },
        { "a name of signs outside ASCII only", "\xA9\xAE", "page" },
        { "an empty name", "", "page" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TextOf(PageFileName(Text(c.page))), c.file);
    }
}

TEST_F(ElementTest, FileBaseNameCutsAtTheLastDot)
{
    struct Case {
        const char* path;
        const char* base;
    } cases[] = {
        { "c:\\HTML\\My_Page.htm", "My_Page" },
        { "c:\\HTML\\My_Page1.jpg", "My_Page1" },
        { "c:\\HTML\\a.b.wav", "a.b" },
        { "c:\\HTML\\plain", "plain" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileReference file(c.path);
        EXPECT_EQ(TextOf(FileBaseName(file)), c.base);
    }
}
