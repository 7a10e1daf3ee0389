// The DrawTextA layout as a pure computation: where each line of a text goes in a rectangle.
//
// TextLayout measures through TextMeasure (a Font, or a fake in tests) and draws nothing; the
// DrawTextA call paints the runs it produces with the font, clipped to the rectangle unless
// kDtNoClip. Rules (floor choices where Windows leaves them open):
// - Lines end at CR LF, LF or CR (not with kDtSingleLine, where those are ordinary characters).
//   A final line break does not start an empty last line: "a\n" is one line, "a\n\n" two.
//   Empty text has no line, and its height is 0.
// - kDtWordBreak (without kDtSingleLine) breaks lines between words so that each fits the
//   rectangle's width; blanks (space, tab) separate words. A word wider than the line is not
//   split: it stands alone on its line and overhangs. The blanks at a break are dropped, and with
//   kDtWordBreak a line's trailing blanks are neither drawn nor counted in its width.
// - Prefix (without kDtNoPrefix): "&x" draws x underlined, "&&" draws one "&", a '&' at the end of
//   the text or before a line break is dropped.
// - kDtExpandTabs: a tab moves to the next multiple of 8 average character widths from the
//   line's start; otherwise a tab is an ordinary character.
// - kDtLeft, kDtCenter ((width - line) / 2, rounded down) and kDtRight place each line.
//   kDtVCenter and kDtBottom place the line vertically, with kDtSingleLine only.
// - Height (DrawTextA's result): lines x line height; with kDtSingleLine and kDtVCenter or
//   kDtBottom, the offset from the rectangle's top to the bottom of the line.
// - kDtCalcRect bounds: left and top kept; bottom = top + lines x line height; right = left + the
//   widest line, narrower than the rectangle when the text is, wider when a word overhangs.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace pw::platform::gdi {

// DrawTextA format flags.
constexpr unsigned kDtLeft = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtVCenter = 0x4;
constexpr unsigned kDtBottom = 0x8;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtSingleLine = 0x20;
constexpr unsigned kDtExpandTabs = 0x40;
constexpr unsigned kDtNoClip = 0x100;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

// What the layout needs of a font.
class TextMeasure {
public:
    virtual ~TextMeasure() = default;
    // Advance width in pixels of an 8-bit (Windows-1252) character.
    virtual int CharWidth(unsigned char c) const = 0;
    // Height of one line: the font's cell height.
    virtual int LineHeight() const = 0;
    // The average character width (tab stops).
    virtual int AveCharWidth() const = 0;
};

// Characters drawn together starting at x; a line holds several only when tabs are expanded.
struct TextRun {
    std::string text;            // prefix marks removed
    int x = 0;                   // device x of the first character's cell
    std::vector<int> underlined; // indexes in `text` of the characters a '&' marked
};

struct TextLine {
    int x = 0;     // the line's cell is [x, x + width) x [y, y + line height)
    int y = 0;
    int width = 0;
    std::vector<TextRun> runs;
};

class TextLayout {
public:
    // Lays out `length` characters of `text` (-1: up to the NUL) in `rect` under `format`.
    TextLayout(const TextMeasure& measure, const char* text, int length, const RECT& rect, unsigned format);

    const std::vector<TextLine>& Lines() const { return lines; }
    int LineHeight() const { return lineHeight; }
    // DrawTextA's return value.
    int Height() const { return height; }
    // The rectangle DT_CALCRECT writes back.
    const RECT& Bounds() const { return bounds; }

private:
    // One character after prefix processing.
    struct Char {
        unsigned char c;
        bool underlined;
    };

    void Split(const char* text, size_t length);
    void Wrap(size_t begin, size_t end);
    // The pen x after drawing chars [begin, end) from pen x `x` of a line starting at 0.
    int Advance(int x, size_t begin, size_t end) const;
    void Place();

    const TextMeasure& measure;
    RECT rect;
    unsigned format;
    int lineHeight = 0;
    int height = 0;
    RECT bounds {};
    std::vector<Char> chars;
    std::vector<std::pair<size_t, size_t>> pieces; // each line's chars, [begin, end)
    std::vector<TextLine> lines;
};

} // namespace pw::platform::gdi
