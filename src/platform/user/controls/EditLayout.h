#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace pw::platform::user {

// The advance width of every character of a font, in pixels; a run of text is as wide as the
// sum of its characters' widths (the font draws without kerning).
using CharWidths = std::array<int, 256>;

// One line of laid-out edit text: [start, start + length) is its text without the line break;
// the next line starts at `next` (after the CR LF or LF, or where the line wrapped).
struct EditLine {
    size_t start { 0 };
    size_t length { 0 };
    size_t next { 0 };
};

// How an edit control breaks its text into lines. The rules are fixed so that text measured
// through a hidden control wraps the same way every time: no margins; CR LF or a lone LF always
// breaks; with word wrap a line breaks after the last blank that still fits, a word longer than
// the width breaks at the width, and blanks that do not fit stay at the end of their line. A
// single-line control keeps everything on one line. There is always at least one line.
class EditLayout {
public:
    enum class Breaks { SingleLine, LineBreaks, WordWrap };

    EditLayout();
    EditLayout(std::string_view text, const CharWidths& widths, int width, Breaks breaks);

    const std::vector<EditLine>& Lines() const { return lines; }
    size_t LineCount() const { return lines.size(); }
    const EditLine& Line(size_t line) const { return lines[line]; }

    // The line holding character `index`: a wrap point belongs to the line it starts; an index
    // past the text belongs to the last line.
    size_t LineOf(size_t index) const;

private:
    void LayParagraph(std::string_view text, size_t start, size_t end, size_t next, const CharWidths& widths,
        int width);

    std::vector<EditLine> lines;
};

} // namespace pw::platform::user
