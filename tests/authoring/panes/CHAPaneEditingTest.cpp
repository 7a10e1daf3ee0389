#include "authoring/panes/CHAPane.h"

#include "authoring/panes/CPixPane.h"
#include "authoring/panes/CTextView.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CMovieText.h"
#include "ui/Task.h"

#include "authoring/PaintFixture.h"
#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class NoTask : public Task, public SmartImplementation {
    PW_CLASS_INFO(NoTask)

public:
    void Do() override { }
    void Undo() override { }
    void Redo() override { }
};

PW_DEFINE_CLASS(NoTask, nullptr, nullptr, Task, SmartImplementation)

class PaneEditing : public PaneTest {
protected:
    void SetUp() override
    {
        PaneTest::SetUp();
        pw::authoring::PaintSettings::Reset();
    }

    // What the pane has open: "none", or the kind and the editing view's bounds.
    std::string Open()
    {
        if (!pane->IsEditing())
            return "none";
        std::string kind = pane->SelectedKind() == 1 ? "picture " : pane->SelectedKind() == 2 ? "text " : "? ";
        return kind + Text(pane->GetEditView()->GetBounds());
    }

    // Whether the sprite's first cel is a picture in the colour (at its pixel 5, 5).
    static bool CelPainted(CSprite& sprite, int color)
    {
        auto* cels = SmartCast<CMovieRes>(sprite.GetMovie().Get());
        SmartPtr<BitMap> stored = cels ? SmartCast<BitMap>(cels->ItemObject(0).Get()) : nullptr;
        SmartPtr<OffScreen> painted = new OffScreen(1, 1, 8, Color(color), true);
        return stored.Valid() && stored->GetPixelValue(5, 5) == painted->GetBitMap()->GetPixelValue(0, 0);
    }
    // A bucket fill of the whole open picture editor in the colour.
    void FillEditor(int color)
    {
        pw::authoring::PaintSettings::Current().foreground = Color(color);
        UseTool(103);
        Rect shown = pane->GetEditView()->GetBounds();
        Press(shown.left + 1, shown.top + 1);
        Release(shown.left + 1, shown.top + 1);
    }
};

} // namespace

// When the pane opens an editor, on what, and when it opens none.
TEST_F(PaneEditing, BeginEditOpensOnTheSelectedSpriteOrNewWork)
{
    CSprite* picture = AddSprite(Rect(20, 20, 60, 50), 0, 10);
    CSprite* later = AddSprite(Rect(100, 20, 140, 50), 5, 5);

    // Nothing selected, no rectangle, no whole pane: playback stops and nothing opens.
    show->GetPlayer()->Start();
    pane->Edit(1, false);
    EXPECT_FALSE(show->GetPlayer()->IsRunning());
    EXPECT_EQ(Open(), "none");

    pane->Edit(1, true);
    EXPECT_EQ(Open(), "picture 0,0,200,150");
    // With an editor open, a request without sprite or rectangle changes nothing.
    SmartPtr<View> view = pane->GetEditView();
    pane->Edit(2, true);
    EXPECT_EQ(pane->GetEditView().Get(), view.Get());
    pane->EndEdit(false);
    EXPECT_EQ(Open(), "none");

    // A selected picture sprite is edited over its rectangle.
    pane->SetSelection(picture);
    pane->Edit(1, false);
    EXPECT_EQ(Open(), "picture 20,20,60,50");
    pane->EndEdit(false);

    // A text editor asked for while a picture is selected: new text over the whole pane, the
    // picture deselected, only with allowWhole.
    pane->SetSelection(picture);
    pane->Edit(2, false);
    EXPECT_EQ(Open(), "none");
    pane->SetSelection(picture);
    pane->Edit(2, true);
    EXPECT_EQ(pane->SelectedKind(), 2);
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
    pane->EndEdit(false);

    // A selected sprite that does not show in the current frame is not edited.
    pane->SetSelectionMode(3);
    pane->SetSelection(later);
    pane->SetSelectionMode(0);
    ASSERT_EQ(show->GetPlayer()->GetFrame(), 0);
    pane->BeginEdit(later, Rect(0, 0, 0, 0), true, false, false, false);
    EXPECT_EQ(Open(), "none");
    pane->BeginEdit(later, Rect(0, 0, 0, 0), true, false, true, false);
    EXPECT_EQ(Open(), "picture 0,0,200,150");
}

