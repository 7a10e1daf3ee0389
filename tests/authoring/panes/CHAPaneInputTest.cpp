#include "authoring/panes/CHAPane.h"

#include "engine/CLink.h"
#include "foundation/Utilities.h"
#include "graphics/Sound.h"
#include "ui/App.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace authoring;

namespace {

class PaneInput : public PaneTest {
protected:
    // The selected sprites by name, front first as selected.
    std::string Selected()
    {
        std::string names;
        SmartList<CSprite> list = pane->GetSelectedSprites();
        for (uint32_t item = 1; item <= list.NumItems(); ++item)
            names += pw::foundation::TextOf(*list.Item(item)->GetName().Get());
        return names.empty() ? "-" : names;
    }

    void Key(UINT virtualKey)
    {
        driver::TypeKey(virtualKey);
        driver::RunUntilIdle();
    }
};

} // namespace

// Tab walks from the front sprite towards the back, skipping sprites that do not show in the
// current frame; past the back sprite the selection is empty and the next Tab starts again.
TEST_F(PaneInput, TabCyclesThroughTheSpritesShownInTheFrame)
{
    AddSprite(Rect(10, 10, 30, 30), 0, 10);
    AddSprite(Rect(40, 10, 60, 30), 5, 5);
    AddSprite(Rect(70, 10, 90, 30), 0, 10);
    std::string seen;
    for (int i = 0; i < 4; ++i) {
        Key(VK_TAB);
        seen += Selected() + " ";
    }
    EXPECT_EQ(seen, "2 0 - 2 ");
}

