#include "platform/user/controls/EditView.h"

#include "platform/user/controls/ControlPaint.h"

#include <algorithm>
#include <string>

namespace pw::platform::user {

namespace {

// The advance widths and cell height of a font (NULL: a fresh DC's default font).
void MeasureFont(HFONT font, CharWidths& widths, int& height)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    for (int c = 0; c < 256; ++c) {
        char ch = static_cast<char>(c);
        SIZE size {};
        widths[static_cast<size_t>(c)] = GetTextExtentPoint32A(dc, &ch, 1, &size) ? size.cx : 0;
    }
    TEXTMETRICA metrics {};
    height = GetTextMetricsA(dc, &metrics) && metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    if (previous)
        SelectObject(dc, previous);
    DeleteDC(dc);
}

int FloorDiv(int value, int by)
{
    return value >= 0 ? value / by : -((-value + by - 1) / by);
}

} // namespace

void EditView::Format(const RECT& newClient)
{
    client = newClient;
    CharWidths widths {};
    MeasureFont(font, widths, lineHeight);
    // A masked text is laid out as the mask characters it shows.
    if (passwordChar)
        widths.fill(widths[static_cast<unsigned char>(passwordChar)]);
    EditLayout::Breaks breaks = EditLayout::Breaks::SingleLine;
    if (IsMultiLine())
        breaks = (style & ES_AUTOHSCROLL) ? EditLayout::Breaks::LineBreaks : EditLayout::Breaks::WordWrap;
    model.SetFormat(widths, client.right - client.left, breaks);
    RevealCaret();
}

int EditView::VisibleLines() const
{
    return std::max(1, static_cast<int>(client.bottom - client.top) / lineHeight);
}

int EditView::LineWidth(size_t line) const
{
    const EditLine& at = model.Layout().Line(line);
    int width = 0;
    for (size_t i = at.start; i < at.start + at.length; ++i)
        width += model.Widths()[static_cast<unsigned char>(model.Text()[i])];
    return width;
}

void EditView::RevealCaret()
{
    if (IsMultiLine()) {
        int line = static_cast<int>(model.CaretLine());
        int visible = VisibleLines();
        if (line < firstLine)
            firstLine = line;
        else if (line >= firstLine + visible)
            firstLine = line - visible + 1;
        int count = static_cast<int>(model.Layout().LineCount());
        firstLine = std::clamp(firstLine, 0, std::max(0, count - visible));
    }
    if (model.Breaks() == EditLayout::Breaks::WordWrap) {
        xOffset = 0;
        return;
    }
    int width = std::max(1, static_cast<int>(client.right - client.left));
    int x = model.XOf(model.Caret());
    // Scroll across by a third of the width at a time, as a caret leaving the view does.
    if (x < xOffset)
        xOffset = std::max(0, x - width / 3);
    else if (x >= xOffset + width)
        xOffset = x - width + 1 + width / 3;
}

size_t EditView::IndexAt(POINT point) const
{
    int count = static_cast<int>(model.Layout().LineCount());
    int line = std::clamp(firstLine + FloorDiv(point.y - client.top, lineHeight), 0, count - 1);
    return model.IndexAt(static_cast<size_t>(line), point.x - client.left + xOffset);
}

void EditView::Paint(HDC hdc) const
{
    bool grey = (style & ES_READONLY) || !enabled;
    FillColor(hdc, client, SysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
    FontScope scope(hdc, font);
    size_t count = model.Layout().LineCount();
    size_t last = std::min(count, static_cast<size_t>(firstLine + VisibleLines() + 1));
    for (size_t line = static_cast<size_t>(firstLine); line < last; ++line)
        PaintLine(hdc, line, client.top + (static_cast<int>(line) - firstLine) * lineHeight);
    if (focused) {
        int line = static_cast<int>(model.CaretLine());
        // A caret after a line that fills the width shows at the right edge, not past it.
        int x = std::min(client.left + model.XOf(model.Caret()) - xOffset, static_cast<int>(client.right) - 1);
        int y = client.top + (line - firstLine) * lineHeight;
        FillColor(hdc, RECT { x, y, x + 1, y + lineHeight }, SysColor(COLOR_WINDOWTEXT));
    }
}

// Draws a line in up to three runs: before the selection, the selection, after it. The
// selection shows only while the control has the focus.
void EditView::PaintLine(HDC hdc, size_t line, int y) const
{
    const EditLine& at = model.Layout().Line(line);
    size_t end = at.start + at.length;
    size_t selectFrom = focused ? std::clamp(model.SelectionStart(), at.start, end) : end;
    size_t selectTo = focused ? std::clamp(model.SelectionEnd(), at.start, end) : end;
    const std::string& text = model.Text();
    COLORREF ink = SysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    int x = client.left - xOffset;
    auto run = [&](size_t from, size_t to, bool selected) {
        if (from >= to)
            return;
        SetBkMode(hdc, selected ? OPAQUE : TRANSPARENT);
        SetBkColor(hdc, SysColor(COLOR_HIGHLIGHT));
        SetTextColor(hdc, selected ? SysColor(COLOR_HIGHLIGHTTEXT) : ink);
        if (passwordChar)
            TextOutA(hdc, x, y, std::string(to - from, passwordChar).c_str(), static_cast<int>(to - from));
        else
            TextOutA(hdc, x, y, text.data() + from, static_cast<int>(to - from));
        for (size_t i = from; i < to; ++i)
            x += model.Widths()[static_cast<unsigned char>(text[i])];
    };
    int oldMode = GetBkMode(hdc);
    COLORREF oldBack = GetBkColor(hdc);
    COLORREF oldText = GetTextColor(hdc);
    run(at.start, selectFrom, false);
    run(selectFrom, selectTo, true);
    run(selectTo, end, false);
    SetBkMode(hdc, oldMode);
    SetBkColor(hdc, oldBack);
    SetTextColor(hdc, oldText);
}

} // namespace pw::platform::user