// New work: a picture over the whole pane becomes the "Background" sprite over the selected
// frames, a smaller one an unnamed sprite, an empty one nothing; ending an edit forgets the
// window's undo step.
TEST_F(PaneEditing, EndEditStoresNewWorkAsASprite)
{
    pane->SetSelectionMode(1);
    pane->SelectFrames(2, 5);
    page->SetUndoTask(new NoTask);
    pane->Edit(1, true);
    FillEditor(9);
    pane->EndEdit(false);
    EXPECT_EQ(Open(), "none");
    EXPECT_FALSE(page->HasUndoTask());
    ASSERT_EQ(group->NumSprites(), 1u);
    CSprite* background = group->GetSprite(0);
    ASSERT_TRUE(background->GetName().Valid());
    EXPECT_EQ(pw::foundation::TextOf(*background->GetName().Get()), "Background");
    EXPECT_EQ(background->StartFrame(), 2);
    EXPECT_EQ(background->NumFrames(), 4);
    EXPECT_EQ(Text(At(background, 3)), "0,0,200,150");
    ASSERT_EQ(pane->GetSelectedSprites().NumItems(), 1u);

    // A rectangle drawn in the middle: an unnamed sprite of the drawn part.
    pane->SetSelection(nullptr);
    pane->Edit(1, true);
    app->SetCurrentTool(SmartPtr<Tool>(new OutlineTool));
    Drag(Point(30, 40), Point(70, 60));
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 2u);
    EXPECT_EQ(pw::foundation::TextOf(*group->GetSprite(1)->GetName().Get()), "");
    EXPECT_EQ(Text(At(group->GetSprite(1), 2)), "30,40,70,60");

    // All white: nothing is added.
    pane->SetSelection(nullptr);
    pane->Edit(1, true);
    FillEditor(0);
    pane->EndEdit(false);
    EXPECT_EQ(group->NumSprites(), 2u);
}

// Editing a selected sprite stores the picture back into its cel; an empty result clears the
// selected sprites from the first selected frame on.
TEST_F(PaneEditing, EndEditStoresIntoTheSpriteOrClearsIt)
{
    CSprite* sprite = AddSprite(Rect(20, 20, 60, 50), 0, 10);
    pane->SetSelection(sprite);
    pane->Edit(1, false);
    FillEditor(9);
    pane->EndEdit(false);
    EXPECT_TRUE(CelPainted(*sprite, 9));
    EXPECT_EQ(Text(At(sprite, 0)), "20,20,60,50");

    pane->SetSelectionMode(1);
    pane->SelectFrames(4, 9);
    pane->SetSelection(sprite);
    pane->Edit(1, false);
    FillEditor(0);
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 1u);
    EXPECT_EQ(group->GetSprite(0)->NumFrames(), 4);
}

// Before a save the open picture's work goes onto the page and painting goes on: a sprite being
// repainted takes the picture and opens again, new work becomes a sprite and a new picture opens
// over the whole pane, and the tools window is not told (it keeps its paint tools). An editor in
// which nothing was painted stays as it is.
TEST_F(PaneEditing, StoreEditPutsThePictureOnThePageAndPaintingGoesOn)
{
    struct Told : pw::authoring::PaneClient {
        void PaneChanged(pw::authoring::ToolsWindowPane*) override { ++count; }
        int count { 0 };
    } told;
    pane->ToggleClient(&told);
    CSprite* sprite = AddSprite(Rect(20, 20, 60, 50), 0, 10);
    pane->SetSelection(sprite);
    pane->Edit(1, false);
    SmartPtr<View> untouched = pane->GetEditView();
    pane->StoreEdit();
    EXPECT_EQ(pane->GetEditView().Get(), untouched.Get()) << "nothing painted";

    FillEditor(9);
    pane->StoreEdit();
    EXPECT_TRUE(CelPainted(*sprite, 9));
    EXPECT_EQ(Open(), "picture 20,20,60,50") << "the sprite is open again";
    EXPECT_NE(pane->GetEditView().Get(), untouched.Get());
    ASSERT_EQ(pane->GetSelectedSprites().NumItems(), 1u);
    EXPECT_EQ(pane->GetSelectedSprites().Item(1), sprite);

    pane->SetSelection(nullptr);
    pane->Edit(1, true);
    app->SetCurrentTool(SmartPtr<Tool>(new OutlineTool));
    Drag(Point(80, 40), Point(120, 60));
    int toldBefore = told.count;
    pane->StoreEdit();
    ASSERT_EQ(group->NumSprites(), 2u);
    EXPECT_EQ(Text(At(group->GetSprite(0), 0)), "80,40,120,60") << "painted, behind the picture placed";
    EXPECT_EQ(Open(), "picture 0,0,200,150") << "a new picture over the whole pane";
    EXPECT_TRUE(pane->GetSelectedSprites().IsEmpty());
    EXPECT_EQ(told.count, toldBefore);
    pane->ToggleClient(&told);
}

