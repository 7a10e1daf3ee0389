#include "platform/user/menus/MenuTracker.h"

#include "platform/backend/Backend.h"
#include "platform/user/NonClientPainter.h"
#include "platform/user/NonClientTracking.h"
#include "platform/user/Window.h"
#include "platform/user/menus/MenuSession.h"

#include <cctype>
#include <functional>

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

// Goes to the title `step` away from the selected one, wrapping: opens it, or only selects it.
void NextTitle(MenuSession& session, int step, bool open)
{
    int count = static_cast<int>(session.TitleCount());
    if (count == 0)
        return;
    int next = ((session.barItem < 0 ? 0 : session.barItem) + step + count) % count;
    if (open)
        session.OpenTitle(next, true);
    else
        session.SelectTitle(next);
}

// The first item of `menu` whose mnemonic is the letter or digit `key`, or -1.
int MnemonicItem(HMENU handle, UINT key)
{
    const Menu* menu = MenuTable::Find(handle);
    if (!menu || key > 0xFF || !std::isalnum(static_cast<int>(key)))
        return -1;
    char wanted = static_cast<char>(std::toupper(static_cast<int>(key)));
    for (size_t i = 0; i < menu->items.size(); ++i) {
        if (menu->items[i].kind != MenuItem::Kind::Separator && MenuLayout::MnemonicOf(menu->items[i].title) == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

// Title `index` chosen from the keyboard: its menu opens on its first item, or, when the title is
// itself a command, it is chosen.
void OpenFromKeys(MenuSession& session, int index)
{
    const MenuItem* title = MenuSession::ItemOf(session.bar, index);
    if (title && title->kind == MenuItem::Kind::Command) {
        session.SelectTitle(index);
        Choose(session, title);
        return;
    }
    session.OpenTitle(index, true);
}

// Keys while only a title is selected.
void OnBarKey(MenuSession& session, UINT key)
{
    switch (key) {
    case VK_ESCAPE:
    case VK_MENU:
    case VK_F10:
        session.done = true;
        break;
    case VK_LEFT:
    case VK_RIGHT:
        NextTitle(session, key == VK_LEFT ? -1 : 1, false);
        break;
    case VK_UP:
    case VK_DOWN:
    case VK_RETURN:
        OpenFromKeys(session, session.barItem);
        break;
    default:
        if (int title = MnemonicItem(session.bar, key); title >= 0)
            OpenFromKeys(session, title);
        break;
    }
}

// A mnemonic in the innermost open menu highlights its item, then opens or chooses it.
void OnMnemonic(MenuSession& session, UINT key)
{
    size_t innermost = session.levels.size() - 1;
    int index = MnemonicItem(session.levels[innermost].menu, key);
    const MenuItem* item = MenuSession::ItemOf(session.levels[innermost].menu, index);
    if (!item || !item->IsSelectable())
        return;
    session.Highlight(innermost, index);
    if (item->kind == MenuItem::Kind::Popup)
        session.OpenSubmenu(innermost, true);
    else
        Choose(session, item);
}

void OnKey(MenuSession& session, UINT key)
{
    size_t depth = session.levels.size();
    if (depth == 0 && session.barItem >= 0) {
        OnBarKey(session, key);
        return;
    }
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
            NextTitle(session, -1, true);
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
            NextTitle(session, 1, true);
        break;
    case VK_RETURN:
        if (depth > 0 && opensMenu)
            session.OpenSubmenu(depth - 1, true);
        else
            Choose(session, item);
        break;
    default:
        if (depth > 0)
            OnMnemonic(session, key);
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

// One menu loop over the bar of `owner`: WM_INITMENU, then `open` shows what the loop starts with
// (false: nothing to start with, no loop), then the loop, then WM_COMMAND for a chosen command.
void Track(HWND owner, HMENU bar, const std::function<bool(MenuSession&)>& open)
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
        if (!open(session))
            return;
        if (!session.done)
            RunLoop(session);
        chosen = session.chosen;
    }
    if (chosen && WindowTable::Find(owner))
        SendMessageA(owner, WM_COMMAND, MAKEWPARAM(*chosen, 0), 0);
}

} // namespace

void MenuTracker::TrackBar(HWND owner, HMENU bar, POINT screen)
{
    Track(owner, bar, [screen](MenuSession& session) {
        Hit hit = session.HitTest(screen);
        if (hit.where != Hit::Where::Bar)
            return false;
        session.OpenTitle(hit.item, false);
        return true;
    });
}

void MenuTracker::TrackKeys(HWND owner, HMENU bar, UINT character)
{
    Track(owner, bar, [character](MenuSession& session) {
        if (session.TitleCount() == 0)
            return false;
        if (character == 0) {
            session.SelectTitle(0);
            return true;
        }
        int title = MnemonicItem(session.bar, character);
        if (title < 0) {
            MessageBeep(0);
            return false;
        }
        OpenFromKeys(session, title);
        return true;
    });
}

void MenuTracker::TrackSystemMenu(HWND owner, HMENU menu, const RECT& box, bool fromKeys)
{
    if (MenuSession::Current() || !MenuTable::Find(menu))
        return;
    SendMessageA(owner, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    if (!WindowTable::Find(owner) || !MenuTable::Find(menu))
        return;
    std::optional<UINT> chosen;
    {
        MenuSession session(owner, nullptr);
        session.OpenMenu(menu, box, fromKeys);
        if (session.levels.empty())
            return;
        NonClientPainter::Paint(owner, false, true);
        RunLoop(session);
        chosen = session.chosen;
    }
    if (chosen && WindowTable::Find(owner))
        SendMessageA(owner, WM_SYSCOMMAND, *chosen, 0);
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
