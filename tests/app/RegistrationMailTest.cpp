// The registration mail delivered to real SMTP servers on this machine, byte for byte, with the
// settings that change it, the hostile and overlong values that must not bend it, and the failures
// it raises with the server's own words.
#include "app/RegistrationMail.h"

#include "foundation/String.h"
#include "net/LoopbackSMTPServer.h"
#include "net/StepOutcome.h"
#include "ui/FrameworkFixture.h"

#include "foundation/FileReference.h"
#include "net/MailServerRefusal.h"
#include "platform/kernel/KernelTestSupport.h"
#include "platform/kernel/KernelTesting.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"
#include "platform/winsock/WinsockTesting.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
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
        setenv("TZ", "UTC0", 1);
        driver::SetResolver([this](const std::string& name) {
            asked.push_back(name);
            return resolvable.count(name) ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) }
                                          : std::vector<uint32_t> {};
        });
    }

    void TearDown() override
    {
        if (zone)
            setenv("TZ", zone->c_str(), 1);
        else
            unsetenv("TZ");
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
    // The time zone the test process had, put back after each test.
    std::optional<std::string> zone
        = std::getenv("TZ") ? std::optional<std::string>(std::getenv("TZ")) : std::optional<std::string>();
};

// The text the server keeps: the mail, then the line end the data always closes with.
std::string Received(const Lines& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text + "\r\n";
}