// Stepping on from the last frame with a picture open: the movie gains the frame, the edited
// sprite follows into it, and its editor opens again there.
TEST_F(PaneEditing, SteppingWhileEditingTakesTheEditorAlong)
{
    auto frames = static_cast<int16_t>(group->NumFrames());
    CSprite* picture = AddSprite(Rect(20, 20, 60, 50), 0, frames);
    show->GetPlayer()->GoToFrame(static_cast<int16_t>(frames - 1));
    pane->SetSelection(picture);
    pane->Edit(1, false);
    ASSERT_EQ(Open(), "picture 20,20,60,50");

    pane->DoCommand(3013, 0);
    EXPECT_EQ(show->GetPlayer()->GetFrame(), frames);
    EXPECT_EQ(group->NumFrames(), frames + 1);
    EXPECT_TRUE(picture->ShowsInFrames(frames, 1));
    EXPECT_EQ(Open(), "picture 20,20,60,50");
}

// A picture hanging over the top of the page is painted only inside the page on the screen: the
// outline dragged over the part above shows nowhere on the window above the page, while the
// picture itself takes it whole.
TEST_F(PaneEditing, PaintingShowsOnlyInsideThePage)
{
    // The page 40 pixels down its window, below a strip of the window's own.
    constexpr int32_t kDown = 40;
    pane->SetBounds(0, kDown, 200, 150);
    page->InvalidateView(false);
    driver::RunUntilIdle();
    CSprite* sprite = AddSprite(Rect(20, -20, 60, 30), 0, 10);
    pane->SetSelection(sprite);
    pane->Edit(1, false);
    ASSERT_EQ(Open(), "picture 20,20,60,70");
    Point origin = page->GetContentOrigin();
    auto strip = [&] {
        pw::platform::Frame shown = driver::ReadDesktop();
        std::vector<uint8_t> pixels;
        for (int32_t v = origin.v + 15; v < origin.v + kDown; ++v) {
            for (int32_t h = origin.h + 15; h < origin.h + 65; ++h)
                pixels.push_back(shown.At(h, v));
        }
        return pixels;
    };
    app->SetCurrentTool(SmartPtr<Tool>(new OutlineTool));
    Press(25, kDown + 10);
    // Taken after the press, which makes the window active.
    std::vector<uint8_t> before = strip();
    Move(55, kDown - 15);
    EXPECT_EQ(strip(), before) << "while dragging";
    Release(55, kDown - 15);
    EXPECT_EQ(strip(), before) << "after the release";
    auto* painter = SmartCast<CPixPane>(pane->GetEditView().Get());
    ASSERT_NE(painter, nullptr);
    SmartPtr<BitMap> picture = painter->GetOffScreen()->GetBitMap();
    SmartPtr<OffScreen> black = new OffScreen(1, 1, 8, Color(1), true);
    EXPECT_EQ(picture->GetPixelValue(5, 5), black->GetBitMap()->GetPixelValue(0, 0)) << "the outline's corner";
}

