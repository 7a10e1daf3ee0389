#include "LoopbackFTPServer.h"
#include "StepOutcome.h"
#include "ui/FrameworkFixture.h"

#include "foundation/Chore.h"
#include "foundation/FileReference.h"
#include "foundation/MemoryStream.h"
#include "foundation/MessageException.h"
#include "foundation/UserCancelException.h"
#include "net/FTPDataConnection.h"
#include "net/FTPFlags.h"
#include "net/FTPSession.h"
#include "net/InternetSession.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"
#include "platform/winsock/WinsockTesting.h"
#include "ui/ProgressDialog.h"
#include "ui/ProgressRange.h"

#include <winsock.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace pw::net::tests {

namespace {

namespace driver = pw::platform::testing;
using Lines = std::vector<std::string>;

// "PORT 127,0,0,1,p1,p2" with a port of 1024 or more.
bool IsLoopbackPort(const std::string& line)
{
    unsigned high = 0;
    unsigned low = 0;
    char end = 0;
    return std::sscanf(line.c_str(), "PORT 127,0,0,1,%u,%u%c", &high, &low, &end) == 2 && high < 256 && low < 256
        && (high << 8 | low) >= 1024;
}

std::string RandomBytes(size_t count, unsigned seed)
{
    std::mt19937 generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes)
        c = static_cast<char>(generator());
    return bytes;
}

SmartPtr<Stream> StreamOf(const std::string& bytes)
{
    SmartPtr<Stream> stream(new MemoryStream(static_cast<uint32_t>(bytes.size())));
    stream->Write(bytes.data(), static_cast<uint32_t>(bytes.size()));
    stream->Seek(0, Stream::kFromStart);
    return stream;
}

class FTPSessionTest : public uitest::FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        pw::ui::testing::ResetProgress();
        driver::SetResolver([](const std::string& name) {
            return name == "ftp.test" ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) } : std::vector<uint32_t> {};
        });
    }

    void TearDown() override
    {
        session = SmartPtr<FTPSession>();
        pw::net::testing::SetWaitLimit(pw::net::kDefaultWaitLimitMs);
        pw::ui::testing::ResetProgress();
        FrameworkTest::TearDown();
    }

    std::string Open(uint16_t port, const char* user = "kid", const char* password = "secret")
    {
        SmartPtr<InternetSession> server(new InternetSession(String("ftp.test")));
        return Outcome([&] { session = SmartPtr<FTPSession>(new FTPSession(server, String(user), String(password), port)); });
    }

    // Polls DoTransfer as publishing does, inside a range of its own; `each` runs every round.
    template <typename Each>
    std::string Settle(Each each)
    {
        return Outcome([&] {
            ProgressRange range(1, String("Publishing"));
            while (!session->DoTransfer()) {
                each();
                range.Advance(0);
            }
        });
    }
    std::string Settle()
    {
        return Settle([] { });
    }

    std::string Put(const std::string& bytes, const char* name, int mode = 2)
    {
        std::string outcome = Outcome([&] { session->PutFile(StreamOf(bytes), String(name), true, mode); });
        return outcome.empty() ? Settle() : outcome;
    }

    // Ends the session (QUIT, or ABOR while a transfer is kept).
    void Close() { session = SmartPtr<FTPSession>(); }

    static std::vector<std::string> AlertTexts()
    {
        std::vector<std::string> texts;
        for (const auto& record : driver::AlertLog())
            texts.push_back(record.text);
        return texts;
    }

    // Failures come within a second of virtual time; the clock moves 10 ms a read so that the
    // silence is reached in a few rounds of real time.
    static void QuickSilence()
    {
        pw::net::testing::SetWaitLimit(1000);
        pw::platform::Clock::SetTickStep(10);
    }

    SmartPtr<FTPSession> session;
};

