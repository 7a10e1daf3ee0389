#include "platform/gdi/TextLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace pw::platform::gdi;

namespace {

// Every character 10 pixels wide except ' ' (5), 'i' (4) and control characters (0); lines 20
// high; average width 8, so tab stops fall every 64 pixels.
class FakeMeasure : public TextMeasure {
public:
    int CharWidth(unsigned char c) const override { return c < 0x20 ? 0 : c == ' ' ? 5 : c == 'i' ? 4 : 10; }
    int LineHeight() const override { return 20; }
    int AveCharWidth() const override { return 8; }
};

// "x,y,width: @runX'text'" per line, '|' between lines; an underlined character shows as _c.
std::string Describe(const TextLayout& layout)
{
    std::string out;
    for (const TextLine& line : layout.Lines()) {
        if (!out.empty())
            out += " | ";
        out += std::to_string(line.x) + "," + std::to_string(line.y) + "," + std::to_string(line.width) + ":";
        for (const TextRun& run : line.runs) {
            out += " @" + std::to_string(run.x) + "'";
            for (size_t i = 0; i < run.text.size(); ++i) {
                if (std::find(run.underlined.begin(), run.underlined.end(), static_cast<int>(i)) != run.underlined.end())
                    out += '_';
                char c = run.text[i];
                out += c == '\n' ? std::string("\\n") : std::string(1, c);
            }
            out += "'";
        }
    }
    return out;
}

std::string Describe(const RECT& r)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," + std::to_string(r.bottom);
}

struct Case {
    const char* name;
    const char* text;
    int length;
    RECT rect;
    unsigned format;
    const char* lines;
    int height;
    const char* bounds;
};

void ExpectLayout(const Case& c)
{
    SCOPED_TRACE(c.name);
    FakeMeasure measure;
    TextLayout layout(measure, c.text, c.length, c.rect, c.format);
    EXPECT_EQ(Describe(layout), c.lines);
    EXPECT_EQ(layout.Height(), c.height);
    EXPECT_EQ(Describe(layout.Bounds()), c.bounds);
}

constexpr RECT kBox { 0, 0, 100, 50 };

} // namespace

TEST(TextLayout, AlignmentAndVerticalPlacement)
{
    const Case cases[] = {
        { "left", "Hello", -1, kBox, kDtLeft, "0,0,50: @0'Hello'", 20, "0,0,50,20" },
        { "center", "Hello", -1, kBox, kDtCenter, "25,0,50: @25'Hello'", 20, "0,0,50,20" },
        { "right", "Hello", -1, { 10, 5, 100, 50 }, kDtRight, "50,5,50: @50'Hello'", 20, "10,5,60,25" },
        { "center rounds down", "Hi", -1, { 0, 0, 101, 50 }, kDtCenter, "43,0,14: @43'Hi'", 20, "0,0,14,20" },
        { "center overhangs both sides", "Hello", -1, { 0, 0, 11, 50 }, kDtCenter, "-20,0,50: @-20'Hello'", 20, "0,0,50,20" },
        { "explicit length", "Hello", 3, kBox, kDtLeft, "0,0,30: @0'Hel'", 20, "0,0,30,20" },
        { "vcenter", "Hello", -1, kBox, kDtSingleLine | kDtVCenter, "0,15,50: @0'Hello'", 35, "0,0,50,20" },
        { "bottom", "Hello", -1, { 0, 10, 100, 60 }, kDtSingleLine | kDtBottom, "0,40,50: @0'Hello'", 50, "0,10,50,30" },
        { "vcenter needs single line", "Hello", -1, kBox, kDtVCenter, "0,0,50: @0'Hello'", 20, "0,0,50,20" },
        { "vcenter in a short box rises above it", "Hello", -1, { 0, 0, 100, 10 }, kDtSingleLine | kDtVCenter,
          "0,-5,50: @0'Hello'", 15, "0,0,50,20" },
        { "each line aligned alone", "aaaa\nbb", -1, kBox, kDtRight, "60,0,40: @60'aaaa' | 80,20,20: @80'bb'", 40, "0,0,40,40" },
    };
    for (const Case& c : cases)
        ExpectLayout(c);
}

