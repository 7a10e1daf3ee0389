#include "platform/user/menus/MenuTracker.h"

#include "platform/backend/Backend.h"
#include "platform/user/Geometry.h"
#include "platform/user/InputRouter.h"
#include "platform/user/MessageLoop.h"
#include "platform/user/MessageQueue.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/Window.h"
#include "platform/user/WindowClass.h"
#include "platform/user/WindowLayers.h"
#include "platform/user/menus/Menu.h"
#include "platform/user/menus/MenuLayout.h"
#include "platform/user/menus/MenuPainter.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace pw::platform {

namespace {

constexpr const char* kDropDownClass = "PwMenuDropDown";

// One open drop-down: its menu, its window and where it shows on the screen.
struct Level {
    HMENU menu { nullptr };
    HWND window { nullptr };
    DropDownLayout layout;
    POINT origin {};
    int highlighted { -1 };

    RECT ScreenRect() const { return RECT { origin.x, origin.y, origin.x + layout.size.cx, origin.y + layout.size.cy }; }
};

// What lies under a point while the menus are open.
struct Hit {
    enum class Where { Nothing, Bar, Level } where { Where::Nothing };
    size_t level { 0 };
    int item { -1 };
};

struct Session {
    HWND owner { nullptr };
    HMENU bar { nullptr };
    POINT barOrigin {};
    BarLayout barLayout;
    int barItem { -1 };
    std::vector<Level> levels;
    // A press on the title that was already open: its release closes the menus.
    bool closeOnRelease { false };
    bool done { false };
    std::optional<UINT> chosen;
    uint64_t serial { 0 };
    // Held while the loop reads the input itself; given up when a dialog opens over the menus.
    std::optional<InputRouter::Suspension> suspension;
};

Session* current = nullptr;

LRESULT CALLBACK DropDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PAINT)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    PAINTSTRUCT paint;
    HDC hdc = BeginPaint(hwnd, &paint);
    for (const Level& level : current ? current->levels : std::vector<Level> {}) {
        if (level.window == hwnd)
            MenuPainter::PaintDropDown(hdc, level.menu, level.layout, level.highlighted);
    }
    EndPaint(hwnd, &paint);
    return 0;
}

void EnsureDropDownClass()
{
    if (WindowClass::Find(kDropDownClass))
        return;
    WNDCLASSA wc {};
    wc.lpfnWndProc = DropDownProc;
    wc.hInstance = ProgramInstance();
    wc.lpszClassName = kDropDownClass;
    RegisterClassA(&wc);
}

const MenuItem* ItemOf(HMENU handle, int index)
{
    const Menu* menu = MenuTable::Find(handle);
    if (!menu || index < 0 || static_cast<size_t>(index) >= menu->items.size())
        return nullptr;
    return &menu->items[static_cast<size_t>(index)];
}

int ItemCount(HMENU handle)
{
    const Menu* menu = MenuTable::Find(handle);
    return menu ? static_cast<int>(menu->items.size()) : 0;
}

RECT BarItemOnScreen(const Session& session, int index)
{
    const RECT& r = session.barLayout.items[static_cast<size_t>(index)];
    return OffsetRectBy(r, session.barOrigin.x, session.barOrigin.y);
}

void RepaintBar(const Session& session)
{
    if (WindowTable::Find(session.owner))
        NonClientPainter::Paint(session.owner);
}

void Redraw(const Level& level)
{
    InvalidateRect(level.window, nullptr, FALSE);
    UpdateWindow(level.window);
}

void CloseLevels(Session& session, size_t keep)
{
    while (session.levels.size() > keep) {
        HWND window = session.levels.back().window;
        session.levels.pop_back();
        DestroyWindow(window);
    }
}

