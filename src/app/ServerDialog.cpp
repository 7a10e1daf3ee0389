#include "app/ServerDialog.h"

#include "app/SettingsStore.h"
#include "app/TallowResources.h"
#include "foundation/Alert.h"
#include "foundation/Exception.h"
#include "foundation/String.h"
#include "graphics/DisplayPort.h"
#include "graphics/TextStyle.h"
#include "ui/App.h"
#include "ui/AppGlue.h"
#include "ui/Dialog.h"
#include "ui/DialogSignals.h"
#include "ui/StyledText.h"
#include "ui/TextView.h"
#include "ui/ViewControl.h"
#include "ui/WindowFrame.h"

#include <windows.h>

#include <algorithm>

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
// A field starts this far right of its label's left edge: past the widest label, "Server URL:",
// in the dialog's font (at 80 pixels the field covered its last letters).
constexpr int32_t kFieldIndent = 110;
constexpr char kPasswordMask = '*';
// The rows end here unless the URL needs more; the field keeps this much room past the text (its
// border and margins), and the dialog this much of the screen's width for its frame and a margin.
constexpr int32_t kNarrowRight = 410;
constexpr int32_t kFieldRoom = 12;
constexpr int32_t kScreenRoom = 40;

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

// The right edge of the rows: at 410, or further right as the URL needs to show whole in its field,
// as far as the dialog still fits where windows are kept. A longer URL scrolls in its field.
int32_t RowsRight(const String& url)
{
    uint32_t length = 0;
    String::CharIterator chars(url, length);
    SmartPtr<TextStyle> style = StyledText::StandardStyle();
    int32_t needed = length ? DisplayPort::MeasureText(chars.Chars(), int32_t(length), *style.Get(), 0).h : 0;
    Rect area = WindowFrame::ScreenRect();
    int32_t widest = std::max<int32_t>(kNarrowRight, area.right - area.left - kScreenRoom);
    return std::clamp<int32_t>(10 + kFieldIndent + needed + kFieldRoom, kNarrowRight, widest);
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
    int32_t right = RowsRight(*url.Get());
    AddRow(dialog, "Server URL:", Rect(10, 20, right, 60), url);
    AddRow(dialog, "Account:", Rect(10, 70, right, 94), account);
    SmartPtr<TextView> secret = AddRow(dialog, "Password:", Rect(10, 100, right, 124), password);
    SendMessageA(secret->GetEditWindow(), EM_SETPASSWORDCHAR, WPARAM(kPasswordMask), 0);
    AddButton(dialog, Rect(right - 80, 140, right, 160), "OK", new DialogDoneSignal);
    AddButton(dialog, Rect(right - 170, 140, right - 90, 160), "Cancel", new pw::ui::DialogCancelSignal);
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