TEST(TextLayout, LineBreaksAndEmptyText)
{
    const Case cases[] = {
        { "empty text has no line", "", -1, kBox, kDtLeft, "", 0, "0,0,0,0" },
        { "null text", nullptr, 5, kBox, kDtLeft, "", 0, "0,0,0,0" },
        { "empty single line", "", -1, kBox, kDtSingleLine | kDtVCenter, "", 0, "0,0,0,0" },
        { "CR LF, LF and CR each break once", "a\r\nb\nc\rd", -1, kBox, kDtLeft,
          "0,0,10: @0'a' | 0,20,10: @0'b' | 0,40,10: @0'c' | 0,60,10: @0'd'", 80, "0,0,10,80" },
        { "LF CR is two breaks", "a\n\rb", -1, kBox, kDtLeft, "0,0,10: @0'a' | 0,20,0: | 0,40,10: @0'b'", 60, "0,0,10,60" },
        { "final break adds no line", "a\n", -1, kBox, kDtLeft, "0,0,10: @0'a'", 20, "0,0,10,20" },
        { "two final breaks add one", "a\n\n", -1, kBox, kDtLeft, "0,0,10: @0'a' | 0,20,0:", 40, "0,0,10,40" },
        { "a lone break is one empty line", "\n", -1, kBox, kDtLeft, "0,0,0:", 20, "0,0,0,20" },
        { "single line keeps breaks as characters", "a\nb", -1, kBox, kDtSingleLine, "0,0,20: @0'a\\nb'", 20, "0,0,20,20" },
        { "without word break a long line stays whole", "Hello world", -1, { 0, 0, 30, 50 }, kDtLeft,
          "0,0,105: @0'Hello world'", 20, "0,0,105,20" },
    };
    for (const Case& c : cases)
        ExpectLayout(c);
}

TEST(TextLayout, WordBreak)
{
    constexpr unsigned wb = kDtWordBreak;
    const Case cases[] = {
        { "wraps before the word that does not fit; bounds narrow to the widest line", "aaa bbb ccc", -1,
          { 0, 0, 75, 50 }, wb, "0,0,65: @0'aaa bbb' | 0,20,30: @0'ccc'", 40, "0,0,65,40" },
        { "a line exactly as wide as the box fits", "aaa bbb ccc", -1, { 0, 0, 65, 50 }, wb,
          "0,0,65: @0'aaa bbb' | 0,20,30: @0'ccc'", 40, "0,0,65,40" },
        { "one pixel less", "aaa bbb ccc", -1, { 0, 0, 64, 50 }, wb,
          "0,0,30: @0'aaa' | 0,20,30: @0'bbb' | 0,40,30: @0'ccc'", 60, "0,0,30,60" },
        { "blanks at the break are dropped", "aaa bbb   ccc", -1, { 0, 0, 65, 50 }, wb,
          "0,0,65: @0'aaa bbb' | 0,20,30: @0'ccc'", 40, "0,0,65,40" },
        { "trailing blanks do not count", "aaa bbb    ", -1, { 0, 0, 65, 50 }, wb | kDtRight,
          "0,0,65: @0'aaa bbb'", 20, "0,0,65,20" },
        { "no leading blanks after a wrap", "aaa    bbb", -1, { 0, 0, 40, 50 }, wb,
          "0,0,30: @0'aaa' | 0,20,30: @0'bbb'", 40, "0,0,30,40" },
        { "leading blanks of a paragraph stay", "  ab", -1, kBox, wb, "0,0,30: @0'  ab'", 20, "0,0,30,20" },
        { "a word wider than the box is not split", "a bbbbbbbbbb c", -1, { 0, 0, 30, 50 }, wb,
          "0,0,10: @0'a' | 0,20,100: @0'bbbbbbbbbb' | 0,40,10: @0'c'", 60, "0,0,100,60" },
        { "one wrapped line: bounds fit the line", "aaa bb", -1, kBox, wb, "0,0,55: @0'aaa bb'", 20, "0,0,55,20" },
        { "a paragraph of blanks is an empty line", "   \nab", -1, kBox, wb, "0,0,0: | 0,20,20: @0'ab'", 40, "0,0,20,40" },
        { "negative width: a word a line", "a b", -1, { 10, 0, 0, 50 }, wb, "10,0,10: @10'a' | 10,20,10: @10'b'", 40, "10,0,20,40" },
        { "centred wrapped lines", "aaaa bb", -1, { 0, 0, 60, 50 }, wb | kDtCenter,
          "10,0,40: @10'aaaa' | 20,20,20: @20'bb'", 40, "0,0,40,40" },
        { "single line wins over word break", "aaa bbb ccc", -1, { 0, 0, 30, 50 }, wb | kDtSingleLine,
          "0,0,100: @0'aaa bbb ccc'", 20, "0,0,100,20" },
        { "breaks and wrapping together", "aa bb\ncc", -1, { 0, 0, 30, 50 }, wb,
          "0,0,20: @0'aa' | 0,20,20: @0'bb' | 0,40,20: @0'cc'", 60, "0,0,20,60" },
    };
    for (const Case& c : cases)
        ExpectLayout(c);
}

