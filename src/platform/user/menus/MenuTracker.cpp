#include "platform/user/menus/MenuTracker.h"

#include "platform/backend/Backend.h"
#include "platform/user/NonClientTracking.h"
#include "platform/user/Window.h"
#include "platform/user/menus/MenuSession.h"

namespace pw::platform {

namespace {

using Hit = MenuSession::Hit;

int ItemCount(HMENU handle)
{
    const Menu* menu = MenuTable::Find(handle);
    return menu ? static_cast<int>(menu->items.size()) : 0;
}

// Ends the loop with the command of an enabled command item; other items do nothing.
void Choose(MenuSession& session, const MenuItem* item)
{
    if (!item || item->kind != MenuItem::Kind::Command || !item->IsEnabled())
        return;
    session.chosen = item->command;
    session.done = true;
}

void OnMove(MenuSession& session, POINT at)
{
    Hit hit = session.HitTest(at);
    if (hit.where == Hit::Where::Bar && hit.item != session.barItem) {
        session.OpenTitle(hit.item, false);
    } else if (hit.where == Hit::Where::Level) {
        const MenuItem* item = MenuSession::ItemOf(session.levels[hit.level].menu, hit.item);
        session.Highlight(hit.level, item && item->IsSelectable() ? hit.item : -1);
        session.OpenSubmenu(hit.level, false);
    } else if (hit.where == Hit::Where::Nothing && !session.levels.empty()) {
        // Leaving the menus clears the innermost highlight, unless it keeps a nested menu open.
        size_t innermost = session.levels.size() - 1;
        const MenuItem* item = MenuSession::ItemOf(session.levels[innermost].menu, session.levels[innermost].highlighted);
        if (item && item->kind != MenuItem::Kind::Popup)
            session.Highlight(innermost, -1);
    }
}

void OnPress(MenuSession& session, POINT at)
{
    Hit hit = session.HitTest(at);
    session.closeOnRelease = false;
    if (hit.where == Hit::Where::Nothing) {
        session.done = true;
    } else if (hit.where == Hit::Where::Bar) {
        if (hit.item == session.barItem)
            session.closeOnRelease = true;
        else
            session.OpenTitle(hit.item, false);
    } else {
        OnMove(session, at);
    }
}

void OnRelease(MenuSession& session, POINT at)
{
    Hit hit = session.HitTest(at);
    if (hit.where == Hit::Where::Level) {
        Choose(session, MenuSession::ItemOf(session.levels[hit.level].menu, hit.item));
    } else if (hit.where == Hit::Where::Bar && hit.item == session.barItem) {
        // A title that is itself a command is chosen by its click; another closes on a second click.
        const MenuItem* title = MenuSession::ItemOf(session.bar, hit.item);
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
        if (const MenuItem* item = MenuSession::ItemOf(menu, index); item && item->IsSelectable())
            return index;
    }
    return from;
}

void NextTitle(MenuSession& session, int step)
{
    int count = static_cast<int>(session.TitleCount());
    if (count > 0)
        session.OpenTitle(((session.barItem < 0 ? 0 : session.barItem) + step + count) % count, true);
}

void OnKey(MenuSession& session, UINT key)
{
    size_t depth = session.levels.size();
    HMENU menu = depth > 0 ? session.levels.back().menu : nullptr;
    int highlighted = depth > 0 ? session.levels.back().highlighted : -1;
    const MenuItem* item = depth > 0 ? MenuSession::ItemOf(menu, highlighted) : MenuSession::ItemOf(session.bar, session.barItem);
    bool opensMenu = item && item->kind == MenuItem::Kind::Popup;
    switch (key) {
    case VK_ESCAPE:
    case VK_LEFT:
        if (depth > 1)
            session.CloseLevels(depth - 1);
        else if (key == VK_ESCAPE)
            session.done = true;
        else
            NextTitle(session, -1);
        break;
    case VK_MENU:
    case VK_F10:
        session.done = true;
        break;
    case VK_UP:
    case VK_DOWN:
        if (depth > 0)
            session.Highlight(depth - 1, NextSelectable(menu, highlighted, key == VK_UP ? -1 : 1));
        break;
    case VK_RIGHT:
        if (depth > 0 && opensMenu && item->IsEnabled())
            session.OpenSubmenu(depth - 1, true);
        else
            NextTitle(session, 1);
        break;
    case VK_RETURN:
        if (depth > 0 && opensMenu)
            session.OpenSubmenu(depth - 1, true);
        else
            Choose(session, item);
        break;
    default:
        break;
    }
}

void OnEvent(MenuSession& session, const InputEvent& event)
{
    if (!WindowTable::Find(session.owner)) {
        session.done = true;
        return;
    }
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
    if (!session.done)
        session.RedrawIfChanged();
}

// The menu loop: the frame's own input loop, with one difference: the suspension of input routing
// can be given up (Cancel), so that a message box opened by a timer gets its input.
void RunLoop(MenuSession& session)
{
    session.suspension.emplace();
    NonClientTracking::ReadInput([&](const InputEvent& event) { OnEvent(session, event); },
        [&] { return session.done; });
    session.suspension.reset();
}

} // namespace

void MenuTracker::TrackBar(HWND owner, HMENU bar, POINT screen)
{
    if (MenuSession::Current() || !MenuTable::Find(bar))
        return;
    SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    // WM_INITMENU may have changed the menus or closed the window.
    const Window* window = WindowTable::Find(owner);
    if (!window || reinterpret_cast<HMENU>(window->idOrMenu) != bar)
        return;
    std::optional<UINT> chosen;
    {
        MenuSession session(owner, bar);
        Hit hit = session.HitTest(screen);
        if (hit.where != Hit::Where::Bar)
            return;
        session.OpenTitle(hit.item, false);
        RunLoop(session);
        chosen = session.chosen;
    }
    if (chosen && WindowTable::Find(owner))
        SendMessageA(owner, WM_COMMAND, MAKEWPARAM(*chosen, 0), 0);
}

void MenuTracker::Cancel()
{
    MenuSession* session = MenuSession::Current();
    if (!session)
        return;
    session->done = true;
    session->CloseLevels(0);
    session->suspension.reset();
}

int MenuTracker::OpenBarItem(HWND owner)
{
    MenuSession* session = MenuSession::Current();
    return session && session->owner == owner ? session->barItem : -1;
}

} // namespace pw::platform
