// Servers that refuse a step of publishing, scripted and real, and what closing the session after
// a refusal does when the server then stays silent or the child presses Stop.
#include "PublishFixture.h"

#include "foundation/Chore.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/ScriptedPeer.h"
#include "ui/ProgressDialog.h"

#include <algorithm>
#include <memory>

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

} // namespace
