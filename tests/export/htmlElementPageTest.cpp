#include "export/htmlElement.h"

#include "ElementFixture.h"

#include "foundation/Failure.h"

#include <filesystem>
#include <string>
#include <vector>

using namespace elementtest;
using pw::platform::testing::HostPath;
using pw::platform::testing::HostExists;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::MakeHostFolder;
using pw::platform::testing::ReadHostFile;

namespace {

// An element that makes the named files in the folder, lists them, and writes `text`; with
// `fail` it throws once it has made them.
class FileMaker : public htmlElement {
public:
    FileMaker(std::vector<std::string> names, const char* text, bool fail = false)
        : names(std::move(names))
        , text(text)
        , fail(fail)
    {
    }

    void Write(Archive&) override { }
    const PersistentVersion& GetPersistentVersion() const override { return RawHTML::version; }

    void WriteHTML(SmartPtr<FileReference> folder, const String&, SmartList<FileReference> files, Stream& out) override
    {
        for (const std::string& name : names) {
            MakeHostFile("HTML/" + name, "made");
            files.Append(new FileReference((std::string(folder->Path()) + "\\" + name).c_str()));
        }
        if (fail)
            ThrowError("The element failed.", PW_HERE);
        out << String(text.c_str());
    }

    std::vector<std::string> names;
    std::string text;
    bool fail;
};

void ExportPage(const char* pageName, htmlElement* root)
{
    SmartPtr<htmlElement> held(root);
    RemoveOldPageFiles(String(pageName), ExportFolder());
    root->WritePage(String(pageName), ExportFolder(), SmartList<FileReference>());
}

} // namespace

TEST_F(ElementTest, APageFileIsItsHeadTheElementAndTheListOfItsFiles)
{
    struct Case {
        const char* name;
        const char* pageName;
        htmlElement* root;
        const char* file;
        std::string bytes;
    } cases[] = {
        { "empty page", "My Page", new htmlWrapper(SmartList<htmlElement>()), "HTML/My_Page.htm",
            "<HTML>\n<HEAD>\n<TITLE>My_Page</TITLE>\n</HEAD>\n<!-- Files:\n-->\n</HTML>\n" },
        { "files listed in order", "Home", new FileMaker({ "Home.jpg", "Home.wav", "Home1.wav" }, "<BODY>\n"),
            "HTML/Home.htm",
            "<HTML>\n<HEAD>\n<TITLE>Home</TITLE>\n</HEAD>\n<BODY>\n<!-- Files:\nHome.jpg\nHome.wav\nHome1.wav\n"
            "-->\n</HTML>\n" },
        { "an ampersand is escaped in the title only", "Tom & Jerry", new RawHTML(String("x")),
            "HTML/Tom_&_Jerry.htm",
            "<HTML>\n<HEAD>\n<TITLE>Tom_&amp;_Jerry</TITLE>\n</HEAD>\nx<!-- Files:\n-->\n</HTML>\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Failure([&] { ExportPage(c.pageName, c.root); }), "");
        EXPECT_EQ(ReadHostFile(c.file), c.bytes);
    }
}

// Whatever the page is called, its file lands in the export folder under a name every server and
// file system takes; nothing appears beside the folder.
TEST_F(ElementTest, PageNamesOfReservedSignsGiveFilesInsideTheExportFolder)
{
    struct Case {
        std::string page;
        const char* file;
    } cases[] = {
        { "\\\\\\", "page.htm" }, { ":::", "page.htm" }, { "///", "page.htm" }, { "***", "page.htm" },
        { "???", "page.htm" }, { "\"\"\"", "page.htm" }, { "<<<", "page.htm" }, { ">>>", "page.htm" },
        { "|||", "page.htm" }, { "%%%", "page.htm" }, { "###", "page.htm" }, { "\t\r\n\x1F", "page.htm" },
        { "..\\..\\evil", "....evil.htm" }, { "c:\\evil", "cevil.htm" }, { "a/b\\c", "abc.htm" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.page);
        std::filesystem::remove_all(HostPath("HTML"));
        SmartPtr<htmlElement> root = new RawHTML(String("x"));
        ASSERT_EQ(Failure([&] { root->WritePage(Text(c.page), ExportFolder(), SmartList<FileReference>()); }), "");
        std::vector<std::string> inside;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath("HTML")))
            inside.push_back(entry.path().filename().string());
        EXPECT_EQ(inside, (std::vector<std::string> { c.file }));
        std::vector<std::string> beside;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath("")))
            beside.push_back(entry.path().filename().string());
        EXPECT_EQ(beside, (std::vector<std::string> { "HTML" }));
    }
}