TEST_F(FTPSessionTest, FilesUploadedToARealServerArriveByteForByte)
{
    LoopbackFTPServer server;
    ASSERT_EQ(server.Problem(), "");
    std::filesystem::create_directory(server.Root() / "~kid");
    std::filesystem::path drive = std::filesystem::path(driver::DriveRoot()) / "plume";
    std::string page = "<html>\r\n" + RandomBytes(40000, 9) + "\n</html>\n";
    std::ofstream(drive / "page.htm", std::ios::binary) << page;

    ASSERT_EQ(Open(server.Port()), "");
    ASSERT_EQ(Settle(), "") << "the password was taken";
    ASSERT_EQ(Outcome([&] { session->SetDirectory(String("/~kid/site"), true); }), "");
    ASSERT_EQ(Settle(), "");
    struct Upload {
        const char* name;
        std::string bytes;
    } uploads[] = {
        { "empty.htm", "" },
        { "block.jpg", RandomBytes(16384, 1) },
        { "block1.jpg", RandomBytes(16385, 2) },
        { "big.wav", RandomBytes(1 << 20, 3) },
    };
    for (const Upload& upload : uploads) {
        SCOPED_TRACE(upload.name);
        EXPECT_EQ(Put(upload.bytes, upload.name), "");
        EXPECT_TRUE(server.Contents(std::filesystem::path("~kid") / "site" / upload.name) == upload.bytes);
    }
    EXPECT_EQ(Outcome([&] {
        session->SendFile(FileReference("c:\\plume\\page.htm"), String("page.htm"), true, 2);
    }), "");
    EXPECT_EQ(Settle(), "");
    EXPECT_TRUE(server.Contents("~kid/site/page.htm") == page);
    EXPECT_EQ(Put("again", "empty.htm"), "") << "a file is replaced";
    EXPECT_EQ(server.Contents("~kid/site/empty.htm"), "again");

    // A second session finds the folder made: the refusal of MKD is accepted.
    Close();
    ASSERT_EQ(Open(server.Port()), "");
    EXPECT_EQ(Outcome([&] { session->SetDirectory(String("/~kid/site"), true); }), "");
    EXPECT_EQ(Put("x", "second.htm", 0), "");
    EXPECT_EQ(server.Contents("~kid/site/second.htm"), "x");
    Close();
    EXPECT_TRUE(AlertTexts().empty());
    EXPECT_EQ(driver::LiveSocketCount(), 0u);
}

TEST_F(FTPSessionTest, ARealServerRefusingThePasswordStopsTheNextStepWithItsLine)
{
    LoopbackFTPServer server;
    ASSERT_EQ(server.Problem(), "");
    driver::ScriptMessageBoxes({ IDOK });
    ASSERT_EQ(Open(server.Port(), "kid", "wrong"), "");
    EXPECT_EQ(Outcome([&] { session->SetDirectory(String("/"), false); }), "cancelled");
    ASSERT_EQ(AlertTexts().size(), 1u);
    EXPECT_EQ(AlertTexts()[0].substr(0, 4), "530 ");
}

