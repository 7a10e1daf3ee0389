#include "export/htmlElement.h"

#include "ElementFixture.h"

#include <string>

using namespace elementtest;
using pw::foundation::TextOf;

TEST(PageFileName, SpacesBecomeUnderscoresAndPercentAndSlashGo)
{
    struct Case {
        const char* page;
        const char* file;
    } cases[] = {
        { "My Page", "My_Page" },
        { "", "" },
        { "already_done", "already_done" },
        { " 100% / fun ", "_100__fun_" },
        { "%%//", "" },
        { "a%20b", "a20b" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        EXPECT_EQ(TextOf(PageFileName(String(c.page))), c.file);
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
