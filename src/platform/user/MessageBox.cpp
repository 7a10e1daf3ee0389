// MessageBoxA and MessageBeep. On the headless backend a box is answered from the test script;
// otherwise it is a window of its own in the blocking layer (MessageBoxWindow), running a loop in
// which posted messages, paints and timers keep being dispatched while input goes only to the box.
#include <windows.h>

#include "platform/kernel/LastError.h"
#include "platform/testing/Problems.h"
#include "platform/user/Alerts.h"
#include "platform/user/Window.h"
#include "platform/user/menus/MessageBoxWindow.h"
#include "platform/winmm/AudioDevice.h"

#include <algorithm>

using pw::platform::AlertRecord;
using pw::platform::Alerts;

namespace {

int AnswerFromScript(AlertRecord& record)
{
    std::optional<int> answer = Alerts::TakeScriptedAnswer();
    if (!answer) {
        record.scripted = false;
        pw::platform::testing::ReportProblem("unscripted message box: \"" + record.text + "\" (caption \""
            + record.caption + "\")");
        return 0;
    }
    std::vector<int> buttons = Alerts::ButtonsOf(record.style);
    if (*answer != 0 && std::find(buttons.begin(), buttons.end(), *answer) == buttons.end())
        pw::platform::testing::ReportProblem("scripted answer " + std::to_string(*answer)
            + " is not a button of the message box \"" + record.text + "\"");
    return *answer;
}

} // namespace

// Shows a modal box and returns the button chosen (IDOK, IDCANCEL, IDYES, ...), or 0 when the box
// cannot be shown. A NULL caption reads "Error", as documented.
int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    if (owner && !pw::platform::WindowTable::Find(owner))
        return pw::platform::Fail(ERROR_INVALID_WINDOW_HANDLE, 0);
    if (Alerts::ButtonsOf(type).empty())
        return pw::platform::Fail(ERROR_INVALID_PARAMETER, 0);
    AlertRecord record { owner, text ? text : "", caption ? caption : "Error", type, 0, true };
    if (Alerts::AnswersFromScript())
        record.answer = AnswerFromScript(record);
    else
        record.answer = pw::platform::MessageBoxWindow::Run(record);
    int answer = record.answer;
    Alerts::Record(std::move(record));
    return answer;
}

// Asks for the default beep; the sound device plays it (over a playing sound). Logged for tests.
BOOL WINAPI MessageBeep(UINT type)
{
    Alerts::RecordBeep(type);
    pw::platform::winmm::PlayBeep(type);
    return TRUE;
}