TEST(TextLayout, PrefixAndTabs)
{
    const Case cases[] = {
        { "&x underlines x", "&File", -1, kBox, kDtLeft, "0,0,34: @0'_File'", 20, "0,0,34,20" },
        { "&& is one ampersand", "A&&B", -1, kBox, kDtLeft, "0,0,30: @0'A&B'", 20, "0,0,30,20" },
        { "&&& marks what follows", "&&&x", -1, kBox, kDtLeft, "0,0,20: @0'&_x'", 20, "0,0,20,20" },
        { "several marks", "&a&b", -1, kBox, kDtLeft, "0,0,20: @0'_a_b'", 20, "0,0,20,20" },
        { "a final & is dropped", "ab&", -1, kBox, kDtLeft, "0,0,20: @0'ab'", 20, "0,0,20,20" },
        { "& before a break is dropped", "a&\nb", -1, kBox, kDtLeft, "0,0,10: @0'a' | 0,20,10: @0'b'", 40, "0,0,10,40" },
        { "no prefix", "&File&&", -1, kBox, kDtNoPrefix, "0,0,64: @0'&File&&'", 20, "0,0,64,20" },
        { "marks survive wrapping", "aa &bb", -1, { 0, 0, 30, 50 }, kDtWordBreak, "0,0,20: @0'aa' | 0,20,20: @0'_bb'", 40, "0,0,20,40" },
        { "expanded tab jumps to the next stop", "a\tb", -1, kBox, kDtExpandTabs, "0,0,74: @0'a' @64'b'", 20, "0,0,74,20" },
        { "tab on a stop goes to the next", "aaaaaai\tb", -1, { 0, 0, 200, 50 }, kDtExpandTabs | kDtRight,
          "62,0,138: @62'aaaaaai' @190'b'", 20, "0,0,138,20" },
        { "unexpanded tab is a character", "a\tb", -1, kBox, kDtLeft, "0,0,20: @0'a\tb'", 20, "0,0,20,20" },
        { "tab width counts when wrapping", "aaaa\tbbbb", -1, kBox, kDtExpandTabs | kDtWordBreak,
          "0,0,40: @0'aaaa' | 0,20,40: @0'bbbb'", 40, "0,0,40,40" },
    };
    for (const Case& c : cases)
        ExpectLayout(c);
}
