// Publishing chosen from the program's File menu as a child would: the program with a page of the
// project "Kim", the questions and the server dialog answered by script, a real FTP server and a
// real SMTP server on this machine, and what the alerts said, in short.
#pragma once

#include "app/Publish.h"

#include "app/PageScribes.h"
#include "app/RegistrationMail.h"
#include "foundation/String.h"
#include "net/FTPSession.h"
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

namespace apptest {

namespace driver = pw::platform::testing;
using pw::foundation::TextOf;
using pw::net::tests::LoopbackFTPServer;
using pw::net::tests::LoopbackSMTPServer;
using Lines = std::vector<std::string>;
using Files = std::map<std::string, std::string>;

// What the alerts said, the application's own messages by a short name.
inline const std::map<std::string, std::string> kMessages = {
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
            return name == "ftp.test" || name == "mail.test" || name == "isp.test"
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
        pw::net::testing::SetWaitLimit(pw::net::kDefaultWaitLimitMs);
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

inline const std::string kCongratulation
    = "Congratulations! Your site has been updated.  You can now use your Web browser to look at \"Kim\" . (i) OK";

} // namespace apptest
