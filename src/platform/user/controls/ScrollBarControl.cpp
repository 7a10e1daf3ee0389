#include "platform/user/controls/ScrollBarControl.h"

#include "platform/user/Modal.h"
#include "platform/user/controls/ControlPaint.h"
#include "platform/user/controls/ControlStore.h"
#include "platform/user/controls/ControlSupport.h"

#include <algorithm>

namespace pw::platform::user {

namespace {

using Part = ScrollBarControl::Part;

constexpr UINT_PTR kRepeatTimer = 1;

struct ScrollBarState {
    ScrollRange range;
    bool tracking { false };
    Part pressed { Part::None };
    bool overPressed { false };
    int along { 0 };
    int grabOffset { 0 };
    int dragThumbStart { -1 };
    int trackPos { 0 };
};

ControlStore<ScrollBarState> store;

bool IsVertical(HWND hwnd)
{
    return (static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)) & SBS_VERT) != 0;
}

ScrollBarGeometry GeometryOf(const RECT& client, bool vertical, const ScrollRange& range)
{
    int width = client.right - client.left;
    int height = client.bottom - client.top;
    return vertical ? ScrollBarGeometry(height, width, range) : ScrollBarGeometry(width, height, range);
}

ScrollBarGeometry GeometryOf(HWND hwnd, const ScrollRange& range)
{
    return GeometryOf(ClientRect(hwnd), IsVertical(hwnd), range);
}

int Along(HWND hwnd, LPARAM lParam)
{
    POINT p = MousePoint(lParam);
    return IsVertical(hwnd) ? p.y : p.x;
}

// The span [from, to) along the bar as a client rectangle.
RECT Span(const RECT& client, bool vertical, int from, int to)
{
    if (vertical)
        return RECT { client.left, client.top + from, client.right, client.top + to };
    return RECT { client.left + from, client.top, client.left + to, client.bottom };
}

int CodeOf(Part part)
{
    switch (part) {
    case Part::LineUp: return SB_LINEUP;
    case Part::LineDown: return SB_LINEDOWN;
    case Part::PageUp: return SB_PAGEUP;
    case Part::PageDown: return SB_PAGEDOWN;
    default: return SB_ENDSCROLL;
    }
}

void Send(HWND hwnd, int code, int pos = 0)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    UINT message = IsVertical(hwnd) ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(parent, message, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(hwnd));
}

void EndTracking(HWND hwnd, ScrollBarState& state)
{
    if (!state.tracking)
        return;
    state.tracking = false;
    KillTimer(hwnd, kRepeatTimer);
    if (GetCapture() == hwnd)
        ReleaseCapture();
    Part pressed = state.pressed;
    state.pressed = Part::None;
    state.dragThumbStart = -1;
    InvalidateRect(hwnd, nullptr, FALSE);
    if (pressed == Part::Thumb)
        Send(hwnd, SB_THUMBPOSITION, state.trackPos);
    if (IsWindow(hwnd))
        Send(hwnd, SB_ENDSCROLL);
}

