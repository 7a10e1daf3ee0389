#include "LoopbackSMTPServer.h"
#include "StepOutcome.h"
#include "ui/FrameworkFixture.h"

#include "foundation/Chore.h"
#include "foundation/MemoryStream.h"
#include "net/InternetSession.h"
#include "net/SMTPSession.h"
#include "net/SMTPThread.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"
#include "platform/winsock/WinsockTesting.h"
#include "ui/ProgressDialog.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace pw::net::tests {

namespace {

namespace driver = pw::platform::testing;
using Lines = std::vector<std::string>;

SmartPtr<Stream> StreamOf(const std::string& bytes)
{
    SmartPtr<Stream> stream(new MemoryStream(static_cast<uint32_t>(bytes.size())));
    stream->Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    return stream;
}

// A port on 127.0.0.1 where nothing listens.
uint16_t DeadPort()
{
    uint16_t port;
    {
        driver::ScriptedPeer closed;
        port = closed.Port();
    }
    return port;
}

class SMTPSessionTest : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        pw::ui::testing::ResetProgress();
        driver::SetResolver([this](const std::string& name) {
            asked.push_back(name);
            return resolvable.count(name) ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) }
                                          : std::vector<uint32_t> {};
        });
    }

    void TearDown() override
    {
        session = SmartPtr<SMTPSession>();
        pw::net::testing::SetReplyLimit(pw::net::kDefaultReplyLimitMs);
        pw::ui::testing::ResetProgress();
        FrameworkTest::TearDown();
    }

    // Opens a session on `port` with the configured mail host and waits for the connection.
    std::string Open(uint16_t port, const char* configured = "")
    {
        mailHost = String(configured);
        SmartPtr<InternetSession> server(new InternetSession(String("smtp")));
        std::string outcome = Outcome([&] { session = SmartPtr<SMTPSession>(new SMTPSession(server, mailHost, port)); });
        return outcome.empty() ? Wait() : outcome;
    }

    // Waits for the current step as the registration does.
    std::string Wait()
    {
        return Outcome([&] {
            ProgressRange range(1, String("Registering site"));
            while (!session->IsDone())
                range.Advance(0);
        });
    }

    std::string Send(const std::string& message, const char* from = "kid@example.org",
        const char* to = "sites@plumewright.test")
    {
        std::string outcome
            = Outcome([&] { session->SendMessage(StreamOf(message), String(from), String(to)); });
        return outcome.empty() ? Wait() : outcome;
    }

    void Close() { session = SmartPtr<SMTPSession>(); }

    std::set<std::string> resolvable;
    Lines asked;
    String mailHost;
    SmartPtr<SMTPSession> session;
};

// The server greets, takes HELO and MAIL FROM; each case scripts the rest.
driver::ScriptedPeer& Greeted(driver::ScriptedPeer& server)
{
    return server.Accept().Send("220 hi\r\n").ReadLine().Send("250 hello\r\n");
}

// The server reads RSET and QUIT and answers both.
void Reset(driver::ScriptedPeer& server)
{
    server.ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n");
}

// What the standard library's server hands over: the data without its closing line end, lines
// ended by LF alone.
std::string AsStandardServerKeepsIt(std::string content)
{
    content.resize(content.size() - 2);
    std::string kept;
    for (size_t i = 0; i < content.size(); ++i) {
        if (content.compare(i, 2, "\r\n") == 0)
            ++i;
        kept += content[i];
    }
    return kept;
}

