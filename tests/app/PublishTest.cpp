// Publishing chosen from the program's File menu, end to end: a page of a project (saved, or saved
// on the way), the questions and the server dialog answered as a child would, the project's export
// folder uploaded to a real FTP server and the registration mailed to a real SMTP server, both on
// this machine; and every way publishing stops early.
#include "PublishFixture.h"
#include "platform/testing/ScriptedPeer.h"

#include <memory>

namespace {

using namespace apptest;

// A page never saved is saved first (its name asked); the project's export folder goes up into a
// folder named after the project under the server folder, the registration mail names the site,
// and the congratulation the project. Publishing again asks no name, and without registering
// sends no mail.
TEST_F(PublishTest, TheProjectGoesUpTheSiteIsRegisteredAndTheChildIsCongratulated)
{
    SmartPtr<DocWindow> page = NewPage(false);
    driver::ScriptFileDialog("Home");
    Publish({ IDOK, IDYES, IDOK }, { "\n" });
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", kCongratulation }));
    ASSERT_EQ(driver::FileDialogLog().size(), 1u) << "the page was saved first";
    EXPECT_TRUE(page->GetScribe().Valid());
    Files exported = Exported();
    EXPECT_TRUE(exported.count("Home.htm")) << "the save exported the page";
    EXPECT_EQ(Uploaded(), exported);
    std::vector<LoopbackSMTPServer::Mail> mails = smtp.Mails();
    ASSERT_EQ(mails.size(), 1u);
    EXPECT_EQ(mails[0].from, "kid@test");
    EXPECT_NE(mails[0].content.find("\r\nftp://ftp.test/site/Kim\r\n"), std::string::npos) << mails[0].content;
    EXPECT_EQ(driver::ReadHostFile(SettingFile(1000)), "ftp://ftp.test/site");
    EXPECT_EQ(driver::LiveSocketCount(), 0u);

    std::filesystem::remove_all(ftp.Root() / "site" / "Kim");
    Publish({ IDOK, IDNO, IDOK }, { "\n" });
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", kCongratulation }));
    EXPECT_EQ(driver::FileDialogLog().size(), 1u) << "a saved page is not asked for again";
    EXPECT_EQ(Uploaded(), exported);
    EXPECT_EQ(smtp.Mails().size(), 1u);
}

// The server address the program ships with (one slash after its scheme) and a server named by its
// address both lead to the server: the site goes up into the folder the address names and the
// registration mail's sender is one a strict mail server takes.
TEST_F(PublishTest, TheShippedServerAddressAndOneGivenByNumbersReachTheServer)
{
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        std::filesystem::path folder;
        const char* sender;
        const char* site;
    } cases[] = {
        { "the shipped default", { { 1001, "kid" }, { 1002, "secret" }, { 3002, "mail.test" } },
            "users/account/public_html", "kid@test", "ftp:/isp.test/users/account/public_html/Kim" },
        { "a server given by its address",
            { { 1000, "ftp://127.0.0.1/site" }, { 1001, "kid" }, { 1002, "secret" }, { 3002, "mail.test" } }, "site",
            "kid@[127.0.0.1]", "ftp://127.0.0.1/site/Kim" },
    };
    NewPage(true);
    std::filesystem::create_directories(ftp.Root() / "users/account/public_html");
    Files exported = Exported();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t mailsBefore = smtp.Mails().size();
        Settings(c.settings);
        Publish({ IDOK, IDYES, IDOK }, { "\n" });
        EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", kCongratulation }));
        EXPECT_EQ(FilesIn(ftp.Root() / c.folder / "Kim"), exported);
        std::vector<LoopbackSMTPServer::Mail> mails = smtp.Mails();
        ASSERT_EQ(mails.size(), mailsBefore + 1) << "the server took the sender";
        EXPECT_EQ(mails.back().from, c.sender);
        EXPECT_NE(mails.back().content.find(std::string("\r\n") + c.site + "\r\n"), std::string::npos);
    }
}

// A server address that names a port is reached on that port, not on the standard one.
TEST_F(PublishTest, AServerAddressWithAPortIsReachedOnIt)
{
    NewPage(true);
    Files exported = Exported();
    pw::app::testing::SetFTPPort(1);
    Settings({ { 1000, "ftp://127.0.0.1:" + std::to_string(ftp.Port()) + "/site" }, { 1001, "kid" }, { 1002, "secret" },
        { 3002, "mail.test" } });
    Publish({ IDOK, IDNO, IDOK }, { "\n" });
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", kCongratulation }));
    EXPECT_EQ(FilesIn(ftp.Root() / "site" / "Kim"), exported);
}

