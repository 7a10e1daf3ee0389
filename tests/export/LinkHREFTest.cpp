#include "export/LinkHREF.h"

#include "ElementFixture.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "graphics/SoundBytes.h"

#include <string>

using namespace elementtest;
using pw::foundation::TextOf;

namespace {

// How links were stored before they had a name: the target only, version 1.0.
constinit const PersistentVersion kUnnamedLink { &LinkHREF::classInfo, Fixed(1, 0), Fixed(1, 0), nullptr };

class UnnamedLink : public LinkHREF {
public:
    using LinkHREF::LinkHREF;
    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, kUnnamedLink);
        String href = GetHREF();
        scope.Put(href);
    }
    const PersistentVersion& GetPersistentVersion() const override { return kUnnamedLink; }
};

// How engine links were stored before they held a web link: version 2.0, a web-link kind.
constinit const PersistentVersion kLinkWithoutHREF { &CLink::classInfo, Fixed(1), Fixed(2), nullptr };

class LinkWithoutHREF : public CLink {
public:
    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, kLinkWithoutHREF);
        scope.WriteByte(static_cast<char>(CLink::kWebLink)).WriteByte(0);
        scope.WriteObject(nullptr);
        scope.WriteShort(0);
        scope.WriteObject(nullptr);
    }
    const PersistentVersion& GetPersistentVersion() const override { return kLinkWithoutHREF; }
};

std::string Describe(Smart* object)
{
    auto* link = SmartCast<LinkHREF>(object);
    if (!link)
        return "none";
    return TextOf(link->GetHREF()) + " | " + TextOf(link->GetName()) + " | " + HTMLOf(*link);
}

} // namespace

TEST(LinkNameFromHref, TheNameIsTheTargetsLastWord)
{
    struct Case {
        const char* href;
        const char* name;
    } cases[] = {
        { "http://www.example.org/kids/games.htm", "games.htm" },
        { "mailto:kid@example.org", "kid@example.org" },
        { "http://www.example.org/kids/", "kids" },
        { "Unknown URL", "URL" },
        { "", "" },
        { "://", "" },
        { "My_Page.htm", "My_Page.htm" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.href);
        EXPECT_EQ(TextOf(LinkNameFromHref(String(c.href))), c.name);
    }
}