// The whole conversation as the server reads it: log-in, the folders, one transfer with its data
// on a second connection, and the end.
TEST_F(FTPSessionTest, AnUploadGoesOutAsTheExactCommandTranscript)
{
    driver::ScriptedPeer server;
    server.Accept()
        .Send("220-Welcome\r\n220 ready\r\n")
        .ReadLine().Send("331 password please\r\n")
        .ReadLine().Send("230 in\r\n")
        .ReadLine().Send("250 there\r\n")
        .ReadLine().Send("550 exists\r\n")
        .ReadLine().Send("250 in site\r\n")
        .ReadLine().Send("200 binary\r\n")
        .ReadLine().ConnectToPort("127.0.0.2").ReadUntilClosed()
        .ConnectToPort().Control().Send("200 port\r\n")
        .ReadLine().Send("150 go\r\n")
        .Data().ReadUntilClosed()
        .Control().Send("226 stored\r\n")
        .ReadLine().Send("200 ascii\r\n")
        .ReadLine().ConnectToPort().Control().Send("200 port\r\n")
        .ReadLine().Send("150 go\r\n")
        .Data().ReadUntilClosed()
        .Control().Send("226 stored\r\n")
        // QUIT's reply comes late; the session waits for it before it closes.
        .ReadLine().Pause(300).ExpectOpen().Send("221 Goodbye.\r\n");
    server.Start();
    ASSERT_EQ(Open(server.Port()), "");
    EXPECT_EQ(Outcome([&] { session->SetDirectory(String("/kids"), false); }), "");
    EXPECT_EQ(Outcome([&] { session->SetDirectory(String("/~kid/site"), true); }), "");
    std::string bytes = RandomBytes(40000, 4);
    EXPECT_EQ(Outcome([&] { session->PutFile(StreamOf(bytes), String("index.htm"), true, 2); }), "");
    EXPECT_EQ(Outcome([&] { session->PutFile(StreamOf("late"), String("late.htm"), true, 2); }), "")
        << "a file put while a transfer runs is left alone";
    EXPECT_EQ(Settle(), "");
    EXPECT_EQ(Outcome([&] { session->PutFile(StreamOf("text"), String("notes"), false, 3); }), "");
    EXPECT_EQ(Settle(), "");
    Close();
    server.Finish();

    Lines lines = server.Lines();
    ASSERT_EQ(lines.size(), 12u) << (server.Failures().empty() ? "" : server.Failures()[0]);
    EXPECT_TRUE(IsLoopbackPort(lines[6])) << lines[6];
    EXPECT_TRUE(IsLoopbackPort(lines[9])) << lines[9];
    EXPECT_TRUE(lines[10].size() == 14 && lines[10].rfind("STOR notes", 0) == 0
        && lines[10].find_first_not_of("0123456789", 10) == std::string::npos) << lines[10];
    lines[6] = lines[9] = "PORT";
    lines[10] = "STOR notes";
    EXPECT_EQ(lines, (Lines { "USER kid", "PASS secret", "CWD /kids", "MKD /~kid/site", "CWD ~kid/site", "TYPE I",
                         "PORT", "STOR index.htm", "TYPE A", "PORT", "STOR notes", "QUIT" }));
    ASSERT_EQ(server.Bodies().size(), 3u);
    EXPECT_EQ(server.Bodies()[0], "") << "a stranger's connection is closed at once";
    EXPECT_TRUE(server.Bodies()[1] == bytes);
    EXPECT_EQ(server.Bodies()[2], "text");
    EXPECT_TRUE(server.Failures().empty());
    EXPECT_TRUE(AlertTexts().empty());
}

// The server logged in the user and answers the next commands as each case scripts them.
driver::ScriptedPeer& LoggedIn(driver::ScriptedPeer& server)
{
    return server.Accept().Send("220 hi\r\n").ReadLine().Send("331 pw\r\n").ReadLine().Send("230 in\r\n");
}

