#include "NetFixture.h"

#include "foundation/Exception.h"
#include "foundation/UserCancelException.h"
#include "graphics/WinVersion.h"
#include "net/FTPControlConnection.h"
#include "net/FTPFlags.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"

#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace pw::net::tests {

namespace {

namespace driver = pw::platform::testing;
using Lines = std::vector<std::string>;

class FTPControl : public NetFixture {
protected:
    void TearDown() override
    {
        connection = SmartPtr<FTPControlConnection>();
        pw::graphics::testing::ForceWinVersion(std::nullopt);
        NetFixture::TearDown();
    }

    void Connect(driver::ScriptedPeer& server)
    {
        server.Start();
        connection = SmartPtr<FTPControlConnection>(new FTPControlConnection(server.Port(), String("ftp.test")));
    }

    // Pumps until no reply is outstanding; failures raised by the wait come out as the text thrown.
    std::string Wait()
    {
        try {
            if (!PumpUntil([&] { return connection->PollReply(); }))
                return "timed out";
        } catch (Exception* failure) {
            return dynamic_cast<UserCancelException*>(failure) ? "cancelled" : "failed";
        }
        return "";
    }

    static std::vector<std::string> AlertTexts()
    {
        std::vector<std::string> texts;
        for (const auto& record : driver::AlertLog())
            texts.push_back(record.text);
        return texts;
    }

    SmartPtr<FTPControlConnection> connection;
};

TEST_F(FTPControl, ALogInConversationGoesOutAsExactLinesAndRepliesAreJudgedByClass)
{
    driver::ScriptedPeer server;
    server.Accept()
        .Send("220-Welcome\r\n220-530 is just text here\r\n 5xx indented\r\n220 ready\r\n")
        .ReadLine().Send("331 password please\r\n")
        .ReadLine().Send("230 in\r\n")
        .ReadLine().Send("2").Pause(30).Send("50 CWD done\r\n")
        .ReadLine().Send("150 opening\r\n")
        .ReadLine();
    Connect(server);
    EXPECT_TRUE(ftpActive);
    EXPECT_FALSE(connection->PollReply()) << "the greeting is awaited";
    EXPECT_EQ(Wait(), "");
    EXPECT_EQ(connection->LastReplyCode(), 220);
    connection->SendCommand(kUSER, String("kid"), String(), String("999"));
    EXPECT_EQ(Wait(), "");
    EXPECT_EQ(connection->LastReplyCode(), 331);
    connection->Send(kPASS, String("secret"), String());
    EXPECT_EQ(Wait(), "");
    connection->Send(kCWD, String("/~kid/site"), String());
    EXPECT_EQ(Wait(), "") << "a reply split across packets";
    connection->Send(kSTOR, String("index.htm"), String());
    ASSERT_TRUE(PumpUntil([&] { return connection->IsReplyDone(); })) << "the preliminary reply";
    EXPECT_FALSE(connection->PollReply()) << "the final reply is still to come";
    connection->SendChars(kTYPE, 'I', 0);
    EXPECT_FALSE(connection->PollReply());
    connection->SendCommand(kABOR, String(), String(), String("999"));
    server.Finish();
    EXPECT_EQ(server.Lines(), (Lines { "USER kid", "PASS secret", "CWD /~kid/site", "STOR index.htm", "ABOR" }));
    EXPECT_TRUE(AlertTexts().empty());
}

TEST_F(FTPControl, ToleratedFailuresPassAndOthersAlertWithTheServersLineAndCancel)
{
    driver::ScriptedPeer server;
    server.Accept().Send("220 hi\r\n")
        .ReadLine().Send("550 exists\r\n")
        .ReadLine().Send("257 made\r\n")
        .ReadLine().Send("550 exists too\r\n")
        .ReadLine().Send("530 no you don't\r\n")
        .ReadLine().Send("530 again\r\n")
        .ReadLine().Send("5\r\n");
    Connect(server);
    EXPECT_EQ(Wait(), "");
    struct Step {
        const char* name;
        bool send; // Send tolerates nothing; SendCommand sets the tolerated beginning
        const char* tolerated;
        const char* outcome;
    } steps[] = {
        { "550 after MKD tolerating 55", false, "55", "" },
        { "257 succeeds", false, "55", "" },
        { "550 to the next command: the tolerance ended with MKD's reply", true, "", "cancelled" },
        { "530 with nothing tolerated", true, "", "cancelled" },
        { "530 with everything tolerated", false, "", "" },
        { "a line shorter than the tolerated beginning", false, "55", "cancelled" },
    };
    driver::ScriptMessageBoxes({ IDOK, IDOK, IDOK });
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        if (step.send) {
            // Nothing is outstanding after a failure that cancelled, so Send writes.
            connection->Send(kMKD, String("site"), String());
        } else {
            connection->SendCommand(kMKD, String("site"), String(), String(step.tolerated));
        }
        EXPECT_EQ(Wait(), step.outcome);
        if (std::string(step.outcome) == "cancelled")
            connection->HandleReply("200 idle again");
    }
    EXPECT_EQ(AlertTexts(), (std::vector<std::string> { "550 exists too", "530 no you don't", "5" }));
    server.Finish();
    EXPECT_EQ(server.Lines().size(), 6u);
}

