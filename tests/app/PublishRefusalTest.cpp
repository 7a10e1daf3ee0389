// Servers that refuse a step of publishing, scripted and real, and what closing the session after
// a refusal does when the server then stays silent, closes or the child presses Stop.
#include "PublishFixture.h"

#include "foundation/Chore.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/winsock/HostSockets.h"
#include "ui/ProgressDialog.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace apptest;

// A server that refuses a step of the upload, on a project's first publish (its folder made then)
// and on the next (the folder there): the child is shown the server's own words as soon as it
// refuses, nothing is stored outside the project's folder on the server, and no congratulation
// follows.
TEST_F(PublishTest, AServersRefusalIsShownAtOnceInItsOwnWords)
{
    struct Case {
        const char* name;
        LoopbackFTPServer::Refusal refusal;
    } cases[] = {
        { "a file refused", { "STOR", "550 Permission denied." } },
        { "the project's folder refused", { "CWD Kim", "550 Not a place for you." } },
        { "active mode refused", { "PORT", "550 Active mode is off." } },
    };
    // With the session's silence limit at a second of virtual time, a refusal overlooked ends in
    // "The FTP server stopped answering." instead of the server's words.
    pw::net::testing::SetWaitLimit(1000);
    NewPage(true);
    Files exported = Exported();
    for (const Case& c : cases) {
        for (bool folderThere : { false, true }) {
            SCOPED_TRACE(std::string(c.name) + (folderThere ? ", the folder there" : ", a first publish"));
            LoopbackFTPServer server(c.refusal);
            ASSERT_EQ(server.Problem(), "");
            std::filesystem::create_directories(server.Root() / "site" / (folderThere ? "Kim" : ""));
            pw::app::testing::SetFTPPort(server.Port());
            Publish({ IDOK, IDNO, IDOK }, { "\n" });
            EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel",
                                c.refusal.reply + " (stop) OK" }));
            EXPECT_EQ(FilesIn(server.Root()), (Files { { "site", "(folder)" } }));
            EXPECT_EQ(FilesIn(server.Root() / "site"), (Files { { "Kim", "(folder)" } }));
            EXPECT_TRUE(FilesIn(server.Root() / "site" / "Kim").empty());
            EXPECT_EQ(Exported(), exported);
            Lines commands = server.Commands();
            EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                          [&](const std::string& line) { return line.rfind(c.refusal.command, 0) == 0; }),
                1)
                << "nothing more after the refusal";
            EXPECT_EQ(commands.back(), "QUIT");
        }
    }
}

// Presses the progress dialog's Stop once the server has been told QUIT.
class StopWhileClosing : public Chore {
public:
    explicit StopWhileClosing(const LoopbackFTPServer& server)
        : Chore(50, true, 0)
        , server(server)
    {
    }
    void Perform() override
    {
        Lines commands = server.Commands();
        if (commands.empty() || commands.back() != "QUIT" || !ProgressRange::CurrentDialog().Valid())
            return;
        ProgressRange::CurrentDialog()->Cancel();
        pressed = true;
        Stop();
    }

    bool pressed { false };

private:
    const LoopbackFTPServer& server;
};

// A server that refuses a file and then falls silent, not even answering QUIT: its refusal is what
// the child is told, whether the program waits out its short limit for the goodbye or the child
// presses Stop meanwhile; publishing ends there and the project's pages stay as they were.
TEST_F(PublishTest, ASilenceOrAStopAfterARefusalLeavesTheRefusalShown)
{
    NewPage(true);
    Files exported = Exported();
    // Virtual time runs 10 ms a clock read, so a wait of seconds takes a fraction of one.
    pw::platform::Clock::SetTickStep(10);
    for (bool stop : { false, true }) {
        SCOPED_TRACE(stop ? "Stop while closing" : "silent");
        LoopbackFTPServer server({ "STOR", "550 Permission denied.", true });
        ASSERT_EQ(server.Problem(), "");
        std::filesystem::create_directories(server.Root() / "site" / "Kim");
        pw::app::testing::SetFTPPort(server.Port());
        SmartPtr<StopWhileClosing> stopper(stop ? new StopWhileClosing(server) : nullptr);
        uint64_t start = driver::ClockMs();
        Publish({ IDOK, IDNO, IDOK }, { "\n" });
        EXPECT_LT(driver::ClockMs() - start, 10'000u) << "closing waits seconds, not the minute of silence";
        EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel",
                            "550 Permission denied. (stop) OK" }));
        EXPECT_EQ(server.Commands().back(), "QUIT");
        EXPECT_EQ(stopper.Valid() && stopper->pressed, stop);
        EXPECT_TRUE(FilesIn(server.Root() / "site" / "Kim").empty());
        EXPECT_EQ(Exported(), exported);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
}

