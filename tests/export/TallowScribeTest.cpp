#include "export/TallowScribe.h"

#include "PageMaker.h"
#include "foundation/Failure.h"
#include "graphics/SoundBytes.h"

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

using pagemaker::PageLink;
using pagemaker::Save;
using pagemaker::Sprite;
using pw::platform::testing::HostPath;
using pw::platform::testing::ReadHostFile;

namespace {

class TallowScribeTest : public uitest::ProgressTest {
protected:
    static SmartPtr<Sound> Beep()
    {
        MemoryStream source = sound_bytes::StreamOf(sound_bytes::Wave(1, 8000, 8, { 9, 8, 7, 6 }));
        return new Sound(source, Sound::wave, false);
    }

    static SmartPtr<CLink> WebLink(const char* href)
    {
        SmartPtr<CLink> link = new CLink;
        link->SetHREF(new LinkHREF(elementtest::Text(href)));
        return link;
    }

    // The page Home of the project c:\Proj: over a 60 x 40 page, a link to the page Second, a web
    // link, a sound, a sprite with both a link and a sound, and one with neither.
    static SmartPtr<CShow> HomePage()
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 60, 40));
        SmartPtr<CSprite> toSecond = Sprite(5, 5, 10, 8);
        toSecond->SetLink(0, 1, PageLink("c:\\Proj\\Second.mvi").Get());
        SmartPtr<CSprite> toWeb = Sprite(20, 5, 10, 8);
        toWeb->SetLink(0, 1, WebLink("http://www.example.org/kids/").Get());
        SmartPtr<CSprite> sound = Sprite(35, 20, 10, 8);
        sound->SetSound(0, 1, Beep().Get());
        SmartPtr<CSprite> both = Sprite(5, 20, 4, 4);
        both->SetLink(0, 1, WebLink("http://www.example.org/").Get());
        both->SetSound(0, 1, Beep().Get());
        SmartPtr<CSprite> plain = Sprite(50, 30, 5, 5);
        for (const SmartPtr<CSprite>& sprite : { toSecond, toWeb, sound, both, plain })
            group->AddSprite(sprite, false);
        return new CShow(group.Get());
    }

    static SmartPtr<CShow> EmptyPage() { return new CShow(new CMovieGroup(Rect(0, 0, 350, 350))); }

    // A 100 x 40 page with a sprite linking to each of the other pages of c:\Proj and one that
    // plays a sound.
    static SmartPtr<CShow> PageLinkingTo(const std::string& self, const std::vector<std::string>& pages)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 100, 40));
        int32_t left = 5;
        for (const std::string& page : pages) {
            if (page == self)
                continue;
            SmartPtr<CSprite> sprite = Sprite(left, 5, 10, 8);
            sprite->SetLink(0, 1, PageLink("c:\\Proj\\" + page + ".mvi").Get());
            group->AddSprite(sprite, false);
            left += 20;
        }
        SmartPtr<CSprite> sound = Sprite(left, 25, 10, 8);
        sound->SetSound(0, 1, Beep().Get());
        group->AddSprite(sound, false);
        return new CShow(group.Get());
    }

    static std::set<std::string> Exported()
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(HostPath("Proj/HTML")))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Every exported file by name, with its bytes.
    static std::map<std::string, std::string> ExportedBytes()
    {
        std::map<std::string, std::string> files;
        for (const std::string& name : Exported())
            files[name] = ReadHostFile("Proj/HTML/" + name);
        return files;
    }

    // The page, its picture and its one sound, for each export name.
    static std::set<std::string> PageFiles(const std::vector<std::string>& names)
    {
        std::set<std::string> files;
        for (const std::string& name : names) {
            for (const char* extension : { ".htm", ".jpg", ".wav" })
                files.insert(name + extension);
        }
        return files;
    }

    static bool CanBrowse()
    {
        return std::filesystem::exists("/usr/bin/chromium") && std::filesystem::exists("/usr/bin/chromedriver");
    }

    // A click at (x, y) of a page's picture, and the page file it must open.
    struct Click {
        int32_t x;
        int32_t y;
        std::string opens;
    };

    // Visits the exported pages of c:\Proj in a browser; `named` maps a page's name as a link shows
    // it (8-bit) to the page file its links must open, and each of `clicks` is made on the first page.
    static void ExpectBrowsable(const std::map<std::string, std::string>& named, const std::vector<std::string>& pages,
        const std::vector<Click>& clicks = {})
    {
        std::string command = std::string("/usr/bin/python3 ") + PW_BROWSE_EXPORT_SCRIPT;
        for (const Click& click : clicks)
            command += " --click " + std::to_string(click.x) + "," + std::to_string(click.y) + "=" + click.opens;
        for (const auto& [shown, file] : named) {
            // The browser shows names as Unicode, which the script receives as UTF-8.
            std::string utf8;
            for (unsigned char c : shown) {
                if (c < 0x80) {
                    utf8 += static_cast<char>(c);
                } else {
                    utf8 += static_cast<char>(0xC0 | (c >> 6));
                    utf8 += static_cast<char>(0x80 | (c & 0x3F));
                }
            }
            command += " --page '" + utf8 + "=" + file + "'";
        }
        for (const std::string& page : pages)
            command += " '" + HostPath("Proj/HTML/" + page + ".htm") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
};