TEST_F(FTPControl, ArgumentsWithLineBreaksOrNulsAreRefusedUnsent)
{
    driver::ScriptedPeer server;
    server.Accept().Send("220 hi\r\n").ReadLine();
    Connect(server);
    EXPECT_EQ(Wait(), "");
    const char withNul[] = { 'a', '\0', 'b' };
    String nul;
    nul.InsertChars(withNul, 0, 3);
    for (const String& bad : { String("site\r\nDELE index.htm"), String("a\nb"), nul }) {
        EXPECT_THROW(connection->SendCommand(kCWD, bad, String(), String("999")), Exception*);
        EXPECT_THROW(connection->SendCommand(kUSER, String("kid"), bad, String("999")), Exception*);
    }
    EXPECT_TRUE(connection->PollReply()) << "nothing was written";
    connection->SendCommand(kQUIT, String(), String(), String("999"));
    server.Finish();
    EXPECT_EQ(server.Lines(), Lines { "QUIT" });
}

TEST_F(FTPControl, AServerThatClosesWhileAReplyIsAwaitedFailsTheWaitOnce)
{
    driver::ScriptedPeer server;
    server.Accept().Send("220 hi\r\n").ReadLine().Close();
    Connect(server);
    EXPECT_EQ(Wait(), "");
    connection->Send(kUSER, String("kid"), String());
    EXPECT_EQ(Wait(), "failed");
    EXPECT_TRUE(transferAborted);
    EXPECT_TRUE(connection->PollReply()) << "reported once";
    connection->Send(kQUIT, String(), String());
    server.Finish();
    EXPECT_EQ(server.Lines(), Lines { "USER kid" });
}

TEST_F(FTPControl, LongReplyLinesAreReadWhole)
{
    driver::ScriptedPeer server;
    std::string longLine = "220 " + std::string(20000, 'x') + "\r\n";
    server.Accept().Send(longLine).ReadLine().Send("221-" + std::string(3000, 'y') + "\r\n221 bye\r\n");
    Connect(server);
    EXPECT_EQ(Wait(), "");
    connection->Send(kQUIT, String(), String());
    EXPECT_EQ(Wait(), "");
    EXPECT_EQ(connection->LastReplyCode(), 221);
    EXPECT_TRUE(AlertTexts().empty());
    server.Finish();
    EXPECT_TRUE(server.Failures().empty());
}

// A long reply that has all come at once is read over several notifications, one receive each,
// so the message loop runs between them.
TEST_F(FTPControl, ANotificationReadsOneReceive)
{
    driver::ScriptedPeer server;
    std::string greeting;
    while (greeting.size() < 48 * 1024)
        greeting += "220-" + std::string(60, 'g') + "\r\n";
    server.Accept().Send(greeting + "220 ready\r\n");
    Connect(server);
    // Once the whole greeting waits on the socket, one notification is handed on.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    MSG msg {};
    bool read = false;
    for (int tries = 0; tries < 1000 && !read; ++tries)
        read = PeekMessageA(&msg, nullptr, 0x802, 0x802, PM_REMOVE) && msg.lParam == FD_READ;
    ASSERT_TRUE(read);
    DispatchMessageA(&msg);
    EXPECT_FALSE(connection->PollReply()) << "one notification read the whole greeting";
    EXPECT_EQ(Wait(), "");
    size_t reads = 0;
    for (const SocketNotice& notice : notices)
        reads += notice.message == 0x802 && notice.event == FD_READ;
    EXPECT_GE(reads, 3u);
}

TEST_F(FTPControl, OldPlatformReadsRepliesItselfWithoutNotifications)
{
    pw::graphics::testing::ForceWinVersion(Win31Only);
    driver::ScriptedPeer server;
    server.Accept().Send("220 hi\r\n").ReadLine().Send("331 pw\r\n230 in\r\n").ReadLine().Send("221 bye\r\n");
    Connect(server);
    EXPECT_TRUE(connection->PollReply()) << "the greeting was read by the poll";
    connection->SendCommand(kUSER, String("kid"), String(), String("999"));
    EXPECT_TRUE(connection->PollReply());
    connection->BeginClosing();
    connection->Send(kQUIT, String(), String());
    EXPECT_TRUE(connection->HasEnded()) << "QUIT's reply was read by the poll";
    server.Finish();
    EXPECT_EQ(server.Lines(), (Lines { "USER kid", "QUIT" }));
    EXPECT_TRUE(notices.empty());
}

TEST_F(FTPControl, AConnectionThatCannotOpenRaisesTheSystemErrorAndLeavesNothingActive)
{
    EXPECT_THROW(FTPControlConnection(21, String("nowhere.test")), Exception*);
    EXPECT_FALSE(ftpActive);
    EXPECT_FALSE(ftpConnecting);
    EXPECT_EQ(cntlStream, nullptr);
}

} // namespace

} // namespace pw::net::tests