// The arrow keys, pressed on the page window, move the selected sprites one pixel in every frame
// of the range, once a press, while the overview is hidden; the control characters that share
// their codes move nothing.
TEST_F(PaneInput, ArrowKeysNudgeTheSelectionInEveryFrameOfTheRange)
{
    struct Case {
        const char* name;
        UINT virtualKey;
        uint8_t character;
        uint8_t overview;
        const char* frame3;
        const char* frame6;
    };
    const Case cases[] = {
        { "left", VK_LEFT, 0, 0, "9,10,29,30", "9,10,29,30" },
        { "right", VK_RIGHT, 0, 0, "11,10,31,30", "11,10,31,30" },
        { "up", VK_UP, 0, 0, "10,9,30,29", "10,9,30,29" },
        { "down", VK_DOWN, 0, 0, "10,11,30,31", "10,11,30,31" },
        { "the character 29", 0, 29, 0, "10,10,30,30", "10,10,30,30" },
        { "with the overview shown", VK_RIGHT, 0, 1, "10,10,30,30", "10,10,30,30" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSprite* sprite = AddSprite(Rect(10, 10, 30, 30), 0, 10);
        pane->SetSelectionMode(1);
        pane->SelectFrames(2, 6);
        pane->SetSelection(sprite);
        pw::authoring::gOverviewShown = c.overview;
        if (c.virtualKey)
            Key(c.virtualKey);
        else
            SendMessageA(page->GetFrame()->GetOSWindow(), WM_CHAR, c.character, 0);
        pw::authoring::gOverviewShown = 0;
        EXPECT_EQ(Text(At(sprite, 3)), c.frame3);
        EXPECT_EQ(Text(At(sprite, 6)), c.frame6);
        EXPECT_EQ(Text(At(sprite, 7)), "10,10,30,30");
        pane->SetSelection(nullptr);
        sprite->HideFrames(0, kFrames);
        group->RemoveEmptySprites();
    }
}

// The Delete key clears the selected sprites from the current frame on, as the Clear command
// does, as one step the page window can undo; with nothing selected it clears nothing.
TEST_F(PaneInput, DeleteClearsTheSelectedSpritesAsClearDoes)
{
    AddSprite(Rect(10, 10, 30, 30), 0, 10);
    CSprite* doomed = AddSprite(Rect(40, 10, 60, 30), 0, 10);
    AddSprite(Rect(70, 10, 90, 30), 0, 10);
    auto names = [this] {
        std::string all;
        for (uint32_t i = 0; i < group->NumSprites(); ++i)
            all += pw::foundation::TextOf(*group->GetSprite(static_cast<int16_t>(i))->GetName().Get());
        return all;
    };
    Key(VK_DELETE);
    EXPECT_EQ(names(), "012") << "nothing selected";

    pane->SetSelection(doomed);
    Key(VK_DELETE);
    EXPECT_EQ(names(), "02");
    EXPECT_EQ(Selected(), "-");
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    EXPECT_EQ(group->NumSprites(), 3u) << "the undo puts the sprite back";
}

// With the page's background selected, a drag on a picture over it moves the picture and leaves
// the background where it is; a drag where only the background lies still moves the background.
TEST_F(PaneInput, APictureOverASelectedBackgroundIsTheOneDragged)
{
    CSprite* background = AddSprite(Rect(0, 0, 200, 150), 0, kFrames);
    background->ToggleFlag2(true);
    CSprite* picture = AddSprite(Rect(40, 40, 60, 60), 0, kFrames);
    pane->SetSelection(background);
    Drag(Point(50, 50), Point(80, 70));
    EXPECT_EQ(Text(At(picture, 0)), "70,60,90,80");
    EXPECT_EQ(Text(At(background, 0)), "0,0,200,150");

    pane->SetSelection(background);
    Drag(Point(150, 100), Point(160, 110));
    EXPECT_EQ(Text(At(background, 0)), "10,10,210,160");
}

// A page-sized painted picture, selected as painting leaves it, lies in front of a picture that
// shows through its white: a press goes to the picture seen at the point, whatever the tool does
// with it. On the white the picture beneath is dragged, takes the link or opens for painting; on
// the paint the painted picture is dragged; where nothing shows, nothing is taken; the handles
// still scale the selected picture. The painted picture is drawn at twice its size.
TEST_F(PaneInput, APressTakesThePictureSeenThroughTheWhiteOfOneInFront)
{
    struct Case {
        const char* name;
        int32_t tool;
        Point from;
        Point to;
        const char* beneath;
        const char* painted;
        const char* selected;
    };
    const Case cases[] = {
        { "a drag on the picture seen through the white", 3, Point(60, 60), Point(70, 65), "50,45,90,85",
            "0,0,200,150", "0" },
        { "a drag on the paint", 3, Point(120, 20), Point(130, 25), "40,40,80,80", "10,5,210,155", "1" },
        { "a drag on the white with nothing beneath", 3, Point(20, 120), Point(30, 125), "40,40,80,80",
            "0,0,200,150", "-" },
        { "a drag on a corner handle over the white", 3, Point(196, 146), Point(186, 136), "40,40,80,80",
            "0,0,186,136", "1" },
        { "the link tool on the picture seen through the white", 14, Point(60, 60), Point(60, 60),
            "40,40,80,80", "0,0,200,150", "0" },
        { "the bucket on the picture seen through the white", 103, Point(60, 60), Point(60, 60), "40,40,80,80",
            "0,0,200,150", "0" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSprite* beneath = AddSprite(Rect(40, 40, 80, 80), 0, kFrames);
        CSprite* painted = AddPicture(Rect(0, 0, 200, 150), 0, kFrames, Point(100, 75), Rect(50, 5, 75, 20));
        pane->SetSelection(painted);
        app->GetClipboard()->Put(new CLink);
        UseTool(c.tool);
        Drag(c.from, c.to);
        EXPECT_EQ(Text(At(beneath, 0)), c.beneath);
        EXPECT_EQ(Text(At(painted, 0)), c.painted);
        EXPECT_EQ(Selected(), c.selected);
        EXPECT_EQ(beneath->LinkAtFrame(0) != nullptr, c.tool == 14) << "the link goes to the picture beneath";
        EXPECT_EQ(painted->LinkAtFrame(0), nullptr);
        EXPECT_EQ(pane->IsEditing(), c.tool == 103) << "the paint tools open the picture pressed";
        pane->EndEdit(true);
        pane->SetSelection(nullptr);
        beneath->HideFrames(0, kFrames);
        painted->HideFrames(0, kFrames);
        group->RemoveEmptySprites();
    }
}

// A drag keeps the drawing order the child gave: a picture dragged under a picture in front of it
// stays behind that picture when let go; the undo and the redo move it and change no order either.
TEST_F(PaneInput, ADragKeepsTheDrawingOrder)
{
    CSprite* background = AddSprite(Rect(0, 0, 200, 150), 0, kFrames, 3);
    background->ToggleFlag2(true);
    CSprite* picture = AddSprite(Rect(40, 40, 80, 80), 0, kFrames);
    AddPicture(Rect(0, 0, 200, 150), 0, kFrames, Point(200, 150), Rect(100, 0, 200, 150), 9);
    auto order = [this] {
        std::string names;
        for (uint32_t i = 0; i < group->NumSprites(); ++i)
            names += pw::foundation::TextOf(*group->GetSprite(static_cast<int16_t>(i))->GetName().Get());
        return names;
    };
    struct Step {
        const char* name;
        std::function<void()> act;
        const char* place;
    };
    const Step steps[] = {
        { "a click on the picture", [&] { Drag(Point(60, 60), Point(60, 60)); }, "40,40,80,80" },
        { "a drag into the paint", [&] { Drag(Point(60, 60), Point(150, 60)); }, "130,40,170,80" },
        { "the undo", [&] { page->Undo(); }, "40,40,80,80" },
        { "the redo", [&] { page->Undo(); }, "130,40,170,80" },
        { "a drag of the background", [&] { Drag(Point(20, 120), Point(25, 125)); }, "130,40,170,80" },
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(Text(At(picture, 0)), step.place);
        EXPECT_EQ(order(), "012");
    }
    EXPECT_EQ(Text(At(background, 0)), "5,5,205,155") << "the background was dragged";
}

// Tools 12 and 13 play from the frame the current frame's link names, or from the current frame
// when its link names none; the press stores no link of its own.
TEST_F(PaneInput, LinkToolsPlayFromTheFrameLinksFrame)
{
    struct Case {
        const char* name;
        int32_t tool;
        int16_t labelled;
        int16_t playsFrom;
    };
    const Case cases[] = {
        { "tool 12 with a label link", 12, 6, 6 },
        { "tool 13 with a label link", 13, 8, 8 },
        { "tool 13 without a link", 13, -1, 2 },
        { "tool 12 without a link", 12, -1, 2 },
    };
    SmartPtr<CPlayer> player = show->GetPlayer();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        player->GoToFrame(2);
        if (c.labelled >= 0)
            player->GetFrameLink(false)->SetFrameJump(group->GetFrameIndex(), c.labelled);
        UseTool(c.tool);
        Press(150, 120);
        Release(150, 120);
        EXPECT_TRUE(player->IsPlaying());
        EXPECT_EQ(player->GetFrame(), c.playsFrom);
        player->Stop();
        EXPECT_EQ(group->LinkAtFrame(2) != nullptr, c.labelled >= 0);
        group->SetLinkAtFrame(2, 1, nullptr);
    }
}

// Tool 6 on empty space only clears the selection: no task, no sound, no new selection.
TEST_F(PaneInput, CircularMotionOnEmptySpaceOnlyClearsTheSelection)
{
    CSprite* sprite = AddSprite(Rect(10, 10, 30, 30), 0, 10);
    pane->SetSelection(sprite);
    SelectionCounter counter;
    pane->ToggleSelectionClient(&counter);
    UseTool(6);
    Press(150, 120);
    Release(150, 120);
    EXPECT_EQ(Selected(), "-");
    EXPECT_EQ(counter.count, 1);
    EXPECT_FALSE(page->HasUndoTask());
    pane->ToggleSelectionClient(&counter);
}

// Tools 10, 14 and 22 give the pressed sprite the clipboard's sound or link over the selected
// frames, and hold the 7-pixel mark round it for 350 ms; tool 19 pastes the clipboard instead.
TEST_F(PaneInput, AttachToolsGiveTheSpriteTheClipboardsSoundOrLink)
{
    struct Case {
        const char* name;
        int32_t tool;
        bool link;
    };
    const Case cases[] = {
        { "tool 10 with a sound", 10, false },
        { "tool 14 with a link", 14, true },
        { "tool 22 with a sound", 22, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSprite* sprite = AddSprite(Rect(40, 40, 80, 70), 0, 10);
        SmartPtr<Smart> attached = c.link ? SmartPtr<Smart>(new CLink) : SmartPtr<Smart>(new Sound);
        app->GetClipboard()->Put(attached.Get());
        pane->SetSelectionMode(1);
        pane->SelectFrames(3, 5);
        UseTool(c.tool);
        uint32_t before = TickCount();
        Press(60, 55);
        EXPECT_GE(TickCount() - before, 350u);
        Release(60, 55);
        for (int16_t f = 2; f <= 6; ++f) {
            bool inRange = f >= 3 && f <= 5;
            EXPECT_EQ(sprite->SoundAtFrame(f) != nullptr, inRange && !c.link) << "frame " << f;
            EXPECT_EQ(sprite->LinkAtFrame(f) != nullptr, inRange && c.link) << "frame " << f;
        }
        EXPECT_EQ(Selected(), "0");
        pane->SetSelection(nullptr);
        sprite->HideFrames(0, kFrames);
        group->RemoveEmptySprites();
        pane->SetSelectionMode(0);
        pane->SelectFrames(0, 0);
    }
}

// The marking itself: a 5-pixel ring 7 pixels outside the sprite's rectangle, drawn on the
// window at once and gone after the next redraw.
TEST_F(PaneInput, FlashRectMarksUntilTheNextRedraw)
{
    Rect r(50, 50, 70, 70);
    pane->FlashRect(r);
    POINT ring = Screen(r.left - 7, r.top - 7);
    POINT inside = Screen(r.left + 2, r.top + 2);
    auto pixel = [](POINT p) { return driver::ReadDesktop().At(p.x, p.y); };
    EXPECT_NE(pixel(ring), pixel(inside));
    driver::RunUntilIdle();
    EXPECT_EQ(pixel(ring), pixel(inside));
}

// The picture tool on a sprite edits its picture; the text tool on empty space opens a text box
// at the point, 70 pixels high, to 9 pixels short of the page's right edge. Return closes an
// editor that does not take it.
TEST_F(PaneInput, PictureAndTextToolsOpenTheirEditorsWhereThePressIs)
{
    AddSprite(Rect(40, 40, 80, 70), 0, 10);
    UseTool(2);
    Press(60, 55);
    Release(60, 55);
    EXPECT_EQ(pane->SelectedKind(), 1);
    EXPECT_EQ(Text(pane->GetEditView()->GetBounds()), "40,40,80,70");
    EXPECT_EQ(Selected(), "0");
    EXPECT_TRUE(pane->KeyDown(13, 0));
    EXPECT_EQ(pane->SelectedKind(), 0);

    UseTool(4);
    Press(20, 100);
    Release(20, 100);
    ASSERT_EQ(pane->SelectedKind(), 2);
    Rect box = pane->GetEditView()->GetBounds();
    EXPECT_EQ(box.left, 20);
    EXPECT_EQ(box.top, 100);
    EXPECT_EQ(box.right, 191);
    EXPECT_EQ(box.bottom, 170);
    EXPECT_EQ(Selected(), "-");
    pane->EndEdit(false);

    // Too near the right edge for 40 pixels: the box starts at the left edge.
    Press(170, 20);
    Release(170, 20);
    ASSERT_EQ(pane->SelectedKind(), 2);
    EXPECT_EQ(pane->GetEditView()->GetBounds().left, 9);
}

// With sprites on the clipboard, an attach tool takes the first one's sound at the first selected
// frame; tool 19 pastes the clipboard at the press instead, even on a sprite, as one step to undo
// and without the clean-up of other edits (a picture hidden in its last frames keeps them).
TEST_F(PaneInput, AttachToolsReadSpritesOnTheClipboard)
{
    CSprite* target = AddSprite(Rect(40, 40, 80, 70), 0, 10);
    CSprite* source = AddSprite(Rect(100, 20, 120, 40), 0, 10, 9);
    CSprite* fading = AddSprite(Rect(150, 100, 170, 120), 0, 10);
    SmartPtr<Sound> sound = new Sound;
    source->SetSound(2, 1, sound.Get());
    SmartList<CSprite> copied;
    copied.Append(new CSprite(*source));
    app->GetClipboard()->Put(copied.Data());

    pane->SetSelectionMode(1);
    pane->SelectFrames(2, 2);
    UseTool(10);
    Press(60, 55);
    Release(60, 55);
    EXPECT_NE(target->SoundAtFrame(2), nullptr);
    EXPECT_EQ(target->SoundAtFrame(3), nullptr);

    fading->HideFrames(6, 4);
    uint32_t sprites = group->NumSprites();
    UseTool(19);
    Press(60, 55);
    Release(60, 55);
    EXPECT_EQ(group->NumSprites(), sprites + 1);
    EXPECT_GE(fading->NumFrames(), 10) << "the hidden frames stay";
    ASSERT_TRUE(page->HasUndoTask());
    page->Undo();
    EXPECT_EQ(group->NumSprites(), sprites) << "undo takes the pasted picture away";
}
