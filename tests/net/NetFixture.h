// What the network tests share: a main window of the class the program's streams look for,
// the socket notifications it receives, and a resolver that knows only the test's names.
#pragma once

#include <windows.h>
#include <winsock.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pw::net::tests {

struct SocketNotice {
    UINT message;
    SOCKET socket;
    LPARAM event;
};

class NetFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Retrieves messages (as a progress pump does, dispatching them) until `done` holds or
    // `realMs` of real time passed; true when it held.
    bool PumpUntil(const std::function<bool()>& done, int realMs = 3000);
public:
    // The notifications the main window received so far.
    static inline std::vector<SocketNotice> notices;

protected:
    HWND mainWindow { nullptr };
};

} // namespace pw::net::tests
