#include "NetFixture.h"

#include "foundation/Alert.h"
#include "net/FTPControlConnection.h"
#include "platform/winsock/WinsockTesting.h"

#include <chrono>

namespace pw::net::tests {

namespace {

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == 0x800 || message == 0x802)
        NetFixture::notices.push_back(SocketNotice { message, wParam, lParam });
    // As the program's main window hands them on.
    if (message == 0x802)
        FTPControlConnection::Notify(wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void NetFixture::SetUp()
{
    notices.clear();
    Alert::EnableAlerts();
    WNDCLASSA wc {};
    wc.lpfnWndProc = MainProcedure;
    wc.lpszClassName = "MainWClass";
    ASSERT_NE(RegisterClassA(&wc), 0);
    mainWindow = CreateWindowExA(0, "MainWClass", "Plumewright", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mainWindow, nullptr);
    pw::platform::testing::SetResolver([](const std::string& name) {
        return name == "ftp.test" ? std::vector<uint32_t> { uint32_t(htonl(0x7F000001)) } : std::vector<uint32_t> {};
    });
}

void NetFixture::TearDown()
{
    pw::foundation::SetAlertsEnabled(false);
}

bool NetFixture::PumpUntil(const std::function<bool()>& done, int realMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(realMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    return true;
}

} // namespace pw::net::tests
