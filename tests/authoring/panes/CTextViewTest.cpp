#include "authoring/panes/CTextView.h"

#include "authoring/panes/CHAPane.h"
#include "authoring/palettes/CToolsDir.h"
#include "authoring/tools/CDropperTool.h"
#include "authoring/tools/CTextTool.h"
#include "authoring/tools/PaintSettings.h"
#include "engine/CMovieText.h"
#include "engine/ShowFileType.h"
#include "foundation/MemoryStream.h"
#include "foundation/ObjectFile.h"
#include "ui/WindowFrame.h"

#include "authoring/panes/PaneFixture.h"

#include <gtest/gtest.h>

using namespace authoring;

namespace {

class TextPane : public PaneTest {
protected:
    void TearDown() override
    {
        pw::authoring::PaintSettings::Reset();
        PaneTest::TearDown();
    }

    // The text of the sprite's first cel, with its style.
    static StyledText* TextOf(CSprite* sprite)
    {
        auto* cels = SmartCast<CMovieText>(sprite->GetMovie().Get());
        return cels ? SmartCast<StyledText>(cels->ItemObject(0).Get()) : nullptr;
    }
};

SmartPtr<CShow> SaveAndReopen(CShow* show)
{
    SmartPtr<MemoryStream> stream = new MemoryStream;
    SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Write(SmartPtr<Smart>(show));
    stream->Seek(0, Stream::kFromStart);
    SmartPtr<Smart> root = SmartPtr<ObjectFile>(new ObjectFile(GetGenericTypeIndex(), stream.Get()))->Read();
    return SmartCast<CShow>(root.Get());
}

} // namespace

// The child makes the text tool's size 72 points, presses with it, types and closes the text: the
// page gains a text sprite in that style, as large as the text, which saves and reopens equal;
// the tool's later changes leave the stored text alone.
TEST_F(TextPane, ATextSpriteTypedRestyledSavedAndReopenedEqual)
{
    SmartPtr<CTextTool> tool = new CTextTool;
    tool->SetOption(2, 10);
    app->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
    Press(20, 30);
    Release(20, 30);
    ASSERT_EQ(pane->SelectedKind(), 2);
    auto* editor = SmartCast<CTextView>(pane->GetEditView().Get());
    ASSERT_NE(editor, nullptr);
    driver::TypeText("Hello");
    driver::RunUntilIdle();
    EXPECT_EQ(pw::foundation::TextOf(*editor->GetText().Get()), "Hello");
    EXPECT_EQ(editor->GetTextView()->GetStyle()->GetPointSize(), 72);
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 1u);
    StyledText* text = TextOf(group->GetSprite(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(pw::foundation::TextOf(*text), "Hello");
    EXPECT_EQ(text->GetStyle()->GetPointSize(), 72);
    // Wider than the box: the text grows to show the word whole, moved left as far as the page
    // needs.
    Rect frame = At(group->GetSprite(0), 0);
    EXPECT_EQ(frame.top, 30);
    EXPECT_EQ(frame.Size().h, text->MeasureDrawn(171).h);
    EXPECT_EQ(frame.left, std::max(0, std::min(20, 200 - frame.Size().h)));

    tool->SetOption(2, 1);
    EXPECT_EQ(text->GetStyle()->GetPointSize(), 72);

    SmartPtr<CShow> reopened = SaveAndReopen(show.Get());
    ASSERT_TRUE(reopened.Valid());
    auto* copy = SmartCast<CMovieGroup>(reopened->GetMovie().Get());
    ASSERT_NE(copy, nullptr);
    ASSERT_EQ(copy->NumSprites(), 1u);
    StyledText* read = TextOf(copy->GetSprite(0));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(*read == *text);
    EXPECT_TRUE(read->GetStyle()->SameLook(*text->GetStyle().Get()));
    EXPECT_EQ(Text(At(copy->GetSprite(0), 0)), Text(At(group->GetSprite(0), 0)));
    reopened->Close();
}

// An empty text adds nothing, a short one takes its own extent; a paint change recolours the whole
// open text, and none reaches a text pane that is gone.
TEST_F(TextPane, TextsTakeTheirExtentAndPaintChangesRecolourTheOpenText)
{
    pane->Edit(2, true);
    auto* editor = SmartCast<CTextView>(pane->GetEditView().Get());
    ASSERT_NE(editor, nullptr);
    pw::authoring::PaintSettings::Current().foreground = Color(9);
    CToolsDir::GetDropperTool()->NotifyClients();
    EXPECT_TRUE(editor->GetTextView()->GetStyle()->GetColor().Equals(Color(9)));
    pane->EndEdit(false);
    EXPECT_EQ(group->NumSprites(), 0u);
    // The pane is gone: telling the dropper's clients reaches nothing freed.
    CToolsDir::GetDropperTool()->NotifyClients();

    pane->Edit(2, true);
    driver::TypeText("Hi");
    driver::RunUntilIdle();
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 1u);
    Point extent = TextOf(group->GetSprite(0))->Measure(0);
    EXPECT_GT(extent.h, 0);
    EXPECT_EQ(Text(At(group->GetSprite(0), 0)), Text(Rect(0, 0, extent.h, extent.v)));
}

