#include "platform/gdi/TextLayout.h"

#include <algorithm>
#include <cstring>

namespace pw::platform::gdi {

namespace {

constexpr int kTabColumns = 8;

bool IsBlank(unsigned char c)
{
    return c == ' ' || c == '\t';
}

bool IsBreak(unsigned char c)
{
    return c == '\r' || c == '\n';
}

int FloorHalf(int v)
{
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

} // namespace

TextLayout::TextLayout(const TextMeasure& textMeasure, const char* text, int length, const RECT& layoutRect,
                       unsigned layoutFormat)
    : measure(textMeasure)
    , rect(layoutRect)
    , format(layoutFormat)
    , lineHeight(textMeasure.LineHeight())
{
    size_t count = !text ? 0 : length < 0 ? std::strlen(text) : static_cast<size_t>(length);
    Split(text, count);
    Place();
}

// Prefix processing, then the cut into lines: at line breaks, and by words with kDtWordBreak.
void TextLayout::Split(const char* text, size_t length)
{
    bool singleLine = format & kDtSingleLine;
    bool prefix = !(format & kDtNoPrefix);
    chars.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (prefix && c == '&') {
            if (i + 1 == length)
                break; // nothing to mark: dropped
            unsigned char next = static_cast<unsigned char>(text[i + 1]);
            if (!singleLine && IsBreak(next))
                continue; // nothing to mark on this line: dropped
            chars.push_back({ next, next != '&' }); // "&&" is a plain '&'
            ++i;
            continue;
        }
        chars.push_back({ c, false });
    }

    if (singleLine) {
        if (!chars.empty())
            pieces.push_back({ 0, chars.size() });
        return;
    }
    size_t begin = 0;
    while (begin < chars.size()) {
        size_t end = begin;
        while (end < chars.size() && !IsBreak(chars[end].c))
            ++end;
        if (format & kDtWordBreak)
            Wrap(begin, end);
        else
            pieces.push_back({ begin, end });
        // CR LF is one break; a lone CR or LF is one too.
        size_t next = end;
        if (next < chars.size())
            next += (chars[next].c == '\r' && next + 1 < chars.size() && chars[next + 1].c == '\n') ? 2 : 1;
        begin = next;
    }
}

// Greedy word wrap of one paragraph: a line takes words while it fits the rectangle's width,
// and always takes its first word, however wide.
void TextLayout::Wrap(size_t begin, size_t end)
{
    int width = rect.right - rect.left;
    auto skipBlanks = [&](size_t i) {
        while (i < end && IsBlank(chars[i].c))
            ++i;
        return i;
    };
    auto skipWord = [&](size_t i) {
        while (i < end && !IsBlank(chars[i].c))
            ++i;
        return i;
    };
    size_t start = begin;
    for (;;) {
        size_t wordStart = skipBlanks(start);
        if (wordStart == end) {
            pieces.push_back({ start, start }); // nothing but blanks
            return;
        }
        // Leading blanks of the paragraph stay with the first word; after a break there are none.
        size_t lineEnd = skipWord(wordStart);
        int x = Advance(0, start, lineEnd);
        for (;;) {
            size_t next = skipBlanks(lineEnd);
            if (next == end)
                break;
            size_t wordEnd = skipWord(next);
            int wider = Advance(x, lineEnd, wordEnd);
            if (wider > width)
                break;
            lineEnd = wordEnd;
            x = wider;
        }
        pieces.push_back({ start, lineEnd });
        start = skipBlanks(lineEnd);
        if (start == end)
            return;
    }
}

int TextLayout::Advance(int x, size_t begin, size_t end) const
{
    bool expandTabs = format & kDtExpandTabs;
    int tabStop = kTabColumns * std::max(1, measure.AveCharWidth());
    for (size_t i = begin; i < end; ++i) {
        if (expandTabs && chars[i].c == '\t')
            x = (x / tabStop + 1) * tabStop;
        else
            x += measure.CharWidth(chars[i].c);
    }
    return x;
}

// Turns the pieces into placed lines and runs, and works out the height and bounds.
void TextLayout::Place()
{
    int rectWidth = rect.right - rect.left;
    bool expandTabs = format & kDtExpandTabs;
    int widest = 0;
    for (size_t n = 0; n < pieces.size(); ++n) {
        auto [begin, end] = pieces[n];
        TextLine line;
        line.width = Advance(0, begin, end);
        widest = std::max(widest, line.width);
        if (format & kDtCenter)
            line.x = rect.left + FloorHalf(rectWidth - line.width);
        else if (format & kDtRight)
            line.x = rect.right - line.width;
        else
            line.x = rect.left;
        line.y = rect.top + static_cast<int>(n) * lineHeight;

        TextRun run;
        run.x = line.x;
        int x = 0;
        auto close = [&] {
            if (!run.text.empty())
                line.runs.push_back(std::move(run));
            run = TextRun {};
            run.x = line.x + x;
        };
        for (size_t i = begin; i < end; ++i) {
            if (expandTabs && chars[i].c == '\t') {
                x = Advance(x, i, i + 1);
                close();
                continue;
            }
            if (chars[i].underlined)
                run.underlined.push_back(static_cast<int>(run.text.size()));
            run.text += static_cast<char>(chars[i].c);
            x += measure.CharWidth(chars[i].c);
        }
        close();
        lines.push_back(std::move(line));
    }

    int textHeight = static_cast<int>(lines.size()) * lineHeight;
    height = textHeight;
    if ((format & kDtSingleLine) && !lines.empty() && (format & (kDtVCenter | kDtBottom))) {
        int y = (format & kDtVCenter) ? rect.top + FloorHalf(rect.bottom - rect.top - lineHeight)
                                      : rect.bottom - lineHeight;
        lines.front().y = y;
        height = y - rect.top + lineHeight;
    }
    bounds = RECT { rect.left, rect.top, rect.left + widest, rect.top + textHeight };
}

} // namespace pw::platform::gdi
