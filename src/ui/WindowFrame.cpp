#include "ui/WindowFrame.h"

#include "foundation/Checks.h"
#include "graphics/Area.h"
#include "graphics/ColorTable.h"
#include "ui/AppMain.h"
#include "ui/OsApp.h"

#include <map>

PW_DEFINE_CLASS(WindowFrame, nullptr, nullptr, DisplayDevice)

namespace {

struct KindEntry {
    DWORD style;
    DWORD exStyle;
    int32_t layer;
    bool smallTitle;
};

// Per window kind: native styles, layer and title size. Dialogs block, palettes and pop-ups float.
constexpr KindEntry kKinds[WindowFrame::kNumKinds] = {
    { WS_CAPTION | WS_SYSMENU | WS_THICKFRAME, 0, WindowFrame::kNormalLayer, false },
    { WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, WindowFrame::kBlockingLayer, false },
    { WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, WindowFrame::kBlockingLayer, false },
    { WS_CAPTION | WS_SYSMENU, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WindowFrame::kFloatingLayer, true },
    { WS_BORDER, WS_EX_TOPMOST, WindowFrame::kFloatingLayer, false },
    { WS_CAPTION, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, WindowFrame::kFloatingLayer, true },
};

const KindEntry& EntryOf(int32_t kind)
{
    return kKinds[(kind >= 0 && kind < WindowFrame::kNumKinds) ? kind : 0];
}

std::map<HWND, WindowFrame*>& FrameTable()
{
    static std::map<HWND, WindowFrame*> table;
    return table;
}

pw::ui::OsApp* frameRecord = nullptr;

HINSTANCE Instance()
{
    return frameRecord ? frameRecord->instance : pw::ui::ProgramRecord().instance;
}

} // namespace

