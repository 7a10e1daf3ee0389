#include "WindowFixture.h"

#include <algorithm>

namespace pw::platform::tests {

namespace {

LRESULT CALLBACK LoggingProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowFixture::log.push_back(Delivered { hwnd, message, wParam, lParam });
    if (WindowFixture::answer) {
        if (std::optional<LRESULT> result = WindowFixture::answer(hwnd, message, wParam, lParam))
            return *result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void WindowFixture::SetUp()
{
    log.clear();
    answer = nullptr;
    RegisterLoggingClass(kClassName);
}

void WindowFixture::TearDown()
{
    answer = nullptr;
}

void WindowFixture::RegisterLoggingClass(const char* name, UINT style, const char* menuName, HBRUSH background)
{
    WNDCLASSA wc {};
    wc.style = style;
    wc.lpfnWndProc = LoggingProcedure;
    wc.cbWndExtra = 8;
    wc.lpszMenuName = menuName;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    ASSERT_NE(RegisterClassA(&wc), 0) << name;
}

HWND WindowFixture::MakeWindow(HWND parent, DWORD style, const char* title)
{
    if (parent)
        style |= WS_CHILD;
    HWND hwnd = CreateWindowExA(0, kClassName, title, style, 0, 0, 100, 50, parent, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

HWND WindowFixture::Popup(RECT rect, HWND parent, const char* className, DWORD exStyle)
{
    DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    HWND hwnd = CreateWindowExA(exStyle, className, "", style, rect.left, rect.top, rect.right - rect.left,
        rect.bottom - rect.top, parent, nullptr, nullptr, nullptr);
    EXPECT_NE(hwnd, nullptr);
    return hwnd;
}

std::vector<Delivered> WindowFixture::Messages(std::initializer_list<UINT> only) const
{
    std::vector<Delivered> result;
    for (const Delivered& d : log) {
        if (only.size() == 0 || std::find(only.begin(), only.end(), d.message) != only.end())
            result.push_back(d);
    }
    return result;
}

std::vector<UINT> WindowFixture::MessageNumbers(std::initializer_list<UINT> only) const
{
    std::vector<UINT> result;
    for (const Delivered& d : Messages(only))
        result.push_back(d.message);
    return result;
}

std::vector<MSG> PumpAll()
{
    std::vector<MSG> seen;
    MSG msg;
    while (seen.size() < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        seen.push_back(msg);
        if (msg.message == WM_QUIT)
            break;
        DispatchMessageA(&msg);
    }
    return seen;
}

RECT WindowRectOf(HWND hwnd)
{
    RECT r {};
    GetWindowRect(hwnd, &r);
    return r;
}

} // namespace pw::platform::tests