// Cancel in the introduction, the server dialog or the registration question uploads and mails
// nothing and says nothing more; only the last comes after the server's address was stored.
TEST_F(PublishTest, CancellingBeforeTheUploadSendsNothing)
{
    struct Case {
        const char* name;
        std::vector<int> answers;
        std::deque<std::string> dialog;
        Lines said;
        bool stored;
    } cases[] = {
        { "the introduction", { IDCANCEL }, {}, { "introduction (i) OK/Cancel" }, false },
        { "the server dialog", { IDOK }, { "\x1B" }, { "introduction (i) OK/Cancel" }, false },
        { "the registration question", { IDOK, IDCANCEL }, { "\n" },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel" }, true },
    };
    NewPage(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings({ { 1001, "kid" }, { 1002, "secret" } });
        Publish(c.answers, c.dialog);
        EXPECT_EQ(said, c.said);
        EXPECT_EQ(driver::HostExists(SettingFile(1000)), c.stored);
        EXPECT_TRUE(FilesIn(ftp.Root() / "site").empty());
        EXPECT_TRUE(smtp.Mails().empty());
    }
}

// A server that will not let the child in says so in its own words, and publishing ends there: the
// computer is connected, so nothing says it is not. A server that cannot be reached at all is told
// as no connection, the pages staying on this computer.
TEST_F(PublishTest, ARefusedLoginShowsOnlyTheRefusalAndNoServerSaysNotConnected)
{
    struct Case {
        const char* name;
        std::string url;
        bool scripted; // a scripted server on its own port refuses the password
        std::vector<int> answers;
        Lines said;
    } cases[] = {
        { "a wrong password", "ftp://ftp.test/site", false, { IDOK, IDYES, IDOK },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "530 Authentication failed. (stop) OK" } },
        { "a scripted server's 530", "ftp://ftp.test/site", true, { IDOK, IDYES, IDOK },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "530 Login incorrect. (stop) OK" } },
        { "no such server", "ftp://ftp.nowhere.test/site", false, { IDOK, IDYES, IDOK },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "not connected (i) OK/Cancel" } },
    };
    NewPage(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<driver::ScriptedPeer> server;
        if (c.scripted) {
            server = std::make_unique<driver::ScriptedPeer>();
            server->Accept()
                .Send("220 Ready.\r\n")
                .ReadLine()
                .Send("331 Password, please.\r\n")
                .ReadLine()
                .Send("530 Login incorrect.\r\n")
                .ReadLine()
                .Send("221 Goodbye.\r\n")
                .ReadUntilClosed();
            server->Start();
            pw::app::testing::SetFTPPort(server->Port());
        }
        Settings({ { 1000, c.url }, { 1001, "kid" }, { 1002, "wrong" }, { 3002, "mail.test" } });
        Publish(c.answers, { "\n" });
        pw::app::testing::SetFTPPort(ftp.Port());
        EXPECT_EQ(said, c.said);
        EXPECT_TRUE(FilesIn(ftp.Root() / "site").empty());
        EXPECT_TRUE(smtp.Mails().empty());
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        if (server) {
            server->Finish();
            EXPECT_TRUE(server->Failures().empty()) << server->Failures().front();
            EXPECT_EQ(server->Lines(), (std::vector<std::string> { "USER kid", "PASS wrong", "QUIT" }));
        }
    }
}

// After the login a refusal (a server folder that is not there) or a folder name that would bend
// the command line stops publishing with its own words as a stop alert; no congratulation.
TEST_F(PublishTest, AFailureAfterTheLoginIsShownAndEndsPublishing)
{
    struct Case {
        const char* name;
        std::string url;
        Lines said;
    } cases[] = {
        { "a server folder that is not there", "ftp://ftp.test/missing",
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel",
                "550 No such file or directory. (stop) OK" } },
        { "a line break in the server folder", "ftp://ftp.test/site\r\nDELE x",
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel",
                "A name for the server holds a line break and cannot be sent. (stop) OK" } },
    };
    NewPage(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings({ { 1000, c.url }, { 1001, "kid" }, { 1002, "secret" }, { 3002, "mail.test" } });
        Publish({ IDOK, IDYES, IDOK }, { "\n" });
        EXPECT_EQ(said, c.said);
        EXPECT_TRUE(FilesIn(ftp.Root() / "site").empty());
        EXPECT_TRUE(smtp.Mails().empty());
    }
}