TEST_F(TallowScribeTest, APageIsStoredAndExportedWithAnAreaPerLinkedOrSoundingSprite)
{
    pw::platform::testing::MakeHostFolder("Proj");
    Save("Second", EmptyPage().Get());
    Save("Home", HomePage().Get());

    // The document reads back as the show it was.
    {
        SmartPtr<FileReference> file = new FileReference("c:\\Proj\\Home.mvi");
        SmartPtr<ObjectFile> reader = new ObjectFile(GetGenericTypeIndex(), new File(*file.Get(), 1));
        SmartPtr<Smart> back = reader->Read();
        ASSERT_NE(SmartCast<CShow>(back.Get()), nullptr);
    }

    EXPECT_EQ(Exported(),
        (std::set<std::string> { "Home.htm", "Home.jpg", "Home.wav", "Home1.wav", "Second.htm", "Second.jpg" }));
    // The picture is cropped to the sprites (5, 5)-(45, 28), so areas are 5 left and 5 up of the
    // page's coordinates; the sprite with a link and a sound plays the sound. Areas and the link bar
    // go from the front sprite to the back one.
    EXPECT_EQ(ReadHostFile("Proj/HTML/Home.htm"),
        "<HTML>\n<HEAD>\n<TITLE>Home</TITLE>\n</HEAD>\n"
        "<BODY BGCOLOR=\"#ffffff\"><CENTER>"
        "<IMG BORDER=0 SRC = \"Home.jpg\" ALT = \"Home.jpg\" USEMAP = \"#Home\">\n"
        "<MAP NAME = \"Home\">\n"
        "<AREA SHAPE=\"RECT\" COORDS=\"0,15,4,19\" HREF=\"Home.wav\">\n"
        "<AREA SHAPE=\"RECT\" COORDS=\"30,15,40,23\" HREF=\"Home1.wav\">\n"
        "<AREA SHAPE=\"RECT\" COORDS=\"15,0,25,8\" HREF=\"http://www.example.org/kids/\">\n"
        "<AREA SHAPE=\"RECT\" COORDS=\"0,0,10,8\" HREF=\"Second.htm\">\n"
        "</MAP>\n<HR>\n"
        "<CENTER> [ <A HREF=\"Home.wav\">Sound</A> | <A HREF=\"Home1.wav\">Sound</A> | "
        "<A HREF=\"http://www.example.org/kids/\">kids</A> | <A HREF=\"Second.htm\">Second</A> ] </CENTER>\n"
        "<HR><ADDRESS><CENTER> Created with Plumewright(TM) - "
        "<A HREF=\"mailto:info@plumewright.example\">info@plumewright.example</A> - "
        "<A HREF=\"http://www.plumewright.example/\">www.plumewright.example</A>"
        "</ADDRESS> <HR></BODY>"
        "<!-- Files:\nHome.jpg\nHome.wav\nHome1.wav\n-->\n</HTML>\n");
    // A page without sprites shows its whole rectangle and has no map areas.
    std::string second = ReadHostFile("Proj/HTML/Second.htm");
    EXPECT_EQ(second.find("<AREA"), std::string::npos);
    EXPECT_NE(second.find("<!-- Files:\nSecond.jpg\n-->"), std::string::npos);
}