// A rewrite replaces the whole file; a failed one leaves the last good page as it was.
TEST_F(ElementTest, ARewrittenPageKeepsNoTailAndAFailedOneChangesNothing)
{
    MakeHostFile("HTML/Home.htm", std::string(5000, '#'));
    ExportPage("Home", new RawHTML(String("<P>short</P>\n")));
    std::string written = ReadHostFile("HTML/Home.htm");
    EXPECT_EQ(written, "<HTML>\n<HEAD>\n<TITLE>Home</TITLE>\n</HEAD>\n<P>short</P>\n<!-- Files:\n-->\n</HTML>\n");

    SmartPtr<htmlElement> failing = new FileMaker({ "Home.jpg" }, "", true);
    EXPECT_EQ(Failure([&] { failing->WritePage(String("Home"), ExportFolder(), SmartList<FileReference>()); }),
        "The element failed.");
    EXPECT_EQ(ReadHostFile("HTML/Home.htm"), written);
}

// The old list deletes bare names of files in the export folder and nothing else: not paths, not
// the folder's parent, not folders, not files of other pages, not what a non-page file lists.
TEST_F(ElementTest, AnOldListDeletesOnlyItsOwnFilesInTheExportFolder)
{
    MakeHostFolder("HTML/sub");
    for (const char* name : { "outside.txt", "HTML/Home.jpg", "HTML/Home.wav", "HTML/Home1.wav", "HTML/sub/x.jpg",
             "HTML/Other.jpg", "HTML/kept.txt", "HTML/after.txt", "HTML/last.txt" })
        MakeHostFile(name, "data");
    MakeHostFile("HTML/Home.htm",
        "<HTML>\n<P>text</P>\n<!-- Files:\nHome.jpg\n\nHome.wav\n..\\outside.txt\n../outside.txt\nc:\\outside.txt\n"
        "/outside.txt\n..\n.\nsub\nsub\\x.jpg\ngone.wav\nHome1.wav\n-->\nafter.txt\n</HTML>\nlast.txt");
    MakeHostFile("HTML/Other.htm", "<!-- Files:\nOther.jpg\n-->\n");
    MakeHostFile("HTML/Home.txt", "<!-- Files:\nkept.txt\n-->\n");
    MakeHostFile("HTML/Home.jpg.htm", "<!-- Files:\nkept.txt\n-->\n");

    RemoveOldPageFiles(String("Home"), ExportFolder());

    struct Case {
        const char* file;
        bool remains;
    } cases[] = {
        { "HTML/Home.jpg", false },
        { "HTML/Home.wav", false },
        { "HTML/Home1.wav", false },
        { "outside.txt", true },
        { "HTML/sub/x.jpg", true },
        { "HTML/sub", true },
        { "HTML/Other.jpg", true },
        { "HTML/kept.txt", true },
        { "HTML/after.txt", true },
        { "HTML/last.txt", true },
        { "HTML/Home.htm", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(HostExists(c.file), c.remains);
    }
}

TEST_F(ElementTest, APageWithoutAListOrAnUnfinishedListDeletesNothing)
{
    struct Case {
        const char* name;
        std::string page;
        bool deleted;
    } cases[] = {
        { "no comment", "<HTML>\nHome.jpg\n-->\n</HTML>\n", false },
        { "listed after the end", "<!-- Files:\n-->\nHome.jpg\n", false },
        { "last line of a cut file", "<!-- Files:\nHome.jpg", false },
        { "list without its end", "<!-- Files:\nHome.jpg\nmore\n", true },
        { "first comment counts", "<!-- Files:\n-->\n<!-- Files:\nHome.jpg\n-->\n", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MakeHostFile("HTML/Home.jpg", "picture");
        MakeHostFile("HTML/Home.htm", c.page);
        RemoveOldPageFiles(String("Home"), ExportFolder());
        EXPECT_EQ(!HostExists("HTML/Home.jpg"), c.deleted);
    }
}

TEST(EscapedHTML, MarkupCharactersBecomeReferencesAndOtherTextStays)
{
    struct Case {
        const char* text;
        const char* escaped;
    } cases[] = {
        { "", "" },
        { "My_Page.htm", "My_Page.htm" },
        { "http://example.org/a?b=1&c=2", "http://example.org/a?b=1&amp;c=2" },
        { "<\"&\">", "&lt;&quot;&amp;&quot;&gt;" },
        { "&amp;", "&amp;amp;" },
        { "Caf\xE9 \x80 \x81", "Caf&#233; &#8364; &#65533;" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(pw::foundation::TextOf(pw::exporting::EscapedHTML(String(c.text))), c.escaped);
    }
}
