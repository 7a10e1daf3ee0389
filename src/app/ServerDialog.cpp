#include "app/ServerDialog.h"

#include "app/SettingsStore.h"
#include "app/TallowResources.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/String.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/Dialog.h"
#include "ui/DialogSignals.h"
#include "ui/TextView.h"
#include "ui/ViewControl.h"
#include "ui/WindowFrame.h"

#include <windows.h>

namespace {

constexpr int16_t kURLSetting = 1000;
constexpr int16_t kAccountSetting = 1001;
constexpr int16_t kPasswordSetting = 1002;
constexpr int16_t kPromptSetting = 2000;
constexpr int32_t kPromptString = 27;
constexpr int32_t kURLString = 32;
constexpr int32_t kAccountString = 33;
constexpr uint8_t kTextStyle = 3;
// The rows sit below the prompt, which is this high.
constexpr int32_t kPromptHeight = 135;
// A field starts this far right of its label's left edge: just past the widest label, "Server
// URL:", in the dialog's font (at 80 pixels the field covered its last letters).
constexpr int32_t kFieldIndent = 96;
constexpr char kPasswordMask = '*';

// The stored one-line value, or the default.
void Fill(String& value, int16_t setting, const String& fallback)
{
    if (!pw::app::ReadLineSetting(setting, value))
        value.Assign(fallback);
}

SmartPtr<TextView> AddText(Dialog& dialog, const Rect& r, const SmartPtr<String>& text)
{
    SmartPtr<TextView> view(new TextView(&dialog, r.left, r.top, r.right, r.bottom, text, kTextStyle, false, true,
        true, false));
    dialog.AddChild(SmartPtr<View>(view.Get()));
    return view;
}

SmartPtr<TextView> AddField(Dialog& dialog, const Rect& r, const SmartPtr<String>& text)
{
    SmartPtr<TextView> view(new TextView(&dialog, r.left, r.top, r.right, r.bottom, text, kTextStyle, true, false,
        false, false));
    dialog.AddChild(SmartPtr<View>(view.Get()));
    return view;
}

// A label and its field on one row, both moved below the prompt.
SmartPtr<TextView> AddRow(Dialog& dialog, const char* label, const Rect& row, const SmartPtr<String>& value)
{
    Rect r(row.left, row.top + kPromptHeight, row.right, row.bottom + kPromptHeight);
    AddText(dialog, r, SmartPtr<String>(new String(label)));
    return AddField(dialog, Rect(r.left + kFieldIndent, r.top, r.right, r.bottom), value);
}

void AddButton(Dialog& dialog, const Rect& r, const char* title, GenericSignal* signal)
{
    dialog.AddChild(SmartPtr<View>(new ViewControl(&dialog, r.left, r.top + kPromptHeight, r.right,
        r.bottom + kPromptHeight, String(title), SmartPtr<GenericSignal>(signal), &dialog)));
}

// Centres the window in the area windows are kept inside.
void Centre(Window& window)
{
    Rect area = WindowFrame::ScreenRect();
    Rect rect = window.GetRect();
    int32_t dx = (area.left + area.right) / 2 - (rect.left + rect.right) / 2;
    int32_t dy = (area.top + area.bottom) / 2 - (rect.top + rect.bottom) / 2;
    window.SetFrame(Rect(rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy));
}

} // namespace

void BuildServerDialog(Dialog& dialog, const SmartPtr<String>& url, const SmartPtr<String>& account,
    const SmartPtr<String>& password)
{
    SmartPtr<String> prompt(new String);
    if (!ReadSetting(kPromptSetting, *prompt.Get()))
        prompt->Assign(TallowResources::GetString(kPromptString));
    AddText(dialog, Rect(10, 10, 410, 10 + kPromptHeight), prompt);
    AddRow(dialog, "Server URL:", Rect(10, 20, 410, 60), url);
    AddRow(dialog, "Account:", Rect(10, 70, 410, 94), account);
    SmartPtr<TextView> secret = AddRow(dialog, "Password:", Rect(10, 100, 410, 124), password);
    SendMessageA(secret->GetEditWindow(), EM_SETPASSWORDCHAR, WPARAM(kPasswordMask), 0);
    AddButton(dialog, Rect(330, 140, 410, 160), "OK", new DialogDoneSignal);
    AddButton(dialog, Rect(240, 140, 320, 160), "Cancel", new pw::ui::DialogCancelSignal);
}

bool AskServerInfo(const SmartPtr<String>& url, const SmartPtr<String>& account, const SmartPtr<String>& password)
{
    SmartPtr<Dialog> dialog(new Dialog(2));
    Fill(*url.Get(), kURLSetting, TallowResources::GetString(kURLString));
    Fill(*account.Get(), kAccountSetting, TallowResources::GetString(kAccountString));
    // No password is built in: without a stored one the field starts empty.
    Fill(*password.Get(), kPasswordSetting, String());
    BuildServerDialog(*dialog.Get(), url, account, password);
    dialog->SizeToFit(true);
    Centre(*dialog.Get());
    if (App* app = AppGlue::Application().Get())
        app->AddWindow(SmartPtr<Window>(dialog.Get()), true);
    while (dialog->Poll()) {
    }
    if (dialog->WasCancelled())
        return false;
    try {
        WriteSetting(kURLSetting, *url.Get());
        WriteSetting(kAccountSetting, *account.Get());
    } catch (Exception*) {
        SetLastError(0);
        Alert(Alert::kExclamation, Alert::kOk, "Failed to Save FTP Server Information");
    }
    return true;
}
