#include "SocketTestSupport.h"

#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/MessageQueue.h"

#include <chrono>
#include <thread>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class AsyncSelect : public SocketFixture {
protected:
    // The events of one socket among the notifications, as text ("ACCEPT", "CLOSE/10054").
    static std::vector<std::string> EventsOf(SOCKET s, const std::vector<SocketNotice>& got)
    {
        std::vector<std::string> events;
        for (const SocketNotice& n : got) {
            if (n.socket == s)
                events.push_back(EventText(n.event));
        }
        return events;
    }

    // Everything that arrives within a short real time.
    std::vector<SocketNotice> Settle() { return Pump(1000, 150); }

    using Events = std::vector<std::string>;
};

TEST_F(AsyncSelect, ListenerAcceptedSocketAndPeerCloseFollowTheReEnablingRules)
{
    SOCKET listener = Listen();
    ASSERT_EQ(WSAAsyncSelect(listener, window, kSocketMessage, 0x3F), 0);
    SOCKET first = ConnectTo(listener);
    SOCKET second = ConnectTo(listener);
    // One FD_ACCEPT for two waiting connections until accept is called.
    EXPECT_EQ(EventsOf(listener, Settle()), Events { "ACCEPT" });
    SOCKET server = accept(listener, nullptr, nullptr);
    ASSERT_NE(server, INVALID_SOCKET);
    // The accepted socket inherits the registration: one FD_WRITE; the listener earns FD_ACCEPT again.
    std::vector<SocketNotice> got = Settle();
    EXPECT_EQ(EventsOf(server, got), Events { "WRITE" });
    EXPECT_EQ(EventsOf(listener, got), Events { "ACCEPT" });
    char buffer[8];
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), SOCKET_ERROR) << "inherited non-blocking mode";
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    u_long off = 0;
    EXPECT_EQ(ioctlsocket(server, FIONBIO, &off), SOCKET_ERROR) << "refused while registered";
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);

    ASSERT_EQ(send(first, "0123456789", 10, 0), 10);
    EXPECT_EQ(EventsOf(server, Settle()), Events { "READ" });
    ASSERT_EQ(send(first, "abc", 3, 0), 3);
    EXPECT_EQ(EventsOf(server, Settle()), Events {}) << "no FD_READ before recv";
    ASSERT_EQ(recv(server, buffer, 4, 0), 4);
    EXPECT_EQ(EventsOf(server, Settle()), Events { "READ" }) << "data remains";
    ASSERT_EQ(recv(server, buffer, sizeof buffer, 0), 8);
    ASSERT_EQ(recv(server, buffer, sizeof buffer, 0), 1);
    EXPECT_EQ(EventsOf(server, Settle()), Events {});

    // The peer closes with data unread: FD_READ first, FD_CLOSE once the data is read, and once only.
    ASSERT_EQ(send(first, "zz", 2, 0), 2);
    ASSERT_EQ(closesocket(first), 0);
    EXPECT_EQ(EventsOf(server, Settle()), Events { "READ" });
    ASSERT_EQ(recv(server, buffer, sizeof buffer, 0), 2);
    EXPECT_EQ(EventsOf(server, Settle()), Events { "CLOSE" });
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), 0);
    EXPECT_EQ(EventsOf(server, Settle()), Events {});
    closesocket(second);
}

TEST_F(AsyncSelect, WriteComesAgainOnlyAfterASendWouldHaveBlocked)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    // Registering a connected socket earns one FD_WRITE.
    ASSERT_EQ(WSAAsyncSelect(client, window, kSocketMessage, FD_WRITE | FD_CLOSE), 0);
    EXPECT_EQ(EventsOf(client, Settle()), Events { "WRITE" });
    ASSERT_EQ(send(client, "x", 1, 0), 1);
    EXPECT_EQ(EventsOf(client, Settle()), Events {});

    std::string block(1 << 20, 'q');
    size_t sent = 0;
    int n;
    while ((n = send(client, block.data(), static_cast<int>(block.size()), 0)) > 0)
        sent += static_cast<size_t>(n);
    ASSERT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    EXPECT_EQ(EventsOf(client, Pump(1000, 50)), Events {}) << "no room yet";
    char buffer[16384];
    size_t drained = 0;
    while (drained < sent + 1) {
        int got = recv(server, buffer, sizeof buffer, 0);
        ASSERT_GT(got, 0);
        drained += static_cast<size_t>(got);
    }
    EXPECT_EQ(EventsOf(client, Settle()), Events { "WRITE" });
}