// Shows `menu` at `at` (screen), kept on the screen: when it would run off the right or bottom
// edge it goes to the other side of `anchor` (the title or item that opened it).
void OpenLevel(Session& session, HMENU menu, POINT at, const RECT& anchor, bool below, bool highlightFirst)
{
    Level level;
    level.menu = menu;
    level.layout = MenuLayout::LayOutDropDown(menu);
    SIZE size = level.layout.size;
    int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (at.x + size.cx > screenWidth)
        at.x = below ? screenWidth - size.cx : anchor.left - size.cx + MenuLayout::kFrame;
    if (at.y + size.cy > screenHeight)
        at.y = below ? anchor.top - size.cy : screenHeight - size.cy;
    level.origin = POINT { std::max<LONG>(at.x, 0), std::max<LONG>(at.y, 0) };
    if (highlightFirst) {
        const Menu* model = MenuTable::Find(menu);
        for (size_t i = 0; model && i < model->items.size() && level.highlighted < 0; ++i) {
            if (model->items[i].IsSelectable())
                level.highlighted = static_cast<int>(i);
        }
    }
    EnsureDropDownClass();
    level.window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kDropDownClass, "", WS_POPUP,
        level.origin.x, level.origin.y, size.cx, size.cy, session.owner, nullptr, ProgramInstance(), nullptr);
    if (!level.window)
        return;
    SetWindowLayer(level.window, WindowLayer::Popup);
    session.levels.push_back(level);
    ShowWindow(level.window, SW_SHOWNOACTIVATE);
    UpdateWindow(level.window);
}

void OpenTitle(Session& session, int index, bool highlightFirst)
{
    CloseLevels(session, 0);
    session.barItem = index;
    RepaintBar(session);
    const MenuItem* item = ItemOf(session.bar, index);
    if (!item || item->kind != MenuItem::Kind::Popup || !item->IsEnabled())
        return;
    RECT title = BarItemOnScreen(session, index);
    OpenLevel(session, item->submenu, POINT { title.left, title.bottom }, title, true, highlightFirst);
}

// Opens the menu of the highlighted item of `levelIndex`, when it opens one.
void OpenSubmenu(Session& session, size_t levelIndex, bool highlightFirst)
{
    const Level& level = session.levels[levelIndex];
    const MenuItem* item = ItemOf(level.menu, level.highlighted);
    bool opens = item && item->kind == MenuItem::Kind::Popup && item->IsEnabled();
    if (opens && session.levels.size() > levelIndex + 1 && session.levels[levelIndex + 1].menu == item->submenu)
        return;
    CloseLevels(session, levelIndex + 1);
    if (!opens)
        return;
    const RECT& r = level.layout.items[static_cast<size_t>(level.highlighted)];
    RECT anchor = OffsetRectBy(r, level.origin.x, level.origin.y);
    RECT parent = level.ScreenRect();
    POINT at { parent.right - MenuLayout::kFrame, anchor.top - MenuLayout::kFrame };
    OpenLevel(session, item->submenu, at, RECT { parent.left, anchor.top, parent.right, anchor.bottom }, false, highlightFirst);
}

void Highlight(Session& session, size_t levelIndex, int item)
{
    Level& level = session.levels[levelIndex];
    if (level.highlighted == item)
        return;
    level.highlighted = item;
    Redraw(level);
}

Hit HitTest(const Session& session, POINT screen)
{
    for (size_t i = session.levels.size(); i-- > 0;) {
        const Level& level = session.levels[i];
        if (!PointInRect(level.ScreenRect(), screen))
            continue;
        POINT local { screen.x - level.origin.x, screen.y - level.origin.y };
        return Hit { Hit::Where::Level, i, MenuLayout::ItemAt(level.layout.items, local) };
    }
    POINT inBar { screen.x - session.barOrigin.x, screen.y - session.barOrigin.y };
    int title = MenuLayout::ItemAt(session.barLayout.items, inBar);
    if (title >= 0)
        return Hit { Hit::Where::Bar, 0, title };
    return Hit {};
}

// Ends the loop with the command of an enabled command item; other items do nothing.
void Choose(Session& session, const MenuItem* item)
{
    if (!item || item->kind != MenuItem::Kind::Command || !item->IsEnabled())
        return;
    session.chosen = item->command;
    session.done = true;
}

