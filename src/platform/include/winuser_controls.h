// USER32 window classes: BUTTON, SCROLLBAR, EDIT, STATIC, LISTBOX (included by winuser.h).
#pragma once
