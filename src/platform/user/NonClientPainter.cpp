#include "platform/user/NonClientPainter.h"

#include "platform/user/Activation.h"
#include "platform/user/Desktop.h"
#include "platform/user/Geometry.h"
#include "platform/user/MenuBarHook.h"
#include "platform/user/Painting.h"
#include "platform/user/Visibility.h"
#include "platform/user/Window.h"
#include "platform/user/ZOrder.h"

#include <algorithm>
#include <string>

namespace pw::platform {

using gdi::RegionData;

namespace {

// Static colours of the system palette.
constexpr uint8_t kBlack = 0;
constexpr uint8_t kNavy = 4;
constexpr uint8_t kSilver = 7;
constexpr uint8_t kGrey = 248;
constexpr uint8_t kWhite = 255;
constexpr int kTitleFontHeight = 11;
// The title ends this far left of the close box.
constexpr int kTitleGap = 4;

struct Canvas {
    const RegionData& clip;
    POINT origin; // the window's top-left corner on the screen

    void Fill(const RECT& rect, uint8_t index) const
    {
        Desktop::FillRect(clip, OffsetRectBy(rect, origin.x, origin.y), index);
    }

    // A ring one pixel wide just inside `rect`: top and left in one colour, bottom and right in another.
    void Ring(const RECT& r, uint8_t topLeft, uint8_t bottomRight) const
    {
        Fill(RECT { r.left, r.top, r.right, r.top + 1 }, topLeft);
        Fill(RECT { r.left, r.top, r.left + 1, r.bottom }, topLeft);
        Fill(RECT { r.left, r.bottom - 1, r.right, r.bottom }, bottomRight);
        Fill(RECT { r.right - 1, r.top, r.right, r.bottom }, bottomRight);
    }
};

RECT Inset(const RECT& r, int by)
{
    return RECT { r.left + by, r.top + by, r.right - by, r.bottom - by };
}

void PaintBorder(const Canvas& canvas, const RECT& bounds, int frame)
{
    if (frame == kThinFrame) {
        canvas.Ring(bounds, kBlack, kBlack);
    } else if (frame == kThickFrame) {
        canvas.Ring(bounds, kSilver, kBlack);
        canvas.Ring(Inset(bounds, 1), kWhite, kGrey);
        canvas.Ring(Inset(bounds, 2), kSilver, kSilver);
    }
}

void PaintCloseBox(const Canvas& canvas, const RECT& box, bool pressed)
{
    canvas.Fill(box, kSilver);
    canvas.Ring(box, pressed ? kBlack : kWhite, pressed ? kWhite : kBlack);
    if (!pressed)
        canvas.Ring(Inset(box, 1), kSilver, kGrey);
    // The cross: two diagonals two pixels thick, centred in the box.
    int width = box.right - box.left;
    int height = box.bottom - box.top;
    int size = std::max(0, std::min(width, height) - 6);
    int left = box.left + (width - size) / 2 + (pressed ? 1 : 0);
    int top = box.top + (height - size) / 2 + (pressed ? 1 : 0);
    for (int i = 0; i < size; ++i) {
        canvas.Fill(RECT { left + i, top + i, std::min(left + i + 2, left + size), top + i + 1 }, kBlack);
        int x = left + size - 1 - i;
        canvas.Fill(RECT { std::max(x - 1, left), top + i, x + 1, top + i + 1 }, kBlack);
    }
}

// The window menu's box: a raised grey button holding a white bar with a black shadow.
void PaintSystemBox(const Canvas& canvas, const RECT& box, bool pressed)
{
    canvas.Fill(box, kSilver);
    canvas.Ring(box, pressed ? kBlack : kWhite, pressed ? kWhite : kBlack);
    if (!pressed)
        canvas.Ring(Inset(box, 1), kSilver, kGrey);
    int shift = pressed ? 1 : 0;
    int middle = (box.top + box.bottom) / 2 + shift;
    RECT bar { box.left + 3 + shift, middle - 1, box.right - 4 + shift, middle + 1 };
    canvas.Fill(OffsetRectBy(bar, 1, 1), kBlack);
    canvas.Fill(bar, kWhite);
}

int TitleWidth(HDC hdc, const std::string& title)
{
    RECT measured { 0, 0, 0, 0 };
    DrawTextA(hdc, title.c_str(), static_cast<int>(title.size()), &measured, DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    return measured.right - measured.left;
}

// The title whole when it fits the width, else its longest beginning that fits with "..." after
// it, so that a long title ends in dots clear of the close box instead of a glyph cut against it.
std::string FittedTitle(HDC hdc, const std::string& title, int width)
{
    constexpr const char* kEllipsis = "...";
    if (TitleWidth(hdc, title) <= width)
        return title;
    size_t fits = 0;
    size_t over = title.size();
    while (over - fits > 1) {
        size_t middle = (fits + over) / 2;
        if (TitleWidth(hdc, title.substr(0, middle) + kEllipsis) <= width)
            fits = middle;
        else
            over = middle;
    }
    std::string cut = title.substr(0, fits);
    while (!cut.empty() && cut.back() == ' ')
        cut.pop_back();
    return cut + kEllipsis;
}

void PaintTitle(HWND hwnd, const Window& window, const RegionData& clip, const FrameLayout& layout, bool active)
{
    RECT text { layout.caption.left + 4, layout.caption.top, layout.caption.right - 4, layout.caption.bottom - 1 };
    if (!IsEmptyRect(layout.systemBox))
        text.left = layout.systemBox.right + 4;
    if (!IsEmptyRect(layout.closeBox))
        text.right = layout.closeBox.left - kTitleGap;
    if (IsEmptyRect(text) || window.text.empty())
        return;
    HDC hdc = Painting::FrameDC(hwnd, clip);
    HFONT font = CreateFontA(-kTitleFontHeight, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, 0, 0, 0, 0, 0, "MS Sans Serif");
    HGDIOBJ oldFont = SelectObject(hdc, font);
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, active ? RGB(255, 255, 255) : RGB(192, 192, 192));
    std::string shown = FittedTitle(hdc, window.text, text.right - text.left);
    DrawTextA(hdc, shown.c_str(), static_cast<int>(shown.size()), &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
    SelectObject(hdc, oldFont);
    DeleteObject(font);
    ReleaseDC(hwnd, hdc);
}

void PaintMenuBar(HWND hwnd, const Window& window, const Canvas& canvas, const RECT& bar)
{
    MenuBarHook* hook = CurrentMenuBarHook();
    if (!hook) {
        canvas.Fill(bar, kSilver);
        return;
    }
    RegionData clip = canvas.clip.Intersected(OffsetRectBy(bar, canvas.origin.x, canvas.origin.y));
    if (clip.IsEmpty())
        return;
    // The bar's DC has its origin at the bar's top-left corner.
    HDC barDc = Painting::FrameDC(hwnd, clip, POINT { bar.left, bar.top });
    RECT local { 0, 0, bar.right - bar.left, bar.bottom - bar.top };
    hook->Paint(hwnd, reinterpret_cast<HMENU>(window.idOrMenu), barDc, local);
    ReleaseDC(hwnd, barDc);
}

} // namespace

bool NonClientPainter::IsCaptionActive(const Window& window)
{
    if (!window.IsChild())
        return Activation::Active() == window.Handle();
    HWND top = Activation::TopLevelOf(window.Handle());
    if (!top || Activation::Active() != top)
        return false;
    // Floating palettes serve whichever window is active and never take its place: they show
    // active with their top-level window, and the active child is looked for below them.
    if (window.layer == WindowLayer::Floating)
        return true;
    for (HWND sibling : ZOrder::Siblings(window.ParentWindow())) {
        const Window* other = WindowTable::Find(sibling);
        if (other && IsShown(*other) && !IsEmptyRect(LayoutOf(*other).caption)
            && other->layer != WindowLayer::Floating)
            return sibling == window.Handle();
    }
    return false;
}

void NonClientPainter::Paint(HWND hwnd, bool closePressed, bool systemPressed)
{
    Window* window = WindowTable::Find(hwnd);
    if (!window || !IsShown(*window))
        return;
    RegionData clip = Visibility::FrameRegion(*window);
    if (clip.IsEmpty())
        return;
    RECT screen = ScreenRect(*window);
    Canvas canvas { clip, POINT { screen.left, screen.top } };
    FrameLayout layout = LayoutOf(*window);
    RECT bounds { 0, 0, screen.right - screen.left, screen.bottom - screen.top };
    PaintBorder(canvas, bounds, layout.frame);
    if (layout.edge > 0) {
        RECT edge { layout.client.left - layout.edge, layout.client.top - layout.edge,
            layout.client.right + layout.edge, layout.client.bottom + layout.edge };
        canvas.Ring(edge, kGrey, kWhite);
        canvas.Ring(Inset(edge, 1), kBlack, kSilver);
    }
    if (!IsEmptyRect(layout.caption)) {
        bool active = IsCaptionActive(*window);
        RECT band = layout.caption;
        band.bottom -= 1;
        canvas.Fill(band, active ? kNavy : kGrey);
        canvas.Fill(RECT { band.left, band.bottom, band.right, band.bottom + 1 }, kSilver);
        if (!layout.smallCaption)
            PaintTitle(hwnd, *window, clip, layout, active);
        if (!IsEmptyRect(layout.closeBox))
            PaintCloseBox(canvas, layout.closeBox, closePressed);
        if (!IsEmptyRect(layout.systemBox))
            PaintSystemBox(canvas, layout.systemBox, systemPressed);
    }
    if (!IsEmptyRect(layout.menuBar))
        PaintMenuBar(hwnd, *window, canvas, layout.menuBar);
}

} // namespace pw::platform