// Presses the progress dialog's Stop once the program holds a connection.
class StopWhileConnecting : public Chore {
public:
    StopWhileConnecting()
        : Chore(50, true, 0)
    {
    }
    void Perform() override
    {
        if (driver::LiveSocketCount() == 0 || !ProgressRange::CurrentDialog().Valid())
            return;
        ProgressRange::CurrentDialog()->Cancel();
        pressed = true;
        Stop();
    }

    bool pressed { false };
};

// Stop pressed while a server that has taken the connection keeps the child waiting for its
// greeting ends publishing without a word: the child stopped it, the computer is not offline. A
// server that takes no connection at all is still told as no connection.
TEST_F(PublishTest, StopWhileConnectingEndsWithoutSayingTheComputerIsOffline)
{
    NewPage(true);
    for (bool stop : { true, false }) {
        SCOPED_TRACE(stop ? "Stop while waiting for the greeting" : "nothing listening");
        auto server = std::make_unique<driver::ScriptedPeer>();
        uint16_t port = server->Port();
        if (stop) {
            server->Accept().ReadUntilClosed();
            server->Start();
        } else {
            server.reset();
        }
        pw::app::testing::SetFTPPort(port);
        SmartPtr<StopWhileConnecting> stopper(stop ? new StopWhileConnecting : nullptr);
        Lines expected = { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel" };
        std::vector<int> answers = { IDOK, IDNO };
        if (!stop) {
            expected.push_back("not connected (i) OK/Cancel");
            answers.push_back(IDOK);
        }
        Publish(answers, { "\n" });
        EXPECT_EQ(said, expected);
        EXPECT_EQ(stopper.Valid() && stopper->pressed, stop);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        if (server) {
            EXPECT_EQ(server->Finish(), "") << "the program closed the connection without a word";
        }
    }
}

// The system's vsftpd letting nothing be written, or taking no active-mode data connection, on a
// project's first publish: its refusal is what the child is told.
TEST_F(PublishTest, ARealServerThatWritesNothingOrRefusesActiveModeShowsItsRefusal)
{
    struct Case {
        const char* setting;
        const char* said;
        Files site;
    } cases[] = {
        { "write_enable=NO", "550 Failed to change directory. (stop) OK", {} },
        { "port_enable=NO", "550 Permission denied. (stop) OK", { { "Kim", "(folder)" } } },
    };
    NewPage(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setting);
        std::unique_ptr<LoopbackFTPServer> server = LoopbackFTPServer::Vsftpd({ c.setting });
        ASSERT_EQ(server->Problem(), "");
        pw::app::testing::SetFTPPort(server->Port());
        Settings({ { 1000, "ftp://ftp.test/site" }, { 1001, "anonymous" }, { 1002, "secret" }, { 3002, "mail.test" } });
        Publish({ IDOK, IDNO, IDOK }, { "\n" });
        EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", c.said }));
        EXPECT_EQ(FilesIn(server->Root() / "site"), c.site);
        EXPECT_TRUE(FilesIn(server->Root() / "site" / "Kim").empty());
    }
}