// Target, name and the escaped target written into the attribute.
TEST_F(ElementTest, LinksToAddressesPagesAndFilesGiveTheirTargetAndName)
{
    SmartPtr<FileReference> base = new FileReference("c:\\Projects\\Site");
    FileReference sound("c:\\HTML\\Home1.wav");
    struct Case {
        const char* name;
        LinkHREF* link;
        const char* described;
    } cases[] = {
        { "web address", new LinkHREF(String("http://example.org/")), "http://example.org/ | example.org | http://example.org/" },
        { "named", new LinkHREF(String("mailto:a@b.org"), String("Mail me")), "mailto:a@b.org | Mail me | mailto:a@b.org" },
        { "page", new LinkHREF(base, String("My Page")), "My_Page.htm | My Page | My_Page.htm" },
        { "page without a base", new LinkHREF(SmartPtr<FileReference>(), String("50% / off")), "50__off.htm | 50% / off | 50__off.htm" },
        { "page named outside ASCII", new LinkHREF(base, String("Caf\xE9")), "Cafe.htm | Caf\xE9 | Cafe.htm" },
        { "file", new LinkHREF(base, sound), "Home1.wav | Home1 | Home1.wav" },
        { "markup escaped on output only", new LinkHREF(String("a.cgi?x=1&y=\"<2>\"")),
            "a.cgi?x=1&y=\"<2>\" | a.cgi?x=1&y=\"<2>\" | a.cgi?x=1&amp;y=&quot;&lt;2&gt;&quot;" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<LinkHREF> link(c.link);
        EXPECT_EQ(Describe(link.Get()), c.described);
        SmartPtr<Smart> copy(link->Copy());
        EXPECT_EQ(Describe(copy.Get()), c.described);
    }
}

// A current link keeps its stored name even where the target would give another; one stored
// before names were kept takes its name from its target.
TEST_F(ElementTest, StoredLinksReadBackInEveryVersion)
{
    struct Case {
        const char* name;
        LinkHREF* link;
        const PersistentVersion* older;
        const char* described;
    } cases[] = {
        { "current", new LinkHREF(String("http://example.org/kids/"), String("Our club")), nullptr,
            "http://example.org/kids/ | Our club | http://example.org/kids/" },
        { "current, empty", new LinkHREF(String(), String()), nullptr, " |  | " },
        { "before names", new UnnamedLink(String("http://example.org/kids/"), String("Our club")), &kUnnamedLink,
            "http://example.org/kids/ | kids | http://example.org/kids/" },
        { "before names, placeholder", new UnnamedLink(String("Unknown URL")), &kUnnamedLink,
            "Unknown URL | URL | Unknown URL" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(c.link), c.older);
        ASSERT_EQ(read->GetClassInfo(), &LinkHREF::classInfo);
        EXPECT_EQ(Describe(read.Get()), c.described);
    }
}

// Engine links keep real web links through their documents, old ones get the stand-in, and a
// jump to another page exports a link to that page's file.
TEST_F(ElementTest, EngineLinksMakeKeepAndExportWebLinks)
{
    SmartPtr<CLink> web = new CLink;
    web->SetHREF(new LinkHREF(String("mailto:kid@example.org")));
    SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(web.Get()));
    auto* stored = SmartCast<CLink>(read.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(stored->GetKind(), CLink::kWebLink);
    EXPECT_EQ(Describe(stored->GetHREF().Get()), "mailto:kid@example.org | kid@example.org | mailto:kid@example.org");
    EXPECT_EQ(stored->GetExportHREF(nullptr), stored->GetHREF());

    read = RoundTrip(SmartPtr<Smart>(new LinkWithoutHREF), &kLinkWithoutHREF);
    stored = SmartCast<CLink>(read.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(Describe(stored->GetExportHREF(nullptr).Get()), "Unknown URL | URL | Unknown URL");

    CLink page;
    page.SetJumpMovie(new CJumpMovie(new FileReference("c:\\Projects\\Site\\Second Page.mvi"), true));
    page.SetKind(2);
    SmartPtr<FileReference> project = new FileReference("c:\\Projects\\Site");
    EXPECT_EQ(Describe(page.GetExportHREF(project.Get()).Get()), "Second_Page.htm | Second Page | Second_Page.htm");
}

// Each sound area saves its own WAVE file named after the page, numbered past the names taken,
// lists it and writes its name; the link survives storing with its sound.
TEST_F(PageTest, SoundLinksSaveTheirSoundBesideThePageUnderUniqueNames)
{
    sound_bytes::Bytes wave = sound_bytes::Wave(1, 8000, 8, { 1, 2, 3, 4, 5, 6, 7, 8 });
    MemoryStream source = sound_bytes::StreamOf(wave);
    SmartPtr<SoundLink> link = new SoundLink(new Sound(source, Sound::wave, false));
    SmartPtr<FileReference> folder = ExportFolder();
    pw::platform::testing::MakeHostFile("HTML/Tom_&_Jerry.wav", "taken");
    struct Case {
        const char* page;
        const char* written;
    } cases[] = {
        { "Home", "Home.wav" },
        { "Home", "Home1.wav" },
        { "Tom_&_Jerry", "Tom_&amp;_Jerry1.wav" },
    };
    SmartList<FileReference> files;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.written);
        SmartPtr<MemoryStream> out = new MemoryStream;
        ASSERT_EQ(Failure([&] { link->WriteHTML(folder, String(c.page), files, *out.Get()); }), "");
        EXPECT_EQ(BytesOf(*out.Get()), c.written);
    }
    ASSERT_EQ(files.NumItems(), 3u);
    const std::string expected(wave.begin(), wave.end());
    for (const char* name : { "Home.wav", "Home1.wav", "Tom_&_Jerry1.wav" })
        EXPECT_EQ(pw::platform::testing::ReadHostFile(std::string("HTML/") + name), expected) << name;
    EXPECT_EQ(TextOf(files.Item(3)->Name()), "Tom_&_Jerry1.wav");

    SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(link.Get()));
    auto* stored = SmartCast<SoundLink>(read.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(TextOf(stored->GetName()), "Sound");
    EXPECT_EQ(TextOf(stored->GetHREF()), "");
    ASSERT_TRUE(stored->GetSound().Valid());
    MemoryStream image;
    stored->GetSound()->Export(image, Sound::wave);
    EXPECT_EQ(BytesOf(image), expected);
}