void Track(HWND hwnd, ScrollBarState& state, int along)
{
    state.along = along;
    ScrollBarGeometry geometry = GeometryOf(hwnd, state.range);
    if (state.pressed == Part::Thumb) {
        int start = along - state.grabOffset;
        int dragged = std::clamp(start, geometry.TrackStart(), geometry.TrackEnd() - geometry.ThumbSize());
        if (dragged != state.dragThumbStart) {
            state.dragThumbStart = dragged;
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        int pos = geometry.PositionForThumb(start);
        if (pos != state.trackPos) {
            state.trackPos = pos;
            Send(hwnd, SB_THUMBTRACK, pos);
        }
        return;
    }
    bool over = geometry.HitTest(along) == state.pressed;
    if (over != state.overPressed) {
        state.overPressed = over;
        InvalidateRect(hwnd, nullptr, FALSE);
    }
}

void Press(HWND hwnd, int along)
{
    // Held through the modal loop, in which a message may destroy the bar.
    std::shared_ptr<ScrollBarState> state = store.Find(hwnd);
    ScrollBarGeometry geometry = GeometryOf(hwnd, state->range);
    Part part = geometry.HitTest(along);
    if (state->tracking || part == Part::None || state->range.IsEmpty() || !IsEnabled(hwnd))
        return;
    SetCapture(hwnd);
    state->tracking = true;
    state->pressed = part;
    state->overPressed = true;
    state->along = along;
    InvalidateRect(hwnd, nullptr, FALSE);
    if (part == Part::Thumb) {
        state->grabOffset = along - geometry.ThumbStart();
        state->dragThumbStart = geometry.ThumbStart();
        state->trackPos = state->range.pos;
    } else {
        SetTimer(hwnd, kRepeatTimer, ScrollBarControl::kFirstRepeatDelay, nullptr);
        Send(hwnd, CodeOf(part));
    }
    RunModalLoop([&] { return !state->tracking || !IsWindow(hwnd); });
    // A quit, or a loop that could only wait, ends the tracking as a release would.
    if (IsWindow(hwnd))
        EndTracking(hwnd, *state);
}

void Repeat(HWND hwnd, ScrollBarState& state)
{
    if (!state.tracking || state.pressed == Part::Thumb)
        return;
    SetTimer(hwnd, kRepeatTimer, ScrollBarControl::kRepeatPeriod, nullptr);
    // The thumb may have moved under the mouse: a page part repeats only while still under it.
    if (GeometryOf(hwnd, state.range).HitTest(state.along) == state.pressed)
        Send(hwnd, CodeOf(state.pressed));
    else
        Track(hwnd, state, state.along);
}

void Paint(HWND hwnd, HDC hdc, const ScrollBarState& state)
{
    ScrollBarControl::Look look;
    look.vertical = IsVertical(hwnd);
    look.enabled = IsEnabled(hwnd);
    look.range = state.range;
    look.pushed = state.tracking && state.overPressed && state.pressed != Part::Thumb ? state.pressed : Part::None;
    look.dragThumbStart = state.tracking && state.pressed == Part::Thumb ? state.dragThumbStart : -1;
    ScrollBarControl::Draw(hdc, ClientRect(hwnd), look);
}

LRESULT Handle(HWND hwnd, ScrollBarState& state, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return PaintMessage(hwnd, [&](HDC hdc) { Paint(hwnd, hdc, state); });
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press(hwnd, Along(hwnd, lParam));
        return 0;
    case WM_MOUSEMOVE:
        if (state.tracking)
            Track(hwnd, state, Along(hwnd, lParam));
        return 0;
    case WM_LBUTTONUP:
        if (state.tracking) {
            Track(hwnd, state, Along(hwnd, lParam));
            EndTracking(hwnd, state);
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd)
            EndTracking(hwnd, state);
        return 0;
    case WM_TIMER:
        if (wParam == kRepeatTimer)
            Repeat(hwnd, state);
        return 0;
    case SBM_SETPOS: {
        int previous = state.range.SetPos(static_cast<int>(wParam));
        if (lParam && previous != state.range.pos)
            InvalidateRect(hwnd, nullptr, FALSE);
        return previous;
    }
    case SBM_GETPOS:
        return state.range.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
        int previous = state.range.pos;
        state.range.Set(static_cast<int>(wParam), static_cast<int>(lParam));
        if (message == SBM_SETRANGEREDRAW)
            InvalidateRect(hwnd, nullptr, FALSE);
        return previous;
    }
    case SBM_GETRANGE:
        if (wParam)
            *reinterpret_cast<LPINT>(wParam) = state.range.minPos;
        if (lParam)
            *reinterpret_cast<LPINT>(lParam) = state.range.maxPos;
        return 0;
    case WM_SIZE:
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, FALSE);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

