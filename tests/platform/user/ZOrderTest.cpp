#include "WindowFixture.h"

#include "platform/user/Modal.h"
#include "platform/user/WindowLayers.h"
#include "platform/user/ZOrder.h"

#include <string>

namespace pw::platform::tests {

namespace {

class ZOrderTest : public WindowFixture { };

TEST_F(ZOrderTest, LayersStayInOrderWhateverIsRaised)
{
    HWND normal1 = Popup({ 0, 0, 50, 50 });
    HWND floating = Popup({ 0, 0, 50, 50 }, nullptr, kClassName, WS_EX_TOPMOST);
    HWND normal2 = Popup({ 0, 0, 50, 50 });
    HWND blocking = Popup({ 0, 0, 50, 50 });
    HWND dropDown = Popup({ 0, 0, 50, 50 });
    SetWindowLayer(dropDown, WindowLayer::Popup);
    std::optional<ModalScope> modal;
    modal.emplace(blocking);
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { dropDown, blocking, floating, normal2, normal1 }));

    struct Case {
        const char* name;
        HWND raised;
        std::vector<HWND> expected;
    };
    for (const Case& c : {
             Case { "a normal window rises within its layer", normal1, { dropDown, blocking, floating, normal1, normal2 } },
             Case { "bringing a normal window to the top leaves the floating one above", normal2,
                 { dropDown, blocking, floating, normal2, normal1 } },
             Case { "a floating window stays below the blocking one", floating,
                 { dropDown, blocking, floating, normal2, normal1 } },
         }) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(BringWindowToTop(c.raised));
        EXPECT_EQ(ZOrder::Siblings(nullptr), c.expected);
    }
    // The topmost window under a point is the drop-down, then the blocking window, then the
    // floating one.
    EXPECT_EQ(WindowFromPoint(POINT { 10, 10 }), dropDown);
    DestroyWindow(dropDown);
    EXPECT_EQ(WindowFromPoint(POINT { 10, 10 }), blocking);
    modal.reset();
    // Out of its scope the box is a normal window again, on top of its layer.
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { floating, blocking, normal2, normal1 }));
}

TEST_F(ZOrderTest, TopmostAndNotTopmostMoveWindowsBetweenLayers)
{
    HWND a = Popup({ 0, 0, 10, 10 });
    HWND b = Popup({ 0, 0, 10, 10 });
    EXPECT_TRUE(SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(LayerOf(a), WindowLayer::Floating);
    EXPECT_NE(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    BringWindowToTop(b);
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { a, b }));
    EXPECT_TRUE(SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(LayerOf(a), WindowLayer::Normal);
    EXPECT_EQ(GetWindowLongA(a, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    // Back among the normal windows it goes on top of them, and may go to the bottom.
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { a, b }));
    EXPECT_TRUE(SetWindowPos(a, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { b, a }));
    // Inserting after a window puts it right below that one.
    HWND c = Popup({ 0, 0, 10, 10 });
    EXPECT_TRUE(SetWindowPos(c, b, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE));
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { b, c, a }));
    SetLastError(0);
    HWND dead = Popup({ 0, 0, 1, 1 });
    DestroyWindow(dead);
    EXPECT_FALSE(SetWindowPos(c, dead, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE));
    EXPECT_EQ(GetLastError(), 1400u);
}

TEST_F(ZOrderTest, OwnedWindowsStayAboveTheirOwner)
{
    HWND owner = Popup({ 0, 0, 10, 10 });
    HWND owned = CreateWindowExA(0, kClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    HWND other = Popup({ 0, 0, 10, 10 });
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { other, owned, owner }));
    BringWindowToTop(owner);
    EXPECT_EQ(ZOrder::Siblings(nullptr), (std::vector<HWND> { owned, owner, other }));
}

TEST_F(ZOrderTest, ChildrenStackAmongTheirSiblingsAndClipToTheirParent)
{
    HWND parent = Popup({ 100, 100, 200, 200 });
    HWND first = Popup({ 0, 0, 60, 60 }, parent);
    HWND second = Popup({ 40, 40, 150, 150 }, parent);
    struct Case {
        POINT at;
        HWND expected;
    };
    for (Case c : { Case { { 110, 110 }, first }, Case { { 150, 150 }, second }, Case { { 190, 190 }, second },
             // Beyond the parent the child is cut off.
             Case { { 220, 220 }, nullptr }, Case { { 165, 110 }, parent } }) {
        SCOPED_TRACE(std::to_string(c.at.x) + "," + std::to_string(c.at.y));
        EXPECT_EQ(WindowFromPoint(c.at), c.expected);
    }
    BringWindowToTop(first);
    EXPECT_EQ(WindowFromPoint(POINT { 150, 150 }), first);
    ShowWindow(first, SW_HIDE);
    EXPECT_EQ(WindowFromPoint(POINT { 150, 150 }), second);
}

} // namespace

} // namespace pw::platform::tests
