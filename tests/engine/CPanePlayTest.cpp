#include "engine/CPanePlay.h"

#include "engine/CMovieGroup.h"
#include "engine/CPlayer.h"
#include "engine/CShow.h"
#include "ui/AppMain.h"
#include "ui/Window.h"

#include "SpriteFixture.h"

#include <string>

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

} // namespace
