#include "SocketTestSupport.h"

#include "platform/winsock/WinsockTesting.h"

#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

class SocketCalls : public SocketFixture { };

sockaddr* Raw(sockaddr_in& address)
{
    return reinterpret_cast<sockaddr*>(&address);
}

TEST(Winsock, StartupIsCountedAndEveryCallFailsWithoutIt)
{
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(gethostbyname("127.0.0.1"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);

    WSADATA data {};
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0101);
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_NE(s, INVALID_SOCKET);
    EXPECT_EQ(WSACleanup(), 0);
    EXPECT_EQ(driver::LiveSocketCount(), 1u);
    EXPECT_EQ(WSACleanup(), 0);
    // The last cleanup closed the socket; one more cleanup is refused.
    EXPECT_EQ(driver::LiveSocketCount(), 0u);
    EXPECT_EQ(WSACleanup(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
    EXPECT_EQ(closesocket(s), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);

    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
    EXPECT_EQ(closesocket(s), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(WSAIsBlocking(), FALSE);
    EXPECT_EQ(WSACancelBlockingCall(), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
}

TEST_F(SocketCalls, FailuresSetTheirWinsockCodes)
{
    SOCKET listener = Listen();
    uint16_t port = PortOf(listener);
    SOCKET refused = socket(AF_INET, SOCK_STREAM, 0);
    SOCKET spare = socket(AF_INET, SOCK_STREAM, 0);
    SOCKET dead = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(closesocket(dead), 0);
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(server, FIONBIO, &on), 0);
    ASSERT_EQ(ioctlsocket(listener, FIONBIO, &on), 0);
    SOCKET closedPort = Listen();
    uint16_t freePort = PortOf(closedPort);
    closesocket(closedPort);
    char buffer[16];
    int length = sizeof(sockaddr_in);
    sockaddr_in address {};

    struct Case {
        const char* name;
        std::function<int()> call;
        int error;
    } cases[] = {
        { "connect to a closed port", [&] { sockaddr_in a = LoopbackAddress(freePort); return connect(refused, Raw(a), 16); },
            WSAECONNREFUSED },
        { "bind to a taken port", [&] { sockaddr_in a = LoopbackAddress(port); return bind(spare, Raw(a), 16); },
            WSAEADDRINUSE },
        { "closesocket of a closed socket", [&] { return closesocket(dead); }, WSAENOTSOCK },
        { "send on a closed socket", [&] { return send(dead, "x", 1, 0); }, WSAENOTSOCK },
        { "recv with nothing waiting, non-blocking", [&] { return recv(server, buffer, sizeof buffer, 0); },
            WSAEWOULDBLOCK },
        { "accept with nothing pending, non-blocking",
            [&] { return accept(listener, nullptr, nullptr) == INVALID_SOCKET ? SOCKET_ERROR : 0; }, WSAEWOULDBLOCK },
        { "getpeername unconnected", [&] { return getpeername(spare, Raw(address), &length); }, WSAENOTCONN },
        { "send unconnected", [&] { return send(spare, "x", 1, 0); }, WSAENOTCONN },
        { "an address shorter than 16 bytes", [&] { sockaddr_in a = LoopbackAddress(0); return bind(spare, Raw(a), 8); },
            WSAEINVAL },
        { "an option other than SO_LINGER", [&] { int n = 4; return getsockopt(client, SOL_SOCKET, 4, buffer, &n); },
            WSAEINVAL },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetLastError(0);
        EXPECT_EQ(c.call(), SOCKET_ERROR);
        EXPECT_EQ(WSAGetLastError(), c.error);
    }
}

TEST_F(SocketCalls, NamesAddressesAndByteOrder)
{
    EXPECT_EQ(htons(0x1234), 0x3412);
    EXPECT_EQ(ntohs(htons(21)), 21);
    EXPECT_EQ(htonl(0x01020304), 0x04030201u);
    EXPECT_EQ(ntohl(htonl(0x7F000001)), 0x7F000001u);

    in_addr in {};
    in.s_addr = htonl(0xC0A80A01);
    char* text = inet_ntoa(in);
    EXPECT_STREQ(text, "192.168.10.1");
    in.s_addr = htonl(0xFFFFFFFF);
    EXPECT_EQ(inet_ntoa(in), text) << "one buffer, overwritten";
    EXPECT_STREQ(text, "255.255.255.255");

    driver::SetResolver([](const std::string& name) {
        return name == "ftp.example" ? std::vector<uint32_t> { uint32_t(htonl(0x0A000002)), uint32_t(htonl(0x0A000003)) }
                                     : std::vector<uint32_t> {};
    });
    hostent* entry = gethostbyname("ftp.example");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->h_addrtype, AF_INET);
    EXPECT_EQ(entry->h_length, 4);
    uint32_t first;
    std::memcpy(&first, entry->h_addr, 4);
    EXPECT_EQ(ntohl(first), 0x0A000002u);
    EXPECT_NE(entry->h_addr_list[1], nullptr);
    EXPECT_EQ(entry->h_addr_list[2], nullptr);
    entry = gethostbyname("10.1.2.3");
    ASSERT_NE(entry, nullptr) << "dotted text resolves to itself";
    std::memcpy(&first, entry->h_addr, 4);
    EXPECT_EQ(ntohl(first), 0x0A010203u);
    EXPECT_EQ(gethostbyname("nowhere.example"), nullptr);
    EXPECT_EQ(WSAGetLastError(), WSAHOST_NOT_FOUND);

    // A listener on INADDR_ANY reports 0.0.0.0; a connection reports both ends on 127.0.0.1.
    SOCKET listener = Listen(true);
    sockaddr_in address {};
    int length = sizeof address;
    ASSERT_EQ(getsockname(listener, Raw(address), &length), 0);
    EXPECT_EQ(length, 16);
    EXPECT_EQ(address.sin_addr.s_addr, 0u);
    EXPECT_NE(address.sin_port, 0);
    SOCKET client = ConnectTo(listener);
    ASSERT_EQ(getpeername(client, Raw(address), &length), 0);
    EXPECT_STREQ(inet_ntoa(address.sin_addr), "127.0.0.1");
    EXPECT_EQ(ntohs(address.sin_port), PortOf(listener));
    sockaddr_in peer {};
    SOCKET server = accept(listener, Raw(peer), &length);
    ASSERT_NE(server, INVALID_SOCKET);
    EXPECT_EQ(ntohs(peer.sin_port), PortOf(client));
}

TEST_F(SocketCalls, LingerTranslatesTheTwoShortForm)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);

    linger value { 7, 7 };
    int length = sizeof value;
    ASSERT_EQ(getsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(value.l_onoff, 0);
    value = linger { 1, 10 };
    ASSERT_EQ(setsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), 4), 0);
    value = linger {};
    ASSERT_EQ(getsockopt(client, SOL_SOCKET, SO_LINGER, reinterpret_cast<char*>(&value), &length), 0);
    EXPECT_EQ(value.l_onoff, 1);
    EXPECT_EQ(value.l_linger, 10);

    // A blocking close with linger on returns once the data has gone: the peer reads all of it.
    std::string block(20'000, 'x');
    ASSERT_EQ(send(client, block.data(), static_cast<int>(block.size()), 0), static_cast<int>(block.size()));
    ASSERT_EQ(closesocket(client), 0);
    size_t total = 0;
    char buffer[16384];
    int n;
    while ((n = recv(server, buffer, sizeof buffer, 0)) > 0)
        total += static_cast<size_t>(n);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(total, block.size());

    // Linger {1, 0} closes abortively: the peer's next call sees the reset.
    SOCKET client2 = ConnectTo(listener);
    SOCKET server2 = AcceptFrom(listener);
    value = linger { 1, 0 };
    ASSERT_EQ(setsockopt(client2, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), 4), 0);
    ASSERT_EQ(closesocket(client2), 0);
    EXPECT_EQ(recv(server2, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAECONNRESET);
}

