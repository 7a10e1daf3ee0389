// A child's whole journey through the real program, with the mouse and the keys alone: a project
// named, a background painted, a picture taken from the Pictures tab, placed and moved, a sound
// imported, a link made to a new second page, the page played, saved, published to an FTP server
// and registered with an SMTP server, both on this machine. The uploaded site then opens in
// headless Chromium: the picture loads and its image map leads to the second page.
#include "e2e/ProgramRun.h"

#include "LoopbackFTPServer.h"
#include "LoopbackSMTPServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace pw::e2e;
using pw::net::tests::LoopbackFTPServer;
using pw::net::tests::LoopbackSMTPServer;

constexpr Rgb kPaint { 255, 0, 255 };
constexpr Rgb kCatOrange { 255, 153, 51 };
constexpr Rgb kSoundFace { 204, 255, 255 };

// Where the child clicks, in desktop pixels of the maximised program: the tab-set selector on the
// left, the tabs across the top of the page window, the first cells of a media browser, the page.
struct Point {
    int x, y;
};
constexpr Point kPicturesSet { 72, 202 };
constexpr Point kPaintSoundSet { 72, 280 };
constexpr Point kLinksSet { 72, 358 };
constexpr Point kPlaySet { 72, 436 };
constexpr Point kSecondTab { 277, 105 };
constexpr Point kThirdTab { 363, 105 };
constexpr Point kFourthTab { 449, 105 };
constexpr Point kFifthTab { 535, 105 };
constexpr Point kFirstCell { 192, 175 };
constexpr Point kSecondCell { 285, 175 };
constexpr Point kPlaced { 470, 300 };
constexpr Point kMoved { 540, 380 };
// The server dialog's fields and its OK button.
constexpr Point kServerField { 400, 279 };
constexpr Point kAccountField { 400, 329 };
constexpr Point kPasswordField { 400, 359 };
constexpr Point kServerOK { 480, 400 };

std::string At(const char* verb, Point p)
{
    return std::string(verb) + " " + std::to_string(p.x) + " " + std::to_string(p.y);
}

std::string ShotStep(const std::string& name)
{
    return "shot " + Out(name).string();
}

// Pixels of `colour` within `radius` of a point.
int Near(const Bmp& bmp, Point p, Rgb colour, int radius = 40)
{
    return Count(bmp, p.x - radius, p.y - radius, colour, p.x + radius, p.y + radius);
}

// Every message box the journey meets is answered with Return once it shows: its default button.
Steps Answer(int timeoutMs = 10000)
{
    return { "waitbox " + std::to_string(timeoutMs), "key return" };
}

Steps Journey()
{
    Steps paint = {
        // The Paint tab shows the children's paint tools with the brush chosen; the first press on
        // the page opens its picture, the strokes paint it, Return puts the picture on the page.
        At("click", kPaintSoundSet), At("click", kThirdTab), "click 300 200", "drag 200 200 400 250 10",
        "drag 200 300 400 150 10", "key return", ShotStep("journey-painted.bmp")
    };
    Steps picture = {
        // The cat of the Pictures tab goes where the child clicks next, and is then dragged on.
        At("click", kPicturesSet), At("click", kFourthTab), At("click", kSecondCell), At("click", kPlaced),
        ShotStep("journey-placed.bmp"),
        "drag " + std::to_string(kPlaced.x) + " " + std::to_string(kPlaced.y) + " " + std::to_string(kMoved.x) + " "
            + std::to_string(kMoved.y) + " 8",
        ShotStep("journey-moved.bmp")
    };
    Steps sound = { "key control+m", "type ..\\..\\Sounds\\Pop.wav", "key return", ShotStep("journey-sound.bmp") };
    Steps save = { "key control+s", "type Home", "key return" };
    Steps link = {
        // The cat pressed, the link tab's "New Page" asks for the new page's name, and the cat takes
        // the link at once.
        At("click", kMoved), At("click", kLinksSet), At("click", kSecondTab), At("click", kFirstCell), "type Second",
        "key return", "key control+s"
    };
    Steps play = { At("click", kPlaySet), "wait 300", ShotStep("journey-playing.bmp") };
    Steps publish = {
        At("click", kFifthTab),
    };
    publish = publish + Answer()
        + Steps { At("click", kServerField), "key control+a", "type ftp://127.0.0.1/site", At("click", kAccountField),
              "key control+a", "type kid", At("click", kPasswordField), "key control+a", "type secret",
              At("click", kServerOK) }
        + Answer() + Answer(40000) + Steps { "quit" };
    return NameProject("Kids") + paint + picture + sound + save + link + play + publish;
}