void OnMove(Session& session, POINT at)
{
    Hit hit = HitTest(session, at);
    if (hit.where == Hit::Where::Bar && hit.item != session.barItem) {
        OpenTitle(session, hit.item, false);
    } else if (hit.where == Hit::Where::Level) {
        const MenuItem* item = ItemOf(session.levels[hit.level].menu, hit.item);
        Highlight(session, hit.level, item && item->IsSelectable() ? hit.item : -1);
        OpenSubmenu(session, hit.level, false);
    } else if (hit.where == Hit::Where::Nothing && !session.levels.empty()) {
        // Leaving the menus clears the innermost highlight, unless it keeps a nested menu open.
        size_t innermost = session.levels.size() - 1;
        const MenuItem* item = ItemOf(session.levels[innermost].menu, session.levels[innermost].highlighted);
        if (item && item->kind != MenuItem::Kind::Popup)
            Highlight(session, innermost, -1);
    }
}

void OnPress(Session& session, POINT at)
{
    Hit hit = HitTest(session, at);
    session.closeOnRelease = false;
    if (hit.where == Hit::Where::Nothing) {
        session.done = true;
    } else if (hit.where == Hit::Where::Bar) {
        if (hit.item == session.barItem)
            session.closeOnRelease = true;
        else
            OpenTitle(session, hit.item, false);
    } else {
        OnMove(session, at);
    }
}

void OnRelease(Session& session, POINT at)
{
    Hit hit = HitTest(session, at);
    if (hit.where == Hit::Where::Level) {
        Choose(session, ItemOf(session.levels[hit.level].menu, hit.item));
    } else if (hit.where == Hit::Where::Bar && hit.item == session.barItem) {
        // A title that is itself a command is chosen by its click; another closes on a second click.
        const MenuItem* title = ItemOf(session.bar, hit.item);
        if (title && title->kind == MenuItem::Kind::Command)
            Choose(session, title);
        else if (session.closeOnRelease)
            session.done = true;
    }
    session.closeOnRelease = false;
}

// The next selectable item from `from` in `step` direction, wrapping; `from` when there is none.
int NextSelectable(HMENU menu, int from, int step)
{
    int count = ItemCount(menu);
    int index = from;
    for (int tries = 0; tries < count; ++tries) {
        index = ((index < 0 && step < 0 ? count : index) + step + count) % count;
        if (const MenuItem* item = ItemOf(menu, index); item && item->IsSelectable())
            return index;
    }
    return from;
}

void NextTitle(Session& session, int step)
{
    int count = static_cast<int>(session.barLayout.items.size());
    if (count > 0)
        OpenTitle(session, ((session.barItem < 0 ? 0 : session.barItem) + step + count) % count, true);
}

void OnKey(Session& session, UINT key)
{
    Level* innermost = session.levels.empty() ? nullptr : &session.levels.back();
    size_t depth = session.levels.size();
    const MenuItem* item = innermost ? ItemOf(innermost->menu, innermost->highlighted) : ItemOf(session.bar, session.barItem);
    switch (key) {
    case VK_ESCAPE:
        if (depth > 1)
            CloseLevels(session, depth - 1);
        else
            session.done = true;
        break;
    case VK_MENU:
    case VK_F10:
        session.done = true;
        break;
    case VK_UP:
    case VK_DOWN:
        if (innermost)
            Highlight(session, depth - 1, NextSelectable(innermost->menu, innermost->highlighted, key == VK_UP ? -1 : 1));
        break;
    case VK_LEFT:
        if (depth > 1)
            CloseLevels(session, depth - 1);
        else
            NextTitle(session, -1);
        break;
    case VK_RIGHT:
        if (innermost && item && item->kind == MenuItem::Kind::Popup && item->IsEnabled())
            OpenSubmenu(session, depth - 1, true);
        else
            NextTitle(session, 1);
        break;
    case VK_RETURN:
        if (innermost && item && item->kind == MenuItem::Kind::Popup)
            OpenSubmenu(session, depth - 1, true);
        else
            Choose(session, item);
        break;
    default:
        break;
    }
}

