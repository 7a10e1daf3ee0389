#include "platform/user/controls/EditModel.h"

#include <gtest/gtest.h>

using pw::platform::user::CharWidths;
using pw::platform::user::EditLayout;
using pw::platform::user::EditModel;

namespace {

using Move = EditModel::Move;

// A multi-line model, word-wrapped at `width` characters, one pixel per character except 'W'.
EditModel Model(const char* text, int width = 100, EditLayout::Breaks breaks = EditLayout::Breaks::WordWrap)
{
    CharWidths widths;
    widths.fill(1);
    widths['W'] = 4;
    EditModel model;
    model.SetFormat(widths, width, breaks);
    model.SetText(text);
    return model;
}

TEST(EditModel, CaretStepsOverCrLfAsOneCharacter)
{
    EditModel model = Model("ab\r\ncd");
    model.Select(2, 2);
    model.MoveCaret(Move::Right, false);
    EXPECT_EQ(4u, model.Caret());
    model.MoveCaret(Move::Left, false);
    EXPECT_EQ(2u, model.Caret());
    // An index between CR and LF steps back before the CR.
    model.Select(3, 3);
    EXPECT_EQ(2u, model.Caret());
    // Backspace after the break and Delete before it remove both characters.
    model.Select(4, 4);
    EXPECT_TRUE(model.DeleteBackward());
    EXPECT_EQ("abcd", model.Text());
    EXPECT_EQ(2u, model.Caret());
    model = Model("ab\r\ncd");
    model.Select(2, 2);
    EXPECT_TRUE(model.DeleteForward());
    EXPECT_EQ("abcd", model.Text());
}

TEST(EditModel, TypingReplacesTheSelection)
{
    struct {
        const char* name;
        const char* text;
        size_t anchor, caret;
        const char* insert;
        EditLayout::Breaks breaks;
        const char* result;
        size_t caretAfter;
        bool changed;
    } const cases[] = {
        { "insert at caret", "abc", 1, 1, "X", EditLayout::Breaks::WordWrap, "aXbc", 2, true },
        { "replace backwards selection", "abcdef", 4, 1, "X", EditLayout::Breaks::WordWrap, "aXef", 2, true },
        { "delete selection", "abcdef", 1, 4, "", EditLayout::Breaks::WordWrap, "aef", 1, true },
        { "nothing to do", "abc", 1, 1, "", EditLayout::Breaks::WordWrap, "abc", 1, false },
        { "multi-line takes breaks", "ac", 1, 1, "b\r\nb", EditLayout::Breaks::WordWrap, "ab\r\nbc", 5, true },
        { "single line keeps the first line", "ac", 1, 1, "b\r\nzz", EditLayout::Breaks::SingleLine, "abc", 2, true },
        { "single line and a lone LF", "ac", 1, 1, "b\nzz", EditLayout::Breaks::SingleLine, "abc", 2, true },
        { "selection past the end clamps", "abc", 0, 0x7FFF, "z", EditLayout::Breaks::WordWrap, "z", 1, true },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditModel model = Model(c.text, 100, c.breaks);
        model.Select(c.anchor, c.caret);
        EXPECT_EQ(c.changed, model.ReplaceSelection(c.insert));
        EXPECT_EQ(c.result, model.Text());
        EXPECT_EQ(c.caretAfter, model.Caret());
        EXPECT_FALSE(model.HasSelection());
    }
}

TEST(EditModel, EditsKeepTheLayoutCurrent)
{
    EditModel model = Model("aaa bbb", 4);
    ASSERT_EQ(2u, model.Layout().LineCount());
    model.Select(7, 7);
    model.ReplaceSelection(" ccc");
    EXPECT_EQ(3u, model.Layout().LineCount());
    model.Select(0, 11);
    model.DeleteBackward();
    EXPECT_EQ(1u, model.Layout().LineCount());
}

TEST(EditModel, ShiftMovesExtendAndPlainMovesCollapse)
{
    EditModel model = Model("abcdef");
    model.Select(2, 2);
    model.MoveCaret(Move::Right, true);
    model.MoveCaret(Move::Right, true);
    EXPECT_EQ("cd", model.SelectedText());
    model.MoveCaret(Move::Left, false);
    EXPECT_EQ(2u, model.Caret());
    EXPECT_FALSE(model.HasSelection());
    model.MoveCaret(Move::TextEnd, true);
    EXPECT_EQ("cdef", model.SelectedText());
    model.MoveCaret(Move::Right, false);
    EXPECT_EQ(6u, model.Caret());
}

TEST(EditModel, VerticalMovesKeepTheColumnByPixels)
{
    // Lines: "abWd" (W is 4 pixels wide) over "abcdefgh".
    EditModel model = Model("abWd\r\nabcdefgh");
    model.Select(4, 4); // after "abWd": x = 7
    model.MoveCaret(Move::Down, false);
    EXPECT_EQ(6u + 7u, model.Caret());
    model.MoveCaret(Move::Up, false);
    EXPECT_EQ(4u, model.Caret());
    model.MoveCaret(Move::Up, false);
    EXPECT_EQ(4u, model.Caret()) << "the first line has no line above";
    model.Select(8, 8);
    model.MoveCaret(Move::LineEnd, false);
    EXPECT_EQ(14u, model.Caret());
    model.MoveCaret(Move::LineStart, true);
    EXPECT_EQ("abcdefgh", model.SelectedText());
}

TEST(EditModel, HitTestingRoundsToTheNearestGap)
{
    EditModel model = Model("aWb");
    struct {
        int x;
        size_t index;
    } const cases[] = { { -5, 0 }, { 0, 0 }, { 1, 1 }, { 2, 1 }, { 3, 2 }, { 5, 2 }, { 6, 3 }, { 50, 3 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        EXPECT_EQ(c.index, model.IndexAt(0, c.x));
    }
    EXPECT_EQ(5, model.XOf(2));
}

TEST(EditModel, WordSelectionStopsAtBlanksAndBreaks)
{
    EditModel model = Model("one two\r\nthree");
    model.SelectWordAt(5);
    EXPECT_EQ("two", model.SelectedText());
    model.SelectWordAt(3);
    EXPECT_EQ(" ", model.SelectedText());
    model.SelectWordAt(12);
    EXPECT_EQ("three", model.SelectedText());
    model.SelectWordAt(99);
    EXPECT_EQ("three", model.SelectedText());
}

} // namespace