TEST(Journey, AChildMakesAndPublishesASiteThatOpensInABrowser)
{
    LoopbackFTPServer ftp;
    ASSERT_EQ(ftp.Problem(), "");
    LoopbackSMTPServer smtp;
    ASSERT_EQ(smtp.Problem(), "");
    fs::create_directories(ftp.Root() / "site");
    fs::path home = PrepareHome("journey", true);
    // The mail host, as a person publishing to a server of their own sets it.
    std::ofstream(home / "Data" / "3002.txt") << "127.0.0.1";
    std::string ports = "PLUMEWRIGHT_TEST_FTP_PORT=" + std::to_string(ftp.Port())
        + " PLUMEWRIGHT_TEST_SMTP_PORT=" + std::to_string(smtp.Port());
    ASSERT_EQ(RunProgram(home, "journey", Journey(), ports), 0);

    Bmp painted = Shot("journey-painted.bmp");
    EXPECT_GT(Count(painted, 150, 135, kPaint), 2000) << "the strokes do not show";
    Bmp placed = Shot("journey-placed.bmp");
    EXPECT_GT(Near(placed, kPlaced, kCatOrange), 1000) << "the cat did not land where the child clicked";
    Bmp moved = Shot("journey-moved.bmp");
    EXPECT_GT(Near(moved, kMoved, kCatOrange), 1000) << "the cat was not dragged";
    EXPECT_LT(Near(moved, kPlaced, kCatOrange, 20), 50) << "the cat stayed where it was placed";
    Bmp withSound = Shot("journey-sound.bmp");
    EXPECT_GT(Count(withSound, 150, 135, kSoundFace), 300) << "no sound object on the page";
    Bmp playing = Shot("journey-playing.bmp");
    EXPECT_GT(Count(playing, 150, 135, kCatOrange), 1000) << "the playing page lost its picture";

    fs::path project = home / "Projects" / "Kids";
    EXPECT_TRUE(fs::exists(project / "Home.mvi"));
    EXPECT_TRUE(fs::exists(project / "Second.mvi"));
    fs::path site = ftp.Root() / "site" / "Kids";
    // The page, its picture and its sound, and the second page.
    for (const char* file : { "Home.htm", "Home.jpg", "Home.wav", "Second.htm", "Second.jpg" }) {
        SCOPED_TRACE(file);
        ASSERT_TRUE(fs::exists(site / file));
        EXPECT_EQ(Read(site / file), Read(project / "HTML" / file)) << "the upload differs from the export";
    }
    // An image-map area (a line of its own) leads to the second page.
    EXPECT_NE(Read(site / "Home.htm").find("HREF=\"Second.htm\">\n"), std::string::npos)
        << "the picture's image map does not lead to the second page";

    std::vector<LoopbackSMTPServer::Mail> mails = smtp.Mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].to, std::vector<std::string> { "register@plumewright.example" });
    EXPECT_NE(mails[0].content.find("ftp://127.0.0.1/site/Kids\r\n"), std::string::npos) << mails[0].content;

    if (!fs::exists("/usr/bin/chromium") || !fs::exists("/usr/bin/chromedriver"))
        GTEST_SKIP() << "chromium and chromium-driver are not installed (scripts/setup installs them)";
    std::string browse = std::string("/usr/bin/python3 ") + PW_BROWSE_EXPORT_SCRIPT + " '" + (site / "Home.htm").string() + "'";
    EXPECT_EQ(std::system(browse.c_str()), 0) << browse;
}

} // namespace
