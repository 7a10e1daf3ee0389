// Publishing chosen from the program's File menu, end to end: a page of a project (saved, or saved
// on the way), the questions and the server dialog answered as a child would, the project's export
// folder uploaded to a real FTP server and the registration mailed to a real SMTP server, both on
// this machine; and every way publishing stops early.
#include "app/Publish.h"

#include "app/PageScribes.h"
#include "app/RegistrationMail.h"
#include "foundation/String.h"
#include "net/LoopbackFTPServer.h"
#include "net/LoopbackSMTPServer.h"
#include "ui/Dialog.h"
#include "ui/DocWindow.h"
#include "ui/Menu.h"
#include "ui/MenuItem.h"
#include "ui/ProgressRange.h"

#include "TallowAppFixture.h"
#include "platform/comdlg/ComdlgTesting.h"
#include "platform/user/menus/MenuTesting.h"
#include "platform/winsock/WinsockTesting.h"

#include <winsock.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;
using pw::net::tests::LoopbackFTPServer;
using pw::net::tests::LoopbackSMTPServer;
using Lines = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// What the alerts said, the application's own messages by a short name.
const std::map<std::string, std::string> kMessages = {
    { "Plumewright will now publish your project to the World Wide Web, where anyone in the world can view it.\n"
      "To Check your pages for personal information (telephone number, street address, or last name), click "
      "\"Cancel\".\nTo continue, Click \"OK\".",
        "introduction" },
    { "Would you like to auto-register your new page on the Quennel web site ?", "register?" },
    { "Your computer is not connected to the Internet. Plumewright will publish your pages into an \"HTML\" "
      "folder on your computer, where you can test your site with a Web browser.",
        "not connected" },
    { "The Registration of the Web site failed!", "registration failed" },
};