// A scribe whose every store fails, as a full disk would.
class FailingScribe : public Scribe, public SmartImplementation {
public:
    const ClassInfo* GetClassInfo() const override { return SmartImplementation::GetClassInfo(); }
    void* CastTo(const ClassInfo* info) override
    {
        void* cast = info == &Scribe::classInfo ? static_cast<Scribe*>(this) : nullptr;
        return cast ? cast : SmartImplementation::CastTo(info);
    }
    bool CanCopyFrom(Smart*) override { return false; }
    void CopyFrom(Smart*) override { }
    Smart* Copy() const override { return nullptr; }
    void Write(const SmartPtr<Smart>&) override { ThrowError("Disk full.", PW_HERE); }
    SmartPtr<Smart> Read() override { return SmartPtr<Smart>(); }
    bool CanWrite() override { return true; }
    bool Accepts(const ClassInfo*) override { return true; }
};

TEST_F(TallowScribeTest, RepeatedSavesLeaveOneSetOfFilesAndOnlyAStoredShowIsExported)
{
    pw::platform::testing::MakeHostFolder("Proj");
    Save("Second", EmptyPage().Get());
    Save("Home", HomePage().Get());
    std::set<std::string> once = Exported();
    std::string page = ReadHostFile("Proj/HTML/Home.htm");
    Save("Home", HomePage().Get());
    Save("Home", HomePage().Get());
    EXPECT_EQ(Exported(), once);
    EXPECT_EQ(ReadHostFile("Proj/HTML/Home.htm"), page);

    // A document that fails to store leaves the export as it was.
    {
        SmartPtr<FileReference> file = new FileReference("c:\\Proj\\Home.mvi");
        SmartPtr<TallowScribe> scribe = new TallowScribe(new FailingScribe, file);
        EXPECT_EQ(Failure([&] { scribe->Write(HomePage().Get()); }), "Disk full.");
        EXPECT_EQ(Exported(), once);
    }

    // Something other than a show is stored and takes the page's old files with it, but the page
    // file itself, which no longer lists anything new, is not rewritten.
    Save("Home", new String("not a page"));
    EXPECT_EQ(Exported(), (std::set<std::string> { "Home.htm", "Second.htm", "Second.jpg" }));
}

// Pages whose names come out alike as file names get files of their own: the page exported first
// under a name keeps it, the other takes a number. Saving one page never touches another's files,
// every link leads to the page it names, and in a visitor's browser every picture and sound loads
// and every link opens its page.
TEST_F(TallowScribeTest, PagesWhoseNamesComeOutAlikeKeepFilesOfTheirOwn)
{
    const std::vector<std::string> pages = { "Cafe", "Caf\xE9", "My Page", "My_Page" };
    // The page each name is exported as, and how a link bar shows the name.
    const std::map<std::string, std::pair<std::string, std::string>> exported = {
        { "Cafe", { "Cafe", "Cafe" } },
        { "Caf\xE9", { "Cafe1", "Caf&#233;" } },
        { "My Page", { "My_Page", "My Page" } },
        { "My_Page", { "My_Page1", "My_Page" } },
    };
    pw::platform::testing::MakeHostFolder("Proj");
    // The pages exist before they link to each other, as the link dialog finds them.
    for (const std::string& page : pages)
        Save(page, EmptyPage().Get());
    for (auto page = pages.rbegin(); page != pages.rend(); ++page)
        Save(*page, PageLinkingTo(*page, pages).Get());

    std::set<std::string> files;
    for (const auto& [page, names] : exported) {
        for (const char* extension : { ".htm", ".jpg", ".wav" })
            files.insert(names.first + extension);
    }
    EXPECT_EQ(Exported(), files);
    for (const auto& [page, names] : exported) {
        SCOPED_TRACE(names.first);
        std::string html = ReadHostFile("Proj/HTML/" + names.first + ".htm");
        const std::string& base = names.first;
        EXPECT_NE(html.find("<IMG BORDER=0 SRC = \"" + base + ".jpg\" ALT = \"" + base + ".jpg\" USEMAP = \"#" + base
                      + "\">\n<MAP NAME = \"" + base + "\">"),
            std::string::npos);
        EXPECT_NE(html.find("<!-- Files:\n" + base + ".jpg\n" + base + ".wav\n-->"), std::string::npos);
        for (const auto& [other, otherNames] : exported) {
            if (other == page)
                continue;
            EXPECT_NE(html.find("<A HREF=\"" + otherNames.first + ".htm\">" + otherNames.second + "</A>"),
                std::string::npos) << other;
        }
    }

    // Saving a page again leaves every other page's files as they were.
    std::map<std::string, std::string> before;
    for (const std::string& file : files)
        before[file] = ReadHostFile("Proj/HTML/" + file);
    Save("Caf\xE9", PageLinkingTo("Caf\xE9", pages).Get());
    for (const std::string& file : files)
        EXPECT_TRUE(ReadHostFile("Proj/HTML/" + file) == before[file]) << file;

    if (!CanBrowse())
        GTEST_SKIP() << "chromium and chromium-driver are not installed (scripts/setup installs them)";
    std::map<std::string, std::string> named;
    std::vector<std::string> visited;
    for (const auto& [page, names] : exported) {
        named[page] = names.first + ".htm";
        visited.push_back(names.first);
    }
    ExpectBrowsable(named, visited);
}