// A registration that cannot be sent is told, the upload stays, and the congratulation follows. A
// folder inside the export folder is neither uploaded nor entered.
TEST_F(PublishTest, AFailedRegistrationIsToldAndTheCongratulationFollows)
{
    NewPage(true);
    driver::MakeHostFile("plume/Projects/Kim/HTML/old/Old.htm", "old");
    Settings({ { 1000, "ftp://ftp.test/site" }, { 1001, "kid" }, { 1002, "secret" }, { 3002, "mail.nowhere.test" } });
    Publish({ IDOK, IDYES, IDOK, IDOK }, { "\n" });
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "registration failed (!) OK",
                        kCongratulation }));
    Files exported = Exported();
    EXPECT_EQ(exported.erase("old"), 1u);
    EXPECT_EQ(Uploaded(), exported);
    EXPECT_TRUE(smtp.Mails().empty());
}

// A page whose name question is cancelled stays unsaved and has nothing exported: publishing ends
// at once, without a word.
TEST_F(PublishTest, APageLeftUnsavedPublishesNothing)
{
    SmartPtr<DocWindow> page = NewPage(false);
    driver::ScriptFileDialogCancel();
    Publish({}, {});
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(driver::FileDialogLog().size(), 1u);
    EXPECT_FALSE(page->GetScribe().Valid());
    EXPECT_TRUE(FilesIn(ftp.Root() / "site").empty());
}

// A project named "Html" is no export folder: its first page saves under the name given, its
// export goes into the project's own "HTML" folder, and the project publishes.
TEST_F(PublishTest, AProjectNamedHtmlSavesAndPublishes)
{
    keys = { "Html\n" };
    tallow->NewDocument();
    SmartPtr<DocWindow> page(SmartCast<DocWindow>(tallow->FindWindowForView().Get()));
    ASSERT_TRUE(page.Valid());
    driver::ScriptFileDialog("Home");
    Publish({ IDOK, IDNO, IDOK }, { "\n" });
    std::string congratulation = kCongratulation;
    congratulation.replace(congratulation.find("Kim"), 3, "Html");
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", congratulation }));
    EXPECT_TRUE(page->GetScribe().Valid()) << "the page was saved";
    Files exported = FilesIn(driver::HostPath("plume/Projects/Html/HTML"));
    EXPECT_TRUE(exported.count("Home.htm")) << "the save exported the page";
    EXPECT_EQ(FilesIn(ftp.Root() / "site" / "Html"), exported);
}

// A page named with é, ü and ß goes to the disk under its name in UTF-8, shows in My Pages under
// that name, opens from there, is exported under its name spelled in ASCII and uploaded. A page an
// earlier version stored under its name in the code page does the same and keeps its stored name.
TEST_F(PublishTest, PagesNamedWithAccentedLettersAreSavedListedReopenedAndPublished)
{
    const std::string named = "Zo\xE9 M\xFC\xDF";
    const std::string stored = "Stra\xDF" "e";
    const std::filesystem::path project = driver::HostPath("plume/Projects/Kim");
    SmartPtr<DocWindow> page = NewPage(false);
    driver::ScriptFileDialog(named);
    page->Save(DocWindow::kSave);
    EXPECT_TRUE(std::filesystem::exists(project / "Zo\xC3\xA9 M\xC3\xBC\xC3\x9F.mvi"));
    EXPECT_FALSE(std::filesystem::exists(project / (named + ".mvi")));
    std::filesystem::copy_file(project / "Zo\xC3\xA9 M\xC3\xBC\xC3\x9F.mvi", project / (stored + ".mvi"));

    auto* window = SmartCast<TallowWindow>(page.Get());
    ASSERT_NE(window, nullptr);
    ClickWindow(tallow->GetTabSetWindow(), tallow->GetTabSelector()->GetCellRect(28).Center());
    ClickTabOf(*window, 4);
    auto* pane = dynamic_cast<CBrowserPane*>(window->GetBrowserPane().Get());
    ASSERT_NE(pane, nullptr) << "My Pages shows the project's pages";
    SmartPtr<CBrowser> browser = pane->GetBrowser();
    std::vector<std::string> listed;
    for (uint32_t entry = 1; entry <= browser->NumEntries(); ++entry)
        listed.push_back(TextOf(browser->GetEntry(entry)->Name()));
    EXPECT_EQ(listed, (std::vector<std::string> { stored + ".mvi", named + ".mvi" }));

    driver::RunFor(2000);
    ClickWindow(window, browser->CellRect(1).Center());
    EXPECT_EQ(TextOf(*window->GetFrame()->GetTitle().Get()), "Kim:" + stored);
    window->Save(DocWindow::kSave);
    std::vector<std::string> onDisk;
    for (const auto& entry : std::filesystem::directory_iterator(project))
        onDisk.push_back(entry.path().filename().string());
    std::sort(onDisk.begin(), onDisk.end());
    EXPECT_EQ(onDisk, (Lines { "HTML", stored + ".mvi", "Zo\xC3\xA9 M\xC3\xBC\xC3\x9F.mvi", "_pagefiles.txt" }));

    Publish({ IDOK, IDNO, IDOK }, { "\n" });
    EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", kCongratulation }));
    Files exported = Exported();
    EXPECT_TRUE(exported.count("Zoe_Muss.htm") && exported.count("Strasse.htm"));
    EXPECT_EQ(Uploaded(), exported);
}

