#pragma once

#include "platform/user/controls/EditLayout.h"

#include <string>
#include <string_view>

namespace pw::platform::user {

// What an edit control holds, apart from its window: the text, its layout in the control's font
// and width, and the selection as an anchor and a caret (character indexes; the selection runs
// between them, the caret is where typing goes). Indexes never fall between a CR and its LF.
// Edits keep the layout current. The control owns one per window; tests drive it directly.
class EditModel {
public:
    enum class Move { Left, Right, Up, Down, LineStart, LineEnd, TextStart, TextEnd };

    EditModel();

    const std::string& Text() const { return text; }
    // Replaces the text; the caret goes to the start with nothing selected.
    void SetText(std::string_view newText);

    // Lays the text out again for a font's widths, a width in pixels and a kind of line breaking.
    void SetFormat(const CharWidths& newWidths, int newWidth, EditLayout::Breaks newBreaks);
    const EditLayout& Layout() const { return layout; }
    const CharWidths& Widths() const { return widths; }
    EditLayout::Breaks Breaks() const { return breaks; }

    size_t Anchor() const { return anchor; }
    size_t Caret() const { return caret; }
    size_t SelectionStart() const;
    size_t SelectionEnd() const;
    bool HasSelection() const { return anchor != caret; }
    std::string_view SelectedText() const;

    // Sets the selection; indexes past the text clamp to its end.
    void Select(size_t newAnchor, size_t newCaret);
    // Selects the word (a run of characters other than blanks and line breaks) around `index`.
    void SelectWordAt(size_t index);
    // Moves the caret; `extend` keeps the anchor (a selection with Shift), else both move.
    void MoveCaret(Move move, bool extend);

    // Puts `insert` in place of the selection (a single-line control keeps only its first line)
    // and leaves the caret after it. False when nothing changed.
    bool ReplaceSelection(std::string_view insert);
    // Backspace and Delete: remove the selection, or one character (CR LF counts as one).
    bool DeleteBackward();
    bool DeleteForward();

    // The x offset of character `index` from the start of its line, in pixels.
    int XOf(size_t index) const;
    // The index on `line` nearest to x (pixels from the line's start).
    size_t IndexAt(size_t line, int x) const;
    // The line the caret is shown on.
    size_t CaretLine() const { return layout.LineOf(caret); }

private:
    size_t Clamp(size_t index) const;
    size_t Previous(size_t index) const;
    size_t Next(size_t index) const;
    void Relayout();

    std::string text;
    CharWidths widths {};
    int width { 0 };
    EditLayout::Breaks breaks { EditLayout::Breaks::SingleLine };
    EditLayout layout;
    size_t anchor { 0 };
    size_t caret { 0 };
};

} // namespace pw::platform::user