// Whichever of two pages whose names come out alike is exported first keeps its files: the later
// one takes a number, its saves leave every file of the earlier pages as it was (so the links they
// hold stay right), and in a browser every link, old and new, opens the page it names. Names that
// the page must escape ("&") take part.
TEST_F(TallowScribeTest, ThePageExportedFirstKeepsItsFilesWhicheverComesLater)
{
    struct Case {
        const char* name;
        std::vector<std::string> first;
        std::vector<std::string> later;
        std::map<std::string, std::string> exported;
    } cases[] = {
        { "Caf\xE9 first", { "Caf\xE9", "Tom & Jerry" }, { "Cafe", "Tom_&_Jerry" },
            { { "Caf\xE9", "Cafe" }, { "Tom & Jerry", "Tom_&_Jerry" }, { "Cafe", "Cafe1" },
                { "Tom_&_Jerry", "Tom_&_Jerry1" } } },
        { "Cafe first", { "Cafe", "Tom_&_Jerry" }, { "Caf\xE9", "Tom & Jerry" },
            { { "Cafe", "Cafe" }, { "Tom_&_Jerry", "Tom_&_Jerry" }, { "Caf\xE9", "Cafe1" },
                { "Tom & Jerry", "Tom_&_Jerry1" } } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(HostPath("Proj"));
        pw::platform::testing::MakeHostFolder("Proj");
        for (const std::string& page : c.first)
            Save(page, EmptyPage().Get());
        for (const std::string& page : c.first)
            Save(page, PageLinkingTo(page, c.first).Get());
        std::map<std::string, std::string> before = ExportedBytes();

        std::vector<std::string> all = c.first;
        all.insert(all.end(), c.later.begin(), c.later.end());
        for (const std::string& page : c.later)
            Save(page, EmptyPage().Get());
        for (const std::string& page : c.later)
            Save(page, PageLinkingTo(page, all).Get());
        for (const auto& [file, bytes] : before)
            EXPECT_TRUE(ReadHostFile("Proj/HTML/" + file) == bytes) << file;

        // The earlier pages learn of the later ones and keep their names.
        for (const std::string& page : c.first)
            Save(page, PageLinkingTo(page, all).Get());
        std::map<std::string, std::string> named;
        std::vector<std::string> names;
        for (const auto& [page, name] : c.exported) {
            named[page] = name + ".htm";
            names.push_back(name);
        }
        EXPECT_EQ(Exported(), PageFiles(names));
        if (CanBrowse())
            ExpectBrowsable(named, names);
    }
}

// A renamed page leaves its old name to nobody: a new page of a name that comes out alike takes it
// and clears the old files away, while the renamed page and the page that took a number beside it
// keep theirs.
TEST_F(TallowScribeTest, ARenamedPageLeavesItsNameToTheNextPage)
{
    pw::platform::testing::MakeHostFolder("Proj");
    const std::vector<std::string> pages = { "Caf\xE9", "Cafe" };
    for (const std::string& page : pages)
        Save(page, EmptyPage().Get());
    for (const std::string& page : pages)
        Save(page, PageLinkingTo(page, pages).Get());
    ASSERT_EQ(Exported(), PageFiles({ "Cafe", "Cafe1" }));

    std::filesystem::rename(HostPath("Proj/Caf\xE9.mvi"), HostPath("Proj/Tea.mvi"));
    const std::vector<std::string> renamed = { "Tea", "Cafe" };
    for (const std::string& page : renamed)
        Save(page, PageLinkingTo(page, renamed).Get());
    EXPECT_EQ(Exported(), PageFiles({ "Cafe", "Cafe1", "Tea" }));
    EXPECT_NE(ReadHostFile("Proj/HTML/Tea.htm").find("HREF=\"Cafe1.htm\">Cafe</A>"), std::string::npos);
    std::map<std::string, std::string> before = ExportedBytes();

    const std::vector<std::string> all = { "Tea", "Cafe", "Caf\xE9" };
    Save("Caf\xE9", EmptyPage().Get());
    Save("Caf\xE9", PageLinkingTo("Caf\xE9", all).Get());
    EXPECT_EQ(Exported(), PageFiles({ "Cafe", "Cafe1", "Tea" }));
    for (const char* file : { "Cafe1.htm", "Cafe1.jpg", "Cafe1.wav", "Tea.htm", "Tea.jpg", "Tea.wav" })
        EXPECT_TRUE(ReadHostFile(std::string("Proj/HTML/") + file) == before[file]) << file;
    std::string cafe = ReadHostFile("Proj/HTML/Cafe.htm");
    EXPECT_NE(cafe.find("<!-- Files:\nCafe.jpg\nCafe.wav\n-->"), std::string::npos);
    EXPECT_NE(cafe.find("HREF=\"Cafe1.htm\">Cafe</A> | <A HREF=\"Tea.htm\">Tea</A>"), std::string::npos);
}

// The exported site as a visitor's browser shows it (headless Chromium through its driver).
TEST_F(TallowScribeTest, TheExportedSiteWorksInABrowser)
{
    if (!CanBrowse())
        GTEST_SKIP() << "chromium and chromium-driver are not installed (scripts/setup installs them)";
    pw::platform::testing::MakeHostFolder("Proj");
    Save("Second", EmptyPage().Get());
    Save("Home", HomePage().Get());
    ExpectBrowsable({}, { "Home", "Second" });
}

// Where linked pictures overlap, a click on the published page opens what a click in Play opens:
// the page of the picture in front. Here a painting over the whole page links to Class, a button
// over it to Starfall, and a bell over part of the button to Bell.
TEST_F(TallowScribeTest, AClickWhereLinkedPicturesOverlapOpensThePictureInFront)
{
    if (!CanBrowse())
        GTEST_SKIP() << "chromium and chromium-driver are not installed (scripts/setup installs them)";
    pw::platform::testing::MakeHostFolder("Proj");
    for (const char* page : { "Class", "Starfall", "Bell" })
        Save(page, EmptyPage().Get());
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 120, 90));
    struct Picture {
        Rect place;
        const char* page;
    } pictures[] = {
        { Rect(0, 0, 120, 90), "Class" },
        { Rect(10, 10, 70, 50), "Starfall" },
        { Rect(40, 30, 100, 80), "Bell" },
    };
    for (const Picture& picture : pictures) {
        const Rect& r = picture.place;
        SmartPtr<CSprite> sprite = Sprite(r.left, r.top, r.right - r.left, r.bottom - r.top);
        sprite->SetLink(0, 1, PageLink(std::string("c:\\Proj\\") + picture.page + ".mvi").Get());
        group->AddSprite(sprite, false);
    }
    Save("Home", new CShow(group.Get()));
    ExpectBrowsable({}, { "Home" },
        {
            { 5, 5, "Class.htm" }, // the painting alone
            { 20, 20, "Starfall.htm" }, // the button over the painting
            { 55, 40, "Bell.htm" }, // the bell over the button over the painting
            { 90, 70, "Bell.htm" }, // the bell over the painting
        });
}

} // namespace