// A server that refuses and closes, at once or while its refusal is still on the screen (as vsftpd
// does past its connections from one address): the child is told the refusal alone, the computer
// being connected. A server that closes without a word is told as no connection. The boxes are
// shown and answered as a child answers them, the last only once the server has closed and the
// program has had rounds of its loop to notice.
TEST_F(PublishTest, AServerThatClosesAfterItsRefusalIsToldByTheRefusalAlone)
{
    const std::string tooMany = "421 There are too many connections from your internet address.";
    struct Case {
        const char* name;
        // None: vsftpd taking one connection from an address, which the test holds.
        std::function<void(driver::ScriptedPeer&)> script;
        std::string said;
    } cases[] = {
        { "a 421 at the greeting", [&](driver::ScriptedPeer& s) { s.Accept().Send(tooMany + "\r\n").Close(); },
            tooMany + " (stop) OK" },
        { "a 530 to the password, closed 0.3 s later",
            [](driver::ScriptedPeer& s) {
                s.Accept().Send("220 Ready.\r\n").ReadLine().Send("331 Password, please.\r\n").ReadLine()
                    .Send("530 Login incorrect.\r\n").Pause(300).Close();
            },
            "530 Login incorrect. (stop) OK" },
        { "vsftpd holding another connection from this address", nullptr, tooMany + " (stop) OK" },
        { "closed without a word", [](driver::ScriptedPeer& s) { s.Accept().Close(); }, "not connected (i) OK/Cancel" },
    };
    namespace host = pw::platform::host;
    using Clock = std::chrono::steady_clock;
    NewPage(true);
    driver::ShowDialogs(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<driver::ScriptedPeer> peer;
        std::unique_ptr<LoopbackFTPServer> vsftpd;
        int held = -1;
        if (c.script) {
            peer = std::make_unique<driver::ScriptedPeer>();
            c.script(*peer);
            peer->Start();
            pw::app::testing::SetFTPPort(peer->Port());
        } else {
            vsftpd = LoopbackFTPServer::Vsftpd({ "max_per_ip=1" });
            ASSERT_EQ(vsftpd->Problem(), "");
            // The test's own connection, greeted: the server may still count the one it was
            // probed with, and then refuses this one too.
            std::string greeting;
            for (int attempt = 0; attempt < 50 && greeting.rfind("220 ", 0) != 0; ++attempt) {
                if (held >= 0) {
                    host::Close(held);
                    std::this_thread::sleep_for(std::chrono::milliseconds(50));
                }
                held = host::OpenStreamSocket();
                char bytes[256];
                ptrdiff_t got = -1;
                if (host::Connect(held, { uint32_t(htonl(0x7F000001)), htons(vsftpd->Port()) })
                    && host::SetReceiveTimeout(held, 5000))
                    got = host::Receive(held, bytes, sizeof bytes);
                greeting.assign(bytes, got > 0 ? size_t(got) : 0);
            }
            ASSERT_EQ(greeting.substr(0, 4), "220 ");
            pw::app::testing::SetFTPPort(vsftpd->Port());
        }
        // OK to the introduction and No to registering at once; the last box once the scripted
        // server has closed, or half a second after it showed for the real one, and five more rounds.
        size_t before = driver::AlertLog().size();
        size_t clicks = 0;
        Clock::time_point shown {};
        int rounds = 0;
        driver::SetIdleHandler([&] {
            // Keys meant for the progress dialog would answer the box, which takes all input.
            HWND button = driver::FindWindowByTitle(clicks == 1 ? "No" : "OK");
            if (!button)
                return AnswerDialog();
            if (clicks != driver::AlertLog().size() - before)
                return false;
            if (clicks >= 2) {
                if (shown == Clock::time_point {})
                    shown = Clock::now();
                bool closed = peer ? peer->Done() : Clock::now() - shown > std::chrono::milliseconds(500);
                if (!closed || ++rounds < 5) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    return true;
                }
            }
            RECT r;
            GetWindowRect(button, &r);
            driver::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            ++clicks;
            return true;
        });
        Publish({}, { "\n" });
        driver::SetIdleHandler([this] { return AnswerDialog(); });
        EXPECT_EQ(said, (Lines { "introduction (i) OK/Cancel", "register? (i) Yes/No/Cancel", c.said }));
        EXPECT_GE(rounds, 5) << "the box was up when the server closed";
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
        if (peer) {
            peer->Finish();
            EXPECT_TRUE(peer->Failures().empty()) << peer->Failures().front();
        }
        if (held >= 0)
            host::Close(held);
    }
    driver::ShowDialogs(false);
    pw::app::testing::SetFTPPort(ftp.Port());
}

} // namespace
