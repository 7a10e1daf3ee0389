#include "platform/user/controls/ControlClasses.h"

#include "platform/user/controls/ButtonControl.h"
#include "platform/user/controls/EditControl.h"
#include "platform/user/controls/ListBoxControl.h"
#include "platform/user/controls/ScrollBarControl.h"
#include "platform/user/controls/StaticControl.h"

#include <windows.h>

namespace pw::platform::user {

namespace {

void Register(const char* name, WNDPROC procedure, UINT style)
{
    WNDCLASSA wc {};
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

// Registered at start-up; the class registry's test reset registers them again itself.
const bool registered = [] {
    RegisterControlClasses();
    return true;
}();

} // namespace

void RegisterControlClasses()
{
    // A class still registered refuses a second registration; that leaves no error behind.
    DWORD lastError = GetLastError();
    // Double clicks come as a second press for buttons and scroll bars, so fast clicks all count.
    Register("BUTTON", ButtonControl::Procedure, CS_DBLCLKS);
    Register("SCROLLBAR", ScrollBarControl::Procedure, CS_DBLCLKS);
    Register("EDIT", EditControl::Procedure, CS_DBLCLKS);
    Register("STATIC", StaticControl::Procedure, 0);
    Register("LISTBOX", ListBoxControl::Procedure, CS_DBLCLKS);
    SetLastError(lastError);
}

} // namespace pw::platform::user
