#include "WindowFixture.h"

#include "platform/user/Window.h"

#include <cstring>
#include <string>

namespace pw::platform::tests {

namespace {

class Windows : public WindowFixture { };

TEST_F(Windows, CreationSendsNcCreateThenCreateBeforeReturning)
{
    static std::string seenName;
    static LPVOID seenParam;
    answer = [](HWND, UINT message, WPARAM, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_CREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
            seenName = create->lpszName;
            seenParam = create->lpCreateParams;
        }
        return std::nullopt;
    };
    int token = 0;
    HWND hwnd = CreateWindowExA(0, "testwclass", "Main", 0, 10, 20, 30, 40, nullptr, nullptr, nullptr, &token);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_EQ(MessageNumbers(), (std::vector<UINT> { WM_NCCREATE, WM_CREATE }));
    EXPECT_EQ(log[0].hwnd, hwnd);
    EXPECT_EQ(seenName, "Main");
    EXPECT_EQ(seenParam, &token);
}

TEST_F(Windows, CreationFailuresLeaveNoWindow)
{
    HWND parent = MakeWindow();
    HWND dead = MakeWindow();
    DestroyWindow(dead);
    struct Case {
        const char* name;
        const char* className;
        HWND parent;
        DWORD style;
        UINT refused;
        DWORD error;
    };
    for (Case c : {
             Case { "unknown class", "NoSuchClass", nullptr, 0, 0, 1407u },
             Case { "dead parent", kClassName, dead, WS_CHILD, 0, 1400u },
             Case { "child without parent", kClassName, nullptr, WS_CHILD, 0, 1406u },
             Case { "WM_NCCREATE refused", kClassName, parent, WS_CHILD, WM_NCCREATE, 0u },
             Case { "WM_CREATE refused", kClassName, parent, WS_CHILD, WM_CREATE, 0u },
         }) {
        SCOPED_TRACE(c.name);
        static UINT refused;
        refused = c.refused;
        answer = [](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
            if (message == refused)
                return message == WM_CREATE ? -1 : FALSE;
            return std::nullopt;
        };
        size_t before = WindowTable::Count();
        SetLastError(0);
        EXPECT_EQ(CreateWindowExA(0, c.className, "", c.style, 0, 0, 1, 1, c.parent, nullptr, nullptr, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(WindowTable::Count(), before);
    }
}

TEST_F(Windows, DestroyWindowDestroysChildrenAndDiscardsTheirPostedMessages)
{
    HWND parent = MakeWindow();
    HWND child = MakeWindow(parent);
    HWND grandchild = MakeWindow(child);
    HWND other = MakeWindow();
    for (HWND hwnd : { parent, child, grandchild, other })
        PostMessageA(hwnd, WM_USER, 0, 0);
    PostMessageA(nullptr, WM_USER, 0, 0);
    log.clear();

    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_EQ(Messages(), (std::vector<Delivered> {
                              { parent, WM_DESTROY, 0, 0 },
                              { child, WM_DESTROY, 0, 0 },
                              { grandchild, WM_DESTROY, 0, 0 },
                              { grandchild, WM_NCDESTROY, 0, 0 },
                              { child, WM_NCDESTROY, 0, 0 },
                              { parent, WM_NCDESTROY, 0, 0 },
                          }));
    for (HWND hwnd : { parent, child, grandchild })
        EXPECT_FALSE(IsWindow(hwnd));
    std::vector<MSG> left = PumpAll();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].hwnd, other);
    EXPECT_EQ(left[1].hwnd, nullptr);

    SetLastError(0);
    EXPECT_FALSE(DestroyWindow(parent));
    EXPECT_EQ(GetLastError(), 1400u);
}

TEST_F(Windows, MessagesPostedDuringDestructionAreDiscardedToo)
{
    HWND hwnd = MakeWindow();
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_DESTROY) {
            PostMessageA(hwnd, WM_USER, 0, 0);
            // Asked again from inside its destruction: harmless.
            EXPECT_TRUE(DestroyWindow(hwnd));
        }
        return std::nullopt;
    };
    DestroyWindow(hwnd);
    EXPECT_TRUE(PumpAll().empty());
    EXPECT_EQ(MessageNumbers({ WM_DESTROY, WM_NCDESTROY }), (std::vector<UINT> { WM_DESTROY, WM_NCDESTROY }));
}

TEST_F(Windows, CloseThroughTheDefaultProcedureDestroys)
{
    HWND hwnd = MakeWindow();
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    PumpAll();
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(MessageNumbers({ WM_CLOSE, WM_DESTROY }), (std::vector<UINT> { WM_CLOSE, WM_DESTROY }));
}

