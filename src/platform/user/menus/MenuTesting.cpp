#include "platform/user/menus/MenuTesting.h"

#include "platform/user/Alerts.h"
#include "platform/user/Modal.h"
#include "platform/user/menus/AcceleratorTable.h"
#include "platform/user/menus/Menu.h"

namespace pw::platform::testing {

bool ChooseMenuCommand(HWND hwnd, UINT command)
{
    HMENU bar = GetMenu(hwnd);
    if (!bar || !AcceptsInput(hwnd))
        return false;
    SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    // WM_INITMENU may have changed the states, or the menu.
    const MenuItem* item = MenuTable::FindItem(GetMenu(hwnd), command, MF_BYCOMMAND);
    if (!item || !item->IsEnabled())
        return false;
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    return true;
}

void MakePlatformProbeFail(bool fails)
{
    AcceleratorTable::SetCreationFails(fails);
}

void ShowDialogs(bool shown)
{
    Alerts::ShowDialogsInTests(shown);
}

} // namespace pw::platform::testing
