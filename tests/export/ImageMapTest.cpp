#include "export/ImageMap.h"

#include "ElementFixture.h"
#include "JpegDecode.h"

#include "foundation/ArchiveScope.h"
#include "foundation/Failure.h"
#include "graphics/SoundBytes.h"

#include <filesystem>
#include <set>
#include <string>

using namespace elementtest;
using pw::platform::testing::HostPath;
using pw::platform::testing::MakeHostFile;
using pw::platform::testing::ReadHostFile;

namespace {

SmartPtr<Image> Picture(int32_t width, int32_t height)
{
    return new BitMap(width, height, ColorTable::Setup(24), Color(), false);
}

SmartPtr<SoundLink> SoundArea()
{
    MemoryStream source = sound_bytes::StreamOf(sound_bytes::Wave(1, 8000, 8, { 9, 8, 7, 6 }));
    return new SoundLink(new Sound(source, Sound::wave, false));
}

// The map of the page Home: its first area leads to the page Other, its second plays a sound.
SmartPtr<ImageMap> HomeMap()
{
    SmartPtr<ImageMap> map = new ImageMap(Picture(40, 30));
    map->AddArea(Rect(1, 2, 30, 20), new LinkHREF(SmartPtr<FileReference>(), String("Other")));
    map->AddArea(Rect(-5, 0, 10, 10), SoundArea().Get());
    return map;
}

const char* const kHomeMapHTML = "<IMG BORDER=0 SRC = \"Home.jpg\" ALT = \"Home.jpg\" USEMAP = \"#Home\">\n"
                                 "<MAP NAME = \"Home\">\n"
                                 "<AREA SHAPE=\"RECT\" COORDS=\"1,2,30,20\" HREF=\"Other.htm\">\n"
                                 "<AREA SHAPE=\"RECT\" COORDS=\"-5,0,10,10\" HREF=\"Home.wav\">\n"
                                 "</MAP>\n"
                                 "<HR>\n"
                                 "<CENTER> [ <A HREF=\"Other.htm\">Other</A> | <A HREF=\"Home.wav\">Sound</A> ] </CENTER>\n";

std::string WriteMapHTML(htmlElement& map, const char* page, SmartList<FileReference> files = {})
{
    SmartPtr<MemoryStream> out = new MemoryStream;
    std::string failure = Failure([&] { map.WriteHTML(ExportFolder(), String(page), files, *out.Get()); });
    return failure.empty() ? BytesOf(*out.Get()) : "failed: " + failure;
}

std::set<std::string> ExportedFiles()
{
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(HostPath("HTML")))
        names.insert(entry.path().filename().string());
    return names;
}

// A stored map whose rectangles outnumber its links, the first link being no link at all.
class UnevenMap : public ImageMap {
public:
    UnevenMap()
        : ImageMap(SmartPtr<Image>())
    {
    }
    void Write(Archive& archive) override
    {
        ArchiveScope scope(archive, ImageMap::version);
        scope.WriteObject(nullptr);
        TypedArray<Rect> areas;
        for (int32_t i = 0; i < 3; ++i)
            areas.Append(Rect(i, i, i + 5, i + 5));
        scope.Put(areas);
        SmartList<htmlElement> links;
        links.Append(new RawHTML(String("not a link")));
        links.Append(new LinkHREF(String("http://example.org/")));
        scope.WriteObject(links.Data());
    }
};

} // namespace

TEST_F(PageTest, AMapShowsItsJpegWithOneAreaPerLinkAndALinkBar)
{
    SmartList<FileReference> files;
    EXPECT_EQ(WriteMapHTML(*HomeMap().Get(), "Home", files), kHomeMapHTML);
    ASSERT_EQ(files.NumItems(), 2u);
    EXPECT_EQ(pw::foundation::TextOf(files.Item(1)->Name()), "Home.jpg");
    EXPECT_EQ(pw::foundation::TextOf(files.Item(2)->Name()), "Home.wav");
    std::string jpeg = ReadHostFile("HTML/Home.jpg");
    jpegtest::DecodedJpeg decoded = jpegtest::Decode(std::vector<uint8_t>(jpeg.begin(), jpeg.end()));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.width, 40u);
    EXPECT_EQ(decoded.height, 30u);
}