TEST_F(Windows, SendMessageNestsInsideTheCallingProcedure)
{
    static HWND second;
    second = MakeWindow();
    HWND first = MakeWindow();
    answer = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (message == WM_USER)
            return SendMessageA(second, WM_USER + 1, wParam, 0) + 1;
        if (message == WM_USER + 1)
            return wParam > 0 ? SendMessageA(hwnd, WM_USER + 1, wParam - 1, 0) * 2 : 1;
        return std::nullopt;
    };
    log.clear();
    EXPECT_EQ(SendMessageA(first, WM_USER, 3, 0), 9);
    EXPECT_EQ(Messages(), (std::vector<Delivered> {
                              { first, WM_USER, 3, 0 },
                              { second, WM_USER + 1, 3, 0 },
                              { second, WM_USER + 1, 2, 0 },
                              { second, WM_USER + 1, 1, 0 },
                              { second, WM_USER + 1, 0, 0 },
                          }));
}

TEST_F(Windows, AWindowMayDestroyItselfInsideASentMessage)
{
    HWND hwnd = MakeWindow();
    answer = [](HWND hwnd, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_USER)
            return std::nullopt;
        DestroyWindow(hwnd);
        return 5;
    };
    EXPECT_EQ(SendMessageA(hwnd, WM_USER, 0, 0), 5);
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(Windows, WindowTextIsCutToTheBuffer)
{
    HWND hwnd = MakeWindow();
    ASSERT_TRUE(SetWindowTextA(hwnd, "Hello world"));
    struct Case {
        int size;
        int result;
        const char* text;
    };
    for (Case c : { Case { 100, 11, "Hello world" }, Case { 12, 11, "Hello world" }, Case { 11, 10, "Hello worl" },
             Case { 6, 5, "Hello" }, Case { 1, 0, "" } }) {
        SCOPED_TRACE(c.size);
        char buffer[100];
        std::memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(GetWindowTextA(hwnd, buffer, c.size), c.result);
        EXPECT_STREQ(buffer, c.text);
    }
    char buffer[4] = "abc";
    EXPECT_EQ(GetWindowTextA(hwnd, buffer, 0), 0);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_TRUE(SetWindowTextA(hwnd, nullptr));
    EXPECT_EQ(GetWindowTextA(hwnd, buffer, 4), 0);
}

TEST_F(Windows, FindWindowLooksAtTopLevelWindowsNewestFirst)
{
    HWND older = MakeWindow(nullptr, 0, "Main");
    HWND newer = MakeWindow(nullptr, 0, "Other");
    MakeWindow(older, 0, "Inner");
    WNDCLASSA wc {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "Plain";
    RegisterClassA(&wc);
    HWND plain = CreateWindowExA(0, "Plain", "Main", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);

    EXPECT_EQ(FindWindowA(kClassName, nullptr), newer);
    EXPECT_EQ(FindWindowA("TESTWCLASS", "main"), older);
    EXPECT_EQ(FindWindowA(nullptr, "Main"), plain);
    EXPECT_EQ(FindWindowA(kClassName, "Inner"), nullptr);
    EXPECT_EQ(FindWindowA("Unknown", nullptr), nullptr);
    DestroyWindow(newer);
    EXPECT_EQ(FindWindowA(kClassName, nullptr), older);
}

TEST_F(Windows, ParentsOfChildrenPopUpsAndTopLevelWindows)
{
    HWND top = MakeWindow();
    HWND child = MakeWindow(top);
    HWND popup = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExA(0, kClassName, "", 0, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetParent(popup), top);
    EXPECT_EQ(GetParent(owned), nullptr);
    EXPECT_EQ(GetParent(top), nullptr);
    // Owned windows go with their owner.
    DestroyWindow(top);
    EXPECT_FALSE(IsWindow(popup));
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(Windows, SubclassingThroughTheWindowProcedureField)
{
    static WNDPROC original;
    static std::vector<UINT> seen;
    seen.clear();
    HWND hwnd = MakeWindow();
    WNDPROC subclass = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        seen.push_back(message);
        return CallWindowProcA(original, hwnd, message, wParam, lParam);
    };
    original = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclass)));
    ASSERT_NE(original, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(subclass));
    log.clear();
    SendMessageA(hwnd, WM_USER, 0, 0);
    EXPECT_EQ(seen, std::vector<UINT> { WM_USER });
    EXPECT_EQ(MessageNumbers(), std::vector<UINT> { WM_USER });
    // A procedure does not fit the 32-bit form.
    SetLastError(0);
    EXPECT_EQ(GetWindowLongA(hwnd, GWLP_WNDPROC), 0);
    EXPECT_EQ(GetLastError(), 1413u);
}

TEST_F(Windows, WindowLongsReachFieldsAndExtraBytesWithinBounds)
{
    HWND hwnd = MakeWindow(nullptr, WS_VISIBLE);
    EXPECT_EQ(SetWindowLongA(hwnd, 4, 77), 0);
    EXPECT_EQ(GetWindowLongA(hwnd, 4), 77);
    EXPECT_EQ(SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0x123456789), 0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 0x123456789);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), static_cast<DWORD>(WS_VISIBLE));
    for (int index : { 5, 8, -100 }) {
        SCOPED_TRACE(index);
        SetLastError(0);
        EXPECT_EQ(GetWindowLongA(hwnd, index), 0);
        EXPECT_EQ(GetLastError(), 1413u);
    }
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtrA(hwnd, 1), 0);
    EXPECT_EQ(GetLastError(), 1413u);
}

} // namespace

} // namespace pw::platform::tests