// A receive time-out bounds a blocking recv on a silent peer; data that comes in time is read.
TEST_F(SocketCalls, ReceiveTimeOutEndsABlockingReadFromASilentPeer)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    DWORD ms = 50;
    ASSERT_EQ(setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&ms), sizeof ms), 0);
    char buffer[16];
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(recv(client, buffer, sizeof buffer, 0), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAETIMEDOUT);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
    ASSERT_EQ(send(server, "220", 3, 0), 3);
    EXPECT_EQ(recv(client, buffer, sizeof buffer, 0), 3);
}

TEST_F(SocketCalls, SendingToAGonePeerFailsWithoutEndingTheProcess)
{
    struct Case {
        const char* name;
        bool abortive;
    } cases[] = { { "closed", false }, { "reset", true } };
    SOCKET listener = Listen();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SOCKET client = ConnectTo(listener);
        SOCKET server = AcceptFrom(listener);
        if (c.abortive) {
            linger value { 1, 0 };
            setsockopt(server, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&value), 4);
        }
        ASSERT_EQ(closesocket(server), 0);
        // The first send after a graceful close may still be taken; the peer's reset fails a later one.
        int result = 0;
        for (int i = 0; i < 50 && result != SOCKET_ERROR; ++i) {
            result = send(client, "data", 4, 0);
            if (result != SOCKET_ERROR)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_EQ(result, SOCKET_ERROR);
        int error = WSAGetLastError();
        EXPECT_TRUE(error == WSAECONNRESET || error == WSAECONNABORTED) << error;
        closesocket(client);
    }
}

TEST_F(SocketCalls, BlockingSendTakesEverythingNonBlockingSendMayStop)
{
    SOCKET listener = Listen();
    SOCKET client = ConnectTo(listener);
    SOCKET server = AcceptFrom(listener);
    u_long on = 1;
    ASSERT_EQ(ioctlsocket(client, FIONBIO, &on), 0);
    std::string block(1 << 20, 'y');
    int total = 0;
    int n;
    while ((n = send(client, block.data(), static_cast<int>(block.size()), 0)) > 0)
        total += n;
    EXPECT_EQ(n, SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
    EXPECT_GT(total, 0);
    closesocket(client);
    closesocket(server);
}

} // namespace

} // namespace pw::platform::tests
