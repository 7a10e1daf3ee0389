#include "platform/user/Geometry.h"

#include "platform/user/MenuBarHook.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"

#include <algorithm>

namespace pw::platform {

namespace {

bool HasCaption(const Window& window)
{
    if ((window.style & WS_CAPTION) == WS_CAPTION)
        return true;
    return !window.IsChild() && !(window.style & WS_POPUP);
}

int FrameWidth(const Window& window, bool caption)
{
    DWORD style = window.style;
    bool dialogFrame = (style & WS_DLGFRAME) && !(style & WS_BORDER);
    if ((style & WS_THICKFRAME) || dialogFrame || (window.exStyle & WS_EX_DLGMODALFRAME))
        return kThickFrame;
    return caption || (style & WS_BORDER) ? kThinFrame : 0;
}

int MenuBarHeight(const Window& window, int width)
{
    MenuBarHook* hook = CurrentMenuBarHook();
    if (!hook || window.IsChild() || window.idOrMenu == 0)
        return 0;
    auto menu = reinterpret_cast<HMENU>(window.idOrMenu);
    return std::max(0, hook->Height(window.Handle(), menu, width));
}

// The caption and frame parts, with the client area below the caption (the menu bar is added by
// the callers that know its height).
FrameLayout LayoutWithoutMenu(const Window& window)
{
    FrameLayout layout;
    int width = window.rect.right - window.rect.left;
    int height = window.rect.bottom - window.rect.top;
    bool caption = HasCaption(window);
    layout.frame = FrameWidth(window, caption);
    layout.edge = (window.exStyle & WS_EX_CLIENTEDGE) ? kClientEdge : 0;
    layout.smallCaption = (window.exStyle & WS_EX_TOOLWINDOW) != 0;
    int f = layout.frame;
    int top = f;
    if (caption) {
        int captionHeight = layout.smallCaption ? kSmallCaptionHeight : kCaptionHeight;
        layout.caption = RECT { f, f, std::max(f, width - f), f + captionHeight };
        top += captionHeight;
        if ((window.style & WS_SYSMENU) && !(window.Class().Style() & CS_NOCLOSE)) {
            int margin = layout.smallCaption ? 1 : 2;
            int boxHeight = captionHeight - 1 - 2 * margin;
            int boxWidth = layout.smallCaption ? boxHeight : boxHeight + 2;
            RECT box { layout.caption.right - margin - boxWidth, f + margin, layout.caption.right - margin,
                f + margin + boxHeight };
            if (box.left > layout.caption.left)
                layout.closeBox = box;
        }
        bool overlapped = !window.IsChild() && !(window.style & WS_POPUP);
        if ((window.style & WS_SYSMENU) && overlapped && !layout.smallCaption) {
            // The window menu's box: as large as the close box, at the other end.
            constexpr int margin = 2;
            int boxHeight = captionHeight - 1 - 2 * margin;
            RECT box { layout.caption.left + margin, f + margin, layout.caption.left + margin + boxHeight + 2,
                f + margin + boxHeight };
            if (IsEmptyRect(layout.closeBox) || box.right < layout.closeBox.left)
                layout.systemBox = box;
        }
    }
    int e = layout.edge;
    layout.client = RECT { f + e, top + e, std::max(f + e, width - f - e), std::max(top + e, height - f - e) };
    return layout;
}

} // namespace

bool PointInRect(const RECT& rect, POINT point)
{
    return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT OffsetRectBy(RECT rect, int dx, int dy)
{
    return RECT { rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy };
}

RECT IntersectRects(const RECT& a, const RECT& b)
{
    RECT r { std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom) };
    return IsEmptyRect(r) ? RECT {} : r;
}

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

FrameLayout LayoutOf(const Window& window)
{
    FrameLayout layout = LayoutWithoutMenu(window);
    // The bar fills what lies between the caption (or the frame's top) and the client area.
    int barTop = IsEmptyRect(layout.caption) ? layout.frame : layout.caption.bottom;
    int barBottom = window.clientRect.top - layout.edge;
    if (barBottom > barTop) {
        layout.menuBar = RECT { layout.frame, barTop, layout.client.right + layout.edge, barBottom };
        layout.client.top = window.clientRect.top;
        layout.client.bottom = std::max(layout.client.top, layout.client.bottom);
    }
    return layout;
}

void UpdateClientRect(Window& window)
{
    FrameLayout layout = LayoutWithoutMenu(window);
    int barWidth = layout.client.right - layout.client.left + 2 * layout.edge;
    int bar = MenuBarHeight(window, barWidth);
    layout.client.top += bar;
    layout.client.bottom = std::max(layout.client.top, layout.client.bottom);
    window.clientRect = layout.client;
}

RECT ScreenRect(const Window& window)
{
    RECT rect = window.rect;
    for (Window* parent = WindowTable::Find(window.ParentWindow()); parent;
         parent = WindowTable::Find(parent->ParentWindow())) {
        POINT origin { parent->rect.left + parent->clientRect.left, parent->rect.top + parent->clientRect.top };
        rect = OffsetRectBy(rect, origin.x, origin.y);
    }
    return rect;
}

RECT ClientScreenRect(const Window& window)
{
    RECT screen = ScreenRect(window);
    return OffsetRectBy(window.clientRect, screen.left, screen.top);
}

POINT ClientOrigin(const Window& window)
{
    RECT client = ClientScreenRect(window);
    return POINT { client.left, client.top };
}

bool IsShown(const Window& window)
{
    for (const Window* w = &window; w; w = WindowTable::Find(w->ParentWindow())) {
        if (!(w->style & WS_VISIBLE) || w->destroying)
            return false;
    }
    return true;
}

int HitTest(const Window& window, POINT screen)
{
    RECT rect = ScreenRect(window);
    if (!PointInRect(rect, screen))
        return HTNOWHERE;
    POINT p { screen.x - rect.left, screen.y - rect.top };
    FrameLayout layout = LayoutOf(window);
    if (PointInRect(window.clientRect, p))
        return HTCLIENT;
    if (PointInRect(layout.closeBox, p))
        return HTCLOSE;
    if (PointInRect(layout.systemBox, p))
        return HTSYSMENU;
    if (PointInRect(layout.caption, p))
        return HTCAPTION;
    if (PointInRect(layout.menuBar, p))
        return HTMENU;
    return HTBORDER;
}

} // namespace pw::platform