// A text longer than its box keeps every line it was typed in: the sprite's frame holds the text
// laid out at the frame's width, at a large size too, so nothing is cut off the page.
TEST_F(TextPane, ATextLongerThanItsBoxKeepsAllItsLines)
{
    for (int16_t size : { 12, 72 }) {
        SCOPED_TRACE(size);
        CToolsDir::GetTextTool()->GetTextStyle()->SetPointSize(size);
        pane->Edit(2, true);
        driver::TypeText("Hello there my friends, Fishy");
        driver::RunUntilIdle();
        pane->EndEdit(false);
        ASSERT_GE(group->NumSprites(), 1u);
        CSprite* sprite = group->GetSprite(group->NumSprites() - 1);
        Rect frame = At(sprite, 0);
        Point drawn = TextOf(sprite)->MeasureDrawn(frame.right - frame.left);
        EXPECT_LE(drawn.h, frame.right - frame.left);
        EXPECT_LE(drawn.v, frame.bottom - frame.top);
        EXPECT_GT(drawn.v, TextOf(sprite)->Measure(0).v) << "more than one line";
    }
}

// Every letter shows while it is typed and the text stays whole on the page: a word wider than the
// box widens it rather than being broken by the edit control (at a large size only its last
// letter showed), and a box that would then reach past the page's right or bottom edge moves left
// or up as far as the page allows. The text lands where the box showed it.
TEST_F(TextPane, ATextShowsWholeWhileTypedAndStaysOnThePage)
{
    struct Case {
        const char* name;
        int16_t size;
        Point press;
        const char* letters;
        bool moves;
    };
    const Case cases[] = {
        { "fits its box", 12, Point(150, 20), "Hi", false },
        { "wider than its box at the right edge", 24, Point(150, 20), "Mom", true },
        { "a large word wider than its box", 72, Point(2, 30), "Fox", false },
        { "at the bottom", 24, Point(20, 140), "Owl", true },
        { "wider than the page", 72, Point(20, 30), "Elephant", true },
    };
    const Rect pageRect(0, 0, 200, 150);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SmartPtr<CTextTool> tool = new CTextTool;
        tool->GetTextStyle()->SetPointSize(c.size);
        app->SetCurrentTool(SmartPtr<Tool>(tool.Get()));
        Press(c.press.h, c.press.v);
        Release(c.press.h, c.press.v);
        auto* editor = SmartCast<CTextView>(pane->GetEditView().Get());
        ASSERT_NE(editor, nullptr);
        driver::TypeText(c.letters);
        driver::RunUntilIdle();
        HWND edit = editor->GetTextView()->GetEditWindow();
        EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 1) << "the word is not broken";
        EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
        Rect box = pane->GetEditView()->GetBounds();
        Point word = editor->GetText()->MeasureDrawn(0);
        EXPECT_GE(box.right - box.left, word.h);
        EXPECT_GE(box.bottom - box.top, word.v);
        EXPECT_EQ(box.TopLeft() != c.press, c.moves);

        pane->EndEdit(false);
        ASSERT_EQ(group->NumSprites(), 1u);
        Rect frame = At(group->GetSprite(0), 0);
        EXPECT_EQ(frame.TopLeft(), box.TopLeft());
        Point drawn = TextOf(group->GetSprite(0))->MeasureDrawn(frame.right - frame.left);
        EXPECT_LE(drawn.h, frame.right - frame.left);
        EXPECT_LE(drawn.v, frame.bottom - frame.top);
        if (word.h <= pageRect.right)
            EXPECT_EQ(frame.Union(pageRect), pageRect) << "whole on the page";
        else
            EXPECT_EQ(frame.left, 0);
        pane->Clear();
        ASSERT_EQ(group->NumSprites(), 0u);
    }
}

// "Pick Color" opens the foreground colour selector at the default text box's bottom-right corner
// (470, 250), and the pick there recolours the open text.
TEST_F(TextPane, PickColorOpensTheSelectorAtTheDefaultTextBox)
{
    pane->Edit(2, true);
    auto* editor = SmartCast<CTextView>(pane->GetEditView().Get());
    ASSERT_NE(editor, nullptr);
    size_t before = app->NumWindows();
    editor->DefaultBounds();
    ASSERT_EQ(app->NumWindows(), before + 1);
    // The selector's frame ends at the box's corner on the screen (its rectangle is kept in the
    // coordinates of the frame's parent).
    SmartPtr<Window> selector = app->GetWindow(app->NumWindows());
    POINT corner { selector->GetRect().right, selector->GetRect().bottom };
    ClientToScreen(GetParent(selector->GetFrame()->GetOSWindow()), &corner);
    EXPECT_EQ(Point(corner.x, corner.y), Point(470, 250));
    pane->EndEdit(false);
}

// The text tool on a text sprite edits its text in place: what is typed goes after its letters and
// is kept in the sprite, which stays where it was.
TEST_F(TextPane, TheTextToolEditsATextSpriteInPlace)
{
    SmartPtr<StyledText> words = new StyledText(String("Hi"));
    SmartPtr<CResource> resource = new CResource(SmartPtr<Persistent>(words.Get()), true);
    SmartPtr<CSprite> made = new CSprite(0, new CMovieText(resource, Rect(30, 30, 150, 60), true), Rect(30, 30, 150, 60));
    made->SetNumFrames(kFrames);
    CSprite* sprite = group->GetSprite(group->AddSprite(made, false));
    Rect before = At(sprite, 0);

    app->SetCurrentTool(SmartPtr<Tool>(new CTextTool));
    Press(before.left + 2, before.top + 2);
    Release(before.left + 2, before.top + 2);
    ASSERT_EQ(pane->SelectedKind(), 2);
    EXPECT_EQ(pane->GetSelectedSprites().Item(1), sprite);
    driver::TypeText("!");
    driver::RunUntilIdle();
    pane->EndEdit(false);
    ASSERT_EQ(group->NumSprites(), 1u);
    StyledText* text = TextOf(group->GetSprite(0));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(pw::foundation::TextOf(*text), "Hi!") << "typed after the text's own letters";
    EXPECT_EQ(At(group->GetSprite(0), 0).TopLeft().h, before.left);
    EXPECT_EQ(At(group->GetSprite(0), 0).TopLeft().v, before.top);
}
