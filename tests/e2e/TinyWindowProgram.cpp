// A tiny window program: one captioned main window whose client area is red. It ends itself half
// a second after it started, as the SDL window's close box would.
#include <windows.h>

namespace {

constexpr UINT_PTR kEndTimer = 1;
constexpr UINT kEndAfterMs = 500;

LRESULT CALLBACK MainProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC hdc = BeginPaint(hwnd, &paint);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(hdc, &client, red);
        DeleteObject(red);
        EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_TIMER:
        KillTimer(hwnd, kEndTimer);
        PostQuitMessage(0);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc {};
    wc.lpfnWndProc = MainProcedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = "TinyWClass";
    if (!RegisterClassA(&wc))
        return 2;
    HWND hwnd = CreateWindowExA(0, "TinyWClass", "Tiny", WS_OVERLAPPEDWINDOW, 40, 30, 300, 200, nullptr, nullptr,
        instance, nullptr);
    if (!hwnd)
        return 3;
    ShowWindow(hwnd, SW_SHOWNORMAL);
    SetTimer(hwnd, kEndTimer, kEndAfterMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