bool OnEvent(Session& session, const InputEvent& event)
{
    if (!WindowTable::Find(session.owner))
        return true;
    POINT at { event.x, event.y };
    switch (event.kind) {
    case InputKind::MouseMove:
        OnMove(session, at);
        break;
    case InputKind::MouseDown:
        OnPress(session, at);
        break;
    case InputKind::MouseUp:
        if (event.button == MouseButton::Left)
            OnRelease(session, at);
        break;
    case InputKind::KeyDown:
        OnKey(session, event.virtualKey);
        break;
    default:
        break;
    }
    // What the program changed meanwhile (a timer graying an item) shows at once.
    if (!session.done && session.serial != MenuTable::Serial()) {
        session.serial = MenuTable::Serial();
        for (const Level& level : session.levels)
            Redraw(level);
    }
    return session.done;
}

bool IsMouseOrKey(const InputEvent& event)
{
    switch (event.kind) {
    case InputKind::MouseMove:
    case InputKind::MouseDown:
    case InputKind::MouseUp:
    case InputKind::KeyDown:
    case InputKind::KeyUp:
        return true;
    default:
        return false;
    }
}

// The menu loop: like the frame's own tracking it reads the input events itself (no mouse or key
// message reaches a window meanwhile) and dispatches posted messages, paints and timers between
// them. Unlike it, the suspension of input routing can be given up (Cancel), so that a message box
// opened by a timer gets its input. Other events wait for after the loop.
void RunLoop(Session& session)
{
    std::vector<InputEvent> kept;
    session.suspension.emplace();
    while (!session.done) {
        PollBackendInput();
        InputEvent event;
        bool any = false;
        while (!session.done && TakeInputEvent(event)) {
            any = true;
            InputRouter::NoteEvent(event);
            if (IsMouseOrKey(event))
                session.done = OnEvent(session, event);
            else
                kept.push_back(event);
        }
        if (session.done)
            break;
        if (MessageLoop::DispatchOne() || any)
            continue;
        // Nothing can end the menus any more (a quit, or a test's input ran out).
        if (MessageQueue::QuitPending() || !MessageLoop::WaitForWork())
            break;
    }
    session.suspension.reset();
    for (const InputEvent& event : kept)
        PushInputEvent(event);
}

} // namespace

void MenuTracker::TrackBar(HWND owner, HMENU bar, POINT screen)
{
    if (current || !MenuTable::Find(bar))
        return;
    SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    // WM_INITMENU may have changed the menus or closed the window.
    const Window* window = WindowTable::Find(owner);
    if (!window || reinterpret_cast<HMENU>(window->idOrMenu) != bar)
        return;
    Session session;
    session.owner = owner;
    session.bar = bar;
    FrameLayout frame = LayoutOf(*window);
    RECT onScreen = ScreenRect(*window);
    session.barOrigin = POINT { onScreen.left + frame.menuBar.left, onScreen.top + frame.menuBar.top };
    session.barLayout = MenuLayout::LayOutBar(bar, frame.menuBar.right - frame.menuBar.left);
    session.serial = MenuTable::Serial();
    Hit hit = HitTest(session, screen);
    if (hit.where != Hit::Where::Bar)
        return;

    current = &session;
    OpenTitle(session, hit.item, false);
    RunLoop(session);
    CloseLevels(session, 0);
    session.barItem = -1;
    current = nullptr;
    RepaintBar(session);
    if (session.chosen && WindowTable::Find(owner))
        SendMessageA(owner, WM_COMMAND, MAKEWPARAM(*session.chosen, 0), 0);
}

void MenuTracker::Cancel()
{
    if (!current)
        return;
    current->done = true;
    CloseLevels(*current, 0);
    current->suspension.reset();
}

int MenuTracker::OpenBarItem(HWND owner)
{
    return current && current->owner == owner ? current->barItem : -1;
}

} // namespace pw::platform
