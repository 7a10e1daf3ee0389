#include "engine/CPanePlay.h"

#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "ui/AppMain.h"
#include "ui/Window.h"
#include "ui/WindowFrame.h"

#include "SpriteFixture.h"

#include <string>

#include <windows.h>

namespace {

// A subview over the pane's left half that takes every press.
class Taker : public View {
public:
    explicit Taker(View* parent)
        : View(parent, Rect(0, 0, 20, 40), kSizeStretch, true, false)
    {
    }
    bool MouseDown(int32_t, int32_t, BitFlags, uint8_t, const SmartPtr<Window>&) override
    {
        ++presses;
        return true;
    }
    int presses { 0 };
};

class Panes : public engine::Sprites { };

// A page of 4 frames with one linked sprite at (20, 20)..(24, 24) that jumps to frame 3 when
// clicked; the pane fills a 40 x 40 window, a subview covers its left half.
TEST_F(Panes, APressGoesToTheSubviewsFirstThenWhilePlayingToThePlayer)
{
    ASSERT_NE(pw::ui::CreateMainWindow(nullptr), nullptr);
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 40, 40));
    group->InsertFrames(1, 3, true, true);
    SmartPtr<CShow> show = new CShow(group.Get());
    int16_t index = group->AddMovieAsSprite(0, 4, Cels(1, true).Get());
    CSprite* sprite = group->GetSprite(index);
    sprite->SetName(new String("star"));
    Rect place(20, 20, 24, 24);
    sprite->PlaceAtFrame(0, &place, nullptr);
    SmartPtr<CLink> link = new CLink;
    link->SetTarget(3);
    sprite->SetLink(0, 4, link.Get());
    Rect spriteBounds(0, 0, 0, 0);
    sprite->GetFrameBounds(0, &spriteBounds, nullptr);
    ASSERT_FALSE(spriteBounds.IsEmpty());
    Point onSprite = spriteBounds.Center();

    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(40, 40));
    SmartPtr<CPanePlay> pane = new CPanePlay(window.Get(), show->GetPlayer());
    window->AddChild(pane.Get());
    SmartPtr<Taker> taker = new Taker(pane.Get());
    pane->AddChild(taker.Get());
    window->Show(true);
    EXPECT_EQ(&pane->GetShow(), show.Get());

    struct Case {
        const char* name;
        bool playing;
        Point point;
        bool answer;
        int subviewPresses;
        int16_t frame;
    } cases[] = {
        { "stopped, on the sprite", false, onSprite, false, 0, 0 },
        { "stopped, on the subview", false, Point(5, 5), true, 1, 0 },
        { "playing, on the subview", true, Point(5, 5), true, 1, 0 },
        { "playing, on the sprite", true, onSprite, true, 0, 3 },
        { "playing, on nothing", true, Point(30, 2), true, 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        show->GetPlayer()->GoToFrame(0);
        if (c.playing)
            show->GetPlayer()->Start();
        taker->presses = 0;
        EXPECT_EQ(pane->IsPlaying(), c.playing);
        EXPECT_EQ(pane->MouseDown(c.point.h, c.point.v, BitFlags(), 1, window), c.answer);
        EXPECT_EQ(taker->presses, c.subviewPresses);
        EXPECT_EQ(show->GetPlayer()->GetFrame(), c.frame);
        SmartPtr<Smart> request;
        EXPECT_EQ(show->GetPlayer()->TakeRequest(request), c.frame == 3 ? 4 : 0) << "only a hit names its sprite";
        show->GetPlayer()->Stop();
    }
    window->RemoveAllChildren();
    pane = nullptr;
    taker = nullptr;
    show->Close();
}

std::string UpdateBox(HWND hwnd)
{
    RECT box {};
    if (!GetUpdateRect(hwnd, &box, FALSE))
        return "none";
    return std::to_string(box.left) + "," + std::to_string(box.top) + "," + std::to_string(box.right) + ","
        + std::to_string(box.bottom);
}

// A change of the shown frame (or of every frame) marks its rectangle for redraw, the empty
// rectangle the whole pane; a change of another frame marks nothing. The pane fills a 40 x 40
// window; the player shows frame 1 of 4.
TEST_F(Panes, ChangesOfTheShownFrameRedrawWhatChanged)
{
    ASSERT_NE(pw::ui::CreateMainWindow(nullptr), nullptr);
    SmartPtr<CMovieGroup> group = new CMovieGroup(Rect(0, 0, 40, 40));
    group->InsertFrames(1, 3, true, true);
    SmartPtr<CShow> show = new CShow(group.Get());
    show->GetPlayer()->GoToFrame(1);
    SmartPtr<Window> window = new Window(new String("page"), 0, false, false, Point(40, 40));
    SmartPtr<CPanePlay> pane = new CPanePlay(window.Get(), show->GetPlayer());
    window->AddChild(pane.Get());
    window->Show(true);
    HWND hwnd = window->GetFrame()->GetOSWindow();
    Rect paneBounds = pane->GetBounds();
    auto onScreen = [&](Rect r) {
        r.Offset(paneBounds.left, paneBounds.top);
        return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + ","
            + std::to_string(r.bottom);
    };

    struct Case {
        const char* name;
        Rect rect;
        int16_t frame;
        std::string expected;
    } cases[] = {
        { "another frame", Rect(5, 5, 10, 10), 2, "none" },
        { "another frame, empty rectangle", Rect(0, 0, 0, 0), 0, "none" },
        { "the shown frame", Rect(5, 6, 10, 12), 1, onScreen(Rect(5, 6, 10, 12)) },
        { "every frame", Rect(3, 4, 8, 9), -1, onScreen(Rect(3, 4, 8, 9)) },
        { "the shown frame, empty rectangle", Rect(0, 0, 0, 0), 1, onScreen(Rect(0, 0, 40, 40)) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ValidateRect(hwnd, nullptr);
        // A source other than the movie keeps an empty rectangle empty.
        group->Changed(show.Get(), c.rect, c.frame);
        EXPECT_EQ(UpdateBox(hwnd), c.expected);
    }
    window->RemoveAllChildren();
    pane = nullptr;
    show->Close();
}

} // namespace
