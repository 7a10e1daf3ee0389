#include "platform/user/controls/EditControl.h"

#include "platform/user/controls/ControlStore.h"
#include "platform/user/controls/ControlSupport.h"
#include "platform/user/controls/EditClipboard.h"
#include "platform/user/controls/EditView.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

namespace pw::platform::user {

namespace {

using Move = EditModel::Move;

// The kinds of user edit that join one undo step while the caret stays where the last one left it.
enum class EditRun { None, Typing, Deleting };

// The text and selection an undo puts back.
struct UndoStep {
    std::string text;
    size_t anchor { 0 };
    size_t caret { 0 };
};

struct EditState {
    EditView view;
    bool tracking { false };
    // One level of undo: the text before the last change. Undoing swaps it with the text shown,
    // so a second undo redoes.
    std::optional<UndoStep> undo;
    EditRun run { EditRun::None };
    size_t runCaret { 0 };
};

ControlStore<EditState> store;

bool IsReadOnly(const EditView& view)
{
    return (view.style & ES_READONLY) != 0;
}

void Reformat(HWND hwnd, EditView& view)
{
    view.style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    view.enabled = IsEnabled(hwnd);
    view.Format(ClientRect(hwnd));
}

void Redraw(HWND hwnd, EditView& view)
{
    view.RevealCaret();
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Whether the text still fits a control that may not scroll: across for a single line without
// ES_AUTOHSCROLL, down for several lines without ES_AUTOVSCROLL.
bool Fits(HWND hwnd, const EditView& view)
{
    if (!view.IsMultiLine())
        return (view.style & ES_AUTOHSCROLL) || view.LineWidth(0) <= ClientRect(hwnd).right;
    return (view.style & ES_AUTOVSCROLL) || static_cast<int>(view.model.Layout().LineCount()) <= view.VisibleLines();
}

UndoStep StepOf(const EditModel& model)
{
    return UndoStep { model.Text(), model.Anchor(), model.Caret() };
}

// Keeps the text before a change for undo. A typed character or a deletion that goes on from
// where the last one of its kind left the caret joins that step, so undo takes back the whole run.
void RecordUndo(EditState& state, const EditModel& before, EditRun run)
{
    bool joins = run != EditRun::None && run == state.run && !before.HasSelection() && before.Caret() == state.runCaret
        && state.undo;
    if (!joins)
        state.undo = StepOf(before);
    state.run = run;
    state.runCaret = state.view.model.Caret();
}

// Applies an edit: one the user makes is refused by a read-only control and undone when it does
// not fit. A change is shown, kept for undo when `undoable`, and announced to the parent with
// EN_CHANGE; an edit that changes nothing leaves the undo step alone.
template <typename Edit>
void ApplyEdit(HWND hwnd, EditState& state, Edit edit, EditRun run = EditRun::None, bool byUser = true,
    bool undoable = true)
{
    EditView& view = state.view;
    if (byUser && IsReadOnly(view))
        return;
    EditModel before = view.model;
    if (!edit(view.model))
        return;
    if (byUser && !Fits(hwnd, view)) {
        view.model = before;
        return;
    }
    if (undoable)
        RecordUndo(state, before, run);
    Redraw(hwnd, view);
    NotifyParent(hwnd, EN_CHANGE);
}

void Insert(HWND hwnd, EditState& state, std::string_view text, EditRun run = EditRun::None)
{
    ApplyEdit(hwnd, state, [&](EditModel& model) { return model.ReplaceSelection(text); }, run);
}

// Swaps the text with the undo step's, selecting what it selected. False when there is none.
bool Undo(HWND hwnd, EditState& state)
{
    EditView& view = state.view;
    if (!state.undo || IsReadOnly(view))
        return false;
    UndoStep shown = StepOf(view.model);
    view.model.SetText(state.undo->text);
    view.model.Select(state.undo->anchor, state.undo->caret);
    state.undo = std::move(shown);
    state.run = EditRun::None;
    Redraw(hwnd, view);
    NotifyParent(hwnd, EN_CHANGE);
    return true;
}

// A masked text never leaves the control.
void Copy(HWND hwnd, const EditView& view)
{
    if (view.model.HasSelection() && !view.passwordChar)
        CopyToClipboard(hwnd, view.model.SelectedText());
}

void Cut(HWND hwnd, EditState& state)
{
    EditView& view = state.view;
    if (!view.model.HasSelection() || IsReadOnly(view) || view.passwordChar
        || !CopyToClipboard(hwnd, view.model.SelectedText()))
        return;
    Insert(hwnd, state, {});
}

void Paste(HWND hwnd, EditState& state)
{
    if (std::optional<std::string> text = TextFromClipboard(hwnd))
        Insert(hwnd, state, *text);
}

void MoveCaret(HWND hwnd, EditState& state, Move move, bool extend, int times = 1)
{
    for (int i = 0; i < times; ++i)
        state.view.model.MoveCaret(move, extend);
    state.run = EditRun::None;
    Redraw(hwnd, state.view);
}

LRESULT KeyDown(HWND hwnd, EditState& state, WPARAM key)
{
    bool shift = ShiftDown();
    bool control = ControlDown();
    int page = state.view.VisibleLines();
    switch (key) {
    case VK_LEFT: MoveCaret(hwnd, state, Move::Left, shift); break;
    case VK_RIGHT: MoveCaret(hwnd, state, Move::Right, shift); break;
    case VK_UP: MoveCaret(hwnd, state, Move::Up, shift); break;
    case VK_DOWN: MoveCaret(hwnd, state, Move::Down, shift); break;
    case VK_HOME: MoveCaret(hwnd, state, control ? Move::TextStart : Move::LineStart, shift); break;
    case VK_END: MoveCaret(hwnd, state, control ? Move::TextEnd : Move::LineEnd, shift); break;
    case VK_PRIOR: MoveCaret(hwnd, state, Move::Up, shift, page); break;
    case VK_NEXT: MoveCaret(hwnd, state, Move::Down, shift, page); break;
    case VK_DELETE:
        if (shift)
            Cut(hwnd, state);
        else
            ApplyEdit(hwnd, state, [](EditModel& model) { return model.DeleteForward(); }, EditRun::Deleting);
        break;
    default:
        break;
    }
    return 0;
}

// Characters from TranslateMessage: control codes edit, printable ones are typed.
LRESULT Char(HWND hwnd, EditState& state, WPARAM code)
{
    EditView& view = state.view;
    auto c = static_cast<unsigned char>(code);
    switch (c) {
    case 1: // Ctrl+A
        view.model.Select(0, view.model.Text().size());
        state.run = EditRun::None;
        Redraw(hwnd, view);
        return 0;
    case 3: Copy(hwnd, view); return 0;
    case 22: Paste(hwnd, state); return 0;
    case 24: Cut(hwnd, state); return 0;
    case 26: Undo(hwnd, state); return 0;
    case '\b':
        ApplyEdit(hwnd, state, [](EditModel& model) { return model.DeleteBackward(); }, EditRun::Deleting);
        return 0;
    case '\r':
        // Without ES_WANTRETURN, Return belongs to the dialog around the control.
        if (view.IsMultiLine() && (view.style & ES_WANTRETURN))
            Insert(hwnd, state, "\r\n", EditRun::Typing);
        return 0;
    default:
        if (c >= 0x20 && c != 0x7F) {
            char typed = static_cast<char>(c);
            Insert(hwnd, state, std::string_view(&typed, 1), EditRun::Typing);
        }
        return 0;
    }
}

LRESULT Mouse(HWND hwnd, EditState& state, UINT message, LPARAM lParam)
{
    EditView& view = state.view;
    POINT point = MousePoint(lParam);
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        if (!FocusOnPress(hwnd))
            return 0;
        size_t index = view.IndexAt(point);
        state.run = EditRun::None;
        if (message == WM_LBUTTONDBLCLK) {
            view.model.SelectWordAt(index);
        } else {
            view.model.Select(ShiftDown() ? view.model.Anchor() : index, index);
            state.tracking = true;
            SetCapture(hwnd);
        }
        Redraw(hwnd, view);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (state.tracking) {
            view.model.Select(view.model.Anchor(), view.IndexAt(point));
            Redraw(hwnd, view);
        }
        return 0;
    case WM_LBUTTONUP:
        EndDrag(state.tracking);
        return 0;
    default:
        return 0;
    }
}

LRESULT TextMessage(EditView& view, UINT message, WPARAM wParam, LPARAM lParam)
{
    const std::string& text = view.model.Text();
    if (message == WM_GETTEXTLENGTH)
        return static_cast<LRESULT>(text.size());
    auto* buffer = reinterpret_cast<char*>(lParam);
    if (!buffer || wParam == 0)
        return 0;
    size_t count = std::min<size_t>(text.size(), wParam - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<LRESULT>(count);
}

LRESULT SelectionMessage(HWND hwnd, EditView& view, UINT message, WPARAM wParam, LPARAM lParam)
{
    EditModel& model = view.model;
    size_t start = model.SelectionStart();
    size_t end = model.SelectionEnd();
    if (message == EM_GETSEL) {
        if (wParam)
            *reinterpret_cast<LPDWORD>(wParam) = static_cast<DWORD>(start);
        if (lParam)
            *reinterpret_cast<LPDWORD>(lParam) = static_cast<DWORD>(end);
        return start > 0xFFFF || end > 0xFFFF ? -1 : MAKELRESULT(start, end);
    }
    // EM_SETSEL: a start of -1 only removes the selection; a negative end means the text's end.
    auto from = static_cast<int>(wParam);
    auto to = static_cast<int>(lParam);
    if (from == -1) {
        model.Select(model.Caret(), model.Caret());
    } else {
        size_t last = model.Text().size();
        model.Select(from < 0 ? last : static_cast<size_t>(from), to < 0 ? last : static_cast<size_t>(to));
    }
    Redraw(hwnd, view);
    return 0;
}

LRESULT LineMessage(const EditView& view, UINT message, WPARAM wParam)
{
    const EditModel& model = view.model;
    const EditLayout& layout = model.Layout();
    auto value = static_cast<int>(wParam);
    switch (message) {
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(layout.LineCount());
    case EM_LINEINDEX: {
        size_t line = value == -1 ? model.CaretLine() : static_cast<size_t>(value);
        return value < -1 || line >= layout.LineCount() ? -1 : static_cast<LRESULT>(layout.Line(line).start);
    }
    case EM_LINEFROMCHAR:
        return static_cast<LRESULT>(layout.LineOf(value == -1 ? model.SelectionStart() : static_cast<size_t>(value)));
    case EM_LINELENGTH: {
        if (value != -1)
            return static_cast<LRESULT>(layout.Line(layout.LineOf(value < 0 ? 0 : static_cast<size_t>(value))).length);
        // -1: the characters on the selection's lines that are not selected.
        const EditLine& first = layout.Line(layout.LineOf(model.SelectionStart()));
        const EditLine& last = layout.Line(layout.LineOf(model.SelectionEnd()));
        return static_cast<LRESULT>(model.SelectionStart() - first.start + last.start + last.length - model.SelectionEnd());
    }
    case EM_GETFIRSTVISIBLELINE:
        if (view.IsMultiLine())
            return view.FirstLine();
        return static_cast<LRESULT>(model.IndexAt(0, view.XOffset()));
    default:
        return 0;
    }
}

LRESULT Handle(HWND hwnd, EditState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    EditView& view = state.view;
    switch (message) {
    case WM_CREATE: {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        view.model.SetText(create && create->lpszName ? create->lpszName : "");
        Reformat(hwnd, view);
        return 0;
    }
    case WM_SIZE:
    case WM_ENABLE:
        Reformat(hwnd, view);
        InvalidateRect(hwnd, nullptr, FALSE);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_SETFONT:
        view.font = FontOf(wParam);
        Reformat(hwnd, view);
        RedrawIf(hwnd, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(view.font);
    case WM_SETTEXT:
        view.model.SetText(lParam ? reinterpret_cast<const char*>(lParam) : "");
        state.undo.reset();
        state.run = EditRun::None;
        Redraw(hwnd, view);
        return TRUE;
    case WM_GETTEXT:
    case WM_GETTEXTLENGTH:
        return TextMessage(view, message, wParam, lParam);
    case WM_PAINT:
        return PaintMessage(hwnd, [&](HDC hdc) { view.Paint(hdc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        view.focused = message == WM_SETFOCUS;
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lParam) != HTCLIENT)
            return DefWindowProcA(hwnd, message, wParam, lParam);
        SetCursor(LoadCursorA(nullptr, IDC_IBEAM));
        return TRUE;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return Mouse(hwnd, state, message, lParam);
    case WM_CAPTURECHANGED:
        state.tracking = false;
        return 0;
    case WM_KEYDOWN:
        return KeyDown(hwnd, state, wParam);
    case WM_CHAR:
        return Char(hwnd, state, wParam);
    case WM_COPY: Copy(hwnd, view); return 0;
    case WM_CUT: Cut(hwnd, state); return 0;
    case WM_PASTE: Paste(hwnd, state); return 0;
    case WM_CLEAR: Insert(hwnd, state, {}); return 0;
    case WM_UNDO:
    case EM_UNDO:
        return Undo(hwnd, state) ? TRUE : FALSE;
    case EM_CANUNDO:
        return state.undo ? TRUE : FALSE;
    case EM_REPLACESEL: {
        // wParam TRUE: the replacement can be undone.
        const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        ApplyEdit(
            hwnd, state, [&](EditModel& model) { return model.ReplaceSelection(text); }, EditRun::None, false,
            wParam != 0);
        return 0;
    }
    case EM_SETPASSWORDCHAR:
        // Only a single-line control masks its text.
        if (!view.IsMultiLine()) {
            view.passwordChar = static_cast<char>(wParam);
            Reformat(hwnd, view);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        return 0;
    case EM_GETPASSWORDCHAR:
        return static_cast<unsigned char>(view.passwordChar);
    case EM_GETSEL:
    case EM_SETSEL:
        state.run = message == EM_SETSEL ? EditRun::None : state.run;
        return SelectionMessage(hwnd, view, message, wParam, lParam);
    case EM_GETLINECOUNT:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_LINELENGTH:
    case EM_GETFIRSTVISIBLELINE:
        return LineMessage(view, message, wParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK EditControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return store.Dispatch(hwnd, message, wParam, lParam, Handle);
}

} // namespace pw::platform::user
