#include "../WindowFixture.h"

#include "platform/user/menus/AcceleratorTable.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/menus/MenuTesting.h"

#include <algorithm>

namespace pw::platform::tests {

namespace {

namespace driver = pw::platform::testing;

constexpr DWORD kErrorInvalidAcceleratorHandle = 1403;

MSG KeyMessage(UINT message, WPARAM key)
{
    return MSG { nullptr, message, key, 0, 0, POINT {} };
}

class Accelerators : public WindowFixture { };

TEST(AcceleratorMatch, NeedsTheExactModifierState)
{
    const std::vector<ACCEL> entries = {
        { FVIRTKEY | FCONTROL, 'S', 10 },
        { FVIRTKEY | FCONTROL | FSHIFT, 'S', 11 },
        { FVIRTKEY, VK_F1, 12 },
        { FVIRTKEY | FALT, 'X', 13 },
        { 0, 'c', 14 },
    };
    struct Case {
        const char* name;
        MSG msg;
        bool shift, control, alt;
        int expected;
    };
    const Case cases[] = {
        { "ctrl+S", KeyMessage(WM_KEYDOWN, 'S'), false, true, false, 10 },
        { "ctrl+shift+S", KeyMessage(WM_KEYDOWN, 'S'), true, true, false, 11 },
        { "S alone", KeyMessage(WM_KEYDOWN, 'S'), false, false, false, -1 },
        { "ctrl+alt+S", KeyMessage(WM_KEYDOWN, 'S'), false, true, true, -1 },
        { "F1", KeyMessage(WM_KEYDOWN, VK_F1), false, false, false, 12 },
        { "ctrl+F1", KeyMessage(WM_KEYDOWN, VK_F1), false, true, false, -1 },
        { "alt+X as a system key", KeyMessage(WM_SYSKEYDOWN, 'X'), false, false, true, 13 },
        { "key up never matches", KeyMessage(WM_KEYUP, 'S'), false, true, false, -1 },
        { "a character entry takes WM_CHAR", KeyMessage(WM_CHAR, 'c'), false, false, false, 14 },
        { "character entries ignore Ctrl", KeyMessage(WM_CHAR, 'c'), false, true, false, 14 },
        { "and compare case", KeyMessage(WM_CHAR, 'C'), true, false, false, -1 },
        { "a character entry is no key", KeyMessage(WM_KEYDOWN, 'c'), false, false, false, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(AcceleratorTable::Match(entries, c.msg, c.shift, c.control, c.alt), c.expected);
    }
}

TEST_F(Accelerators, AMatchSendsTheCommandWithHighWordOne)
{
    HWND main = MakeWindow();
    ACCEL entries[] = { { FVIRTKEY, VK_F1, 1001 } };
    HACCEL table = CreateAcceleratorTableA(entries, 1);
    ASSERT_NE(table, nullptr);
    MSG msg { main, WM_KEYDOWN, VK_F1, 0, 0, POINT {} };
    EXPECT_EQ(TranslateAcceleratorA(main, table, &msg), 1);
    EXPECT_EQ(Messages({ WM_COMMAND }), (std::vector<Delivered> { { main, WM_COMMAND, MAKEWPARAM(1001, 1), 0 } }));
    log.clear();
    msg.wParam = VK_F10;
    EXPECT_EQ(TranslateAcceleratorA(main, table, &msg), 0);
    msg.message = WM_LBUTTONDOWN;
    msg.wParam = VK_F1;
    EXPECT_EQ(TranslateAcceleratorA(main, table, &msg), 0);
    EXPECT_TRUE(Messages().empty());
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

TEST_F(Accelerators, TheLoopNeitherTranslatesNorDispatchesAMatchedKey)
{
    HWND main = MakeWindow(nullptr, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetFocus(main);
    ACCEL entries[] = { { FVIRTKEY | FCONTROL, 'S', 10 }, { FVIRTKEY | FCONTROL | FSHIFT, 'S', 11 } };
    HACCEL table = CreateAcceleratorTableA(entries, 2);
    driver::PressKey(VK_CONTROL);
    driver::TypeKey('S');
    driver::PressKey(VK_SHIFT);
    driver::TypeKey('S');
    driver::ReleaseKey(VK_SHIFT);
    driver::ReleaseKey(VK_CONTROL);
    driver::TypeKey('S');
    log.clear();
    // The program's main loop.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!TranslateAcceleratorA(main, table, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    EXPECT_EQ(Messages({ WM_COMMAND }), (std::vector<Delivered> { { main, WM_COMMAND, MAKEWPARAM(10, 1), 0 },
                                             { main, WM_COMMAND, MAKEWPARAM(11, 1), 0 } }));
    std::vector<Delivered> keys = Messages({ WM_KEYDOWN });
    EXPECT_EQ(std::count_if(keys.begin(), keys.end(), [](const Delivered& d) { return d.wParam == 'S'; }), 1);
    // Only the plain key made a character; Ctrl+S (19) never did.
    EXPECT_EQ(Messages({ WM_CHAR }), (std::vector<Delivered> { { main, WM_CHAR, 's', Messages({ WM_CHAR }).at(0).lParam } }));
}

TEST_F(Accelerators, BadArgumentsFailWithTheirCodes)
{
    HWND main = MakeWindow();
    ACCEL entry { FVIRTKEY | FCONTROL, 'C', 1001 };
    HACCEL table = CreateAcceleratorTableA(&entry, 1);
    MSG msg { main, WM_KEYDOWN, VK_F1, 0, 0, POINT {} };
    SetLastError(0);
    EXPECT_EQ(CreateAcceleratorTableA(&entry, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    SetLastError(0);
    EXPECT_FALSE(DestroyAcceleratorTable(table));
    EXPECT_EQ(GetLastError(), kErrorInvalidAcceleratorHandle);
    SetLastError(0);
    EXPECT_EQ(TranslateAcceleratorA(main, table, &msg), 0);
    EXPECT_EQ(GetLastError(), kErrorInvalidAcceleratorHandle);
}

TEST_F(Accelerators, TheProbeSucceedsUnlessATestMakesItFail)
{
    // The program's probe: one Ctrl+C entry, made and destroyed at once.
    ACCEL probe { FCONTROL, 0x43, 1001 };
    SetLastError(0);
    HACCEL table = CreateAcceleratorTableA(&probe, 1);
    ASSERT_NE(table, nullptr);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_EQ(GetLastError(), 0u);

    driver::MakePlatformProbeFail(true);
    EXPECT_EQ(CreateAcceleratorTableA(&probe, 1), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CALL_NOT_IMPLEMENTED));
    driver::MakePlatformProbeFail(false);
    EXPECT_NE(CreateAcceleratorTableA(&probe, 1), nullptr);
}

} // namespace

} // namespace pw::platform::tests