TEST_F(FTPSessionTest, EveryFailureEndsTheStepWithAClearReportAndNoHang)
{
    struct Case {
        const char* name;
        std::function<void(driver::ScriptedPeer&)> script;
        size_t fileSize;
        bool stop; // the progress dialog's Stop is pressed while the file goes
        const char* outcome;
        const char* alert;
        Lines lines;
    } cases[] = {
        { "530 on PASS",
            [](driver::ScriptedPeer& s) {
                s.Accept().Send("220 hi\r\n").ReadLine().Send("331 pw\r\n").ReadLine().Send("530 Login incorrect.\r\n")
                    .ReadLine().Send("221 bye\r\n");
            },
            10, false, "cancelled", "530 Login incorrect.", { "USER kid", "PASS secret", "QUIT" } },
        { "PORT refused",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().Send("500 Illegal PORT command.\r\n").ReadLine()
                    .Send("221 bye\r\n");
            },
            10, false, "cancelled", "500 Illegal PORT command.", { "USER kid", "PASS secret", "TYPE I", "PORT", "QUIT" } },
        { "425 on STOR",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().Send("200 ok\r\n")
                    .ReadLine().Send("425 Can't open data connection.\r\n").ReadLine().Send("221 bye\r\n");
            },
            10, false, "cancelled", "425 Can't open data connection.",
            { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f", "QUIT" } },
        { "the control connection closed while the file goes",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().ConnectToPort().Control().Send("200 ok\r\n")
                    .ReadLine().Send("150 go\r\n").Close();
            },
            8 << 20, false, "The FTP server closed the connection.", "",
            { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f" } },
        { "the data connection reset early",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().ConnectToPort().Control().Send("200 ok\r\n")
                    .ReadLine().Send("150 go\r\n").Data().ReadBytes(16384).Abort();
            },
            8 << 20, false, "Send Failed", "", { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f" } },
        { "silence after the data",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().ConnectToPort().Control().Send("200 ok\r\n")
                    .ReadLine().Send("150 go\r\n").Data().ReadUntilClosed();
            },
            20000, false, "The FTP server stopped answering.", "",
            { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f" } },
        { "a data connection that is never read",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().ConnectToPort().Control().Send("200 ok\r\n")
                    .ReadLine().Send("150 go\r\n");
            },
            8 << 20, false, "The FTP server stopped answering.", "",
            { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f" } },
        { "Stop while the file goes",
            [](driver::ScriptedPeer& s) {
                LoggedIn(s).ReadLine().Send("200 ok\r\n").ReadLine().ConnectToPort().Control().Send("200 ok\r\n")
                    .ReadLine().Send("150 go\r\n").ReadLine().ReadLine().Send("426 aborted\r\n226 ok\r\n221 bye\r\n");
            },
            8 << 20, true, "cancelled", "",
            { "USER kid", "PASS secret", "TYPE I", "PORT", "STOR f", "ABOR", "QUIT" } },
    };
    QuickSilence();
    driver::ScriptMessageBoxes({ IDOK, IDOK, IDOK });
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        size_t alertsBefore = driver::AlertLog().size();
        driver::ScriptedPeer server;
        c.script(server);
        server.Start();
        ASSERT_EQ(Open(server.Port()), "");
        std::string outcome = Settle();
        if (outcome.empty())
            outcome = Outcome([&] { session->PutFile(StreamOf(RandomBytes(c.fileSize, 5)), String("f"), true, 2); });
        if (outcome.empty()) {
            outcome = Settle([&] {
                if (c.stop && ProgressRange::CurrentDialog().Valid())
                    ProgressRange::CurrentDialog()->Cancel();
            });
        }
        EXPECT_EQ(outcome, c.outcome);
        Close();
        server.Finish();
        Lines lines = server.Lines();
        for (std::string& line : lines) {
            if (line.rfind("PORT ", 0) == 0)
                line = "PORT";
        }
        EXPECT_EQ(lines, c.lines);
        Lines alerts = AlertTexts();
        alerts.erase(alerts.begin(), alerts.begin() + static_cast<ptrdiff_t>(alertsBefore));
        EXPECT_EQ(alerts, std::string(c.alert).empty() ? Lines {} : Lines { c.alert });
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
}

// Counts its runs: the message loop went on dispatching timers meanwhile.
class TickCounter : public Chore {
public:
    TickCounter()
        : Chore(50, true, 0)
    {
    }
    void Perform() override { ++runs; }
    int runs { 0 };
};

// Dispatches whatever comes for `realMs` of real time, as an idle program would.
void Idle(int realMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    MSG msg;
    while (std::chrono::steady_clock::now() < end) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
}

// Servers that hold on to their client: a reply dripped a byte at a time, one that never ends, and
// a server that closes right after a reply, noticed while a reply is awaited or while the session
// is idle. Each ends its step with a clear error, and the message loop runs on meanwhile.
TEST_F(FTPSessionTest, AServerThatDripsFloodsOrClosesEndsTheStepWithAClearError)
{
    struct Case {
        const char* name;
        std::function<void(driver::ScriptedPeer&)> script;
        bool idleFirst;
        const char* outcome;
        Lines lines;
        int ticks; // at least this many runs of a 50 ms chore during the step
    } cases[] = {
        { "a greeting dripped a byte at a time",
            [](driver::ScriptedPeer& s) { s.Accept().Drip("220 " + std::string(1000, 'z') + "\r\n", 10); }, false,
            "The FTP server stopped answering.", {}, 5 },
        { "a greeting that never ends",
            [](driver::ScriptedPeer& s) { s.Accept().Flood("220-welcome, welcome, welcome\r\n", 100 << 20); }, false,
            "The FTP server sent a reply too long to read.", {}, 0 },
        { "a greeting of endless lines that are no replies",
            [](driver::ScriptedPeer& s) { s.Accept().Flood("welcome, welcome, welcome\r\n", 100 << 20); }, false,
            "The FTP server sent a reply too long to read.", {}, 0 },
        { "closed right after asking for the password",
            [](driver::ScriptedPeer& s) { s.Accept().Send("220 hi\r\n").ReadLine().Send("331 pw\r\n").Close(); }, false,
            "The FTP server closed the connection.", { "USER kid" }, 0 },
        { "closed after letting the user in, while the session is idle",
            [](driver::ScriptedPeer& s) { s.Accept().Send("220 hi\r\n").ReadLine().Send("230 in\r\n").Close(); }, true,
            "The FTP server closed the connection.", { "USER kid" }, 0 },
    };
    QuickSilence();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<TickCounter> counter(new TickCounter);
        driver::ScriptedPeer server;
        c.script(server);
        server.Start();
        std::string outcome = Open(server.Port());
        if (outcome.empty() && c.idleFirst) {
            Idle(300);
            outcome = Outcome([&] { session->SetDirectory(String("/"), false); });
        }
        if (outcome.empty())
            outcome = Settle();
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_GE(counter->runs, c.ticks);
        Close();
        server.Finish();
        EXPECT_EQ(server.Lines(), c.lines);
        EXPECT_EQ(driver::LiveSocketCount(), 0u);
    }
    EXPECT_TRUE(AlertTexts().empty());
}

TEST_F(FTPSessionTest, APasswordGoesOnlyToAServerThatAskedForIt)
{
    driver::ScriptedPeer server;
    server.Accept().Send("220 hi\r\n").ReadLine().Send("230 no password needed\r\n").ReadLine().Send("250 ok\r\n")
        .ReadLine().Send("221 bye\r\n");
    server.Start();
    ASSERT_EQ(Open(server.Port()), "");
    EXPECT_EQ(Outcome([&] { session->SetDirectory(String("/"), false); }), "");
    EXPECT_EQ(Settle(), "");
    Close();
    server.Finish();
    EXPECT_EQ(server.Lines(), (Lines { "USER kid", "CWD /", "QUIT" }));
}

TEST_F(FTPSessionTest, NamesWithLineBreaksAreRefusedBeforeAnythingIsSent)
{
    struct Case {
        const char* name;
        const char* account;
        const char* folder;
        const char* file;
        Lines lines;
    } cases[] = {
        { "an account", "kid\r\nDELE index.htm", "", "", {} },
        { "a folder", "kid", "site\r\nRMD /", "", { "USER kid", "PASS secret", "QUIT" } },
        { "a file name", "kid", "", "index.htm\nDELE x", { "USER kid", "PASS secret", "QUIT" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        driver::ScriptedPeer server;
        LoggedIn(server).ReadLine().Send("221 bye\r\n");
        server.Start();
        std::string outcome = Open(server.Port(), c.account);
        if (outcome.empty())
            outcome = Settle();
        if (outcome.empty() && *c.folder)
            outcome = Outcome([&] { session->SetDirectory(String(c.folder), true); });
        if (outcome.empty() && *c.file)
            outcome = Outcome([&] { session->PutFile(StreamOf("x"), String(c.file), true, 2); });
        EXPECT_EQ(outcome, "A name for the server holds a line break and cannot be sent.");
        Close();
        server.Finish();
        EXPECT_EQ(server.Lines(), c.lines);
    }
    EXPECT_TRUE(AlertTexts().empty());
}

} // namespace

} // namespace pw::net::tests