namespace {

class PaneFilling : public PaneEditing {
protected:
    // A background of one-pixel stripes in colours 7 and 8 over the whole page.
    void AddStripedBackground()
    {
        SmartPtr<OffScreen> cel = new OffScreen(200, 150, 8, Color(0), true);
        {
            DisplayPort port(*cel.Get(), cel->GetBounds(), 0);
            for (int32_t v = 0; v < 150; ++v)
                port.DrawRectangle(Rect(0, v, 200, v + 1), Color(7 + v % 2), Color(7 + v % 2), 1);
        }
        SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(cel->GetBitMap().Get()), true);
        Rect page(0, 0, 200, 150);
        SmartPtr<CSprite> made = new CSprite(0, new CMoviePic(resource, true), page);
        made->SetNumFrames(kFrames);
        CSprite* sprite = group->GetSprite(group->AddSprite(made, true));
        for (int16_t f = 0; f < kFrames; ++f)
            sprite->PlaceAtFrame(f, &page, nullptr);
    }
    void Fill(int32_t h, int32_t v, int color)
    {
        pw::authoring::PaintSettings::Current().foreground = Color(color);
        UseTool(103);
        Press(h, v);
        Release(h, v);
    }
    // The open picture's pixel, as the standard colour it is (-1 for none of 0 to 15).
    int PictureColor(int32_t h, int32_t v)
    {
        auto* painter = SmartCast<CPixPane>(pane->GetEditView().Get());
        if (!painter)
            return -2;
        uint32_t value = painter->GetOffScreen()->GetBitMap()->GetPixelValue(h, v);
        for (int color = 0; color < 16; ++color) {
            SmartPtr<OffScreen> one = new OffScreen(1, 1, 8, Color(color), true);
            if (one->GetBitMap()->GetPixelValue(0, 0) == value)
                return color;
        }
        return -1;
    }
    // What the window shows at the pane point, as the standard colour it is (-1 for none of 0 to 15).
    int ShownColor(int32_t h, int32_t v)
    {
        driver::RunUntilIdle();
        pw::platform::Frame shown = driver::ReadDesktop();
        POINT at = Screen(h, v);
        const pw::platform::PaletteColor& rgb = shown.palette[shown.At(at.x, at.y)];
        for (int color = 0; color < 16; ++color) {
            Color one(color);
            if ((one.red >> 8) == rgb.red && (one.green >> 8) == rgb.green && (one.blue >> 8) == rgb.blue)
                return color;
        }
        return -1;
    }
};

} // namespace

// The bucket tells regions apart as the child sees the page: the page's finely striped background
// is one surface, so an empty picture is filled whole; inside a shape drawn in this picture only
// the shape is filled, up to its outline; once the shape is stored on the page, a fill inside it
// in the new picture still fills only the inside, and one outside fills around it.
TEST_F(PaneFilling, TheBucketFillsWhatShowsAsOneRegion)
{
    AddStripedBackground();
    pane->SetSelection(nullptr);
    pane->Edit(1, true);
    ASSERT_EQ(Open(), "picture 0,0,200,150");
    Fill(100, 100, 9);
    EXPECT_EQ(PictureColor(0, 0), 9);
    EXPECT_EQ(PictureColor(199, 149), 9);
    page->Undo();
    EXPECT_EQ(PictureColor(100, 100), 0);

    app->SetCurrentTool(SmartPtr<Tool>(new OutlineTool));
    Drag(Point(30, 40), Point(70, 60));
    Fill(50, 50, 9);
    EXPECT_EQ(PictureColor(50, 50), 9);
    EXPECT_EQ(PictureColor(31, 41), 9);
    EXPECT_EQ(PictureColor(30, 40), 1) << "the outline";
    EXPECT_EQ(PictureColor(20, 20), 0) << "outside";
    page->Undo();

    pane->StoreEdit();
    ASSERT_EQ(Open(), "picture 0,0,200,150");
    ASSERT_EQ(PictureColor(30, 40), 0) << "a new, empty picture";
    Fill(50, 50, 9);
    EXPECT_EQ(PictureColor(50, 50), 9);
    EXPECT_EQ(PictureColor(30, 40), 0) << "the outline is the page's";
    EXPECT_EQ(PictureColor(20, 20), 0) << "outside";
    Fill(100, 100, 10);
    EXPECT_EQ(PictureColor(20, 20), 10);
    EXPECT_EQ(PictureColor(50, 50), 9);
}

// A picture painted over the whole page is the page's paint: a fill on a page with a picture placed
// on it fills the page under the picture too, which shows in front of the fill while painting and
// once the editor has closed, the new picture lying behind it.
TEST_F(PaneFilling, AFillLiesUnderAPicturePlacedOnThePage)
{
    AddSprite(Rect(60, 40, 100, 80), 0, kFrames, 7);
    pane->SetSelection(nullptr);
    pane->Edit(1, true);
    Fill(30, 30, 9);
    EXPECT_EQ(PictureColor(80, 60), 9) << "the page under the picture is filled too";
    EXPECT_EQ(ShownColor(80, 60), 7);
    EXPECT_EQ(ShownColor(30, 30), 9);
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 2u);
    EXPECT_EQ(Text(At(group->GetSprite(0), 0)), "0,0,200,150") << "the new picture covers the page";
    EXPECT_EQ(ShownColor(80, 60), 7) << "the picture in front shows";
    EXPECT_EQ(ShownColor(30, 30), 9);
}
