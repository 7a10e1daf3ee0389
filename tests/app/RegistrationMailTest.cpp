// The registration mail delivered to a real SMTP server on this machine, byte for byte, with the
// settings that change it, the hostile values that must not bend it, and the failures it raises.
#include "app/RegistrationMail.h"

#include "foundation/String.h"
#include "net/LoopbackSMTPServer.h"
#include "net/StepOutcome.h"
#include "ui/FrameworkFixture.h"

#include "foundation/FileReference.h"
#include "platform/kernel/KernelTestSupport.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/TestDriver.h"
#include "platform/winsock/WinsockTesting.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

namespace driver = pw::platform::testing;
using pw::net::tests::LoopbackSMTPServer;
using pw::net::tests::Outcome;
using Lines = std::vector<std::string>;

// 5 December 1996, noon UTC.
constexpr uint64_t kPublishingDay = 124942608000000000ull;
constexpr const char* kSite = "ftp://ftp.isp.example/users/kid/public_html/MyProject";
constexpr const char* kSender = "kid@isp.example";
constexpr const char* kRecipient = "register@plumewright.example";

class RegistrationMailTest : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        pw::ui::testing::ResetProgress();
        driver::SetClock(kPublishingDay);
        driver::SetResolver([this](const std::string& name) {
            asked.push_back(name);
            return resolvable.count(name) ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) }
                                          : std::vector<uint32_t> {};
        });
    }

    void TearDown() override
    {
        pw::app::testing::SetMailPort(25);
        pw::ui::testing::ResetProgress();
        FrameworkTest::TearDown();
    }

    // Writes the files of the settings given and removes those of the others.
    static void Settings(const std::map<int, std::string>& files)
    {
        driver::MakeHostFolder("plume/Data");
        for (int number : { 3000, 3001, 3002 })
            std::filesystem::remove(driver::HostPath("plume/Data/" + std::to_string(number) + ".txt"));
        for (const auto& [number, content] : files)
            driver::MakeHostFile("plume/Data/" + std::to_string(number) + ".txt", content);
    }

    static std::string Register(const std::string& site, const std::string& sender)
    {
        String siteURL;
        siteURL.InsertChars(site.data(), 0, static_cast<uint32_t>(site.size()));
        String from;
        from.InsertChars(sender.data(), 0, static_cast<uint32_t>(sender.size()));
        return Outcome([&] { RegisterSite(siteURL, from); });
    }

    std::set<std::string> resolvable;
    Lines asked;
};

// The text the server keeps: the mail, then the line end the data always closes with.
std::string Received(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text + "\r\n";
}

TEST_F(RegistrationMailTest, TheMailArrivesByteForByteWithTheSettingsThatChangeIt)
{
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        std::string site;
        Lines lines;
        Lines asked;
    } cases[] = {
        { "no settings: the built-in subject and signature, the mail server searched from this machine", {}, kSite,
            { "Subject:New Plumewright for Windows Site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Plumewright 1.0 - 12/5/1996", "-- kid@isp.example", "" },
            {} },
        { "settings saved by hand lose the line end they close with",
            { { 3000, "Our club's site\r\n" }, { 3001, "Made with love - \n" }, { 3002, "mail.club.test\r\n" } }, kSite,
            { "Subject:Our club's site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Made with love - 12/5/1996", "-- kid@isp.example", "" },
            { "mail.club.test" } },
        { "empty files: an empty subject and signature start", { { 3000, "" }, { 3001, "" } }, "MyProject",
            { "Subject:", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", "MyProject", "12/5/1996", "-- kid@isp.example", "" },
            {} },
        { "line breaks inside a value add no header and no line",
            { { 3000, "Hi\r\nBcc: everyone@example.org" }, { 3001, "Me\n.\n" } }, "ftp://x.example/a\r\n.\r\nQUIT",
            { "Subject:Hi Bcc: everyone@example.org", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", "ftp://x.example/a . QUIT", "Me .12/5/1996", "-- kid@isp.example",
                "" },
            {} },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Settings(c.settings);
        LoopbackSMTPServer server;
        ASSERT_EQ(server.Problem(), "");
        pw::app::testing::SetMailPort(server.Port());
        resolvable = { "mail.club.test" };
        asked.clear();
        EXPECT_EQ(Register(c.site, kSender), "");
        std::vector<LoopbackSMTPServer::Mail> mails = server.Mails();
        ASSERT_EQ(mails.size(), 1u);
        EXPECT_EQ(mails[0].hello, "127.0.0.1");
        EXPECT_EQ(mails[0].from, kSender);
        EXPECT_EQ(mails[0].to, (Lines { kRecipient }));
        EXPECT_EQ(mails[0].content, Received(c.lines));
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        EXPECT_TRUE(driver::AlertLog().empty());
    }
}

// A sender built from a hostile account is refused before any mail server is looked for, and a
// mail server that cannot be found raises to the caller; neither leaves a socket open.
TEST_F(RegistrationMailTest, FailuresRaiseToTheCallerAndUnsafeSendersNeverConnect)
{
    struct Case {
        const char* name;
        std::string sender;
        std::string outcome;
        Lines asked;
    } cases[] = {
        { "a line break in the account", "kid\r\nRCPT TO:<all@example.org>@isp.example",
            "A mail address holds a line break or an angle bracket and cannot be sent.", {} },
        { "an angle bracket", "kid>@isp.example", "A mail address holds a line break or an angle bracket and cannot be sent.",
            {} },
        { "no mail server answers", kSender, "No Mail Server found",
            { "mail.nowhere.test", "smtp", "mail", "smtp.invalid" } },
    };
    Settings({ { 3002, "mail.nowhere.test\r\n" } });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        EXPECT_EQ(Register(kSite, c.sender), c.outcome);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
}

} // namespace
