#include "ControlFixture.h"

#include "platform/testing/TestDriver.h"

namespace pw::platform::tests {

namespace {

constexpr const char* kParentClass = "ControlParent";

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND || message == WM_HSCROLL || message == WM_VSCROLL) {
        bool command = message == WM_COMMAND;
        Notification notification { message, command ? HIWORD(wParam) : LOWORD(wParam),
            command ? LOWORD(wParam) : HIWORD(wParam), reinterpret_cast<HWND>(lParam), testing::ClockMs() };
        ControlFixture::log.push_back(notification);
        if (ControlFixture::onNotify)
            ControlFixture::onNotify(notification);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void ControlFixture::SetUp()
{
    log.clear();
    onNotify = nullptr;
    WNDCLASSA wc {};
    wc.lpfnWndProc = ParentProcedure;
    wc.lpszClassName = kParentClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    ASSERT_NE(0, RegisterClassA(&wc));
    parent = CreateWindowExA(0, kParentClass, "Controls", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr,
        nullptr, nullptr);
    ASSERT_NE(nullptr, parent);
    testing::RunUntilIdle();
}

void ControlFixture::TearDown()
{
    onNotify = nullptr;
    testing::SetIdleHandler(nullptr);
}

HWND ControlFixture::MakeControl(const char* className, DWORD style, RECT rect, const char* text, int id)
{
    HWND control = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
        rect.right - rect.left, rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        nullptr, nullptr);
    EXPECT_NE(nullptr, control) << className;
    return control;
}

POINT ControlFixture::OnScreen(HWND control, POINT client)
{
    ClientToScreen(control, &client);
    return client;
}

POINT ControlFixture::Centre(HWND control, RECT client)
{
    return OnScreen(control, POINT { (client.left + client.right) / 2, (client.top + client.bottom) / 2 });
}

void ControlFixture::ClickAt(POINT desktop)
{
    testing::Click(desktop.x, desktop.y);
    testing::RunUntilIdle();
}

std::vector<WORD> ControlFixture::Codes(UINT message) const
{
    std::vector<WORD> codes;
    for (const auto& notification : Notifications(message))
        codes.push_back(notification.code);
    return codes;
}

std::vector<Notification> ControlFixture::Notifications(UINT message) const
{
    std::vector<Notification> found;
    for (const auto& notification : log) {
        if (message == 0 || notification.message == message)
            found.push_back(notification);
    }
    return found;
}

size_t ControlFixture::CountOf(UINT message, WORD code) const
{
    size_t count = 0;
    for (const auto& notification : log)
        count += notification.message == message && notification.code == code;
    return count;
}

std::string TextOf(HWND hwnd)
{
    std::string text(static_cast<size_t>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace pw::platform::tests
