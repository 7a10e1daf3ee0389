#include "platform/user/controls/ListBoxControl.h"

#include "platform/user/controls/ControlPaint.h"
#include "platform/user/controls/ControlStore.h"
#include "platform/user/controls/ControlSupport.h"
#include "platform/user/controls/ListBoxModel.h"

#include <algorithm>
#include <cstring>

namespace pw::platform::user {

namespace {

struct ListBoxState {
    ListBoxModel list;
    HFONT font { nullptr };
    int itemHeight { 16 };
    bool tracking { false };
    HWND scrollBar { nullptr };
};

ControlStore<ListBoxState> store;

DWORD StyleOf(HWND hwnd)
{
    return static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
}

int FontHeight(HFONT font)
{
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA metrics {};
    int height = GetTextMetricsA(dc, &metrics) && metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    if (previous)
        SelectObject(dc, previous);
    DeleteDC(dc);
    return height;
}

int Rows(HWND hwnd, const ListBoxState& state)
{
    return std::max(1, static_cast<int>(ClientRect(hwnd).bottom) / state.itemHeight);
}

// Whether the scroll bar is switched on (the list itself may be hidden).
bool ScrollBarShown(const ListBoxState& state)
{
    return state.scrollBar && (GetWindowLongA(state.scrollBar, GWL_STYLE) & WS_VISIBLE);
}

// The part of the client area the items use: all of it but a shown scroll bar.
RECT ItemsRect(HWND hwnd, const ListBoxState& state)
{
    RECT rect = ClientRect(hwnd);
    if (ScrollBarShown(state))
        rect.right = std::max(rect.left, rect.right - GetSystemMetrics(SM_CXVSCROLL));
    return rect;
}

// Shows the scroll bar while the items do not all fit and sets its range to the top indexes.
void UpdateScrollBar(HWND hwnd, ListBoxState& state)
{
    int rows = Rows(hwnd, state);
    state.list.SetTopIndex(state.list.TopIndex(), rows);
    if (!state.scrollBar)
        return;
    RECT client = ClientRect(hwnd);
    int width = GetSystemMetrics(SM_CXVSCROLL);
    bool needed = state.list.Count() > rows;
    if (needed) {
        MoveWindow(state.scrollBar, client.right - width, 0, width, client.bottom, TRUE);
        SetScrollRange(state.scrollBar, SB_CTL, 0, state.list.MaxTopIndex(rows), FALSE);
        SetScrollPos(state.scrollBar, SB_CTL, state.list.TopIndex(), TRUE);
    }
    if (needed != ScrollBarShown(state))
        ShowWindow(state.scrollBar, needed ? SW_SHOWNA : SW_HIDE);
}

void Changed(HWND hwnd, ListBoxState& state)
{
    UpdateScrollBar(hwnd, state);
    InvalidateRect(hwnd, nullptr, FALSE);
}

// Selects an item as the user does: shows it, and tells the parent when the selection changed.
void UserSelect(HWND hwnd, ListBoxState& state, int index)
{
    index = std::clamp(index, 0, state.list.Count() - 1);
    if (!state.list.IsValid(index))
        return;
    state.list.Reveal(index, Rows(hwnd, state));
    bool changed = state.list.Selection() != index;
    state.list.Select(index);
    Changed(hwnd, state);
    if (changed && (StyleOf(hwnd) & LBS_NOTIFY))
        NotifyParent(hwnd, LBN_SELCHANGE);
}

// The item under a client point, or -1.
int ItemAt(HWND hwnd, const ListBoxState& state, POINT point)
{
    RECT items = ItemsRect(hwnd, state);
    if (point.x < items.left || point.x >= items.right || point.y < 0 || point.y >= items.bottom)
        return -1;
    int row = point.y / state.itemHeight;
    int index = state.list.TopIndex() + row;
    return row < Rows(hwnd, state) && state.list.IsValid(index) ? index : -1;
}

void Paint(HWND hwnd, HDC hdc, const ListBoxState& state)
{
    RECT items = ItemsRect(hwnd, state);
    FillColor(hdc, items, SysColor(COLOR_WINDOW));
    FontScope scope(hdc, state.font);
    int oldMode = SetBkMode(hdc, TRANSPARENT);
    COLORREF oldText = GetTextColor(hdc);
    bool enabled = IsEnabled(hwnd);
    // Only whole rows show; the space below the last one stays blank.
    int end = std::min(state.list.Count(), state.list.TopIndex() + Rows(hwnd, state));
    for (int index = state.list.TopIndex(), y = 0; index < end; ++index, y += state.itemHeight) {
        RECT row { items.left, y, items.right, y + state.itemHeight };
        bool selected = index == state.list.Selection();
        if (selected)
            FillColor(hdc, row, SysColor(COLOR_HIGHLIGHT));
        SetTextColor(hdc, SysColor(!enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        const std::string& text = state.list.Item(index);
        TextOutA(hdc, row.left + ListBoxControl::kTextMargin, y, text.data(), static_cast<int>(text.size()));
    }
    SetTextColor(hdc, oldText);
    SetBkMode(hdc, oldMode);
}

void Scroll(HWND hwnd, ListBoxState& state, WPARAM request)
{
    int rows = Rows(hwnd, state);
    int top = state.list.TopIndex();
    switch (LOWORD(request)) {
    case SB_LINEUP: top -= 1; break;
    case SB_LINEDOWN: top += 1; break;
    case SB_PAGEUP: top -= rows; break;
    case SB_PAGEDOWN: top += rows; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: top = HIWORD(request); break;
    case SB_TOP: top = 0; break;
    case SB_BOTTOM: top = state.list.Count(); break;
    default: return;
    }
    state.list.SetTopIndex(top, rows);
    Changed(hwnd, state);
}

LRESULT KeyDown(HWND hwnd, ListBoxState& state, WPARAM key)
{
    int rows = Rows(hwnd, state);
    int at = state.list.Selection();
    switch (key) {
    case VK_UP: UserSelect(hwnd, state, at < 0 ? 0 : at - 1); break;
    case VK_DOWN: UserSelect(hwnd, state, at + 1); break;
    case VK_PRIOR: UserSelect(hwnd, state, at - rows + 1); break;
    case VK_NEXT: UserSelect(hwnd, state, std::max(at, 0) + rows - 1); break;
    case VK_HOME: UserSelect(hwnd, state, 0); break;
    case VK_END: UserSelect(hwnd, state, state.list.Count() - 1); break;
    default: break;
    }
    return 0;
}

LRESULT Mouse(HWND hwnd, ListBoxState& state, UINT message, LPARAM lParam)
{
    int index = ItemAt(hwnd, state, MousePoint(lParam));
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (!FocusOnPress(hwnd))
            return 0;
        if (index < 0)
            return 0;
        UserSelect(hwnd, state, index);
        if (message == WM_LBUTTONDBLCLK) {
            if (IsWindow(hwnd) && (StyleOf(hwnd) & LBS_NOTIFY))
                NotifyParent(hwnd, LBN_DBLCLK);
        } else if (IsWindow(hwnd)) {
            state.tracking = true;
            SetCapture(hwnd);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (state.tracking && index >= 0)
            UserSelect(hwnd, state, index);
        return 0;
    case WM_LBUTTONUP:
        EndDrag(state.tracking);
        return 0;
    default:
        return 0;
    }
}

LRESULT ListMessage(HWND hwnd, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    ListBoxModel& list = state.list;
    auto index = static_cast<int>(wParam);
    switch (message) {
    case LB_ADDSTRING: {
        const char* text = lParam ? reinterpret_cast<const char*>(lParam) : "";
        int added = list.Add(text, (StyleOf(hwnd) & LBS_SORT) != 0);
        Changed(hwnd, state);
        return added;
    }
    case LB_RESETCONTENT:
        list.Clear();
        Changed(hwnd, state);
        return 0;
    case LB_SETCURSEL:
        if (!list.Select(index))
            return LB_ERR;
        list.Reveal(index, Rows(hwnd, state));
        Changed(hwnd, state);
        // Removing the selection with -1 answers LB_ERR too, as documented.
        return index == -1 ? LB_ERR : index;
    case LB_GETCURSEL:
        return list.Selection() < 0 ? LB_ERR : list.Selection();
    case LB_GETTEXT:
    case LB_GETTEXTLEN: {
        if (!list.IsValid(index))
            return LB_ERR;
        const std::string& text = list.Item(index);
        if (message == LB_GETTEXT && lParam)
            std::memcpy(reinterpret_cast<char*>(lParam), text.c_str(), text.size() + 1);
        return static_cast<LRESULT>(text.size());
    }
    case LB_GETCOUNT:
        return list.Count();
    case LB_GETTOPINDEX:
        return list.TopIndex();
    case LB_SETTOPINDEX:
        if (!list.IsValid(index))
            return LB_ERR;
        list.SetTopIndex(index, Rows(hwnd, state));
        Changed(hwnd, state);
        return LB_OKAY;
    default:
        return 0;
    }
}

LRESULT Handle(HWND hwnd, ListBoxState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        state.itemHeight = FontHeight(nullptr);
        if (StyleOf(hwnd) & WS_VSCROLL) {
            auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE));
            state.scrollBar = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | SBS_VERT, 0, 0, 0, 0, hwnd, nullptr,
                instance, nullptr);
        }
        UpdateScrollBar(hwnd, state);
        return 0;
    case WM_SIZE:
        Changed(hwnd, state);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_PAINT:
        return PaintMessage(hwnd, [&](HDC hdc) { Paint(hwnd, hdc, state); });
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        state.font = FontOf(wParam);
        state.itemHeight = FontHeight(state.font);
        UpdateScrollBar(hwnd, state);
        RedrawIf(hwnd, lParam);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(state.font);
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_VSCROLL:
        if (reinterpret_cast<HWND>(lParam) == state.scrollBar)
            Scroll(hwnd, state, wParam);
        return 0;
    case WM_KEYDOWN:
        return KeyDown(hwnd, state, wParam);
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
        return Mouse(hwnd, state, message, lParam);
    case WM_CAPTURECHANGED:
        state.tracking = false;
        return 0;
    case LB_ADDSTRING:
    case LB_RESETCONTENT:
    case LB_SETCURSEL:
    case LB_GETCURSEL:
    case LB_GETTEXT:
    case LB_GETTEXTLEN:
    case LB_GETCOUNT:
    case LB_GETTOPINDEX:
    case LB_SETTOPINDEX:
        return ListMessage(hwnd, state, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK ListBoxControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return store.Dispatch(hwnd, message, wParam, lParam, Handle);
}

} // namespace pw::platform::user
