// Helpers for the socket tests: started Winsock, loopback listeners and connected pairs made
// with the calls under test, and a pump that collects one window's socket notifications.
#pragma once

#include "../user/WindowFixture.h"

#include <windows.h>
#include <winsock.h>

#include <string>
#include <vector>

namespace pw::platform::tests {

constexpr UINT kSocketMessage = 0x802;

struct SocketNotice {
    SOCKET socket;
    LPARAM event; // event | error << 16, as posted

    bool operator==(const SocketNotice&) const = default;
};

class SocketFixture : public WindowFixture {
protected:
    void SetUp() override;

    // A blocking listener on 127.0.0.1 (or INADDR_ANY) at an ephemeral port.
    SOCKET Listen(bool anyAddress = false);
    uint16_t PortOf(SOCKET s);
    static sockaddr_in LoopbackAddress(uint16_t hostOrderPort);
    // A blocking client connected to the listener, and the server's end of it.
    SOCKET ConnectTo(SOCKET listener);
    SOCKET AcceptFrom(SOCKET listener);

    // Retrieves the window's socket notifications (with PeekMessageA, as a progress pump does)
    // until `count` have come or `realMs` of real time passed.
    std::vector<SocketNotice> Pump(size_t count, int realMs = 2000);

    HWND window { nullptr };
};

std::string EventText(LPARAM event);

} // namespace pw::platform::tests