LRESULT CALLBACK ScrollBarControl::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return store.Dispatch(hwnd, message, wParam, lParam, Handle);
}

bool ScrollBarControl::IsScrollBar(HWND hwnd)
{
    return store.Find(hwnd) != nullptr;
}

RECT ScrollBarControl::PartRect(HWND hwnd, Part part)
{
    std::shared_ptr<ScrollBarState> state = store.Find(hwnd);
    if (!state)
        return RECT {};
    RECT client = ClientRect(hwnd);
    bool vertical = IsVertical(hwnd);
    ScrollBarGeometry geometry = GeometryOf(client, vertical, state->range);
    int thumbStart = geometry.ThumbStart();
    int thumbEnd = thumbStart + geometry.ThumbSize();
    switch (part) {
    case Part::LineUp: return Span(client, vertical, 0, geometry.TrackStart());
    case Part::LineDown: return Span(client, vertical, geometry.TrackEnd(), geometry.Length());
    case Part::PageUp: return geometry.HasThumb() ? Span(client, vertical, geometry.TrackStart(), thumbStart) : RECT {};
    case Part::Thumb: return geometry.HasThumb() ? Span(client, vertical, thumbStart, thumbEnd) : RECT {};
    case Part::PageDown: return geometry.HasThumb() ? Span(client, vertical, thumbEnd, geometry.TrackEnd()) : RECT {};
    default: return RECT {};
    }
}

void ScrollBarControl::Draw(HDC hdc, const RECT& client, const Look& look)
{
    ScrollBarGeometry geometry = GeometryOf(client, look.vertical, look.range);
    bool active = look.enabled && !look.range.IsEmpty();
    auto drawArrow = [&](Part part, RECT rect, ArrowDirection direction) {
        FillColor(hdc, rect, SysColor(COLOR_3DFACE));
        bool pushed = look.pushed == part;
        RECT inner = pushed ? DrawFlatEdge(hdc, rect) : DrawRaisedEdge(hdc, rect);
        if (pushed)
            inner = RECT { inner.left + 1, inner.top + 1, inner.right + 1, inner.bottom + 1 };
        DrawArrowGlyph(hdc, inner, direction, active);
    };
    drawArrow(Part::LineUp, Span(client, look.vertical, 0, geometry.TrackStart()),
        look.vertical ? ArrowDirection::Up : ArrowDirection::Left);
    drawArrow(Part::LineDown, Span(client, look.vertical, geometry.TrackEnd(), geometry.Length()),
        look.vertical ? ArrowDirection::Down : ArrowDirection::Right);

    RECT track = Span(client, look.vertical, geometry.TrackStart(), geometry.TrackEnd());
    FillChecker(hdc, track, SysColor(COLOR_3DHIGHLIGHT), SysColor(COLOR_3DFACE));
    if (!geometry.HasThumb() || !look.enabled)
        return;
    int thumbStart = look.dragThumbStart >= 0 ? look.dragThumbStart : geometry.ThumbStart();
    int thumbEnd = thumbStart + geometry.ThumbSize();
    // A held page part shows dark between the thumb and the track's end.
    if (look.pushed == Part::PageUp)
        FillChecker(hdc, Span(client, look.vertical, geometry.TrackStart(), thumbStart), SysColor(COLOR_3DDKSHADOW),
            SysColor(COLOR_3DSHADOW));
    if (look.pushed == Part::PageDown)
        FillChecker(hdc, Span(client, look.vertical, thumbEnd, geometry.TrackEnd()), SysColor(COLOR_3DDKSHADOW),
            SysColor(COLOR_3DSHADOW));
    RECT thumb = Span(client, look.vertical, thumbStart, thumbEnd);
    FillColor(hdc, DrawRaisedEdge(hdc, thumb), SysColor(COLOR_3DFACE));
}

} // namespace pw::platform::user