TEST_F(SMTPSessionTest, RealServersReceiveTheMessageByteForByte)
{
    // Dots at line starts, a lone dot line, bare LF and bare CR, a line that crosses pieces and
    // is as long as a mail line may be once its dot is doubled.
    std::string longLine = "." + std::string(997, 'x');
    std::string message = "Subject:New Plumewright for Windows Site\r\nFrom:kid@example.org\r\n"
                          "To:sites@plumewright.test\r\n\r\nI've just published the web site:\r\n"
                          ".hidden\r\n..two\r\n.\r\nbare LF\nbare CR\r"
        + longLine + "\r\n-- kid@example.org\r\n\r\n";
    std::string expected = "Subject:New Plumewright for Windows Site\r\nFrom:kid@example.org\r\n"
                           "To:sites@plumewright.test\r\n\r\nI've just published the web site:\r\n"
                           ".hidden\r\n..two\r\n.\r\nbare LF\r\nbare CR\r\n"
        + longLine + "\r\n-- kid@example.org\r\n\r\n"
        + "\r\n"; // the line end the data always closes with before its dot

    for (auto library : { LoopbackSMTPServer::Library::kAsync, LoopbackSMTPServer::Library::kStandard }) {
        bool standard = library == LoopbackSMTPServer::Library::kStandard;
        SCOPED_TRACE(standard ? "the standard library's server" : "aiosmtpd");
        LoopbackSMTPServer server(library);
        ASSERT_EQ(server.Problem(), "");
        asked.clear();
        ASSERT_EQ(Open(server.Port()), "") << "no configured host: this machine first";
        EXPECT_EQ(Send(message), "");
        Close();
        std::vector<LoopbackSMTPServer::Mail> mails = server.Mails();
        ASSERT_EQ(mails.size(), 1u);
        EXPECT_EQ(mails[0].hello, "127.0.0.1");
        EXPECT_EQ(mails[0].from, "kid@example.org");
        EXPECT_EQ(mails[0].to, (Lines { "sites@plumewright.test" }));
        EXPECT_EQ(mails[0].content, standard ? AsStandardServerKeepsIt(expected) : expected);
        EXPECT_TRUE(asked.empty()) << "no name was looked up";
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
    EXPECT_TRUE(driver::AlertLog().empty());
}

// The whole conversation as the server reads it: replies split across packets, a greeting with a
// refusing code, 251 for the recipient, and the message lines.
TEST_F(SMTPSessionTest, OneMailGoesOutAsTheExactTranscript)
{
    driver::ScriptedPeer server;
    server.Accept().Send("554-busy\r\n").Pause(30).Send("554 but talking\r\n")
        .ReadLine().Send("250-mail.test\r\n").Pause(30).Send("250 HELP\r\n")
        .ReadLine().Send("250 sender ok\r\n")
        .ReadLine().Send("251 forwarded\r\n")
        .ReadLine().Send("354 go ahead\r\n")
        .ReadLine().ReadLine().ReadLine().Send("250 queued\r\n")
        .ReadLine().Send("221 bye\r\n").ReadUntilClosed();
    server.Start();
    resolvable = { "mail.test" };
    ASSERT_EQ(Open(server.Port(), "mail.test"), "");
    // A sender longer than 255 characters goes out whole.
    std::string sender = std::string(300, 'k') + "@example.org";
    EXPECT_EQ(Send("Subject:x\r\n.dot", sender.c_str()), "");
    Close();
    server.Finish();
    EXPECT_EQ(server.Lines(), (Lines { "HELO 127.0.0.1", "MAIL FROM:<" + sender + ">",
                                  "RCPT TO:<sites@plumewright.test>", "DATA", "Subject:x", "..dot", ".", "QUIT" }));
    EXPECT_TRUE(server.Failures().empty()) << server.Failures()[0];
    EXPECT_EQ(asked, (Lines { "mail.test" }));
    EXPECT_EQ(driver::LiveSocketCount(), 0u);
}

TEST_F(SMTPSessionTest, AFailedStepIsRaisedByEveryDoneTestAndTheConnectionIsReset)
{
    struct Case {
        const char* name;
        std::function<void(driver::ScriptedPeer&)> script;
        const char* outcome;
        Lines lines;
    } cases[] = {
        { "HELO refused", [](driver::ScriptedPeer& s) { s.Accept().Send("220 hi\r\n").ReadLine().Send("501 no\r\n")
                                                              .ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n"); },
            "The mail server refused HELO: 501 no", { "HELO 127.0.0.1", "RSET", "QUIT" } },
        { "sender refused", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("553 no such sender\r\n")
                                                                 .ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n"); },
            "The mail server refused MAIL FROM: 553 no such sender",
            { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RSET", "QUIT" } },
        { "252 for the recipient", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("250 ok\r\n").ReadLine()
                                                                        .Send("252 cannot verify\r\n"); Reset(s); },
            "The mail server refused RCPT TO: 252 cannot verify", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RCPT TO:<sites@plumewright.test>",
                                "RSET", "QUIT" } },
        { "a refusal over several lines shows its last", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine()
                .Send("250 ok\r\n").ReadLine().Send("550-5.1.1 unknown\r\n550 No such user here\r\n"); Reset(s); },
            "The mail server refused RCPT TO: 550 No such user here",
            { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RCPT TO:<sites@plumewright.test>", "RSET", "QUIT" } },
        { "DATA refused", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("250 ok\r\n").ReadLine()
                                                               .Send("250 ok\r\n").ReadLine().Send("451 later\r\n"); Reset(s); },
            "The mail server refused DATA: 451 later", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RCPT TO:<sites@plumewright.test>",
                                "DATA", "RSET", "QUIT" } },
        { "message refused at the end", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("250 ok\r\n").ReadLine()
                .Send("250 ok\r\n").ReadLine().Send("354 go\r\n").ReadLine().ReadLine().Send("554 spam\r\n"); Reset(s); },
            "The mail server refused the message: 554 spam", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RCPT TO:<sites@plumewright.test>",
                                "DATA", "text", ".", "RSET", "QUIT" } },
        { "a short reply line", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("25\r\n"); Reset(s); },
            "The mail server refused MAIL FROM: 25", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RSET", "QUIT" } },
        { "a reply without a code", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("OK then\r\n"); Reset(s); },
            "The mail server refused MAIL FROM: OK then", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RSET", "QUIT" } },
        { "closed after the sender", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Close(); },
            "The mail server closed the connection at MAIL FROM.", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>" } },
        { "closed in the middle of a reply", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("250-a\r\n25").Close(); },
            "The mail server closed the connection at MAIL FROM.", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>" } },
        { "silent after the recipient", [](driver::ScriptedPeer& s) { Greeted(s).ReadLine().Send("250 ok\r\n").ReadLine().Pause(1500); },
            "The mail server stopped answering.",
            { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RCPT TO:<sites@plumewright.test>" } },
    };
    pw::net::testing::SetReplyLimit(300);
    pw::platform::Clock::SetTickStep(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        c.script(server);
        server.Start();
        std::string outcome = Open(server.Port());
        if (outcome.empty())
            outcome = Send("text");
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(Wait(), c.outcome) << "the failure stays pending";
        EXPECT_EQ(driver::LiveSocketCount(), 0u) << "the connection was closed at once";
        Close();
        server.Finish();
        EXPECT_EQ(server.Lines(), c.lines);
    }
    EXPECT_TRUE(driver::AlertLog().empty());
}

// Counts the runs it makes while a step of the session is under way: the message loop dispatched
// timers while a reply came in. From its `stopAt`th such run on it presses the progress dialog's
// Stop, as a child would.
class StepWatcher : public Chore {
public:
    StepWatcher(SMTPSession& session, int stopAt)
        : Chore(50, true, 0)
        , session(session)
        , stopAt(stopAt)
    {
    }
    void Perform() override
    {
        try {
            if (session.IsDone())
                return;
        } catch (Exception*) {
            return;
        }
        if (++busyRuns >= stopAt && stopAt > 0 && ProgressRange::CurrentDialog().Valid())
            ProgressRange::CurrentDialog()->Cancel();
    }
    int busyRuns { 0 };

private:
    SMTPSession& session;
    int stopAt;
};

// A reply dripped a byte at a time or one of continuation lines that never ends fails its step
// within the reply limit, counted from the command; meanwhile the message loop runs and the
// progress dialog's Stop ends the step. A server that broke a bound is not written to again.
TEST_F(SMTPSessionTest, ADrippedOrEndlessReplyEndsTheStepWhileTheMessageLoopRuns)
{
    struct Case {
        const char* name;
        std::function<void(driver::ScriptedPeer&)> afterSender;
        int stopAt;
        const char* outcome;
        Lines lines;
        int busyRuns; // at least
    } cases[] = {
        { "a reply dripped a byte at a time",
            [](driver::ScriptedPeer& s) { s.Drip("250 " + std::string(2000, 'o') + "\r\n", 10); }, 0,
            "The mail server stopped answering.", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>" }, 5 },
        { "continuation lines without end",
            [](driver::ScriptedPeer& s) { s.Flood("250-and more\r\n", 100 << 20); }, 0,
            "The mail server sent a reply too long to read.", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>" }, 0 },
        { "Stop while a reply is dripped",
            [](driver::ScriptedPeer& s) { s.Drip("250 " + std::string(2000, 'o') + "\r\n", 10).ReadLine().ReadLine(); },
            3, "cancelled", { "HELO 127.0.0.1", "MAIL FROM:<kid@example.org>", "RSET", "QUIT" }, 3 },
    };
    pw::net::testing::SetReplyLimit(1000);
    pw::platform::Clock::SetTickStep(10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        Greeted(server).ReadLine();
        c.afterSender(server);
        server.Start();
        ASSERT_EQ(Open(server.Port()), "");
        SmartPtr<StepWatcher> watcher(new StepWatcher(*session.Get(), c.stopAt));
        EXPECT_EQ(Send("text"), c.outcome);
        EXPECT_GE(watcher->busyRuns, c.busyRuns);
        watcher = SmartPtr<StepWatcher>();
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        Close();
        server.Finish();
        EXPECT_EQ(server.Lines(), c.lines);
    }
}

TEST_F(SMTPSessionTest, MailHostsAreTriedInOrderAndNeverAGuessedInternetHost)
{
    struct Case {
        const char* name;
        std::string configured;
        std::set<std::string> resolvable;
        bool listening;
        const char* outcome;
        Lines asked;
    } cases[] = {
        { "a configured host that does not resolve", "mail.nowhere.test", {}, true, "No Mail Server found",
            { "mail.nowhere.test", "smtp", "mail", "smtp.invalid" } },
        { "none configured and nothing on this machine", "", {}, false, "No Mail Server found",
            { "smtp", "mail", "smtp.invalid" } },
        { "the name smtp answers", "mail.nowhere.test", { "smtp", "mail" }, true, "", { "mail.nowhere.test", "smtp" } },
        { "the name mail answers", "mail.nowhere.test", { "mail" }, true, "", { "mail.nowhere.test", "smtp", "mail" } },
        { "a long configured name is used whole", std::string(300, 'm') + ".test", { std::string(300, 'm') + ".test" },
            true, "", { std::string(300, 'm') + ".test" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        server.Accept().Send("220 hi\r\n").ReadLine().Send("250 hello\r\n").ReadLine().Send("250 reset\r\n")
            .ReadLine().Send("221 bye\r\n");
        server.SetStepTimeout(300);
        server.Start();
        resolvable = c.resolvable;
        asked.clear();
        // With nothing configured this machine is tried first: it finds the peer unless it is elsewhere.
        std::string outcome = Open(c.listening ? server.Port() : DeadPort(), c.configured.c_str());
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(asked, c.asked);
        Close();
        server.Finish();
    }
}

TEST_F(SMTPSessionTest, UnsafeAddressesAndOverlongLinesAreRefusedBeforeAnythingIsSent)
{
    const char* const unsafe = "A mail address holds a line break or an angle bracket and cannot be sent.";
    const char* const overlong = "A line of the mail is longer than 998 characters and cannot be sent.";
    struct Case {
        const char* name;
        const char* from;
        const char* to;
        std::string message;
        const char* outcome;
    } cases[] = {
        { "a line break in the sender", "kid@example.org>\r\nRCPT TO:<victim@example.org", "sites@plumewright.test",
            "text", unsafe },
        { "a line feed in the recipient", "kid@example.org", "sites@plumewright.test\nDATA", "text", unsafe },
        { "an angle bracket", "kid@example.org", "<sites@plumewright.test>", "text", unsafe },
        { "a line of 999 bytes", "kid@example.org", "sites@plumewright.test", "a\r\n" + std::string(999, 'x') + "\r\n",
            overlong },
        { "a last line of 999 bytes after a bare CR", "kid@example.org", "sites@plumewright.test",
            "a\r" + std::string(999, 'x'), overlong },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        Greeted(server).ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n");
        server.Start();
        ASSERT_EQ(Open(server.Port()), "");
        EXPECT_EQ(Send(c.message, c.from, c.to), c.outcome);
        Close();
        server.Finish();
        EXPECT_EQ(server.Lines(), (Lines { "HELO 127.0.0.1", "RSET", "QUIT" }));
    }
}

TEST_F(SMTPSessionTest, SendingWhileTheConnectionIsStillMadeDoesNothing)
{
    driver::ScriptedPeer server;
    Greeted(server).ReadLine().Send("250 reset\r\n").ReadLine().Send("221 bye\r\n");
    server.Start();
    mailHost = String();
    SmartPtr<InternetSession> host(new InternetSession(String("smtp")));
    session = SmartPtr<SMTPSession>(new SMTPSession(host, mailHost, server.Port()));
    EXPECT_EQ(Outcome([&] { session->SendMessage(StreamOf("text"), String("a@b.test"), String("c@d.test")); }), "");
    EXPECT_EQ(Wait(), "");
    Close();
    server.Finish();
    EXPECT_EQ(server.Lines(), (Lines { "HELO 127.0.0.1", "RSET", "QUIT" }));
}

} // namespace

} // namespace pw::net::tests