TEST_F(AsyncSelect, NonBlockingConnectReportsItsOutcome)
{
    SOCKET listener = Listen();
    SOCKET closed = Listen();
    uint16_t closedPort = PortOf(closed);
    closesocket(closed);
    struct Case {
        const char* name;
        uint16_t port;
        Events events;
    } cases[] = {
        { "accepted", PortOf(listener), Events { "CONNECT", "WRITE" } },
        { "refused", closedPort, Events { "CONNECT/10061" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
        ASSERT_EQ(WSAAsyncSelect(s, window, kSocketMessage, 0x3F), 0);
        sockaddr_in address = LoopbackAddress(c.port);
        EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
        EXPECT_EQ(EventsOf(s, Settle()), c.events);
        closesocket(s);
    }
}

TEST_F(AsyncSelect, EventsWaitingAtRegistrationArePostedAtOnceAndCancellingKeepsNonBlocking)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    ASSERT_EQ(send(client, "hello", 5, 0), 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    size_t before = MessageQueue::PostedCount();
    ASSERT_EQ(WSAAsyncSelect(server, window, kSocketMessage, FD_READ), 0);
    EXPECT_EQ(MessageQueue::PostedCount(), before + 1) << "posted by the call itself";
    EXPECT_EQ(EventsOf(server, Settle()), Events { "READ" });

    ASSERT_EQ(WSAAsyncSelect(server, window, 0, 0), 0);
    char buffer[8];
    ASSERT_EQ(recv(server, buffer, sizeof buffer, 0), 5);
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), SOCKET_ERROR) << "still non-blocking";
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    ASSERT_EQ(send(client, "more", 4, 0), 4);
    EXPECT_EQ(EventsOf(server, Settle()), Events {}) << "cancelled";
    u_long off = 0;
    EXPECT_EQ(ioctlsocket(server, FIONBIO, &off), 0);
    EXPECT_EQ(recv(server, buffer, sizeof buffer, 0), 4) << "blocking again";

    EXPECT_EQ(WSAAsyncSelect(server, nullptr, kSocketMessage, FD_READ), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    EXPECT_EQ(WSAAsyncSelect(0x42, window, kSocketMessage, FD_READ), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST_F(AsyncSelect, AResetPeerClosesWithTheError)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    ASSERT_EQ(WSAAsyncSelect(server, window, kSocketMessage, FD_READ | FD_CLOSE), 0);
    linger value { 1, 0 };
    setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), 4);
    closesocket(client);
    EXPECT_EQ(EventsOf(server, Settle()), Events { "CLOSE/10054" });
}

// The loop waits a little for a loopback peer in real time, so a test's run until idle sees its
// answer, but does not hang on a peer that stays silent.
TEST_F(AsyncSelect, RunUntilIdleWaitsBrieflyForALoopbackPeer)
{
    driver::ScriptedPeer peer;
    peer.Accept().ReadLine().Pause(5).Send("220 ready\r\n").ReadUntilClosed();
    peer.Start();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(peer.Port());
    ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(WSAAsyncSelect(s, window, kSocketMessage, FD_READ | FD_CLOSE), 0);
    ASSERT_EQ(send(s, "HELLO\r\n", 7, 0), 7);
    driver::RunUntilIdle();
    EXPECT_EQ(Messages({ kSocketMessage }).size(), 1u) << "the reply came within the short wait";
    char buffer[32];
    EXPECT_EQ(recv(s, buffer, sizeof buffer, 0), 11);

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(driver::RunUntilIdle(), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "a silent peer";
    closesocket(s);
    peer.Finish();
    EXPECT_EQ(peer.Lines(), std::vector<std::string> { "HELLO" });
    EXPECT_TRUE(peer.Failures().empty());
}

} // namespace

} // namespace pw::platform::tests
