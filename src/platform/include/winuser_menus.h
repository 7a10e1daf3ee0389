// USER32 menus, accelerators and the standard dialogs' companions (included by winuser.h).
#pragma once
