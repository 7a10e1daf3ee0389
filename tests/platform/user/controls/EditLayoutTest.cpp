#include "platform/user/controls/EditLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using pw::platform::user::CharWidths;
using pw::platform::user::EditLayout;

namespace {

using Breaks = EditLayout::Breaks;

CharWidths Uniform(int width)
{
    CharWidths widths;
    widths.fill(width);
    return widths;
}

std::vector<std::string> LineTexts(const std::string& text, const EditLayout& layout)
{
    std::vector<std::string> texts;
    for (const auto& line : layout.Lines())
        texts.push_back(text.substr(line.start, line.length));
    return texts;
}

struct LayoutCase {
    const char* name;
    std::string text;
    int width;
    Breaks breaks;
    std::vector<std::string> lines;
};

TEST(EditLayout, BreaksLinesByTheFixedRules)
{
    // One pixel per character, so widths count characters.
    const LayoutCase cases[] = {
        { "empty text is one line", "", 10, Breaks::WordWrap, { "" } },
        { "text that fits", "hello world", 20, Breaks::WordWrap, { "hello world" } },
        { "exact fit", "hello world", 11, Breaks::WordWrap, { "hello world" } },
        { "break after the last blank that fits", "hello world", 8, Breaks::WordWrap, { "hello ", "world" } },
        { "a blank that does not fit stays", "hello world", 5, Breaks::WordWrap, { "hello ", "world" } },
        { "all trailing blanks stay", "hello   world", 6, Breaks::WordWrap, { "hello   ", "world" } },
        { "blanks before a break stay", "abc   \r\nd", 4, Breaks::WordWrap, { "abc   ", "d" } },
        { "blanks at the end stay", "abc   ", 4, Breaks::WordWrap, { "abc   " } },
        { "one word a line", "aa bb cc dd", 4, Breaks::WordWrap, { "aa ", "bb ", "cc ", "dd" } },
        { "a word that fits keeps its blank", "aa bb cc dd", 5, Breaks::WordWrap, { "aa bb ", "cc dd" } },
        { "words fill the width", "aa b cc d", 6, Breaks::WordWrap, { "aa b ", "cc d" } },
        { "long word breaks at the width", "abcdefghij", 4, Breaks::WordWrap, { "abcd", "efgh", "ij" } },
        { "long word after a short one", "ab cdefghij", 4, Breaks::WordWrap, { "ab ", "cdef", "ghij" } },
        { "leading blanks", "   abc", 4, Breaks::WordWrap, { "   ", "abc" } },
        { "tab is a blank", "ab\tcd", 3, Breaks::WordWrap, { "ab\t", "cd" } },
        { "zero width keeps one character a line", "ab", 0, Breaks::WordWrap, { "a", "b" } },
        { "CR LF breaks", "a\r\nb", 10, Breaks::WordWrap, { "a", "b" } },
        { "LF breaks", "a\nb", 10, Breaks::WordWrap, { "a", "b" } },
        { "lone CR does not break", "a\rb", 10, Breaks::WordWrap, { "a\rb" } },
        { "break at the end gives an empty line", "a\r\n", 10, Breaks::WordWrap, { "a", "" } },
        { "only breaks", "\r\n\n\r\n", 10, Breaks::WordWrap, { "", "", "", "" } },
        { "wrap inside paragraphs", "aaa bbb\r\nccc ddd", 4, Breaks::WordWrap, { "aaa ", "bbb", "ccc ", "ddd" } },
        { "no wrap keeps breaks", "hello world\r\nx", 1, Breaks::LineBreaks, { "hello world", "x" } },
        { "single line keeps everything", "a\r\nb c", 1, Breaks::SingleLine, { "a\r\nb c" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EditLayout layout(c.text, Uniform(1), c.width, c.breaks);
        EXPECT_EQ(c.lines, LineTexts(c.text, layout));
    }
}

TEST(EditLayout, LineOfFindsTheLineAnIndexStarts)
{
    // Lines "one ", "two" | "three ", "four ", "five" | "six".
    EditLayout layout("one two\r\nthree four five\nsix", Uniform(1), 6, Breaks::WordWrap);
    const size_t lineOf[][2] = { { 0, 0 }, { 3, 0 }, { 4, 1 }, { 8, 1 }, { 9, 2 }, { 24, 4 }, { 25, 5 }, { 500, 5 } };
    for (const auto& [index, line] : lineOf)
        EXPECT_EQ(line, layout.LineOf(index)) << "index " << index;
}

// Property over random texts: the lines cover the text in order; every line's text without its
// trailing blanks fits, unless it is a single overlong piece; and the next line's first word
// would not have fitted after it.
TEST(EditLayout, RandomTextsWrapWithinTheWidth)
{
    std::mt19937 random(7);
    CharWidths widths = Uniform(3);
    widths['a'] = 1;
    widths['m'] = 7;
    const char alphabet[] = { 'a', 'b', 'm', ' ', ' ', '\n' };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        int size = static_cast<int>(random() % 40);
        for (int i = 0; i < size; ++i)
            text += alphabet[random() % sizeof alphabet];
        int width = static_cast<int>(random() % 30);
        SCOPED_TRACE(testing::Message() << "text \"" << text << "\" width " << width);
        EditLayout layout(text, widths, width, Breaks::WordWrap);
        size_t expectedStart = 0;
        auto widthOf = [&](size_t from, size_t to) {
            int w = 0;
            for (size_t i = from; i < to; ++i)
                w += widths[static_cast<unsigned char>(text[i])];
            return w;
        };
        for (size_t i = 0; i < layout.LineCount(); ++i) {
            const auto& line = layout.Line(i);
            ASSERT_EQ(expectedStart, line.start);
            expectedStart = line.next;
            size_t end = line.start + line.length;
            size_t inked = end;
            while (inked > line.start && text[inked - 1] == ' ')
                --inked;
            if (inked - line.start > 1) {
                EXPECT_LE(widthOf(line.start, inked), width) << "line " << i;
            }
            bool wrapped = line.next == end && i + 1 < layout.LineCount();
            if (wrapped && inked > line.start && text[inked - 1] != ' ' && inked == end) {
                // Broken inside a word: the word did not fit.
                EXPECT_GT(widthOf(line.start, end + 1), width) << "line " << i;
            }
        }
        EXPECT_EQ(text.size(), expectedStart);
    }
}

} // namespace