TEST_F(PageTest, AMapWithoutAreasHasNoBarAndItsPictureTakesAFreeName)
{
    MakeHostFile("HTML/My_Page.jpg", "an older picture");
    SmartPtr<ImageMap> map = new ImageMap(Picture(8, 8));
    EXPECT_EQ(WriteMapHTML(*map.Get(), "My_Page"),
        "<IMG BORDER=0 SRC = \"My_Page1.jpg\" ALT = \"My_Page1.jpg\" USEMAP = \"#My_Page\">\n"
        "<MAP NAME = \"My_Page\">\n</MAP>\n");
    EXPECT_EQ(ReadHostFile("HTML/My_Page.jpg"), "an older picture");
}

// A stored map writes the same HTML; one whose lists differ keeps the areas both hold, passes
// over an area without a link, and starts its bar with the first link written.
TEST_F(PageTest, StoredMapsWriteTheSameHTMLAndUnevenOnesAreTrimmed)
{
    SmartPtr<Smart> read = RoundTrip(SmartPtr<Smart>(HomeMap().Get()));
    auto* stored = SmartCast<ImageMap>(read.Get());
    ASSERT_NE(stored, nullptr);
    EXPECT_EQ(WriteMapHTML(*stored, "Home"), kHomeMapHTML);

    read = RoundTrip(SmartPtr<Smart>(new UnevenMap));
    stored = SmartCast<ImageMap>(read.Get());
    ASSERT_NE(stored, nullptr);
    SmartPtr<MemoryStream> out = new MemoryStream;
    stored->WriteMap(ExportFolder(), String("Web"), SmartList<FileReference>(), *out.Get());
    EXPECT_EQ(BytesOf(*out.Get()),
        "<MAP NAME = \"Web\">\n<AREA SHAPE=\"RECT\" COORDS=\"1,1,6,6\" HREF=\"http://example.org/\">\n</MAP>\n"
        "<HR>\n<CENTER> [ <A HREF=\"http://example.org/\">example.org</A> ] </CENTER>\n");
    EXPECT_EQ(WriteMapHTML(*stored, "Web"), "failed: data != NULL");
    EXPECT_EQ(ExportedFiles().count("Web.jpg"), 0u);
}

// Exporting a page again deletes what the last export made before making it anew, so repeated
// saves leave one set of files with the same names.
TEST_F(PageTest, RepeatedExportsOfAPageLeaveOneSetOfFiles)
{
    std::string first;
    for (int save = 1; save <= 3; ++save) {
        SCOPED_TRACE(save);
        SmartList<htmlElement> body;
        body.Append(new RawHTML(String("<BODY>\n")));
        body.Append(HomeMap().Get());
        body.Append(new RawHTML(String("</BODY>\n")));
        SmartPtr<htmlWrapper> page = new htmlWrapper(body);
        ASSERT_EQ(Failure([&] {
            RemoveOldPageFiles(String("Home"), ExportFolder());
            page->WritePage(String("Home"), ExportFolder(), SmartList<FileReference>());
        }),
            "");
        EXPECT_EQ(ExportedFiles(), (std::set<std::string> { "Home.htm", "Home.jpg", "Home.wav" }));
        std::string written = ReadHostFile("HTML/Home.htm");
        if (save == 1)
            first = written;
        EXPECT_EQ(written, first);
    }
    EXPECT_EQ(first,
        std::string("<HTML>\n<HEAD>\n<TITLE>Home</TITLE>\n</HEAD>\n<BODY>\n") + kHomeMapHTML
            + "</BODY>\n<!-- Files:\nHome.jpg\nHome.wav\n-->\n</HTML>\n");
}
