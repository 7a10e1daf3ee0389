#include "platform/user/controls/EditLayout.h"

#include <algorithm>

namespace pw::platform::user {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

int WidthOf(const CharWidths& widths, char c)
{
    return widths[static_cast<unsigned char>(c)];
}

} // namespace

EditLayout::EditLayout()
{
    lines.push_back(EditLine {});
}

EditLayout::EditLayout(std::string_view text, const CharWidths& widths, int width, Breaks breaks)
{
    if (breaks == Breaks::SingleLine) {
        lines.push_back(EditLine { 0, text.size(), text.size() });
        return;
    }
    size_t start = 0;
    while (true) {
        size_t lineFeed = text.find('\n', start);
        if (lineFeed == std::string_view::npos) {
            LayParagraph(text, start, text.size(), text.size(), widths, breaks == Breaks::WordWrap ? width : -1);
            return;
        }
        size_t end = lineFeed > start && text[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
        LayParagraph(text, start, end, lineFeed + 1, widths, breaks == Breaks::WordWrap ? width : -1);
        start = lineFeed + 1;
    }
}

// Lays [start, end) out as one or more lines, the last of which continues at `next`. A negative
// width lays the paragraph out as one line.
void EditLayout::LayParagraph(std::string_view text, size_t start, size_t end, size_t next, const CharWidths& widths,
    int width)
{
    size_t at = start;
    while (width >= 0) {
        // The longest run from `at` that fits.
        int used = 0;
        size_t fits = at;
        while (fits < end && used + WidthOf(widths, text[fits]) <= width)
            used += WidthOf(widths, text[fits++]);
        if (fits == end)
            break;
        size_t breakAt;
        if (IsBlank(text[fits])) {
            // Blanks that do not fit stay at the end of the line.
            breakAt = fits;
            while (breakAt < end && IsBlank(text[breakAt]))
                ++breakAt;
        } else {
            size_t blank = fits;
            while (blank > at && !IsBlank(text[blank - 1]))
                --blank;
            // No blank in the run: the word breaks at the width, keeping at least one character.
            breakAt = blank > at ? blank : std::max(fits, at + 1);
        }
        if (breakAt == end)
            break;
        lines.push_back(EditLine { at, breakAt - at, breakAt });
        at = breakAt;
    }
    lines.push_back(EditLine { at, end - at, next });
}

size_t EditLayout::LineOf(size_t index) const
{
    auto after = std::upper_bound(lines.begin(), lines.end(), index,
        [](size_t value, const EditLine& line) { return value < line.start; });
    return after == lines.begin() ? 0 : static_cast<size_t>(after - lines.begin()) - 1;
}

} // namespace pw::platform::user
