#include "NetFixture.h"

#include "foundation/Exception.h"
#include "net/SocketStream.h"
#include "platform/testing/ScriptedPeer.h"
#include "platform/testing/TestDriver.h"

#include <memory>
#include <string>

namespace pw::net::tests {

namespace {

namespace driver = pw::platform::testing;

class SocketStreamTest : public NetFixture {
protected:
    static u_short LocalPort(SOCKET s, uint32_t* address = nullptr)
    {
        sockaddr_in name {};
        int length = sizeof name;
        EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&name), &length), 0);
        if (address)
            *address = name.sin_addr.s_addr;
        return ntohs(name.sin_port);
    }

    bool Noticed(SOCKET s, LPARAM event) const
    {
        for (const SocketNotice& n : notices) {
            if (n.socket == s && n.event == event)
                return true;
        }
        return false;
    }
};

TEST_F(SocketStreamTest, OpenFailuresLeaveTheStreamClosedWithTheErrorAndShowNothing)
{
    driver::ScriptedPeer unused;
    u_short closedPort;
    {
        SocketStream listener(nullptr, 0, 0, false);
        closedPort = LocalPort(listener.Socket());
    }
    struct Case {
        const char* name;
        const char* host;
        int port;
        DWORD error;
    } cases[] = {
        { "a name that does not resolve", "nowhere.test", 21, WSAHOST_NOT_FOUND },
        { "a refused connection", "ftp.test", closedPort, WSAECONNREFUSED },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SocketStream stream(c.host, c.port, SocketStream::kClientMode, true);
        EXPECT_FALSE(stream.is_open());
        EXPECT_EQ(stream.Socket(), INVALID_SOCKET);
        EXPECT_EQ(GetLastError(), c.error);
    }
    EXPECT_TRUE(driver::AlertLog().empty());
}

TEST_F(SocketStreamTest, ListenerOnPortZeroWaitsOnAllInterfacesAndTakesTheAcceptedSocket)
{
    SocketStream listener(nullptr, 0, 0, true);
    ASSERT_TRUE(listener.is_open());
    uint32_t address = 1;
    u_short port = LocalPort(listener.Socket(), &address);
    EXPECT_EQ(address, 0u);
    EXPECT_NE(port, 0);

    driver::ScriptedPeer peer;
    peer.Connect(port).Send("data\xFF").ReadLine();
    peer.Start();
    ASSERT_TRUE(PumpUntil([&] { return Noticed(listener.Socket(), FD_ACCEPT); }));
    EXPECT_EQ(notices.front().message, SocketStream::kListenerMessage);
    SOCKET accepted = accept(listener.Socket(), nullptr, nullptr);
    ASSERT_NE(accepted, INVALID_SOCKET);
    SOCKET old = listener.Socket();
    listener.SetSocket(accepted);
    closesocket(old);
    ASSERT_TRUE(PumpUntil([&] { return Noticed(accepted, FD_READ); }));
    std::string got(5, '\0');
    listener.read(got.data(), 5);
    EXPECT_EQ(got, "data\xFF");
    listener << "thanks\r\n" << std::flush;
    EXPECT_TRUE(listener.good());
    peer.Finish();
    EXPECT_EQ(peer.Lines(), std::vector<std::string> { "thanks" });
}

TEST_F(SocketStreamTest, EveryByteValueIsReadAsACharacterAndFlushKeepsUnreadInput)
{
    driver::ScriptedPeer peer;
    const char reply[] = "\xFF\x00\x80 220 first\r\n230 second\r\n";
    peer.Accept().ReadLine().Send(std::string(reply, sizeof reply - 1)).ReadLine();
    peer.Start();
    SocketStream stream("ftp.test", peer.Port(), SocketStream::kClientMode, false);
    ASSERT_TRUE(stream.is_open());
    stream << "USER kid\r\n" << std::flush;
    EXPECT_EQ(stream.get(), 0xFF);
    EXPECT_EQ(stream.get(), 0x00);
    EXPECT_EQ(stream.get(), 0x80);
    std::string line;
    std::getline(stream, line);
    EXPECT_EQ(line, " 220 first\r");
    // The second reply came in the same packet; a flush must not drop it.
    stream << "PASS x\r\n" << std::flush;
    EXPECT_TRUE(stream.HasUnreadInput());
    std::getline(stream, line);
    EXPECT_EQ(line, "230 second\r");
    peer.Finish();
    EXPECT_EQ(peer.Lines(), (std::vector<std::string> { "USER kid", "PASS x" }));
    EXPECT_TRUE(peer.Failures().empty());
}

