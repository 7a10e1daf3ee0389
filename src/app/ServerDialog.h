// The server information dialog that publishing shows before every upload: the URL of the server
// folder, the FTP account and the password, filled with what was stored last time or with the
// application's defaults. The fields edit the caller's strings in place. After OK the URL and the
// account are stored again; the password never is. There is no built-in password: without a
// stored one the field starts empty, and it shows its characters masked.
#pragma once

#include "foundation/SmartPtr.h"

class Dialog;
class String;

// Runs the dialog modally; true after OK (the strings hold what the user typed), false after
// Cancel (nothing is stored). A store that fails is reported and the typed values are kept.
bool AskServerInfo(const SmartPtr<String>& url, const SmartPtr<String>& account, const SmartPtr<String>& password);

// Adds the prompt, the three labelled fields and the OK and Cancel buttons to the dialog.
void BuildServerDialog(Dialog& dialog, const SmartPtr<String>& url, const SmartPtr<String>& account,
    const SmartPtr<String>& password);
