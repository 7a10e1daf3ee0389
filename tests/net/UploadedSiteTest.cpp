// A site of three pages, two of them named with letters outside ASCII, exported by saving its
// pages, uploaded to a real FTP server, and visited in headless Chromium where it was uploaded to.
#include "LoopbackFTPServer.h"
#include "StepOutcome.h"
#include "export/PageMaker.h"

#include "net/FTPSession.h"
#include "net/InternetSession.h"
#include "platform/testing/TestDriver.h"
#include "platform/winsock/WinsockTesting.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace pw::net::tests {

namespace {

namespace driver = pw::platform::testing;
using pagemaker::PageLink;
using pagemaker::Save;
using pagemaker::Sprite;
using Names = std::set<std::string>;

class UploadedSiteTest : public uitest::ProgressTest {
protected:
    void SetUp() override
    {
        ProgressTest::SetUp();
        driver::SetResolver([](const std::string& name) {
            return name == "ftp.test" ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) } : std::vector<uint32_t> {};
        });
    }

    // A 60 x 40 page with one sprite linking to each of the pages stored at `targets`.
    static SmartPtr<CShow> PageLinkingTo(const std::vector<std::string>& targets)
    {
        SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 60, 40));
        int32_t left = 5;
        for (const std::string& target : targets) {
            SmartPtr<CSprite> sprite = Sprite(left, 5, 10, 8);
            sprite->SetLink(0, 1, PageLink(target).Get());
            group->AddSprite(sprite, false);
            left += 20;
        }
        return new CShow(group.Get());
    }

    static Names NamesIn(const std::filesystem::path& folder)
    {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.insert(entry.path().filename().string());
        return names;
    }

    // Every file of the export folder into /site on the server, as publishing sends them.
    static std::string Upload(uint16_t port, const Names& files)
    {
        SmartPtr<FTPSession> session;
        auto settle = [&] {
            ProgressRange range(1, String("Publishing"));
            while (!session->DoTransfer())
                range.Advance(0);
        };
        return Outcome([&] {
            SmartPtr<InternetSession> server(new InternetSession(String("ftp.test")));
            session = SmartPtr<FTPSession>(new FTPSession(server, String("kid"), String("secret"), port));
            settle();
            session->SetDirectory(String("/site"), true);
            settle();
            for (const std::string& name : files) {
                session->SendFile(FileReference(("c:\\Proj\\HTML\\" + name).c_str()), String(name.c_str()), true, 2);
                settle();
            }
        });
    }

    static int Browse(const std::filesystem::path& folder)
    {
        std::string command = std::string("/usr/bin/python3 ") + PW_BROWSE_EXPORT_SCRIPT;
        for (const char* page : { "My_Home.htm", "Cafe.htm", "Ete.htm" })
            command += " '" + (folder / page).string() + "'";
        return std::system(command.c_str());
    }
};

TEST_F(UploadedSiteTest, PagesNamedOutsideASCIIExportUploadAndOpenInABrowser)
{
    if (!std::filesystem::exists("/usr/bin/chromium") || !std::filesystem::exists("/usr/bin/chromedriver"))
        GTEST_SKIP() << "chromium and chromium-driver are not installed (scripts/setup installs them)";
    LoopbackFTPServer server;
    ASSERT_EQ(server.Problem(), "");

    const std::string home = "My Home";
    const std::string cafe = "Caf\xE9"; // the program's 8-bit set
    const std::string summer = "\xC9t\xE9";
    driver::MakeHostFolder("Proj");
    for (const auto& [page, targets] : std::vector<std::pair<std::string, std::vector<std::string>>> {
             { home, { cafe, summer } }, { cafe, { home, summer } }, { summer, { home, cafe } } }) {
        std::vector<std::string> paths;
        for (const std::string& target : targets)
            paths.push_back("c:\\Proj\\" + target + ".mvi");
        Save(page, PageLinkingTo(paths).Get());
    }

    Names exported = NamesIn(driver::HostPath("Proj/HTML"));
    EXPECT_EQ(exported, (Names { "My_Home.htm", "My_Home.jpg", "Cafe.htm", "Cafe.jpg", "Ete.htm", "Ete.jpg" }));
    // The names as the link bar shows them, whatever character set the page is read in.
    EXPECT_NE(
        driver::ReadHostFile("Proj/HTML/My_Home.htm").find(">&#201;t&#233;</A> | <A HREF=\"Cafe.htm\">Caf&#233;</A>"),
        std::string::npos);

    // The uploaded copy is the export byte for byte, so what opens there opens on disk too.
    ASSERT_EQ(Upload(server.Port(), exported), "");
    EXPECT_EQ(NamesIn(server.Root() / "site"), exported);
    for (const std::string& name : exported)
        EXPECT_TRUE(server.Contents(std::filesystem::path("site") / name) == driver::ReadHostFile("Proj/HTML/" + name))
            << name;
    EXPECT_EQ(driver::LiveSocketCount(), 0u);
    EXPECT_EQ(Browse(server.Root() / "site"), 0);
}

} // namespace

} // namespace pw::net::tests