// The mail's lines, split at CR LF (the standard library's server ends them with LF alone).
Lines LinesOf(const std::string& content)
{
    Lines lines;
    std::istringstream text(content);
    for (std::string line; std::getline(text, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The Date and Message-ID lines are taken out after their checks: what the email package read in
// them is a time in the publishing minute and one identification on the sender's domain.
std::string WithoutTheStampLines(const LoopbackSMTPServer::Mail& mail)
{
    EXPECT_TRUE(std::regex_match(mail.date, std::regex("1996-12-05T12:0[0-2]:[0-5][0-9]\\+00:00"))) << mail.date;
    EXPECT_TRUE(std::regex_match(mail.messageID, std::regex("<19961205120[0-2][0-9]{5}\\.[0-9a-f]+\\.[0-9]+@isp\\.example>")))
        << mail.messageID;
    EXPECT_EQ(mail.headerDefects, "0");
    std::string content = mail.content;
    for (const char* name : { "\r\nDate:", "\r\nMessage-ID:" }) {
        size_t start = content.find(name);
        EXPECT_NE(start, std::string::npos) << name;
        if (start != std::string::npos)
            content.erase(start, content.find("\r\n", start + 2) - start);
    }
    return content;
}

TEST_F(RegistrationMailTest, TheMailArrivesByteForByteWithTheSettingsThatChangeIt)
{
    struct Case {
        const char* name;
        std::map<int, std::string> settings;
        std::string site;
        Lines lines;
        Lines asked;
        const char* zone; // noon UTC there is the signature's day
    } cases[] = {
        { "no settings: the built-in subject and signature, the mail server searched from this machine", {}, kSite,
            { "Subject:New Plumewright for Windows Site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Plumewright 1.0 - 12/5/1996", "-- kid@isp.example", "" },
            {}, "UTC0" },
        { "settings saved by hand: one-line values lose the line end they close with, the signature keeps it",
            { { 3000, "Our club's site\r\n" }, { 3001, "Made with love - \n" }, { 3002, "mail.club.test\r\n" } }, kSite,
            { "Subject:Our club's site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Made with love - ", "12/5/1996", "-- kid@isp.example", "" },
            { "mail.club.test" }, "UTC0" },
        { "empty files: an empty subject and signature start", { { 3000, "" }, { 3001, "" } }, "MyProject",
            { "Subject:", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", "MyProject", "12/5/1996", "-- kid@isp.example", "" },
            {}, "UTC0" },
        { "line breaks inside a one-line value add no header and no line; the signature keeps its lines",
            { { 3000, "Hi\r\nBcc: everyone@example.org" }, { 3001, "Me\n.\r\nRoom 4\rclub - " } },
            "ftp://x.example/a\r\n.\r\nQUIT",
            { "Subject:Hi Bcc: everyone@example.org", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", "ftp://x.example/a . QUIT", "Me", ".", "Room 4",
                "club - 12/5/1996", "-- kid@isp.example", "" },
            {}, "UTC0" },
        { "the day is the local one, east of Greenwich", {}, kSite,
            { "Subject:New Plumewright for Windows Site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Plumewright 1.0 - 12/6/1996", "-- kid@isp.example", "" },
            {}, "UTC-13" },
        { "the day is the local one, west of Greenwich", {}, kSite,
            { "Subject:New Plumewright for Windows Site", "From:kid@isp.example", "To:register@plumewright.example", "",
                "I've just published the web site:", kSite, "Plumewright 1.0 - 12/4/1996", "-- kid@isp.example", "" },
            {}, "UTC+12:30" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        setenv("TZ", c.zone, 1);
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
        EXPECT_EQ(WithoutTheStampLines(mails[0]), Received(c.lines));
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        EXPECT_TRUE(driver::AlertLog().empty());
    }
}

// A sender built from a hostile account or a site address too long for a mail line is refused
// before any mail server is looked for, and a mail server that cannot be found raises to the
// caller; none leaves a socket open.
TEST_F(RegistrationMailTest, FailuresRaiseToTheCallerAndMailsThatCannotGoNeverConnect)
{
    struct Case {
        const char* name;
        std::string site;
        std::string sender;
        std::string outcome;
        Lines asked;
    } cases[] = {
        { "a line break in the account", kSite, "kid\r\nRCPT TO:<all@example.org>@isp.example",
            "A mail address holds a line break or an angle bracket and cannot be sent.", {} },
        { "an angle bracket", kSite, "kid>@isp.example",
            "A mail address holds a line break or an angle bracket and cannot be sent.", {} },
        { "a site address one byte too long for a mail line", "ftp://x.example/" + std::string(983, 'p'), kSender,
            "The site's address is too long to be sent in a mail.", {} },
        { "a sender too long for the From line", kSite, std::string(990, 'k') + "@isp.example",
            "A mail address is too long to be sent in a mail.", {} },
        { "no mail server answers", kSite, kSender, "No Mail Server found",
            { "mail.nowhere.test", "smtp", "mail", "smtp.invalid" } },
    };
    Settings({ { 3002, "mail.nowhere.test\r\n" } });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        asked.clear();
        EXPECT_EQ(Register(c.site, c.sender), c.outcome);
        EXPECT_EQ(asked, c.asked);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
}

// A signature line longer than a mail line may be is broken, at a blank when it has one, and a
// long subject folded; both real servers take the mail, and every header reads as the standard
// has it, the subject unfolded to what the setting holds.
TEST_F(RegistrationMailTest, ALongSignatureIsBrokenAndRealServersTakeTheMail)
{
    std::string words;
    while (words.size() < 1500)
        words += "Made by the kids of room 4 - ";
    words.resize(1500);
    std::string subject = words.substr(0, 1200);
    struct Case {
        const char* name;
        std::string signature;
        Lines lines; // the signature line as sent, the date after it
    } cases[] = {
        { "words", words, { words.substr(0, words.rfind(' ', 998)), words.substr(words.rfind(' ', 998) + 1) + "12/5/1996" } },
        { "one run", std::string(1500, 's'), { std::string(998, 's'), std::string(502, 's') + "12/5/1996" } },
    };
    for (auto library : { LoopbackSMTPServer::Library::kAsync, LoopbackSMTPServer::Library::kStandard }) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(library == LoopbackSMTPServer::Library::kAsync ? "aiosmtpd, " : "smtpd, ") + c.name);
            Settings({ { 3000, subject }, { 3001, c.signature } });
            LoopbackSMTPServer server(library);
            ASSERT_EQ(server.Problem(), "");
            pw::app::testing::SetMailPort(server.Port());
            EXPECT_EQ(Register(kSite, kSender), "");
            std::vector<LoopbackSMTPServer::Mail> mails = server.Mails();
            ASSERT_EQ(mails.size(), 1u);
            EXPECT_TRUE(std::regex_match(mails[0].date, std::regex("1996-12-05T12:0.*"))) << mails[0].date;
            EXPECT_NE(mails[0].messageID, "None");
            EXPECT_EQ(mails[0].headerDefects, "0");
            EXPECT_EQ(mails[0].subject, subject);
            Lines lines = LinesOf(mails[0].content);
            ASSERT_GE(lines.size(), 12u);
            EXPECT_EQ(Lines(lines.begin() + 9, lines.begin() + 11), c.lines) << "after the folded subject";
            EXPECT_EQ(lines[11], "-- kid@isp.example");
            for (const std::string& line : lines)
                EXPECT_LE(line.size(), 998u);
        }
    }
}

// A server that refuses a step, or drops the connection, raises a refusal that names the step and
// keeps the server's reply; shown, its alert carries the reply line.
TEST_F(RegistrationMailTest, ARefusalReachesTheAlertWithTheServersReplyLine)
{
    struct Case {
        const char* name;
        std::function<void(driver::ScriptedPeer&)> afterSender;
        const char* step;
        const char* reply;
        const char* alert;
    } cases[] = {
        { "no such user", [](driver::ScriptedPeer& s) { s.Send("250 ok\r\n").ReadLine().Send("550 No such user here\r\n")
                                                              .ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n"); },
            "RCPT TO", "550 No such user here", "The mail server refused RCPT TO: 550 No such user here" },
        { "the connection dropped", [](driver::ScriptedPeer& s) { s.Close(); }, "MAIL FROM", "",
            "The mail server closed the connection at MAIL FROM." },
    };
    Settings({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        server.Accept().Send("220 hi\r\n").ReadLine().Send("250 hello\r\n").ReadLine();
        c.afterSender(server);
        server.Start();
        pw::app::testing::SetMailPort(server.Port());
        SmartPtr<Exception> failure;
        try {
            RegisterSite(String(kSite), String(kSender));
        } catch (Exception* raised) {
            failure = SmartPtr<Exception>(raised);
        }
        server.Finish();
        auto* refusal = dynamic_cast<pw::net::MailServerRefusal*>(failure.Get());
        ASSERT_NE(refusal, nullptr);
        EXPECT_EQ(refusal->Step(), c.step);
        EXPECT_EQ(refusal->Reply(), c.reply);
        driver::ScriptMessageBoxes({ IDOK });
        size_t alertsBefore = driver::AlertLog().size();
        ReportException(refusal);
        ASSERT_EQ(driver::AlertLog().size(), alertsBefore + 1);
        EXPECT_NE(driver::AlertLog().back().text.find(c.alert), std::string::npos) << driver::AlertLog().back().text;
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
}

} // namespace