// "Publish…" is offered while a window is open and nothing blocks; a front window that holds no
// page publishes nothing and says nothing.
TEST_F(PublishTest, PublishIsOfferedWithAWindowAndNeedsAPage)
{
    auto enabled = [this] {
        tallow->EnableMenus(nullptr);
        return !(tallow->FindMenuItem(PublishCommand())->GetState() & MenuItem::kDisabled);
    };
    EXPECT_FALSE(enabled()) << "no window";
    SmartPtr<Window> plain(new Window(new String("plain"), 0, false, false, Point(200, 150)));
    tallow->AddWindow(plain, true);
    EXPECT_TRUE(enabled());
    Publish({}, {});
    EXPECT_TRUE(said.empty());
    SmartPtr<Dialog> dialog(new Dialog(2));
    tallow->AddWindow(SmartPtr<Window>(dialog.Get()), true);
    EXPECT_FALSE(enabled()) << "a dialog in front";
    dialog->Cancel();
}

// The sender is the account at the FTP host less its first label; the site's address is the server
// URL, one "/" and the project.
TEST(PublishRules, TheSenderAndTheSiteAddress)
{
    struct Sender {
        const char* account;
        const char* host;
        const char* sender;
    } senders[] = {
        { "kid", "ftp.isp.example", "kid@isp.example" },
        { "kid", "localhost", "kid@" },
        { "kid", "..ftp..isp.example", "kid@isp.example" },
        { "kid", "", "kid@" },
        // A server given by its address: the whole address, as an address literal.
        { "kid", "127.0.0.1", "kid@[127.0.0.1]" },
        { "kid", "192.168.100.255", "kid@[192.168.100.255]" },
        // Names that only look like addresses stay names.
        { "kid", "1.2.3", "kid@2.3" },
        { "kid", "10.0.0.256", "kid@0.0.256" },
        { "kid", "ftp.10.example", "kid@10.example" },
    };
    for (const Sender& c : senders)
        EXPECT_EQ(TextOf(*MakeSenderAddress(String(c.account), String(c.host)).Get()), c.sender) << c.host;
    struct Site {
        const char* server;
        const char* site;
    } sites[] = {
        { "ftp://host.example/users/kid/public_html", "ftp://host.example/users/kid/public_html/MyProject" },
        { "ftp://host.example/users/kid/", "ftp://host.example/users/kid/MyProject" },
        { "host.example", "host.example/MyProject" },
        { "", "MyProject" },
    };
    for (const Site& c : sites)
        EXPECT_EQ(TextOf(pw::app::SiteURL(String(c.server), String("MyProject"))), c.site) << c.server;
}

} // namespace


// A test that runs the whole program points its uploads and mail at servers on this machine
// through the environment; anything but a port number leaves the standard port.
TEST(PublishPorts, AnEnvironmentPortReplacesTheStandardOneOnlyWhenItIsAPortNumber)
{
    const char* variable = "PLUMEWRIGHT_TEST_PORT_CHECK";
    unsetenv(variable);
    EXPECT_EQ(pw::app::testing::PortFromEnvironment(variable, 21), 21);
    const std::pair<const char*, uint16_t> cases[] = {
        { "2121", 2121 }, { "65535", 65535 }, { "", 21 }, { "0", 21 }, { "65536", 21 }, { "21x", 21 }, { "-5", 21 },
    };
    for (const auto& [text, port] : cases) {
        setenv(variable, text, 1);
        EXPECT_EQ(pw::app::testing::PortFromEnvironment(variable, 21), port) << text;
    }
    unsetenv(variable);
}
