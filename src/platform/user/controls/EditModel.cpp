#include "platform/user/controls/EditModel.h"

#include <algorithm>

namespace pw::platform::user {

namespace {

bool IsBreak(char c)
{
    return c == '\r' || c == '\n';
}

bool IsWordChar(char c)
{
    return c != ' ' && c != '\t' && !IsBreak(c);
}

} // namespace

EditModel::EditModel() = default;

void EditModel::SetText(std::string_view newText)
{
    text.assign(newText);
    anchor = caret = 0;
    Relayout();
}

void EditModel::SetFormat(const CharWidths& newWidths, int newWidth, EditLayout::Breaks newBreaks)
{
    widths = newWidths;
    width = newWidth;
    breaks = newBreaks;
    Relayout();
}

size_t EditModel::SelectionStart() const
{
    return std::min(anchor, caret);
}

size_t EditModel::SelectionEnd() const
{
    return std::max(anchor, caret);
}

std::string_view EditModel::SelectedText() const
{
    return std::string_view(text).substr(SelectionStart(), SelectionEnd() - SelectionStart());
}

void EditModel::Select(size_t newAnchor, size_t newCaret)
{
    anchor = Clamp(newAnchor);
    caret = Clamp(newCaret);
}

void EditModel::SelectWordAt(size_t index)
{
    index = Clamp(index);
    if (index == text.size() && index > 0)
        --index;
    if (index >= text.size() || IsBreak(text[index])) {
        Select(index, index);
        return;
    }
    bool word = IsWordChar(text[index]);
    auto same = [&](size_t i) { return !IsBreak(text[i]) && IsWordChar(text[i]) == word; };
    size_t start = index;
    while (start > 0 && same(start - 1))
        --start;
    size_t end = index;
    while (end < text.size() && same(end))
        ++end;
    Select(start, end);
}

void EditModel::MoveCaret(Move move, bool extend)
{
    size_t line = CaretLine();
    switch (move) {
    case Move::Left:
        caret = !extend && HasSelection() ? SelectionStart() : Previous(caret);
        break;
    case Move::Right:
        caret = !extend && HasSelection() ? SelectionEnd() : Next(caret);
        break;
    case Move::Up:
        if (line > 0)
            caret = IndexAt(line - 1, XOf(caret));
        break;
    case Move::Down:
        if (line + 1 < layout.LineCount())
            caret = IndexAt(line + 1, XOf(caret));
        break;
    case Move::LineStart:
        caret = layout.Line(line).start;
        break;
    case Move::LineEnd:
        caret = layout.Line(line).start + layout.Line(line).length;
        break;
    case Move::TextStart:
        caret = 0;
        break;
    case Move::TextEnd:
        caret = text.size();
        break;
    }
    if (!extend)
        anchor = caret;
}

bool EditModel::ReplaceSelection(std::string_view insert)
{
    if (breaks == EditLayout::Breaks::SingleLine)
        insert = insert.substr(0, std::min(insert.find('\r'), insert.find('\n')));
    if (insert.empty() && !HasSelection())
        return false;
    size_t start = SelectionStart();
    text.replace(start, SelectionEnd() - start, insert);
    anchor = caret = Clamp(start + insert.size());
    Relayout();
    return true;
}

bool EditModel::DeleteBackward()
{
    if (HasSelection())
        return ReplaceSelection({});
    if (caret == 0)
        return false;
    anchor = Previous(caret);
    return ReplaceSelection({});
}

bool EditModel::DeleteForward()
{
    if (HasSelection())
        return ReplaceSelection({});
    if (caret >= text.size())
        return false;
    anchor = Next(caret);
    return ReplaceSelection({});
}

int EditModel::XOf(size_t index) const
{
    const EditLine& line = layout.Line(layout.LineOf(index));
    size_t end = std::min(index, line.start + line.length);
    int x = 0;
    for (size_t i = line.start; i < end; ++i)
        x += widths[static_cast<unsigned char>(text[i])];
    return x;
}

size_t EditModel::IndexAt(size_t lineIndex, int x) const
{
    const EditLine& line = layout.Line(std::min(lineIndex, layout.LineCount() - 1));
    int left = 0;
    for (size_t i = line.start; i < line.start + line.length; ++i) {
        int w = widths[static_cast<unsigned char>(text[i])];
        if (x < left + (w + 1) / 2)
            return i;
        left += w;
    }
    return line.start + line.length;
}

// Clamps to the text and steps back off the middle of a CR LF.
size_t EditModel::Clamp(size_t index) const
{
    index = std::min(index, text.size());
    if (index > 0 && index < text.size() && text[index] == '\n' && text[index - 1] == '\r')
        --index;
    return index;
}

size_t EditModel::Previous(size_t index) const
{
    if (index == 0)
        return 0;
    if (index >= 2 && text[index - 1] == '\n' && text[index - 2] == '\r')
        return index - 2;
    return index - 1;
}

size_t EditModel::Next(size_t index) const
{
    if (index >= text.size())
        return text.size();
    if (text[index] == '\r' && index + 1 < text.size() && text[index + 1] == '\n')
        return index + 2;
    return index + 1;
}

void EditModel::Relayout()
{
    layout = EditLayout(text, widths, width, breaks);
    anchor = Clamp(anchor);
    caret = Clamp(caret);
}

} // namespace pw::platform::user