TEST_F(SocketStreamTest, LongWritesArriveWholeInOrder)
{
    for (size_t size : { size_t { 16384 }, size_t { 16385 }, size_t { 40000 }, size_t { 1 } << 20 }) {
        SCOPED_TRACE(size);
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xFF);
        driver::ScriptedPeer peer;
        peer.Accept().ReadUntilClosed();
        peer.Start();
        {
            SocketStream stream("127.0.0.1", peer.Port(), SocketStream::kClientMode, false);
            ASSERT_TRUE(stream.is_open());
            stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            EXPECT_TRUE(stream.good());
        }
        EXPECT_TRUE(peer.Finish() == bytes) << "bytes differ";
    }
}

TEST_F(SocketStreamTest, NotifyingClientReadsWhatCameThenEndsInputUntilMoreComes)
{
    driver::ScriptedPeer peer;
    peer.Accept().Send("220 hello\r\n").ReadLine().Send("221 bye\r\n").ReadUntilClosed();
    peer.Start();
    SocketStream stream("ftp.test", peer.Port(), SocketStream::kClientMode, true);
    ASSERT_TRUE(stream.is_open());
    ASSERT_TRUE(PumpUntil([&] { return Noticed(stream.Socket(), FD_READ); }));
    EXPECT_TRUE(Noticed(stream.Socket(), FD_WRITE));
    EXPECT_EQ(notices.front().message, SocketStream::kClientMessage);
    std::string line;
    std::getline(stream, line);
    EXPECT_EQ(line, "220 hello\r");
    EXPECT_EQ(stream.get(), std::char_traits<char>::eof()) << "nothing waits on a non-blocking socket";
    EXPECT_TRUE(stream.is_open());
    stream.clear();
    notices.clear();
    stream << "QUIT\r\n" << std::flush;
    ASSERT_TRUE(PumpUntil([&] { return Noticed(stream.Socket(), FD_READ); }));
    std::getline(stream, line);
    EXPECT_EQ(line, "221 bye\r");
    stream.Close();
    peer.Finish();
    EXPECT_EQ(peer.Lines(), std::vector<std::string> { "QUIT" });
}

TEST_F(SocketStreamTest, PeerNameIsTheDottedAddressCutToTheBuffer)
{
    driver::ScriptedPeer peer;
    peer.Accept().ReadUntilClosed();
    peer.Start();
    SocketStream stream("ftp.test", peer.Port(), SocketStream::kClientMode, false);
    char name[16];
    EXPECT_STREQ(stream.PeerName(name, sizeof name), "127.0.0.1");
    EXPECT_STREQ(stream.PeerName(name, 4), "127");
    stream.Close();
    try {
        stream.PeerName(name, sizeof name);
        ADD_FAILURE() << "no peer, no exception";
    } catch (Exception*) {
    }
}

TEST_F(SocketStreamTest, SendingToAPeerThatLeftFailsTheStreamWithoutEndingTheProgram)
{
    driver::ScriptedPeer peer;
    peer.Accept().Close();
    peer.Start();
    SocketStream stream("ftp.test", peer.Port(), SocketStream::kClientMode, false);
    ASSERT_TRUE(stream.is_open());
    peer.Finish();
    for (int i = 0; i < 200 && stream.good(); ++i)
        stream << "STOR file\r\n" << std::flush;
    EXPECT_TRUE(stream.bad());
    EXPECT_TRUE(stream.is_open()) << "closing is the caller's decision";
}

TEST_F(SocketStreamTest, EachStreamStartsAndCleansUpWinsockAndClosingTwiceDoesNothing)
{
    auto a = std::make_unique<SocketStream>(nullptr, 0, 0, false);
    auto b = std::make_unique<SocketStream>(nullptr, 0, 0, false);
    auto c = std::make_unique<SocketStream>(nullptr, 0, 0, false);
    ASSERT_TRUE(a->is_open() && b->is_open() && c->is_open());
    a->Close();
    a->Close();
    EXPECT_EQ(a->Socket(), INVALID_SOCKET);
    a.reset();
    b.reset();
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    EXPECT_NE(s, INVALID_SOCKET) << "one stream still holds Winsock";
    closesocket(s);
    c.reset();
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);
}

} // namespace

} // namespace pw::net::tests