class PublishTest : public apptest::TallowAppFixture {
protected:
    void SetUp() override
    {
        TallowAppFixture::SetUp();
        pw::app::testing::ForgetScribeFolder();
        pw::ui::testing::ResetProgress();
        ASSERT_EQ(ftp.Problem(), "");
        ASSERT_EQ(smtp.Problem(), "");
        std::filesystem::create_directories(ftp.Root() / "site");
        pw::app::testing::SetFTPPort(ftp.Port());
        pw::app::testing::SetMailPort(smtp.Port());
        driver::SetResolver([](const std::string& name) {
            return name == "ftp.test" || name == "mail.test" || name == "ftp.provider.example"
                ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) }
                : std::vector<uint32_t> {};
        });
        Settings({ { 1000, "ftp://ftp.test/site" }, { 1001, "kid" }, { 1002, "secret" }, { 3002, "mail.test" } });
        // The program's menus on the main window.
        tallow->InstallMenus();
        driver::SetIdleHandler([this] { return AnswerDialog(); });
    }
    void TearDown() override
    {
        Settings({});
        pw::app::testing::SetFTPPort(21);
        pw::app::testing::SetMailPort(25);
        pw::ui::testing::ResetProgress();
        TallowAppFixture::TearDown();
    }

    // Writes the files of the settings given and removes those of the others.
    static void Settings(const std::map<int, std::string>& files)
    {
        for (int number : { 1000, 1001, 1002, 3000, 3001, 3002 })
            std::filesystem::remove(driver::HostPath(SettingFile(number)));
        for (const auto& [number, content] : files)
            driver::MakeHostFile(SettingFile(number), content);
    }
    static std::string SettingFile(int number) { return "plume/Data/" + std::to_string(number) + ".txt"; }

    // Each dialog that opens gets the next keys; one with none left is a fault and is cancelled.
    bool AnswerDialog()
    {
        auto* dialog = dynamic_cast<Dialog*>(tallow->GetWindow(tallow->NumWindows()).Get());
        if (!dialog || dialog->IsClosed() || answered.Get() == dialog)
            return false;
        answered = dialog;
        if (keys.empty()) {
            ADD_FAILURE() << "an unexpected dialog";
            driver::TypeKey(VK_ESCAPE);
            return true;
        }
        if (keys.front() == "\x1B") {
            driver::TypeKey(VK_ESCAPE);
        } else {
            driver::PressKey(VK_CONTROL);
            driver::TypeKey('A');
            driver::ReleaseKey(VK_CONTROL);
            driver::TypeText(keys.front());
        }
        keys.pop_front();
        return true;
    }

    // A new page of the project "Kim", saved as "Home" when asked.
    SmartPtr<DocWindow> NewPage(bool saved)
    {
        keys = { "Kim\n" };
        tallow->NewDocument();
        SmartPtr<DocWindow> page(SmartCast<DocWindow>(tallow->FindWindowForView().Get()));
        EXPECT_TRUE(page.Valid());
        if (saved && page.Valid()) {
            driver::ScriptFileDialog("Home");
            page->Save(DocWindow::kSave);
        }
        return page;
    }

    // Chooses "Publish…" from the File menu, answering the alerts and then the dialogs in order.
    void Publish(const std::vector<int>& answers, std::deque<std::string> dialogKeys)
    {
        for (int answer : answers)
            driver::ScriptMessageBoxes({ answer });
        keys = std::move(dialogKeys);
        size_t alerts = driver::AlertLog().size();
        EXPECT_TRUE(driver::ChooseMenuCommand(mainWindow, PublishCommand()));
        EXPECT_EQ(driver::ScriptedMessageBoxesLeft(), 0u);
        EXPECT_TRUE(keys.empty()) << "a dialog was not shown";
        said.clear();
        for (size_t index = alerts; index < driver::AlertLog().size(); ++index)
            said.push_back(Said(driver::AlertLog()[index]));
    }

    uint32_t PublishCommand() { return MenuCommand("Publish\x85"); }

    // "<text or its name> (<icon>) <buttons>".
    static std::string Said(const pw::platform::AlertRecord& alert)
    {
        // A failure's message without the place it was raised at.
        std::string text = alert.text.substr(0, alert.text.find('\r'));
        auto known = kMessages.find(text);
        if (known != kMessages.end())
            text = known->second;
        static const std::map<UINT, const char*> icons = {
            { MB_ICONINFORMATION, " (i)" }, { MB_ICONEXCLAMATION, " (!)" }, { MB_ICONSTOP, " (stop)" } };
        static const std::map<UINT, const char*> buttons = {
            { MB_OK, " OK" }, { MB_OKCANCEL, " OK/Cancel" }, { MB_YESNOCANCEL, " Yes/No/Cancel" } };
        auto icon = icons.find(alert.style & MB_ICONMASK);
        auto button = buttons.find(alert.style & MB_TYPEMASK);
        return text + (icon == icons.end() ? " ()" : icon->second) + (button == buttons.end() ? " ?" : button->second);
    }

    // Each file's name with its size and a hash of its bytes.
    static Files FilesIn(const std::filesystem::path& folder)
    {
        Files files;
        if (!std::filesystem::is_directory(folder))
            return files;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            std::string& seen = files[entry.path().filename().string()];
            if (entry.is_directory()) {
                seen = "(folder)";
                continue;
            }
            std::ifstream file(entry.path(), std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
            seen = std::to_string(bytes.size()) + " bytes, " + std::to_string(std::hash<std::string> {}(bytes));
        }
        return files;
    }
    static Files Exported() { return FilesIn(driver::HostPath("plume/Projects/Kim/HTML")); }
    Files Uploaded() const { return FilesIn(ftp.Root() / "site" / "Kim"); }

    LoopbackFTPServer ftp;
    LoopbackSMTPServer smtp;
    std::deque<std::string> keys;
    Lines said;
};

const std::string kCongratulation
    = "Congratulations! Your site has been updated.  You can now use your Web browser to look at \"Kim\" . (i) OK";

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
            "users/account/public_html", "kid@provider.example",
            "ftp:/ftp.provider.example/users/account/public_html/Kim" },
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

// A server that will not let the child in, or none at all: the FTP layer's own alert when the
// server refused, then the message that the pages stay on this computer, and nothing more, whichever
// button ends it.
TEST_F(PublishTest, ALoginThatFailsEndsAfterSayingThePagesStayHere)
{
    struct Case {
        const char* name;
        std::string url;
        std::string password;
        std::vector<int> answers;
        Lines said;
    } cases[] = {
        { "a wrong password", "ftp://ftp.test/site", "wrong", { IDOK, IDYES, IDOK, IDOK },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "530 Authentication failed. (stop) OK",
                "not connected (i) OK/Cancel" } },
        { "a wrong password, Cancel", "ftp://ftp.test/site", "wrong", { IDOK, IDYES, IDOK, IDCANCEL },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "530 Authentication failed. (stop) OK",
                "not connected (i) OK/Cancel" } },
        { "no such server", "ftp://ftp.nowhere.test/site", "secret", { IDOK, IDYES, IDOK },
            { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", "not connected (i) OK/Cancel" } },
    };
    NewPage(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings({ { 1000, c.url }, { 1001, "kid" }, { 1002, c.password }, { 3002, "mail.test" } });
        Publish(c.answers, { "\n" });
        EXPECT_EQ(said, c.said);
        EXPECT_TRUE(FilesIn(ftp.Root() / "site").empty());
        EXPECT_TRUE(smtp.Mails().empty());
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
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