WindowFrame::WindowFrame(const String* title, int32_t kind, bool firstFlag, bool secondFlag, const Point& size)
    : DisplayDevice(Color(0), true)
    , kind(kind)
    , firstFlag(firstFlag)
    , secondFlag(secondFlag)
{
    pw::ui::RegisterWindowClasses(Instance());
    char text[256] = "";
    if (title)
        title->GetCString(text, sizeof text);
    const KindEntry& entry = EntryOf(kind);
    HWND parent = pw::ui::MainWindow();
    DWORD style = entry.style | (parent ? WS_CHILD | WS_CLIPSIBLINGS : WS_POPUP);
    hwnd = CreateWindowExA(entry.exStyle, "ChildWClass", text, style, 0, 0, size.h, size.v, parent, nullptr,
        Instance(), nullptr);
    CheckNotNull(hwnd, PW_HERE);
    FrameTable()[hwnd] = this;
    Point outer = OuterSize(size);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.h, outer.v, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

WindowFrame::~WindowFrame()
{
    Destroy();
}

void WindowFrame::BeginDraw(int32_t mode)
{
    if (!IsDrawing() && hwnd) {
        painting = mode == 1;
        if (painting) {
            // What the platform wants redrawn joins what the views asked for.
            RECT update;
            if (GetUpdateRect(hwnd, &update, FALSE))
                DisplayDevice::Invalidate(Area(Rect(update.left, update.top, update.right, update.bottom)));
            dc = BeginPaint(hwnd, &paint);
        } else {
            dc = GetDC(hwnd);
        }
        CheckNotNull(dc, PW_HERE);
        oldPalette = SelectPalette(dc, ColorTable::GetStandardPalette(), FALSE);
    }
    DisplayDevice::BeginDraw(mode);
}

void WindowFrame::EndDraw()
{
    if (!IsDrawing())
        return;
    DisplayDevice::EndDraw();
    if (IsDrawing() || !dc)
        return;
    SelectPalette(dc, oldPalette, FALSE);
    if (painting)
        EndPaint(hwnd, &paint);
    else
        ReleaseDC(hwnd, dc);
    dc = nullptr;
    oldPalette = nullptr;
    painting = false;
}

Rect WindowFrame::GetBounds()
{
    RECT client { 0, 0, 0, 0 };
    if (hwnd)
        GetClientRect(hwnd, &client);
    return Rect(0, 0, client.right, client.bottom);
}

SmartPtr<ColorTable> WindowFrame::GetColorTable()
{
    return ColorTable::Setup(8);
}

void WindowFrame::Invalidate(const Area& area)
{
    DisplayDevice::Invalidate(area);
    if (hwnd && !area.IsEmpty())
        InvalidateRgn(hwnd, area.GetRegion(), FALSE);
}

WindowFrame* WindowFrame::FromHandle(HWND hwnd)
{
    auto found = FrameTable().find(hwnd);
    return found == FrameTable().end() ? nullptr : found->second;
}

void WindowFrame::SetOsApp(pw::ui::OsApp* record)
{
    frameRecord = record;
}

int32_t WindowFrame::TitleHeight(int32_t kind)
{
    return EntryOf(kind).smallTitle ? 10 : 18;
}

int32_t WindowFrame::GetLayerKind() const
{
    return EntryOf(kind).layer;
}

SmartPtr<String> WindowFrame::GetTitle() const
{
    char text[256] = "";
    if (hwnd)
        GetWindowTextA(hwnd, text, sizeof text);
    return new String(text);
}

void WindowFrame::SetTitle(const String& title)
{
    char text[256];
    title.GetCString(text, sizeof text);
    if (hwnd)
        SetWindowTextA(hwnd, text);
}

Point WindowFrame::ConvertPoint(const WindowFrame*, int32_t h, int32_t v) const
{
    return Point(h, v);
}

void WindowFrame::Show(bool visible)
{
    if (!hwnd)
        return;
    ShowWindow(hwnd, visible ? SW_SHOW : SW_HIDE);
    if (visible)
        BringToFront();
}

bool WindowFrame::IsShown() const
{
    return hwnd && IsWindowVisible(hwnd);
}

void WindowFrame::BringToFront()
{
    // Raising keeps a window in its layer: floating and blocking frames stay above the others.
    if (hwnd)
        SetWindowPos(hwnd, GetLayerKind() == kNormalLayer ? HWND_TOP : HWND_TOPMOST, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void WindowFrame::TakeKeyboard()
{
    HWND focus = GetFocus();
    if (hwnd && focus != hwnd && !(focus && GetParent(focus) == hwnd))
        SetFocus(hwnd);
}

Rect WindowFrame::GetRect() const
{
    RECT outer { 0, 0, 0, 0 };
    if (!hwnd || !GetWindowRect(hwnd, &outer))
        return Rect(0, 0, 0, 0);
    POINT topLeft { outer.left, outer.top };
    if (HWND parent = GetParent(hwnd))
        ScreenToClient(parent, &topLeft);
    return Rect(topLeft.x, topLeft.y, topLeft.x + outer.right - outer.left, topLeft.y + outer.bottom - outer.top);
}

Rect WindowFrame::GetContentBounds() const
{
    Rect client = const_cast<WindowFrame*>(this)->GetBounds();
    POINT origin { 0, 0 };
    if (hwnd)
        ClientToScreen(hwnd, &origin);
    client.Offset(origin.x, origin.y);
    return client;
}

void WindowFrame::SetRect(const Rect& rect)
{
    if (hwnd)
        MoveWindow(hwnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
}

Point WindowFrame::OuterSize(const Point& size) const
{
    RECT outer { 0, 0, 0, 0 };
    RECT client { 0, 0, 0, 0 };
    if (hwnd) {
        GetWindowRect(hwnd, &outer);
        GetClientRect(hwnd, &client);
    }
    return Point(size.h + (outer.right - outer.left) - client.right, size.v + (outer.bottom - outer.top) - client.bottom);
}

Rect WindowFrame::ScreenRect()
{
    if (HWND main = pw::ui::MainWindow()) {
        RECT client;
        if (GetClientRect(main, &client))
            return Rect(0, 0, client.right, client.bottom);
    }
    return Rect(0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

void WindowFrame::UpdateNow()
{
    if (hwnd)
        UpdateWindow(hwnd);
}

void WindowFrame::Destroy()
{
    if (!hwnd)
        return;
    HWND native = hwnd;
    NativeDestroyed();
    DestroyWindow(native);
}

void WindowFrame::NativeDestroyed()
{
    if (!hwnd)
        return;
    FrameTable().erase(hwnd);
    hwnd = nullptr;
}
