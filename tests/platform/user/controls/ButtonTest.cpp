#include "ControlFixture.h"

#include "../../gdi/GdiTestSupport.h"
#include "platform/testing/TestDriver.h"
#include "platform/user/controls/ButtonControl.h"

namespace pw::platform::tests {

namespace {

using gditest::Grid;
using user::ButtonControl;

class ButtonTest : public ControlFixture {
protected:
    HWND MakeButton(DWORD style) { return MakeControl("BUTTON", style, RECT { 10, 10, 130, 30 }, "Choose"); }
    void ClickButton(HWND button)
    {
        RECT client {};
        GetClientRect(button, &client);
        ClickAt(Centre(button, client));
    }
};

TEST_F(ButtonTest, ClicksToggleAutomaticCheckBoxesAndNotify)
{
    struct {
        const char* name;
        DWORD style;
        std::vector<int> checksAfterClicks;
    } const cases[] = {
        { "automatic check box", BS_AUTOCHECKBOX, { BST_CHECKED, BST_UNCHECKED, BST_CHECKED } },
        { "plain check box leaves checking to the parent", BS_CHECKBOX, { BST_UNCHECKED, BST_UNCHECKED } },
        { "push button is never checked", BS_PUSHBUTTON, { BST_UNCHECKED, BST_UNCHECKED } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        log.clear();
        HWND button = MakeButton(c.style);
        for (size_t i = 0; i < c.checksAfterClicks.size(); ++i) {
            ClickButton(button);
            EXPECT_EQ(c.checksAfterClicks[i], SendMessageA(button, BM_GETCHECK, 0, 0)) << "after click " << i + 1;
            ASSERT_EQ(i + 1, log.size());
            EXPECT_EQ((Notification { WM_COMMAND, BN_CLICKED, kControlId, button, 0 }), log.back());
        }
        DestroyWindow(button);
    }
}

TEST_F(ButtonTest, AReleaseAwayFromTheButtonDoesNotClick)
{
    HWND box = MakeButton(BS_AUTOCHECKBOX);
    POINT inside = Centre(box, RECT { 0, 0, 120, 20 });
    testing::Drag(inside.x, inside.y, inside.x, inside.y + 40);
    testing::RunUntilIdle();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    EXPECT_EQ(0, SendMessageA(box, BM_GETSTATE, 0, 0) & BST_PUSHED) << "shown released again";
    // Leaving and coming back before the release still clicks.
    testing::PressMouse(inside.x, inside.y);
    testing::MoveMouse(inside.x, inside.y + 40);
    testing::ReleaseMouse(inside.x + 3, inside.y);
    testing::RunUntilIdle();
    EXPECT_EQ(1u, log.size());
}

TEST_F(ButtonTest, SpaceAndBmClickClickTheButton)
{
    HWND box = MakeButton(BS_AUTOCHECKBOX);
    SetFocus(box);
    testing::TypeKey(VK_SPACE);
    testing::RunUntilIdle();
    EXPECT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    EXPECT_EQ(2u, CountOf(WM_COMMAND, BN_CLICKED));
}

// The classic look, pixel for pixel: '.' white, 's' silver face, '-' grey shadow, '#' black.
const Grid kPushButton = {
    ".......#",
    ".sssss-#",
    ".sssss-#",
    ".sssss-#",
    ".------#",
    "########",
};
const Grid kCheckedBox = {
    "------------.",
    "-##########s.",
    "-#.........s.",
    "-#.......#.s.",
    "-#......##.s.",
    "-#.#...###.s.",
    "-#.##.###..s.",
    "-#.#####...s.",
    "-#..###....s.",
    "-#...#.....s.",
    "-#.........s.",
    "-sssssssssss.",
    ".............",
};

TEST(ButtonLook, DrawsTheClassicEdgesAndCheckMark)
{
    struct {
        const char* name;
        DWORD type;
        bool checked;
        const Grid& expected;
    } const cases[] = {
        { "push button", BS_PUSHBUTTON, false, kPushButton },
        { "checked box", BS_AUTOCHECKBOX, true, kCheckedBox },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int width = static_cast<int>(c.expected[0].size());
        int height = static_cast<int>(c.expected.size());
        gditest::DibCanvas canvas(width, height);
        ButtonControl::Look look;
        look.type = c.type;
        look.checked = c.checked;
        ButtonControl::Draw(canvas.dc, RECT { 0, 0, width, height }, look);
        EXPECT_TRUE(gditest::SameGrid(c.expected, gditest::GridOf(canvas.dc, width, height)));
    }
}

TEST_F(ButtonTest, ACheckedBoxShowsOnTheDesktop)
{
    HWND box = MakeControl("BUTTON", BS_AUTOCHECKBOX, RECT { 20, 30, 33, 43 });
    ClickButton(box);
    ASSERT_EQ(BST_CHECKED, SendMessageA(box, BM_GETCHECK, 0, 0));
    Frame desktop = testing::ReadDesktop();
    Grid shown;
    for (int y = 30; y < 43; ++y) {
        std::string row;
        for (int x = 20; x < 33; ++x)
            row += gditest::CharOf(desktop.At(x, y));
        shown.push_back(row);
    }
    EXPECT_TRUE(gditest::SameGrid(kCheckedBox, shown));
}

} // namespace

} // namespace pw::platform::tests
