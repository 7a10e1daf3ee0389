#include "SocketTestSupport.h"

#include <chrono>

namespace pw::platform::tests {

void SocketFixture::SetUp()
{
    WindowFixture::SetUp();
    window = MakeWindow();
    WSADATA data;
    ASSERT_EQ(WSAStartup(0x0101, &data), 0);
}

sockaddr_in SocketFixture::LoopbackAddress(uint16_t hostOrderPort)
{
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_port = htons(hostOrderPort);
    address.sin_addr.s_addr = htonl(0x7F000001);
    return address;
}

SOCKET SocketFixture::Listen(bool anyAddress)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(0);
    if (anyAddress)
        address.sin_addr.s_addr = INADDR_ANY;
    EXPECT_EQ(bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(listen(s, 1), 0);
    return s;
}

uint16_t SocketFixture::PortOf(SOCKET s)
{
    sockaddr_in address {};
    int length = sizeof address;
    EXPECT_EQ(getsockname(s, reinterpret_cast<sockaddr*>(&address), &length), 0);
    return ntohs(address.sin_port);
}

SOCKET SocketFixture::ConnectTo(SOCKET listener)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = LoopbackAddress(PortOf(listener));
    EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0) << WSAGetLastError();
    return s;
}

SOCKET SocketFixture::AcceptFrom(SOCKET listener)
{
    SOCKET s = accept(listener, nullptr, nullptr);
    EXPECT_NE(s, INVALID_SOCKET) << WSAGetLastError();
    return s;
}

std::vector<SocketNotice> SocketFixture::Pump(size_t count, int realMs)
{
    std::vector<SocketNotice> got;
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    while (got.size() < count && std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageA(&msg, window, kSocketMessage, kSocketMessage, PM_REMOVE))
            got.push_back(SocketNotice { msg.wParam, msg.lParam });
    }
    return got;
}

std::string EventText(LPARAM event)
{
    static const char* const names[] = { "READ", "WRITE", "OOB", "ACCEPT", "CONNECT", "CLOSE" };
    std::string text;
    for (int bit = 0; bit < 6; ++bit) {
        if (LOWORD(event) & (1 << bit))
            text += names[bit];
    }
    if (HIWORD(event))
        text += "/" + std::to_string(HIWORD(event));
    return text;
}

} // namespace pw::platform::tests
